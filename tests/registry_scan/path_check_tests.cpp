// Judging registry texts as paths: which texts name an existing file, which a
// missing one, and which are not judged at all. A text judged missing when
// its file is there gets a valid entry deleted.
#include <gtest/gtest.h>

#include "fake_file_system.h"
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
  const wchar_t* default_extension = nullptr;
  bool whole_path = false;  // a shared library's name or help path
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
    {"FolderIsPresent", L"S\\a b", path_exists},
    {"FolderWithBackslashIsPresent", L"S\\a b\\", path_exists},
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
    {"VariableLeftInThePath", L"S\\%TESSAREL_UNSET%\\x.exe", path_unjudged},
    {"VariableLeftInTheArguments", L"S\\missing\\x.exe %1", path_unjudged},
    // Command lines as the system's loaders read them: a tab ends the
    // program as a blank does, and a name without an extension is also
    // tried with the category's default one.
    {"TabBeforeArguments", L"S\\tool.exe\t/min", path_exists, L".exe"},
    {"QuotedThenTab", L"\"S\\a b\\x.exe\"\t/min", path_exists, L".exe"},
    {"NoExtension", L"S\\tool", path_exists, L".exe"},
    {"NoExtensionWithArguments", L"S\\a b\\x /min", path_exists, L".exe"},
    {"QuotedNoExtension", L"\"S\\a b\\x\" /min", path_exists, L".exe"},
    {"NoExtensionServerLibrary", L"S\\inproc", path_exists, L".dll"},
    {"NoExtensionOtherKind", L"S\\tool", path_missing, L".dll"},
    {"NoExtensionWithoutDefault", L"S\\tool", path_missing},
    {"OtherExtensionNotExtended", L"S\\tool.ex", path_missing, L".exe"},
    {"MissingWithTab", L"S\\missing\\x\t/a", path_missing, L".exe"},
    // The loader starts only a file: "S\Program Files" in front of the
    // 32-bit folder's name is no program.
    {"CutNamingAFolderIsNoProgram", L"S\\Program Files (x86)\\Gone\\app.exe /min", path_missing,
     L".exe"},
    {"QuotedFolderIsPresent", L"\"S\\Program Files (x86)\"", path_exists, L".exe"},
    // Paths are judged whole: never cut at a blank, a folder present.
    {"PathNotCutAtAFolder", L"S\\Program Files (x86)\\Common Files\\Gone\\x.dll", path_missing,
     nullptr, true},
    {"PathNotCutAtAFile", L"S\\tool.exe old\\x.dll", path_missing, nullptr, true},
    {"PathFolderWithBlanks", L"S\\Program Files (x86)\\", path_exists, nullptr, true},
};

class PathText : public SandboxedRegistry, public ::testing::WithParamInterface<text_case> {};

TEST_P(PathText, Verdict) {
  make_folder(L"a b");
  make_file(L"a b\\x.exe");
  make_file(L"tool.exe");
  make_file(L"inproc.dll");
  make_folder(L"Program Files");
  make_folder(L"Program Files (x86)");
  std::wstring text = GetParam().text;
  const std::size_t at = text.rfind(L"S\\", 1);
  if (at != std::wstring::npos && text.find_first_not_of(L'"') == at) text.replace(at, 1, path());
  EXPECT_EQ(GetParam().whole_path ? check_whole_path(text)
                                  : check_path_text(text, {GetParam().default_extension, false}),
            GetParam().verdict)
      << narrow(text);
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
  EXPECT_EQ(look_up_path(path(L"held.exe")), path_presence::present);
  EXPECT_EQ(check_path_text(L"\"" + path(L"held.exe") + L"\" /x"), path_exists);
  EXPECT_FALSE(folder_exists(path(L"held.exe")));
  EXPECT_TRUE(folder_exists(path()));
  EXPECT_EQ(look_up_path(path()), path_presence::present) << "a folder is present too";
}

struct drive_case {
  const char* name;
  std::wstring path;
  UINT drive_type;  // of the path's drive
  DWORD error;      // what a look at the path gives; 0: it is there
  path_verdict verdict;
  bool looked_at;
};

// MAX_PATH - 1 characters, and MAX_PATH.
const std::wstring longest_path = L"C:\\" + std::wstring(MAX_PATH - 8, L'l') + L".exe";
const std::wstring long_path = L"C:\\" + std::wstring(MAX_PATH - 7, L'l') + L".exe";

