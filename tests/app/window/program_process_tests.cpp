// The real Tessarel.exe started from a scratch application folder: what it
// does when its settings or its engine are missing, and a second instance.
#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/stand_in_engine_support.h"
#include "gui_test_support/gui_test_support.h"
#include "scratch_folder/scratch_folder.h"
#include "startup/program_texts.h"
#include "tessarel/unique_handle.h"
#include "vemo/text_conversion.h"

namespace tessarel::testing {
namespace {

// Only the low 8 bits of an exit code survive under Wine: -1 arrives as 255.
constexpr DWORD failed_start = 0xFF;

struct process_result {
  DWORD exit_code = 98;
  std::vector<std::wstring> boxes;  // texts of the message boxes, each answered OK
};

struct box_search {
  DWORD process_id;
  HWND found = nullptr;
};

BOOL CALLBACK find_box(HWND hwnd, LPARAM lparam) {
  auto* search = reinterpret_cast<box_search*>(lparam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  if (owner != search->process_id || !IsWindowVisible(hwnd) || std::wstring(name) != L"#32770")
    return TRUE;
  search->found = hwnd;
  return FALSE;
}

class program_process {
 public:
  explicit program_process(const std::string& folder) {
    const std::wstring exe = vemo::wide_text(folder) + L"Tessarel.exe";
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        vemo::wide_text(folder).c_str(), &startup, &info))
      return;
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
  }
  bool started() const { return process_.is_open(); }

  // Waits for the exit, answering every message box with OK meanwhile.
  process_result finish(DWORD timeout_ms = 30000) {
    process_result result;
    const DWORD start = GetTickCount();
    while (started() && GetTickCount() - start < timeout_ms) {
      if (WaitForSingleObject(process_.get(), 50) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process_.get(), &result.exit_code);
        return result;
      }
      box_search search{id_};
      EnumWindows(&find_box, reinterpret_cast<LPARAM>(&search));
      if (!search.found) continue;
      wchar_t text[512] = {};
      GetDlgItemTextW(search.found, 0xFFFF, text, 512);
      result.boxes.push_back(text);
      PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      while (IsWindow(search.found) && GetTickCount() - start < timeout_ms) Sleep(20);
    }
    if (started()) TerminateProcess(process_.get(), 98);
    return result;
  }

 private:
  unique_kernel_handle process_;
  DWORD id_ = 0;
};

void copy_in(const scratch_folder& folder, const std::wstring& from, const wchar_t* name) {
  const std::wstring to = vemo::wide_text(folder.path()) + name;
  ASSERT_TRUE(CopyFileW((from + L"\\" + name).c_str(), to.c_str(), FALSE)) << vemo::narrow_text(to);
}

