#include "category_corpus.h"

#include <sddl.h>

#include "regscan/category_texts.h"

namespace regscan::testing {

namespace {

const std::wstring app_paths = app_paths_key;
// The machine's classes, where the class phase reads them.
const std::wstring machine_classes = L"Software\\Classes\\CLSID";
const std::wstring menu = menu_order_key;

void set_key_access(HKEY root, const std::wstring& key, const wchar_t* access) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, WRITE_DAC, &opened) != ERROR_SUCCESS) return;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (ConvertStringSecurityDescriptorToSecurityDescriptorW(access, SDDL_REVISION_1, &descriptor,
                                                           nullptr)) {
    RegSetKeySecurity(opened, DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
  }
  RegCloseKey(opened);
}

std::vector<BYTE> dword_bytes(DWORD value) {
  const BYTE* bytes = reinterpret_cast<const BYTE*>(&value);
  return std::vector<BYTE>(bytes, bytes + sizeof value);
}

}  // namespace

void CategoryCorpus::TearDown() {
  // Everyone may do anything again, so the sandbox can be removed.
  for (const auto& [root, key] : locked_) set_key_access(root, key, L"D:(A;;KA;;;WD)");
  locked_.clear();
  if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
  held_ = INVALID_HANDLE_VALUE;
  SandboxedRegistry::TearDown();
}

void CategoryCorpus::hold_file() {
  held_ = CreateFileW(path(L"held.exe").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held_, INVALID_HANDLE_VALUE);
}

void CategoryCorpus::add_value(const char* what, HKEY root, const std::wstring& key,
                               const std::wstring& name, DWORD type,
                               const std::vector<BYTE>& bytes, bool valid) {
  set_value(root, key, name, type, bytes);
  corpus.push_back({what, root, key, name, false, valid});
}

void CategoryCorpus::add_text(const char* what, HKEY root, const std::wstring& key,
                              const std::wstring& name, const std::wstring& text, bool valid,
                              DWORD type) {
  add_value(what, root, key, name, type, text_bytes(text), valid);
}

void CategoryCorpus::add_key(const char* what, HKEY root, const std::wstring& key, bool valid) {
  make_key(root, key);
  corpus.push_back({what, root, key, L"", true, valid});
}

bool CategoryCorpus::present(const corpus_entry& entry) const {
  return entry.is_key ? key_exists(entry.root, entry.key)
                      : value_exists(entry.root, entry.key, entry.value);
}

void CategoryCorpus::build(shell_folders folders) {
  build_files();
  // The scratch folder without its drive, for a path that only exists once
  // expanded: "C:\%REST%tool.exe".
  SetEnvironmentVariableW(L"TESSAREL_SCAN_REST", (path() + L"\\").substr(3).c_str());
  SetEnvironmentVariableW(L"TESSAREL_LONG_FOLDER", (L"C:\\" + std::wstring(300, L'a')).c_str());
  build_run_and_app_paths();
  build_classes_and_shared_dlls();
  build_help_software_and_menu(folders);
}

wchar_t CategoryCorpus::absent_drive() {
  const DWORD drives = GetLogicalDrives();
  for (wchar_t letter = L'Y'; letter > L'F'; --letter) {
    if ((drives & (1u << (letter - L'A'))) == 0) return letter;
  }
  return L'\0';
}

void CategoryCorpus::build_files() {
  make_folder(L"a b");
  make_file(L"a b\\x.exe");
  make_file(L"tool.exe");
  make_file(L"held.exe");
  make_file(L"srv.exe");
  make_file(L"inproc.dll");
  make_file(L"shared.dll");
  make_folder(L"help");
  make_file(L"help\\kept.hlp");
  make_file(L"help\\same.chm");
  make_folder(L"Programs");
  make_folder(L"Programs\\Kept Folder");
  make_folder(L"Common");
  make_folder(L"Common\\Common Kept");
  // A folder with blanks in its name beside a shorter one.
  make_folder(L"Program Files");
  make_folder(L"Program Files (x86)");
}