// Catches a program on an unplugged stick, a card reader without its medium,
// a network or SUBST letter, a locked volume or a letter with no drive
// called missing (its valid entry deleted), any error but the two "not
// found" ones taken for missing, and a look at a drive that is not fixed
// (which could raise a "no disk" box).
const drive_case drive_cases[] = {
    {"FixedFileNotFound", L"C:\\gone\\x.exe", DRIVE_FIXED, ERROR_FILE_NOT_FOUND, path_missing,
     true},
    {"FixedPathNotFound", L"C:\\gone\\x.exe", DRIVE_FIXED, ERROR_PATH_NOT_FOUND, path_missing,
     true},
    {"FixedPresent", L"C:\\here\\x.exe", DRIVE_FIXED, 0, path_exists, true},
    {"Removable", L"F:\\tool\\x.exe", DRIVE_REMOVABLE, ERROR_PATH_NOT_FOUND, path_unjudged,
     false},
    {"Network", L"N:\\tool\\x.exe", DRIVE_REMOTE, ERROR_PATH_NOT_FOUND, path_unjudged, false},
    {"NoSuchDrive", L"Q:\\tool\\x.exe", DRIVE_NO_ROOT_DIR, ERROR_PATH_NOT_FOUND, path_unjudged,
     false},
    {"NotReady", L"C:\\locked\\x.exe", DRIVE_FIXED, ERROR_NOT_READY, path_unjudged, true},
    {"AccessDenied", L"C:\\private\\x.exe", DRIVE_FIXED, ERROR_ACCESS_DENIED, path_unjudged,
     true},
    {"InvalidName", L"C:\\a<b>\\x.exe", DRIVE_FIXED, ERROR_INVALID_NAME, path_unjudged, true},
    {"LongestJudged", longest_path, DRIVE_FIXED, ERROR_FILE_NOT_FOUND, path_missing, true},
    {"MaxPath", long_path, DRIVE_FIXED, ERROR_FILE_NOT_FOUND, path_unjudged, false},
    {"VariableLeft", L"C:\\%APPDIR%\\x.exe", DRIVE_FIXED, ERROR_PATH_NOT_FOUND, path_unjudged,
     false},
    // A junction, a symbolic link or a volume mounted in a folder on the way
    // may lead to a disk that is away.
    {"ThroughAJunction", L"C:\\Link\\Gone\\x.exe", DRIVE_FIXED, ERROR_PATH_NOT_FOUND,
     path_unjudged, true},
    {"ThroughAVolumeInAFolder", L"C:\\Mounts\\Backup Disk\\x.exe", DRIVE_FIXED,
     ERROR_FILE_NOT_FOUND, path_unjudged, true},
    {"BesideAJunction", L"C:\\Linked\\x.exe", DRIVE_FIXED, ERROR_PATH_NOT_FOUND, path_missing,
     true},
};

class DriveAndError : public ::testing::TestWithParam<drive_case> {};

TEST_P(DriveAndError, OnlyAbsenceOnAPresentFixedDriveIsMissing) {
  const drive_case& c = GetParam();
  fake_file_system fake;
  fake.drive_types[c.path[0]] = c.drive_type;
  if (c.error == 0) {
    fake.attributes[c.path] = FILE_ATTRIBUTE_NORMAL;
  } else {
    fake.errors[c.path] = c.error;
  }
  fake.attributes[L"C:\\Link"] = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  fake.attributes[L"C:\\Mounts"] = FILE_ATTRIBUTE_DIRECTORY;
  fake.attributes[L"C:\\Mounts\\Backup Disk"] =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  const fake_file_system_scope scope(fake);
  ASSERT_EQ(c.path.size() >= MAX_PATH, std::string(c.name) == "MaxPath");
  EXPECT_EQ(check_path_text(c.path), c.verdict);
  EXPECT_EQ(check_path_text(L"\"" + c.path + L"\" /a"), c.verdict) << "quoted";
  EXPECT_EQ(check_whole_path(c.path), c.verdict) << "as a path";
  EXPECT_EQ(!fake.looked_at.empty(), c.looked_at);
}

INSTANTIATE_TEST_SUITE_P(Cases, DriveAndError, ::testing::ValuesIn(drive_cases),
                         [](const auto& info) { return std::string(info.param.name); });

struct native_case {
  const char* name;
  std::wstring path;
  bool native_folders, wow64;
  path_verdict verdict;
};

// What a 32-bit process on 64-bit Windows sees: %ProgramFiles% names the
// 32-bit folder, where a 64-bit program's valid entry finds nothing.
// Catches such a path called missing although the native folder has it,
// a look in the native folder where none is wanted, and a leftover under
// the 32-bit folder kept because "C:\Program Files" (a folder) is taken for
// its program.
const native_case native_cases[] = {
    {"NativeProgram", L"C:\\Program Files (x86)\\Tool\\app.exe", true, true, path_exists},
    {"NativeCommonFile", L"C:\\Program Files (x86)\\Common Files\\Shared\\s.dll", true, true,
     path_exists},
    {"CaseOfTheFolderIgnored", L"c:\\program files (x86)\\Tool\\app.exe", true, true,
     path_exists},
    {"ThirtyTwoBitProgram", L"C:\\Program Files (x86)\\Old\\old.exe", true, true, path_exists},
    {"MissingInBoth", L"C:\\Program Files (x86)\\Gone\\gone.exe", true, true, path_missing},
    {"MissingInBothWithArguments", L"C:\\Program Files (x86)\\Gone\\app.exe /min", true, true,
     path_missing},
    {"FolderNameOnlyBegins", L"C:\\Program Files (x86)x\\Tool\\app.exe", true, true,
     path_missing},
    {"NotForThisCategory", L"C:\\Program Files (x86)\\Tool\\app.exe", false, true, path_missing},
    {"NativeProcess", L"C:\\Program Files (x86)\\Tool\\app.exe", true, false, path_missing},
    // "/" stands for a backslash after or inside the folder's name.
    {"SlashAfterTheFolder", L"C:\\Program Files (x86)/Tool/app.exe", true, true, path_exists},
    {"SlashesThroughout", L"C:/Program Files (x86)/Tool/app.exe /min", true, true, path_exists},
    {"SlashesQuoted", L"\"C:/Program Files (x86)/Common Files/Shared/s.dll\" /a", true, true,
     path_exists},
    {"SlashesMissingInBoth", L"C:/Program Files (x86)/Gone/app.exe", true, true, path_missing},
    // The native counterpart passes through a link: not judged either.
    {"NativeFolderThroughALink", L"C:\\Program Files (x86)\\Moved\\app.exe /min", true, true,
     path_unjudged},
};