// The program, and with skin the sample skin beside it.
void make_program_folder(const scratch_folder& folder, bool skin) {
  copy_in(folder, windows_path(TESSAREL_TEST_ENGINE_APP_DIR), L"Tessarel.exe");
  if (!skin) return;
  WIN32_FIND_DATAW found{};
  const std::wstring skin_folder = test_folder();
  for (const wchar_t* pattern : {L"\\*.bmp", L"\\*.png", L"\\zq.ini"}) {
    const HANDLE search = FindFirstFileW((skin_folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      copy_in(folder, skin_folder, found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
}

// The built engine and its state files beside the program. Not the stand-in:
// the program looks for the libraries a library imports in the system folder
// only, and the stand-in imports its control library from beside itself.
void add_built_engine(const scratch_folder& folder) {
  for (const wchar_t* name : {L"dravik.dll", L"Setting", L"diskdata", L"defragdate"})
    copy_in(folder, windows_path(TESSAREL_TEST_ENGINE_APP_DIR), name);
}

// The main window of a started program, or null after 15 s.
HWND wait_for_main_window() {
  HWND window = nullptr;
  for (int i = 0; i < 300 && !window; ++i) {
    Sleep(50);
    window = FindWindowW(main_window_class_name, nullptr);
  }
  return window;
}

// Makes Wine look for these libraries as Windows does, for Tessarel.exe
// started while it lives: a DLL file of that name first (beside the program
// before the system folder), Wine's own builtin only when there is none.
// Wine reads this from the registry as each process starts (an environment
// variable of a running process does not reach the processes it starts).
class native_first_for_program {
 public:
  explicit native_first_for_program(std::initializer_list<const wchar_t*> names)
      : names_(names) {
    // The keys not there yet go again at the end.
    for (made_ = 0; made_ < 3; ++made_) {
      HKEY key = nullptr;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, key_paths[made_], 0, KEY_READ, &key) != ERROR_SUCCESS)
        break;
      RegCloseKey(key);
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key_paths[2], 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
      return;
    static const wchar_t order[] = L"native,builtin";
    for (const wchar_t* name : names_)
      RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
    RegCloseKey(key);
  }
  ~native_first_for_program() {
    for (const wchar_t* name : names_) RegDeleteKeyValueW(HKEY_CURRENT_USER, key_paths[2], name);
    // The keys made, deepest first.
    for (int i = 2; i >= made_; --i) {
      const LSTATUS deleted = RegDeleteKeyW(HKEY_CURRENT_USER, key_paths[i]);
      if (deleted != ERROR_SUCCESS) ADD_FAILURE() << "key " << i << " stays: error " << deleted;
    }
  }
  native_first_for_program(const native_first_for_program&) = delete;
  native_first_for_program& operator=(const native_first_for_program&) = delete;

 private:
  static constexpr const wchar_t* key_paths[] = {
      L"Software\\Wine\\AppDefaults", L"Software\\Wine\\AppDefaults\\Tessarel.exe",
      L"Software\\Wine\\AppDefaults\\Tessarel.exe\\DllOverrides"};
  std::vector<const wchar_t*> names_;
  int made_ = 3;  // index of the first key made here; 3: none
};

// Each error that reaches the entry point is shown in a box, then the
// program ends with -1; nothing ends silently.
TEST(ProgramProcess, MissingSettingsOrEngineShowsTheErrorAndExitsMinusOne) {
  const struct {
    const char* name;
    bool skin;
    const wchar_t* mentions;
  } cases[] = {{"no zq.ini", false, L"_image_dlg_item"}, {"no engine", true, L"dravik.dll"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    scratch_folder folder;
    make_program_folder(folder, c.skin);
    program_process program(folder.path());
    ASSERT_TRUE(program.started());
    const process_result result = program.finish();
    EXPECT_EQ(result.exit_code & 0xFF, failed_start);
    ASSERT_EQ(result.boxes.size(), 1u);
    EXPECT_NE(result.boxes[0].find(c.mentions), std::wstring::npos);
  }
}

// A second start while the first runs ends at once with -1 and no box; the
// first closes normally with 0.
TEST(ProgramProcess, SecondInstanceExitsSilently) {
  scratch_folder folder;
  make_program_folder(folder, true);
  add_built_engine(folder);

  program_process first(folder.path());
  ASSERT_TRUE(first.started());
  const HWND window = wait_for_main_window();
  ASSERT_NE(window, nullptr);

  program_process second(folder.path());
  const process_result refused = second.finish();
  EXPECT_EQ(refused.exit_code & 0xFF, failed_start);
  EXPECT_TRUE(refused.boxes.empty());

  PostMessageW(window, WM_CLOSE, 0, 0);
  const process_result closed = first.finish();
  EXPECT_EQ(closed.exit_code, 0u);
  EXPECT_TRUE(closed.boxes.empty());
}

// A library named like a system library the program uses, planted beside
// it, is never loaded, with Windows' search order (a library's own folder
// first) in force: the program takes those libraries from the system folder
// only, from its start to its end.
TEST(ProgramProcess, NeverLoadsSystemLibrariesPlantedBesideIt) {
  const wchar_t* const planted[] = {L"MSIMG32.DLL", L"COMCTL32.DLL", L"gdiplus.dll"};
  scratch_folder folder;
  make_program_folder(folder, true);
  add_built_engine(folder);
  const std::wstring planted_library = test_folder() + L"\\planted_library.dll";
  const std::wstring folder_path = vemo::wide_text(folder.path());
  for (const wchar_t* name : planted)
    ASSERT_TRUE(CopyFileW(planted_library.c_str(), (folder_path + name).c_str(), FALSE));
  // The planted copy itself proves it would leave its mark when loaded.
  const std::wstring probe = folder_path + L"probe.dll";
  ASSERT_TRUE(CopyFileW(planted_library.c_str(), probe.c_str(), FALSE));
  {
    const HMODULE loaded = LoadLibraryW(probe.c_str());
    ASSERT_NE(loaded, nullptr);
    FreeLibrary(loaded);
  }
  ASSERT_NE(GetFileAttributesW((probe + L".loaded").c_str()), INVALID_FILE_ATTRIBUTES);

  const native_first_for_program overrides({L"msimg32", L"comctl32", L"gdiplus"});
  program_process program(folder.path());
  ASSERT_TRUE(program.started());
  const HWND window = wait_for_main_window();
  EXPECT_NE(window, nullptr) << "the program did not start";
  if (window != nullptr) {
    // The map and the skin are drawn, the common controls are in use.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PostMessageW(window, WM_CLOSE, 0, 0);
    const process_result closed = program.finish();
    EXPECT_EQ(closed.exit_code, 0u);
    EXPECT_TRUE(closed.boxes.empty());
  } else {
    program.finish(1000);
  }
  for (const wchar_t* name : planted) {
    EXPECT_EQ(GetFileAttributesW((folder_path + name + L".loaded").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << vemo::narrow_text(name) << " was loaded from beside the program";
  }
}

}  // namespace
}  // namespace tessarel::testing