void CategoryCorpus::build_run_and_app_paths() {
  const HKEY cu = HKEY_CURRENT_USER, lm = HKEY_LOCAL_MACHINE;
  const std::wstring gone = path(L"missing\\gone.exe");
  add_text("run: quoted program, quoted argument", cu, run_key, L"quoted",
           L"\"" + path(L"a b\\x.exe") + L"\" \"%1\"", true);
  add_text("run: unquoted program with arguments", cu, run_key, L"unquoted",
           path(L"a b\\x.exe") + L" /min", true);
  add_text("run: file held for writing", cu, run_key, L"held", path(L"held.exe"), true);
  add_value("run: binary data naming a missing file", cu, run_key, L"binary", REG_BINARY,
            text_bytes(gone), true);
  add_value("run: number", cu, run_key, L"number", REG_DWORD, dword_bytes(0x3a0043), true);
  add_text("run: UNC path", cu, run_key, L"unc", L"\\\\server\\share\\missing.exe", true);
  add_text("run: pipe", cu, run_key, L"pipe", L"\\\\.\\pipe\\tessarel_missing", true);
  add_text("run: expandable path existing once expanded", cu, run_key, L"expand",
           path().substr(0, 3) + L"%TESSAREL_SCAN_REST%tool.exe", true, REG_EXPAND_SZ);
  // Run entries are judged as they stand: the variable keeps them unjudged.
  add_text("run: expandable path missing once expanded", cu, run_key, L"expand missing",
           path().substr(0, 3) + L"%TESSAREL_SCAN_REST%missing\\gone.exe", true, REG_EXPAND_SZ);
  add_text("run: tab before the arguments", cu, run_key, L"tab", path(L"tool.exe") + L"\t/min",
           true);
  add_text("run: program named without .exe", cu, run_key, L"no extension",
           path(L"a b\\x") + L" /min", true);
  add_text("run: drive letter with no drive", cu, run_key, L"no drive",
           std::wstring(1, absent_drive()) + L":\\tool\\x.exe", true);
  add_value("run: text without terminator", cu, run_key, L"unterminated", REG_SZ,
            text_bytes(path(L"tool.exe"), false), true);
  add_text("run: bare program name", cu, run_key, L"bare", L"tessarel_missing.exe", true);
  add_text("run: missing program", cu, run_key, L"gone", gone, false);
  add_text("run: missing quoted program", cu, run_key, L"gone quoted",
           L"\"" + path(L"missing\\gone b.exe") + L"\" /x", false);
  add_text("run: missing, unquoted, under a folder with blanks beside a shorter one", cu, run_key,
           L"gone x86", path(L"Program Files (x86)\\Gone\\app.exe") + L" /min", false);

  add_text("app path: existing program", lm, app_paths + L"\\kept.exe", L"", path(L"tool.exe"),
           true);
  add_text("app path: file held for writing", lm, app_paths + L"\\held.exe", L"",
           path(L"held.exe"), true);
  add_text("app path: %SystemRoot% in REG_EXPAND_SZ", lm, app_paths + L"\\sysroot.exe", L"",
           L"%SystemRoot%\\system32\\kernel32.dll", true, REG_EXPAND_SZ);
  add_text("app path: expandable text over 261 bytes", lm, app_paths + L"\\long.exe", L"",
           L"%SystemRoot%\\" + std::wstring(140, L'l') + L".exe", true, REG_EXPAND_SZ);
  add_text("app path: expansion over 261 characters", lm, app_paths + L"\\longer.exe", L"",
           L"%TESSAREL_LONG_FOLDER%\\x.exe", true, REG_EXPAND_SZ);
  add_value("app path: binary default", lm, app_paths + L"\\binary.exe", L"", REG_BINARY,
            text_bytes(gone), true);
  add_text("app path: UNC", lm, app_paths + L"\\unc.exe", L"", L"\\\\server\\share\\x.exe", true);
  add_key("app path: no default", lm, app_paths + L"\\nodefault.exe", true);
  add_text("app path: program named without .exe", lm, app_paths + L"\\noext.exe", L"",
           path(L"tool"), true);
  add_key("app path: missing program", lm, app_paths + L"\\gone.exe", false);
  set_text(lm, app_paths + L"\\gone.exe", L"", gone);
  set_text(lm, app_paths + L"\\gone.exe", L"Path", path());
  add_key("app path: missing under a folder with blanks beside a shorter one", lm,
          app_paths + L"\\gone x86.exe", false);
  set_text(lm, app_paths + L"\\gone x86.exe", L"", path(L"Program Files (x86)\\Gone\\app.exe"));
}

