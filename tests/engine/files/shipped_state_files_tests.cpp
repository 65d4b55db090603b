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

// Copies the files (not the folders) of the application folder.
void copy_application_folder(const std::string& to) {
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA((app_folder + "*").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string name = data.cFileName;
    EXPECT_TRUE(CopyFileA((app_folder + name).c_str(), (to + name).c_str(), FALSE)) << name;
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

TEST(ShippedStateFiles, OptionFlagSurvivesAnUnloadInACopyOfTheFolder) {
  scratch_folder folder;
  copy_application_folder(folder.path());
  const std::string host = folder.path() + "state_files_host.exe";
  ASSERT_TRUE(CopyFileA(windows_path(TESSAREL_TEST_STATE_FILES_HOST).c_str(), host.c_str(), FALSE));

  const DWORD exit_code = run_host(host, "", folder.path());
  EXPECT_EQ(exit_code, 0u) << "the host's failed step (see state_files_host.cpp)";

  const std::string setting = folder.read("Setting").value_or("");
  ASSERT_EQ(setting.size(), 13u);
  EXPECT_EQ(setting[10], 1) << "the logout flag's byte";
}

}  // namespace
}  // namespace dravik::testing
