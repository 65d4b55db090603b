// What ships with the program besides its code: the manifest in its
// resources (linked into this executable too) and the compiled help file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "startup/program_texts.h"
#include "tessarel/unique_handle.h"

namespace tessarel::testing {
namespace {

// Catches a manifest left out of the resources or one that would let the
// program start without elevation.
TEST(ShippedFiles, ManifestAsksForAdministratorRights) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr);
  const HGLOBAL loaded = LoadResource(module, found);
  ASSERT_NE(loaded, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(loaded)),
                             SizeofResource(module, found));
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
  EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
}

// Catches help.chm missing from the application folder, a file that is not a
// compiled help file, and the help sources shipped loose beside it.
TEST(ShippedFiles, HelpIsCompiledIntoTheApplicationFolder) {
  const std::wstring folder = std::wstring(TESSAREL_TEST_ENGINE_APP_DIR) + L"/";
  const std::wstring path = folder + help_file_name;
  const unique_kernel_handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(file) << "no help file";
  char signature[4] = {};
  DWORD read = 0;
  ASSERT_TRUE(ReadFile(file.get(), signature, sizeof(signature), &read, nullptr));
  EXPECT_EQ(std::string(signature, read), "ITSF");
  EXPECT_EQ(GetFileAttributesW((folder + L"help").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace tessarel::testing