void CategoryCorpus::build_classes_and_shared_dlls() {
  const HKEY cr = HKEY_LOCAL_MACHINE, lm = HKEY_LOCAL_MACHINE;
  const std::wstring id = machine_classes + L"\\{7E55A2E1-0000-0000-0000-0000000000";
  struct server { const char* what; const wchar_t* n; const wchar_t* sub; std::wstring text;
                  DWORD type; bool valid; };
  const server servers[] = {
      {"class: existing in-process server", L"01}", inproc_server_key, path(L"inproc.dll"),
       REG_SZ, true},
      {"class: local server with arguments", L"02}", local_server_key,
       path(L"srv.exe") + L" /automation", REG_SZ, true},
      {"class: %SystemRoot% server", L"03}", inproc_server_key,
       L"%SystemRoot%\\system32\\kernel32.dll", REG_EXPAND_SZ, true},
      {"class: server held for writing", L"04}", local_server_key, path(L"held.exe"), REG_SZ,
       true},
      {"class: pipe as server", L"05}", inproc_server_key, L"\\\\.\\pipe\\x", REG_SZ, true},
      {"class: missing in-process server", L"06}", inproc_server_key,
       path(L"missing\\gone.dll"), REG_SZ, false},
      {"class: in-process server named without .dll", L"0A}", inproc_server_key, path(L"inproc"),
       REG_SZ, true},
      {"class: local server named without .exe", L"0B}", local_server_key,
       path(L"srv") + L" -Embedding", REG_SZ, true},
      {"class: missing local server under a folder with blanks", L"0C}", local_server_key,
       path(L"Program Files (x86)\\Gone\\srv.exe") + L" /automation", REG_SZ, false},
  };
  for (const server& s : servers) {
    add_key(s.what, cr, id + s.n, s.valid);
    set_text(cr, id + s.n + L"\\" + s.sub, L"", s.text, s.type);
    set_text(cr, id + s.n + L"\\ProgID", L"", L"Tessarel.Test");
  }
  add_key("class: no server subkeys", cr, id + L"07}", true);
  set_text(cr, id + L"07}\\ProgID", L"", L"Tessarel.Test");
  add_key("class: missing in-process, existing local server", cr, id + L"08}", true);
  set_text(cr, id + L"08}\\" + inproc_server_key, L"", path(L"missing\\gone.dll"));
  set_text(cr, id + L"08}\\" + local_server_key, L"", path(L"srv.exe"));
  add_key("class: binary server default", cr, id + L"09}", true);
  set_value(cr, id + L"09}\\" + inproc_server_key, L"", REG_BINARY,
            text_bytes(path(L"missing\\gone.dll")));
  build_classes_in_use(id);

  add_value("shared dll: existing", lm, shared_dlls_key, path(L"shared.dll"), REG_DWORD,
            dword_bytes(1), true);
  add_value("shared dll: UNC", lm, shared_dlls_key, L"\\\\server\\share\\x.dll", REG_DWORD,
            dword_bytes(1), true);
  add_value("shared dll: missing (number data)", lm, shared_dlls_key,
            path(L"missing\\gone.dll"), REG_DWORD, dword_bytes(2), false);
  add_value("shared dll: a folder", lm, shared_dlls_key, path(L"help\\"), REG_DWORD,
            dword_bytes(1), true);
  add_value("shared dll: missing under a folder with blanks beside a shorter one", lm,
            shared_dlls_key, path(L"Program Files (x86)\\Common Files\\Gone\\x.dll"), REG_DWORD,
            dword_bytes(1), false);
}

