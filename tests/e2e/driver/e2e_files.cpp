#include "driver/e2e_files.h"

#include <windows.h>

#include "tessarel/unique_handle.h"

namespace tessarel::e2e {

namespace {

// A path of the build's file system ("/work/build/x") as Wine reaches it
// without a drive: "\\?\unix\work\build\x".
std::wstring unix_name(const char* path) {
  std::wstring name = L"\\\\?\\unix";
  for (const char* c = path; *c; ++c) name += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return name;
}

bool is_dots(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

}  // namespace

std::wstring simulated_app_folder() { return unix_name(TESSAREL_E2E_APP_SIMULATED); }

std::wstring screenshot_folder() {
  const std::wstring folder = unix_name(TESSAREL_E2E_SCREENSHOT_DIR);
  CreateDirectoryW(unix_name(TESSAREL_E2E_SCREENSHOT_PARENT).c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::wstring engine_probe_file() { return unix_name(TESSAREL_E2E_ENGINE_PROBE); }

std::wstring work_root() { return L"C:\\e2e"; }

bool copy_folder(const std::wstring& from, const std::wstring& to) {
  if (GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES && !remove_folder(to))
    return false;
  if (!CreateDirectoryW(to.c_str(), nullptr)) return false;
  WIN32_FIND_DATAW entry{};
  const unique_find_handle find(FindFirstFileW((from + L"\\*").c_str(), &entry));
  if (!find) return false;
  do {
    if (is_dots(entry.cFileName)) continue;
    const std::wstring source = from + L"\\" + entry.cFileName;
    const std::wstring target = to + L"\\" + entry.cFileName;
    const bool copied = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                            ? copy_folder(source, target)
                            : CopyFileW(source.c_str(), target.c_str(), FALSE) != FALSE;
    if (!copied) return false;
  } while (FindNextFileW(find.get(), &entry));
  return true;
}

bool remove_folder(const std::wstring& folder) {
  WIN32_FIND_DATAW entry{};
  {
    const unique_find_handle find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (find) {
      do {
        if (is_dots(entry.cFileName)) continue;
        const std::wstring path = folder + L"\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          remove_folder(path);
        } else {
          SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW(path.c_str());
        }
      } while (FindNextFileW(find.get(), &entry));
    }
  }
  return RemoveDirectoryW(folder.c_str()) != FALSE;
}

std::optional<std::string> read_file(const std::wstring& path) {
  const unique_kernel_handle file(CreateFileW(path.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  return bytes;
}

bool write_file(const std::wstring& path, const std::string& bytes) {
  const unique_kernel_handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file &&
         WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool file_exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace tessarel::e2e
