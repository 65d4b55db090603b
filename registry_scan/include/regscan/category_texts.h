#pragma once
// The constant texts of the seven registry categories: where each one looks,
// under which root, and what its problems are called. Roots stay HKEY values.

#include <windows.h>

#include <cstdint>

namespace regscan {

struct category_texts {
  std::uint32_t number;
  HKEY root;
  const wchar_t* root_name;
  const wchar_t* key_path;  // below the root
  const wchar_t* problem;
};

constexpr const wchar_t* fine_text = L"Normal";

constexpr const wchar_t* app_paths_key =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr const wchar_t* help_key = L"Software\\Microsoft\\Windows\\Help";
constexpr const wchar_t* html_help_key = L"Software\\Microsoft\\Windows\\Html Help";
constexpr const wchar_t* run_key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* shared_dlls_key =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
constexpr const wchar_t* software_key = L"Software";
constexpr const wchar_t* clsid_key = L"CLSID";
constexpr const wchar_t* menu_order_key =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs";

// The Start-menu check's folders and the class-registration check's servers.
constexpr const wchar_t* shell_folders_key =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const wchar_t* user_programs_value = L"程序";
constexpr const wchar_t* common_programs_value = L"公用库";
constexpr const wchar_t* inproc_server_key = L"InprocServer32";
constexpr const wchar_t* local_server_key = L"LocalServer32";

// Where the class registrations are read and deleted: the machine's and the
// user's classes each on their own, below HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER. Their items still show the HKEY_CLASSES_ROOT path.
constexpr const wchar_t* classes_clsid_key = L"Software\\Classes\\CLSID";
// Subkeys of a class that the system uses without its own server file.
constexpr const wchar_t* treat_as_key = L"TreatAs";
constexpr const wchar_t* auto_treat_as_key = L"AutoTreatAs";
constexpr const wchar_t* inproc_handler_key = L"InprocHandler32";
// A class whose AppID names a service, or whose local server key names the
// program another way, is started without its server path.
constexpr const wchar_t* app_id_value = L"AppID";
constexpr const wchar_t* classes_app_id_key = L"Software\\Classes\\AppID";
constexpr const wchar_t* local_service_value = L"LocalService";
constexpr const wchar_t* server_executable_value = L"ServerExecutable";

// Per category number, in number order (4 is not used). The help category's
// key path is its first key; it enumerates html_help_key after it.
inline const category_texts category_list[] = {
    {0, HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", app_paths_key, L"Application Paths Issue"},
    {1, HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", help_key, L"帮助文件问题"},
    {2, HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", run_key, L"缺少启动键值"},
    {3, HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", menu_order_key, L"旧的开始菜单键值"},
    {5, HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", shared_dlls_key, L"缺少共享 DLL"},
    {6, HKEY_CLASSES_ROOT, L"HKEY_CLASSES_ROOT", clsid_key, L"CLSID Issue"},
    {7, HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", software_key, L"无用的关键值"},
};

// The texts of a category number; null for 4 and numbers above 7.
const category_texts* texts_of_category(std::uint32_t number);

}  // namespace regscan