// Classes whose missing server file the system does not need, and classes
// judged in the hive that holds them.
void CategoryCorpus::build_classes_in_use(const std::wstring& id) {
  const HKEY lm = HKEY_LOCAL_MACHINE, cu = HKEY_CURRENT_USER;
  const std::wstring gone = path(L"missing\\gone.dll");
  // A REG_MULTI_SZ of one text: the installer's product, feature, component.
  const std::vector<BYTE> descriptor =
      text_bytes(std::wstring(L"w_descriptor]feature>component") + L'\0');
  struct in_use { const char* what; const wchar_t* n; const wchar_t* subkey; };
  const in_use kept[] = {
      {"class: TreatAs another class", L"11}", L"TreatAs"},
      {"class: AutoTreatAs another class", L"12}", L"AutoTreatAs"},
      {"class: in-process handler", L"13}", L"InprocHandler32"},
  };
  for (const in_use& k : kept) {
    add_key(k.what, lm, id + k.n, true);
    set_text(lm, id + k.n + L"\\" + inproc_server_key, L"", gone);
    set_text(lm, id + k.n + L"\\" + k.subkey, L"", L"{00000000-0000-0000-0000-000000000001}");
  }
  add_key("class: installer descriptor beside the server", lm, id + L"14}", true);
  set_text(lm, id + L"14}\\" + inproc_server_key, L"", gone);
  set_value(lm, id + L"14}\\" + inproc_server_key, inproc_server_key, REG_MULTI_SZ,
            descriptor);
  add_key("class: installer descriptor of a local server", lm, id + L"15}", true);
  set_text(lm, id + L"15}\\" + local_server_key, L"", path(L"missing\\gone.exe"));
  set_value(lm, id + L"15}\\" + local_server_key, local_server_key, REG_MULTI_SZ,
            descriptor);
  add_key("class: local server named by ServerExecutable", lm, id + L"16}", true);
  set_text(lm, id + L"16}\\" + local_server_key, L"", path(L"missing\\gone.exe"));
  set_text(lm, id + L"16}\\" + local_server_key, L"ServerExecutable", path(L"missing\\gone.exe"));

  // A class whose AppID names a service is started as that service; the
  // user's AppID key is looked up before the machine's.
  struct by_app_id { const char* what; const wchar_t* n; const wchar_t* machine_value;
                     const wchar_t* user_value; bool locked; bool valid; };
  const by_app_id app_ids[] = {
      {"class: AppID of the machine names a service", L"17}", L"LocalService", nullptr, false,
       true},
      {"class: AppID of the user names a service", L"18}", nullptr, L"LocalService", false, true},
      {"class: AppID of the user without one hides the machine's", L"19}", L"LocalService",
       L"RunAs", false, false},
      {"class: AppID that cannot be read", L"1A}", L"RunAs", nullptr, true, true},
  };
  for (const by_app_id& a : app_ids) {
    const std::wstring app_id = std::wstring(L"{7E55A2E1-A000-0000-0000-0000000000") + a.n;
    const std::wstring app_id_key = L"Software\\Classes\\AppID\\" + app_id;
    add_key(a.what, lm, id + a.n, a.valid);
    set_text(lm, id + a.n + L"\\" + local_server_key, L"", path(L"missing\\gone.exe"));
    set_text(lm, id + a.n, L"AppID", app_id);
    if (a.machine_value != nullptr) set_text(lm, app_id_key, a.machine_value, L"TessarelTest");
    if (a.user_value != nullptr) set_text(cu, app_id_key, a.user_value, L"TessarelTest");
    if (a.locked) {
      // Read by no one, as a key locked down by its installer.
      set_key_access(lm, app_id_key, L"D:(D;;KR;;;WD)(A;;KA;;;WD)");
      locked_.push_back({lm, app_id_key});
    }
  }

  // The same class in both hives: each is judged and deleted on its own.
  const std::wstring user = std::wstring(L"Software\\Classes\\CLSID\\") +
                            L"{7E55A2E1-0000-0000-0000-0000000000";
  add_key("class of the user: missing server", cu, user + L"20}", false);
  set_text(cu, user + L"20}\\" + inproc_server_key, L"", gone);
  add_key("class of the machine: same id, existing server", lm, id + L"20}", true);
  set_text(lm, id + L"20}\\" + inproc_server_key, L"", path(L"inproc.dll"));
  add_key("class of the user: existing server", cu, user + L"21}", true);
  set_text(cu, user + L"21}\\" + inproc_server_key, L"", path(L"inproc.dll"));
  add_key("class of the machine: same id, missing server", lm, id + L"21}", false);
  set_text(lm, id + L"21}\\" + inproc_server_key, L"", gone);
  // Only in the merged view's own key, which the scan never reads.
  add_key("class seen only through HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT,
          L"CLSID\\{7E55A2E1-0000-0000-0000-000000000030}", true);
  set_text(HKEY_CLASSES_ROOT, L"CLSID\\{7E55A2E1-0000-0000-0000-000000000030}\\InprocServer32",
           L"", gone);
}

