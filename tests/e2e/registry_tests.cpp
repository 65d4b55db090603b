// The registry row with C, defragmented: the clean deletes the broken
// entries planted in the run's own prefix and nothing else, its bar runs to
// 2572, its cells are coloured, and C is defragmented after it.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

#include "driver/map_colours.h"
#include "driver/program_dialogs.h"
#include "driver/program_windows.h"
#include "driver/registry_export.h"
#include "driver/wait_until.h"
#include "driver/window_picture.h"
#include "scenario.h"
#include "tessarel/unique_handle.h"

namespace tessarel::e2e {
namespace {

// Every planted name holds one of these marks.
const std::wstring broken_mark = L"tessarel-e2e-broken";
const std::wstring valid_mark = L"tessarel-e2e-valid";

struct planted_value {
  const char* kind;  // null: one more part of the entry before
  HKEY root;
  const wchar_t* key;
  const wchar_t* name;  // null: the key's default value
  DWORD type;
  const wchar_t* text;  // REG_DWORD: the number 1
};

const wchar_t* const run_key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const shared_dlls_key = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

#define E2E_CLASS(id) L"Software\\Classes\\CLSID\\{" id L"}"

// A start-up entry, a shared library, an application path and a class, each
// once pointing at nothing and once at a file the prefix has; leftovers of a
// removed 32-bit program under "C:\Program Files (x86)", where the folder
// "C:\Program Files" is no program, and one beside the folder
// "C:\users\Public"; then valid entries a careless check calls broken: a
// drive letter the prefix does not have, a tab before the arguments, a
// program named without ".exe", a count kept for a folder, classes the
// system serves another way, and a variable the system does not expand in a
// start-up entry.
const planted_value planted[] = {
    {"run entry", HKEY_CURRENT_USER, run_key, L"tessarel-e2e-broken", REG_SZ,
     L"C:\\e2e\\tessarel-e2e-broken\\a.exe"},
    {"run entry", HKEY_CURRENT_USER, run_key, L"tessarel-e2e-valid", REG_SZ,
     L"C:\\windows\\notepad.exe"},
    {"shared DLL", HKEY_LOCAL_MACHINE, shared_dlls_key, L"C:\\e2e\\tessarel-e2e-broken\\b.dll",
     REG_DWORD, nullptr},
    {"shared DLL", HKEY_LOCAL_MACHINE, shared_dlls_key,
     L"C:\\windows\\tessarel-e2e-valid\\..\\notepad.exe", REG_DWORD, nullptr},
    {"application path", HKEY_LOCAL_MACHINE,
     L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tessarel-e2e-broken.exe", nullptr,
     REG_SZ, L"C:\\e2e\\tessarel-e2e-broken\\c.exe"},
    {"application path", HKEY_LOCAL_MACHINE,
     L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tessarel-e2e-valid.exe", nullptr,
     REG_SZ, L"C:\\windows\\notepad.exe"},
    {"machine class", HKEY_LOCAL_MACHINE, E2E_CLASS(L"tessarel-e2e-broken-machine") L"\\InprocServer32",
     nullptr, REG_SZ, L"C:\\e2e\\tessarel-e2e-broken\\d.dll"},
    {"user class", HKEY_CURRENT_USER, E2E_CLASS(L"tessarel-e2e-broken-user") L"\\LocalServer32", nullptr,
     REG_SZ, L"C:\\e2e\\tessarel-e2e-broken\\e.exe /automation"},
    {"run entry on a drive letter with no drive", HKEY_CURRENT_USER, run_key,
     L"tessarel-e2e-valid-no-drive", REG_SZ, L"Q:\\tessarel-e2e-valid\\x.exe"},
    {"run entry with a tab before the arguments", HKEY_CURRENT_USER, run_key,
     L"tessarel-e2e-valid-tab", REG_SZ, L"C:\\windows\\notepad.exe\t/a"},
    {"run entry, quoted, with a tab before the arguments", HKEY_CURRENT_USER, run_key,
     L"tessarel-e2e-valid-quoted-tab", REG_SZ, L"\"C:\\windows\\notepad.exe\"\t/a"},
    {"run entry without .exe", HKEY_CURRENT_USER, run_key, L"tessarel-e2e-valid-no-exe", REG_SZ,
     L"C:\\windows\\notepad"},
    {"run entry with %ProgramFiles% (REG_EXPAND_SZ)", HKEY_CURRENT_USER, run_key,
     L"tessarel-e2e-valid-expand", REG_EXPAND_SZ, L"%ProgramFiles%\\tessarel-e2e-valid\\x.exe"},
    {"shared-DLL folder", HKEY_LOCAL_MACHINE, shared_dlls_key,
     L"C:\\windows\\tessarel-e2e-valid\\..\\system32\\", REG_DWORD, nullptr},
    {"class with TreatAs", HKEY_LOCAL_MACHINE, E2E_CLASS(L"tessarel-e2e-valid-treatas") L"\\InprocServer32",
     nullptr, REG_SZ, L"C:\\e2e\\tessarel-e2e-missing\\f.dll"},
    {nullptr, HKEY_LOCAL_MACHINE, E2E_CLASS(L"tessarel-e2e-valid-treatas") L"\\TreatAs",
     nullptr, REG_SZ, L"{00000000-0000-0000-0000-000000000001}"},
    {"class with an installer descriptor", HKEY_LOCAL_MACHINE,
     E2E_CLASS(L"tessarel-e2e-valid-descriptor") L"\\InprocServer32", nullptr, REG_SZ,
     L"C:\\e2e\\tessarel-e2e-missing\\g.dll"},
    {nullptr, HKEY_LOCAL_MACHINE,
     E2E_CLASS(L"tessarel-e2e-valid-descriptor") L"\\InprocServer32", L"InprocServer32", REG_MULTI_SZ,
     L"w_descriptor]feature>component"},
    {"run entry under Program Files (x86), unquoted, with arguments", HKEY_CURRENT_USER, run_key,
     L"tessarel-e2e-broken-x86", REG_SZ,
     L"C:\\Program Files (x86)\\tessarel-e2e-gone\\a.exe /min"},
    {"application path under Program Files (x86)", HKEY_LOCAL_MACHINE,
     L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tessarel-e2e-broken-x86.exe",
     nullptr, REG_SZ, L"C:\\Program Files (x86)\\tessarel-e2e-gone\\c.exe"},
    {"shared DLL under Program Files (x86)", HKEY_LOCAL_MACHINE, shared_dlls_key,
     L"C:\\Program Files (x86)\\Common Files\\tessarel-e2e-broken\\b.dll", REG_DWORD, nullptr},
    {"help file under Program Files (x86)", HKEY_LOCAL_MACHINE,
     L"Software\\Microsoft\\Windows\\Help", L"tessarel-e2e-broken.hlp", REG_SZ,
     L"C:\\Program Files (x86)\\tessarel-e2e-gone"},
    {"run entry in a folder with a blank beside a shorter one", HKEY_CURRENT_USER, run_key,
     L"tessarel-e2e-broken-beside", REG_SZ, L"C:\\users\\Public Tools\\a.exe /min"},
    {"class with a LocalService AppID", HKEY_LOCAL_MACHINE,
     E2E_CLASS(L"tessarel-e2e-valid-service") L"\\LocalServer32", nullptr, REG_SZ,
     L"C:\\e2e\\tessarel-e2e-missing\\h.exe"},
    {nullptr, HKEY_LOCAL_MACHINE, E2E_CLASS(L"tessarel-e2e-valid-service"), L"AppID", REG_SZ,
     L"{tessarel-e2e-valid-service-app}"},
    {nullptr, HKEY_LOCAL_MACHINE, L"Software\\Classes\\AppID\\{tessarel-e2e-valid-service-app}",
     L"LocalService", REG_SZ, L"tessarel-e2e-valid-service"},
    {"class with ServerExecutable", HKEY_LOCAL_MACHINE,
     E2E_CLASS(L"tessarel-e2e-valid-server-executable") L"\\LocalServer32", nullptr, REG_SZ,
     L"C:\\e2e\\tessarel-e2e-missing\\i.exe"},
    {nullptr, HKEY_LOCAL_MACHINE,
     E2E_CLASS(L"tessarel-e2e-valid-server-executable") L"\\LocalServer32", L"ServerExecutable",
     REG_SZ, L"C:\\e2e\\tessarel-e2e-missing\\i.exe"},
};

bool plant(const planted_value& value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(value.root, value.key, 0, nullptr, 0, KEY_WRITE, nullptr, &opened,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const unique_registry_key key(opened);
  if (value.type == REG_DWORD) {
    const DWORD one = 1;
    return RegSetValueExW(key.get(), value.name, 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&one), sizeof one) == ERROR_SUCCESS;
  }
  std::wstring text = value.text;
  if (value.type == REG_MULTI_SZ) text.push_back(L'\0');
  return RegSetValueExW(key.get(), value.name, 0, value.type,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// The planted entries of each kind, broken and valid, for the run's log.
void print_planted() {
  std::map<std::string, std::pair<int, int>> kinds;
  for (const planted_value& value : planted) {
    if (value.kind == nullptr) continue;
    const std::wstring where = std::wstring(value.key) + (value.name ? value.name : L"");
    auto& counts = kinds[value.kind];
    ++(where.find(broken_mark) != std::wstring::npos ? counts.first : counts.second);
  }
  for (const auto& [kind, counts] : kinds)
    std::printf("[ planted ] %s: %d broken, %d valid\n", kind.c_str(), counts.first, counts.second);
}

size_t lines_with(const std::set<std::wstring>& lines, const std::wstring& mark) {
  size_t count = 0;
  for (const std::wstring& line : lines) count += line.find(mark) != std::wstring::npos;
  return count;
}

std::string narrow(const std::wstring& text) {
  std::string out;
  for (const wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// Catches a clean that deletes an entry it was not sure of (anything the
// prefix held besides the planted broken ones), or keeps a broken one.
TEST(Registry, CleanWithCDeletesOnlyTheBrokenEntries) {
  for (const planted_value& value : planted) ASSERT_TRUE(plant(value)) << narrow(value.key);
  print_planted();
  started_program program;
  start_program(L"registry", L"", program);
  if (HasFatalFailure()) return;
  const std::set<std::wstring> before = exported_registry(L"C:\\e2e\\registry-before.reg");
  ASSERT_GT(before.size(), 1000u);
  // The broken values, and the broken keys with their defaults, some also
  // seen through a second root.
  const size_t broken_lines = lines_with(before, broken_mark);
  ASSERT_GE(broken_lines, 11u);

  const main_window& main = *program.main;
  ASSERT_TRUE(main.click_row(0));
  ASSERT_TRUE(main.click_row(1));
  ASSERT_TRUE(main.press(main_button::defragment));
  const HWND menu = wait_for_defrag_menu(program.run->process_id(), dialog_timeout_ms);
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(choose(menu, menu_choice::plain));

  // The clean's bar: seven category steps, then one per registry cell.
  ASSERT_TRUE(wait_until([&] { return main.progress_shown() && main.progress_position() > 20; },
                         job_timeout_ms));
  EXPECT_EQ(main.progress_maximum(), 2572);
  save_checkpoint(main.handle(), L"registry_clean_running");
  const HWND hwnd = main.handle();
  const auto palette = palette_colours(program.run->file(L"zq.ini"));
  // A picture taken while the status lines repaint may catch their erased
  // background over a few blocks: only a colour that stays is a fault.
  std::vector<int> codes;
  wait_until(
      [&] {
        codes = shown_codes(window_picture(hwnd), block_centres(client_size(hwnd)), palette);
        return std::count(codes.begin(), codes.end(), -1) == 0;
      },
      2000, 200);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), -1), 0) << "a block of no palette colour";
  EXPECT_GT(std::count_if(codes.begin(), codes.end(), [](int code) { return code > 0; }), 0)
      << "no registry cell coloured";

  ASSERT_TRUE(wait_until([&] { return !opened_reports(*program.run).empty() && main.idle(); },
                         job_timeout_ms));
  save_checkpoint(hwnd, L"registry_clean_done");
  EXPECT_EQ(opened_reports(*program.run),
            std::vector<std::string>{"C:\\e2e\\registry\\registrydefragreport.html"});
  ASSERT_EQ(close_program(program), 0);

  const std::set<std::wstring> after = exported_registry(L"C:\\e2e\\registry-after.reg");
  ASSERT_GT(after.size(), 1000u);
  std::set<std::wstring> gone;
  for (const std::wstring& line : before)
    if (after.count(line) == 0) gone.insert(line);
  EXPECT_EQ(lines_with(gone, broken_mark), broken_lines);
  for (const std::wstring& line : gone)
    EXPECT_NE(line.find(broken_mark), std::wstring::npos) << "deleted: " << narrow(line);
  EXPECT_EQ(lines_with(after, valid_mark), lines_with(before, valid_mark));
  for (const std::wstring& line : before) {
    if (line.find(valid_mark) != std::wstring::npos && after.count(line) == 0)
      ADD_FAILURE() << "valid entry deleted: " << narrow(line);
  }
  std::printf("[ registry ] exported lines before %zu, after %zu, deleted %zu (all planted "
              "broken: %zu of them)\n",
              before.size(), after.size(), gone.size(), lines_with(gone, broken_mark));

  std::vector<dravik::sim::volume_summary> volumes;
  read_summary(*program.run, volumes);
  if (HasFatalFailure()) return;
  EXPECT_EQ(volumes[0].fragmented_files, volumes[0].unmovable_fragmented_files);
}

}  // namespace
}  // namespace tessarel::e2e
