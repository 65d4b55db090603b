// The state files the engine updates but never creates ship in the
// application folder; without them the option flags, the maps and the dates
// are lost at every unload.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "host_process/host_process.h"
#include "scratch_folder/scratch_folder.h"

namespace dravik::testing {
namespace {

using tessarel::testing::run_host;
using tessarel::testing::scratch_folder;
using tessarel::testing::windows_path;

const std::string app_folder = windows_path(TESSAREL_TEST_APP_DIR);

long long file_size(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST(ShippedStateFiles, ApplicationFolderHoldsThemAtTheirSizes) {
  EXPECT_EQ(file_size(app_folder + "Setting"), 13);
  EXPECT_EQ(file_size(app_folder + "diskdata"), 624000);
  EXPECT_EQ(file_size(app_folder + "defragdate"), 416);
}

std::wstring wide(const std::string& text) {
  std::wstring result(text.size(), L'\0');
  result.resize(static_cast<std::size_t>(MultiByteToWideChar(
      CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(),
      static_cast<int>(result.size()))));
  return result;
}

// Copies the files (not the folders) of the application folder.
void copy_application_folder(const std::wstring& to) {
  const std::wstring from = wide(app_folder);
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((from + L"*").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::wstring name = data.cFileName;
    EXPECT_TRUE(CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE));
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

std::string read_file(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  char bytes[64] = {};
  DWORD read = 0;
  ReadFile(file, bytes, sizeof bytes, &read, nullptr);
  CloseHandle(file);
  return std::string(bytes, read);
}

// Also catches the engine taking its folder from the ANSI path of its host:
// a folder named with a letter code page 936 lacks (Ł) became "?ukasz", and
// the flag was written nowhere and read back as off.
TEST(ShippedStateFiles, OptionFlagSurvivesAnUnloadInACopyOfTheFolder) {
  ASSERT_EQ(GetACP(), 936u);
  for (const wchar_t* subfolder : {L"", L"\u0141ukasz\\"}) {
    SCOPED_TRACE(subfolder[0] ? "in a folder named \\u0141ukasz" : "in the scratch folder");
    scratch_folder folder;
    const std::wstring copy = wide(folder.path()) + subfolder;
    if (subfolder[0]) {
      ASSERT_TRUE(CreateDirectoryW(copy.c_str(), nullptr));
    }
    copy_application_folder(copy);
    const std::wstring host = copy + L"state_files_host.exe";
    ASSERT_TRUE(CopyFileW(wide(windows_path(TESSAREL_TEST_STATE_FILES_HOST)).c_str(),
                          host.c_str(), FALSE));

    const DWORD exit_code = run_host(host, L"", copy);
    EXPECT_EQ(exit_code, 0u) << "the host's failed step (see state_files_host.cpp)";

    const std::string setting = read_file(copy + L"Setting");
    ASSERT_EQ(setting.size(), 13u);
    EXPECT_EQ(setting[10], 1) << "the logout flag's byte";
  }
}

}  // namespace
}  // namespace dravik::testing