void CategoryCorpus::build_help_software_and_menu(shell_folders folders) {
  const HKEY cu = HKEY_CURRENT_USER, lm = HKEY_LOCAL_MACHINE;
  add_text("help: folder without backslash", lm, help_key, L"kept.hlp", path(L"help"), true);
  add_text("help: folder with backslash", lm, help_key, L"same.chm", path(L"help\\"), true);
  add_value("help: number", lm, help_key, L"number.hlp", REG_DWORD, dword_bytes(7), true);
  add_text("help: missing file", lm, help_key, L"gone.hlp", path(L"help"), false);
  add_text("help: expandable folder, missing once expanded", lm, help_key, L"expand.hlp",
           path().substr(0, 3) + L"%TESSAREL_SCAN_REST%missing", true, REG_EXPAND_SZ);
  // The same name in both keys; only the Html Help one is missing.
  add_text("html help: missing file", lm, html_help_key, L"kept.hlp", path(L"missing"), false);
  add_text("html help: existing file", lm, html_help_key, L"same.chm", path(L"help"), true);
  add_text("help: missing under a folder with blanks beside a shorter one", lm, help_key,
           L"gone x86.hlp", path(L"Program Files (x86)\\Gone"), false);

  add_text("software: vendor with a value", cu, L"Software\\Kept Vendor", L"v", L"1", true);
  add_text("software: vendor with a default", cu, L"Software\\Kept Default", L"", L"1", true);
  make_key(cu, L"Software\\Kept Parent\\Child");
  corpus.push_back({"software: vendor with a subkey", cu, L"Software\\Kept Parent", L"", true,
                    true});
  add_key("software: empty vendor", cu, L"Software\\Empty Vendor", false);
  add_key("software: empty vendor that gains a value before the clean", cu,
          L"Software\\Gains Value", true);

  const bool present = folders == shell_folders::present;
  if (folders != shell_folders::missing) {
    set_text(cu, shell_folders_key, user_programs_value, present ? path(L"Programs") : L"");
    set_text(lm, shell_folders_key, common_programs_value, present ? path(L"Common") : L"");
  }
  add_key("menu order: folder of the user", cu, menu + L"\\Kept Folder", true);
  set_value(cu, menu + L"\\Kept Folder", L"Order", REG_BINARY, {1, 2, 3});
  add_key("menu order: common folder", cu, menu + L"\\Common Kept", true);
  add_key(present ? "menu order: missing folder" : "menu order: missing folder, no Shell Folders",
          cu, menu + L"\\Gone Folder", !present);
}

}  // namespace regscan::testing
