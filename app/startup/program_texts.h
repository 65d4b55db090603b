#pragma once
// Texts of the program that several of its parts show, and the texts of its
// message boxes (every box has product_name as its caption).

namespace tessarel {

// The caption of every message box of the program.
inline constexpr wchar_t product_name[] = L"Tessarel";
// The skin and settings file in the program folder.
inline constexpr wchar_t settings_file_name[] = L"zq.ini";
// The help file in the program folder, opened by the main window's help area.
inline constexpr wchar_t help_file_name[] = L"help.chm";

// The first row of the volume check list.
inline constexpr wchar_t registry_row_name[] = L"Registry";
// Drawn after the open-issue count in the registry view.
inline constexpr wchar_t errors_found_suffix[] = L"个已发现错误";
// The window class of the map view, and so of the main window.
inline constexpr wchar_t main_window_class_name[] = L"__biscuit_view_class_name__";

// The product's home page, opened by the about box's first link.
inline constexpr wchar_t home_page_url[] = L"https://tessarel.example/";
// The support address, opened by the about box's second link.
inline constexpr wchar_t support_mail_url[] = L"mailto:support@tessarel.example";

// Start-up, the user is not an administrator (no owner window; OK).
inline constexpr wchar_t msg_run_as_admin[] = L"请以管理员权限运行 Tessarel.";
// A command refused while volumes are analysed (OK).
inline constexpr wchar_t msg_busy_analysing[] =
    L"程序正在进行分析卷，请在执行下一个操作之前先停止当前的操作。";
// A command refused while volumes are defragmented (OK).
inline constexpr wchar_t msg_busy_defragmenting[] =
    L"程序正在进行整理卷，请在执行下一个操作之前先停止当前的操作。";
// The main window is closed while a job runs (OK and Cancel, Cancel the default).
inline constexpr wchar_t msg_confirm_exit[] = L"程序正在工作中.\n您确定停止并退出?";
// Analyse pressed with no row checked (OK).
inline constexpr wchar_t msg_select_before_analysis[] =
    L"请在进行碎片分析之前先选择分区/注册表";
// Defragment pressed with no row checked (OK).
inline constexpr wchar_t msg_select_before_defrag[] =
    L"请在进行碎片整理之前先选择分区/注册表";
// An optimised defragmentation of more than one volume (Yes and No, warning
// icon, No the default).
inline constexpr wchar_t msg_confirm_multi_volume[] =
    L"您选择了多个卷，它要用更多时间才能完成碎片整理。确定要继续进行？";
// Start-up, the program's folder has a name the engine cannot use (followed
// by a line feed and the folder; no owner window; OK).
inline constexpr wchar_t msg_engine_folder_unusable[] =
    L"Tessarel 所在文件夹的名称含有当前系统不支持的字符，引擎无法使用该文件夹。"
    L"请将 Tessarel 移到其他文件夹后再运行.";

}  // namespace tessarel