class NativeFolders : public ::testing::TestWithParam<native_case> {};

TEST_P(NativeFolders, MissingOnlyWhenMissingUnderBoth) {
  const native_case& c = GetParam();
  fake_file_system fake;
  fake.wow64 = c.wow64;
  fake.environment = {{L"ProgramFiles", L"C:\\Program Files (x86)"},
                      {L"ProgramW6432", L"C:\\Program Files"},
                      {L"CommonProgramFiles", L"C:\\Program Files (x86)\\Common Files"},
                      {L"CommonProgramW6432", L"C:\\Program Files\\Common Files"}};
  for (const wchar_t* folder : {L"C:\\Program Files", L"C:\\Program Files (x86)",
                                L"C:\\Program Files\\Common Files",
                                L"C:\\Program Files (x86)\\Common Files"})
    fake.attributes[folder] = FILE_ATTRIBUTE_DIRECTORY;
  fake.attributes[L"C:\\Program Files\\Moved"] =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  for (const wchar_t* file :
       {L"C:\\Program Files\\Tool\\app.exe", L"C:\\Program Files\\Common Files\\Shared\\s.dll",
        L"C:\\Program Files (x86)\\Old\\old.exe"})
    fake.attributes[file] = FILE_ATTRIBUTE_NORMAL;
  const fake_file_system_scope scope(fake);
  EXPECT_EQ(check_path_text(c.path, {L".exe", c.native_folders}), c.verdict);
}

INSTANTIATE_TEST_SUITE_P(Cases, NativeFolders, ::testing::ValuesIn(native_cases),
                         [](const auto& info) { return std::string(info.param.name); });

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
UINT fixed_drive(const wchar_t*) { return DRIVE_FIXED; }
bool wow64_process() { return true; }
std::wstring no_environment(const wchar_t*) { return {}; }

struct redirection_case {
  const char* name;
  bool normal, unredirected, disable_works;
  DWORD error;
  path_presence presence;
  int disables, reverts;
};

// Catches a system32 file judged missing because the 32-bit view hides it,
// redirection left off (every later file call of the thread goes astray), a
// revert after a disable that failed, and errors that mean "there but not
// readable" counted as missing.
const redirection_case redirection_cases[] = {
    {"FoundInNormalView", true, false, true, ERROR_FILE_NOT_FOUND, path_presence::present, 0, 0},
    {"FoundOnlyUnredirected", false, true, true, ERROR_FILE_NOT_FOUND, path_presence::present, 1,
     1},
    {"FoundNowhere", false, false, true, ERROR_FILE_NOT_FOUND, path_presence::absent, 1, 1},
    {"DisableFails", false, true, false, ERROR_FILE_NOT_FOUND, path_presence::absent, 1, 0},
    {"SharingViolation", false, false, true, ERROR_SHARING_VIOLATION, path_presence::unknown, 0,
     0},
    {"AccessDenied", false, false, true, ERROR_ACCESS_DENIED, path_presence::unknown, 0, 0},
    {"PathNotFound", false, false, false, ERROR_PATH_NOT_FOUND, path_presence::absent, 1, 0},
};

class Redirection : public ::testing::TestWithParam<redirection_case> {
 protected:
  void SetUp() override {
    view = &fake;
    previous_ = install_file_system({&fake_attributes, &fake_disable, &fake_revert, &fixed_drive,
                                     &wow64_process, &no_environment});
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

  EXPECT_EQ(look_up_path(dll), c.presence);
  EXPECT_EQ(fake.disables, c.disables);
  EXPECT_EQ(fake.reverts, c.reverts);
  if (c.reverts > 0) {
    EXPECT_EQ(fake.reverted_with, &old_value_token);
  }
  EXPECT_FALSE(fake.redirection_off) << "redirection left off";

  // A command line: the program is found in either view too.
  const path_verdict verdict = c.presence == path_presence::present  ? path_exists
                               : c.presence == path_presence::absent ? path_missing
                                                                     : path_unjudged;
  EXPECT_EQ(check_path_text(dll + L" /x"), verdict);
  EXPECT_FALSE(fake.redirection_off) << "redirection left off";
  EXPECT_EQ(fake.reverts, c.disable_works ? fake.disables : 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, Redirection, ::testing::ValuesIn(redirection_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace regscan::testing
