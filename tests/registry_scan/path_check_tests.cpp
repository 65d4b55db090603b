// Judging registry texts as paths: which texts name an existing file, which a
// missing one, and which are not judged at all. A text judged missing when
// its file is there gets a valid entry deleted.
#include <gtest/gtest.h>

#include "regscan/file_system_seam.h"
#include "regscan/path_checks.h"
#include "sandboxed_registry.h"
#include "tessarel/unique_handle.h"

namespace regscan::testing {
namespace {

struct text_case {
  const char* name;
  std::wstring text;  // "S" stands for the scratch folder
  path_verdict verdict;
};

const text_case text_cases[] = {
    {"PlainPath", L"S\\tool.exe", path_exists},
    {"QuotedWithQuotedArgument", L"\"S\\a b\\x.exe\" \"%1\"", path_exists},
    {"QuotedAlone", L"\"S\\a b\\x.exe\"", path_exists},
    {"QuotedNeverClosed", L"\"S\\a b\\x.exe", path_exists},
    {"UnquotedBlankInPathWithArguments", L"S\\a b\\x.exe /min", path_exists},
    {"UnquotedWithTwoArguments", L"S\\tool.exe /a /b", path_exists},
    {"MissingPlain", L"S\\missing\\x.exe", path_missing},
    {"MissingQuotedWithArgument", L"\"S\\missing\\x.exe\" \"%1\"", path_missing},
    {"MissingWithArguments", L"S\\missing\\x.exe /min", path_missing},
    {"FolderIsNoFile", L"S\\a b", path_missing},
    {"UncShare", L"\\\\server\\share\\missing.exe", path_unjudged},
    {"Pipe", L"\\\\.\\pipe\\tessarel_missing", path_unjudged},
    {"Device", L"\\\\?\\C:\\tessarel_missing.exe", path_unjudged},
    {"QuotedUnc", L"\"\\\\server\\share\\x.exe\" /a", path_unjudged},
    {"Empty", L"", path_unjudged},
    {"DriveAlone", L"C:", path_unjudged},
    {"DriveRelative", L"C:tessarel_missing.exe", path_unjudged},
    {"BareName", L"tessarel_missing.exe", path_unjudged},
    {"EnvironmentVariable", L"%SystemRoot%\\tessarel_missing.exe", path_unjudged},
    {"QuotedBareName", L"\"tessarel_missing.exe\" /a", path_unjudged},
};

class PathText : public SandboxedRegistry, public ::testing::WithParamInterface<text_case> {};

TEST_P(PathText, Verdict) {
  make_folder(L"a b");
  make_file(L"a b\\x.exe");
  make_file(L"tool.exe");
  std::wstring text = GetParam().text;
  const std::size_t at = text.rfind(L"S\\", 1);
  if (at != std::wstring::npos && text.find_first_not_of(L'"') == at) text.replace(at, 1, path());
  EXPECT_EQ(check_path_text(text), GetParam().verdict) << narrow(text);
}

INSTANTIATE_TEST_SUITE_P(Cases, PathText, ::testing::ValuesIn(text_cases),
                         [](const auto& info) { return std::string(info.param.name); });

using FileExistence = SandboxedRegistry;

// Catches an existence check that opens the file: another program holding it
// for writing without sharing would make it look missing.
TEST_F(FileExistence, FileHeldForWritingExists) {
  make_file(L"held.exe");
  const tessarel::unique_kernel_handle held(CreateFileW(path(L"held.exe").c_str(), GENERIC_WRITE,
                                                         0, nullptr, OPEN_EXISTING,
                                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held.is_open());
  EXPECT_TRUE(file_exists(path(L"held.exe")));
  EXPECT_EQ(check_path_text(L"\"" + path(L"held.exe") + L"\" /x"), path_exists);
  EXPECT_FALSE(folder_exists(path(L"held.exe")));
  EXPECT_TRUE(folder_exists(path()));
  EXPECT_FALSE(file_exists(path()));
}

// The file-system calls as a 64-bit system shows them to a 32-bit program:
// some paths exist only with redirection off.
struct fake_view {
  std::set<std::wstring> files, files_unredirected;
  DWORD error = ERROR_FILE_NOT_FOUND;  // for a path found in neither
  bool disable_works = true;
  bool redirection_off = false;
  int disables = 0, reverts = 0;
  void* reverted_with = nullptr;
};
fake_view* view = nullptr;
int old_value_token = 0;

DWORD fake_attributes(const wchar_t* path) {
  const std::set<std::wstring>& files =
      view->redirection_off ? view->files_unredirected : view->files;
  if (files.count(path) != 0) return FILE_ATTRIBUTE_NORMAL;
  SetLastError(view->error);
  return INVALID_FILE_ATTRIBUTES;
}
BOOL fake_disable(void** old_value) {
  ++view->disables;
  if (!view->disable_works || view->redirection_off) return FALSE;
  view->redirection_off = true;
  *old_value = &old_value_token;
  return TRUE;
}
BOOL fake_revert(void* old_value) {
  ++view->reverts;
  view->reverted_with = old_value;
  view->redirection_off = false;
  return TRUE;
}

struct redirection_case {
  const char* name;
  bool normal, unredirected, disable_works;
  DWORD error;
  bool exists;
  int disables, reverts;
};

// Catches a system32 file judged missing because the 32-bit view hides it,
// redirection left off (every later file call of the thread goes astray), a
// revert after a disable that failed, and errors that mean "there but not
// readable" counted as missing.
const redirection_case redirection_cases[] = {
    {"FoundInNormalView", true, false, true, ERROR_FILE_NOT_FOUND, true, 0, 0},
    {"FoundOnlyUnredirected", false, true, true, ERROR_FILE_NOT_FOUND, true, 1, 1},
    {"FoundNowhere", false, false, true, ERROR_FILE_NOT_FOUND, false, 1, 1},
    {"DisableFails", false, true, false, ERROR_FILE_NOT_FOUND, false, 1, 0},
    {"SharingViolation", false, false, true, ERROR_SHARING_VIOLATION, true, 0, 0},
    {"AccessDenied", false, false, true, ERROR_ACCESS_DENIED, true, 0, 0},
    {"PathNotFound", false, false, false, ERROR_PATH_NOT_FOUND, false, 1, 0},
};

class Redirection : public ::testing::TestWithParam<redirection_case> {
 protected:
  void SetUp() override {
    view = &fake;
    previous_ = install_file_system({&fake_attributes, &fake_disable, &fake_revert});
  }
  void TearDown() override {
    install_file_system(previous_);
    view = nullptr;
  }
  fake_view fake;

 private:
  file_system_seam previous_{};
};

TEST_P(Redirection, ExistsInEitherViewAndPutsRedirectionBack) {
  const redirection_case& c = GetParam();
  const std::wstring dll = L"C:\\Windows\\System32\\only64.dll";
  if (c.normal) fake.files.insert(dll);
  if (c.unredirected) fake.files_unredirected.insert(dll);
  fake.disable_works = c.disable_works;
  fake.error = c.error;

  EXPECT_EQ(file_exists(dll), c.exists);
  EXPECT_EQ(fake.disables, c.disables);
  EXPECT_EQ(fake.reverts, c.reverts);
  if (c.reverts > 0) {
    EXPECT_EQ(fake.reverted_with, &old_value_token);
  }
  EXPECT_FALSE(fake.redirection_off) << "redirection left off";

  // A command line: the program is found in either view too.
  EXPECT_EQ(check_path_text(dll + L" /x"), c.exists ? path_exists : path_missing);
  EXPECT_FALSE(fake.redirection_off) << "redirection left off";
  EXPECT_EQ(fake.reverts, c.disable_works ? fake.disables : 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, Redirection, ::testing::ValuesIn(redirection_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace regscan::testing
