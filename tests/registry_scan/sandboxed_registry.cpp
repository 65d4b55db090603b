#include "sandboxed_registry.h"

#include <cstdio>

#include "tessarel/unique_handle.h"

namespace regscan::testing {

namespace {

using tessarel::unique_registry_key;

const HKEY roots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT};
const wchar_t* const root_names[] = {L"HKLM", L"HKCU", L"HKCR"};

// Outside every category, each naming a missing file, and several with a
// path that shares a category key's first characters: a scan or a deleter
// that strays deletes one of them.
struct canary {
  HKEY root;
  const wchar_t* key;
  const wchar_t* value;
};
const canary canaries[] = {
    {HKEY_LOCAL_MACHINE, L"Software\\TessarelCanary", L"v"},
    {HKEY_LOCAL_MACHINE, L"Software\\TessarelCanary\\sub", L""},
    {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths Canary\\x.exe",
     L""},
    {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", L"canary"},
    {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\Helpers", L"canary.hlp"},
    {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDllsX",
     L"C:\\tessarel_missing\\canary.dll"},
    {HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", L"canary"},
    {HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Sub", L"canary"},
    {HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\Help", L"canary.hlp"},
    {HKEY_CURRENT_USER,
     L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Other\\Gone",
     L"Order"},
    {HKEY_CLASSES_ROOT, L"CLSIDX\\{00000000-0000-0000-0000-00000000CA7A}\\InprocServer32", L""},
    {HKEY_CLASSES_ROOT, L".canary", L""},
};

void collect(HKEY key, const std::wstring& path, std::set<std::wstring>& lines) {
  lines.insert(path + L"\\");
  DWORD subkeys = 0, values = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return;
  for (DWORD i = 0; i < values; ++i) {
    wchar_t name[16384];
    BYTE data[4096];
    DWORD name_length = 16384, size = sizeof data, type = 0;
    if (RegEnumValueW(key, i, name, &name_length, nullptr, &type, data, &size) != ERROR_SUCCESS)
      continue;
    std::wstring line = path + L"|" + std::wstring(name, name_length) + L"|" +
                        std::to_wstring(type) + L"|";
    for (DWORD b = 0; b < size; ++b) line += std::to_wstring(data[b]) + L",";
    lines.insert(line);
  }
  for (DWORD i = 0; i < subkeys; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      continue;
    HKEY sub = nullptr;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
    const unique_registry_key held(sub);
    collect(sub, path + L"\\" + name, lines);
  }
}

std::wstring wide(const std::string& ansi) {
  const int size = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &out[0], size);
  out.resize(static_cast<std::size_t>(size > 0 ? size - 1 : 0));
  return out;
}

}  // namespace

std::string narrow(const std::wstring& text) {
  std::string out;
  for (const wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

std::vector<BYTE> text_bytes(const std::wstring& text, bool terminated) {
  const std::size_t count = (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t);
  const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  return std::vector<BYTE>(bytes, bytes + count);
}

void set_value(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type,
               const std::vector<BYTE>& bytes) {
  HKEY opened = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened,
                            nullptr),
            ERROR_SUCCESS);
  const unique_registry_key held(opened);
  ASSERT_EQ(RegSetValueExW(opened, name.empty() ? nullptr : name.c_str(), 0, type, bytes.data(),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
}

void set_text(HKEY root, const std::wstring& key, const std::wstring& name,
              const std::wstring& text, DWORD type) {
  set_value(root, key, name, type, text_bytes(text));
}

void make_key(HKEY root, const std::wstring& key) {
  HKEY opened = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened,
                            nullptr),
            ERROR_SUCCESS);
  RegCloseKey(opened);
}

bool key_exists(HKEY root, const std::wstring& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

bool value_exists(HKEY root, const std::wstring& key, const std::wstring& name) {
  return RegGetValueW(root, key.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_ANY,
                      nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void SandboxedRegistry::SetUp() {
  sandbox = std::make_unique<tessarel::testing::registry_sandbox>(
      std::initializer_list<HKEY>{HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT});
  ASSERT_TRUE(sandbox->active()) << "a root is not redirected: nothing may run";
  ASSERT_EQ(snapshot().size(), 3u) << "the sandbox did not start empty";
  // A marker written through each root must land in that root's sandbox key.
  for (const HKEY root : roots) {
    set_text(root, L"TessarelSandboxMarker", L"", L"here");
    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenKeyExW(sandbox->key(root), L"TessarelSandboxMarker", 0, KEY_READ, &opened),
              ERROR_SUCCESS);
    RegCloseKey(opened);
  }
  scratch = std::make_unique<tessarel::testing::scratch_folder>();
  ASSERT_TRUE(path().size() > 3 && path()[1] == L':') << "no drive path for the files";

  for (const canary& c : canaries) set_text(c.root, c.key, c.value, L"C:\\tessarel_missing\\x.exe");
  // Non-empty, so the software-key check keeps it.
  set_text(HKEY_CURRENT_USER, L"Software\\TessarelCanary", L"v", L"C:\\tessarel_missing\\x.exe");
  canaries_ = snapshot();
}

void SandboxedRegistry::TearDown() {
  if (!sandbox || !sandbox->active()) return;
  const std::set<std::wstring> after = snapshot();
  for (const std::wstring& line : canaries_) {
    EXPECT_EQ(after.count(line), 1u) << "a canary changed or vanished: " << narrow(line);
  }
  sandbox.reset();
  scratch.reset();
}

std::set<std::wstring> SandboxedRegistry::snapshot() const {
  std::set<std::wstring> lines;
  for (int i = 0; i < 3; ++i) collect(sandbox->key(roots[i]), root_names[i], lines);
  return lines;
}

std::wstring SandboxedRegistry::path(const std::wstring& name) const {
  std::wstring folder = wide(scratch->path());
  if (name.empty()) folder.pop_back();
  return name.empty() ? folder : folder + name;
}

void SandboxedRegistry::make_file(const std::wstring& name) const {
  const tessarel::unique_kernel_handle file(CreateFileW(path(name).c_str(), GENERIC_WRITE, 0,
                                                         nullptr, CREATE_ALWAYS,
                                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file.is_open()) << "cannot make a test file";
}

void SandboxedRegistry::make_folder(const std::wstring& name) const {
  ASSERT_TRUE(CreateDirectoryW(path(name).c_str(), nullptr)) << "cannot make a test folder";
}

}  // namespace regscan::testing
