// The settings file: how its lines become entries, the two lookups, the
// error for a missing key, and the program folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "program_folder.h"
#include "toolkit_test_support.h"
#include "vemo/settings.h"
#include "vemo/text_conversion.h"

namespace vemo::testing {
namespace {

// "找不到配置项：" in code page 936.
const std::string missing_key_prefix = "\xD5\xD2\xB2\xBB\xB5\xBD\xC5\xE4\xD6\xC3\xCF\xEE\xA3\xBA";

std::wstring unique_ini_name() {
  static int counter = 0;
  return L"settings_test_" + std::to_wstring(++counter) + L".ini";
}

// A settings object loaded from a file with exactly these bytes.
struct loaded_settings {
  explicit loaded_settings(const std::string& bytes)
      : file(unique_ini_name(), bytes), settings(file.name()) {
    settings.load();
  }
  scoped_file file;
  vemo::mapcfg settings;
};

std::wstring get(const vemo::mapcfg& settings, const std::string& key) {
  std::wstring value;
  settings.get(key, value);
  return value;
}

std::vector<std::wstring> values_of(const vemo::mapcfg& settings, const std::string& key) {
  std::vector<std::wstring> values;
  const auto range = settings.entries().equal_range(key);
  for (auto it = range.first; it != range.second; ++it) values.push_back(it->second);
  return values;
}

TEST(SettingsLookup, GetGivesTheFirstWordOfTheFirstValue) {
  const struct {
    const char* file;
    const wchar_t* expected;
  } cases[] = {
      {"logo_img  a.bmp\r\nlogo_img b.bmp\r\n", L"a.bmp"},  // first occurrence wins
      {"logo_img a b.bmp\r\n", L"a"},                       // no blanks in names
      {"  logo_img \t a.bmp  \r\n", L"a.bmp"},              // blanks all around
      {"other x.bmp\nlogo_img c.bmp", L"c.bmp"},            // LF only, no final break
      {"logo_img \xBF\xD5\xCF\xD0.bmp\r\n", L"空闲.bmp"},   // ANSI text
  };
  for (const auto& c : cases) {
    loaded_settings s(c.file);
    EXPECT_EQ(get(s.settings, "logo_img"), c.expected) << c.file;
  }
}

TEST(SettingsLookup, StoredValueKeepsTheBlanksAroundIt) {
  loaded_settings s("logo_img  a.bmp\r\nlogo_img b.bmp \r\n");
  EXPECT_EQ(values_of(s.settings, "logo_img"), (std::vector<std::wstring>{L"  a.bmp", L" b.bmp "}));
}

TEST(SettingsLookup, KeysDifferingInCaseAreDifferentKeys) {
  loaded_settings s("Logo_img x.bmp\r\nlogo_img y.bmp\r\n");
  EXPECT_EQ(get(s.settings, "logo_img"), L"y.bmp");
  EXPECT_EQ(get(s.settings, "Logo_img"), L"x.bmp");
  EXPECT_THROW(get(s.settings, "LOGO_IMG"), vemo::cfg_error);
}

TEST(SettingsLookup, MissingKeyThrowsWithTheKeyRightAfterTheAnsiMessage) {
  loaded_settings s("volume_img v.bmp\r\n");
  try {
    get(s.settings, "logo_img");
    FAIL() << "no error for a missing key";
  } catch (const vemo::cfg_error& e) {
    EXPECT_EQ(std::string(e.what()), missing_key_prefix + "logo_img");
  }
}

TEST(SettingsLookup, KeyWithoutAValueLeavesTheOutputAsItWas) {
  loaded_settings s("logo_img\r\nvolume_img   \r\n");
  std::wstring value = L"kept";
  EXPECT_TRUE(s.settings.get("logo_img", value));
  EXPECT_EQ(value, L"kept");
  EXPECT_TRUE(s.settings.get("volume_img", value));
  EXPECT_EQ(value, L"kept");
}

TEST(SettingsLookup, GetAllReadsOneElementPerLineInFileOrder) {
  loaded_settings s("n 3\r\nother 9\r\nn 1\r\nn 2 extra\r\n");
  std::vector<int> numbers{99};
  EXPECT_TRUE(s.settings.get_all("n", numbers));
  EXPECT_EQ(numbers, (std::vector<int>{3, 1, 2}));
}

TEST(SettingsLookup, GetAllAddsAnElementEvenWhenNothingCouldBeRead) {
  loaded_settings s("n x\r\nn 5\r\nn\r\n");
  std::vector<int> numbers;
  s.settings.get_all("n", numbers);
  EXPECT_EQ(numbers, (std::vector<int>{0, 5, 0}));
}

TEST(SettingsLookup, GetAllOfAMissingKeyThrowsAndLeavesNothing) {
  loaded_settings s("n 1\r\n");
  std::vector<std::wstring> words{L"old"};
  EXPECT_THROW(s.settings.get_all("m", words), vemo::cfg_error);
  EXPECT_TRUE(words.empty());
}

TEST(SettingsFile, EveryLineMakesAnEntryAndAFinalLineBreakNone) {
  const struct {
    const char* file;
    size_t entries;
    size_t empty_keys;
  } cases[] = {
      {"", 0, 0},
      {"a 1", 1, 0},
      {"a 1\r\n", 1, 0},
      {"a 1\n\nb 2\n", 3, 1},
      {"\r\n\r\n", 2, 2},
      {"   \t\r\na 1\r\n", 2, 1},
      {"a 1\r\nb 2", 2, 0},
  };
  for (const auto& c : cases) {
    loaded_settings s(c.file);
    EXPECT_EQ(s.settings.entries().size(), c.entries) << '"' << c.file << '"';
    EXPECT_EQ(s.settings.entries().count(""), c.empty_keys) << '"' << c.file << '"';
  }
}

TEST(SettingsFile, EmptyLinesChangeNoLookupOfARealKey) {
  loaded_settings s("\r\nlogo_img a.bmp\r\n\r\nlogo_img b.bmp\r\n");
  EXPECT_EQ(get(s.settings, "logo_img"), L"a.bmp");
  EXPECT_EQ(values_of(s.settings, ""), (std::vector<std::wstring>{L"", L""}));
}

TEST(SettingsFile, CrLfAndLfGiveTheSameEntries) {
  loaded_settings crlf("a  1 \r\nb\r\n c d\r\n");
  loaded_settings lf("a  1 \nb\n c d\n");
  EXPECT_EQ(crlf.settings.entries(), lf.settings.entries());
}

// Bytes that a careless reader gets wrong: lines across the 4 KiB read
// buffer, a CR LF split by it, stray control bytes and a lone lead byte.
TEST(SettingsFile, AwkwardBytesKeepEveryLineApart) {
  const std::string long_value(5000, 'v');
  const std::string split_value(4093, 'x');  // its CR is byte 4095, its LF byte 4096
  const struct {
    const char* what;
    std::string file;
    std::string first;  // the stored value of "a", as ANSI bytes
  } cases[] = {
      {"line across the boundary", "a " + long_value + "\r\nb 2\r\n", " " + long_value},
      {"CR LF split by the boundary", "a " + split_value + "\r\nb 2\r\n", " " + split_value},
      {"lone lead byte at the end", "a x\x81\r\nb 2\r\n", " x\x81"},
      {"embedded NUL", std::string("a x\0y\r\nb 2\r\n", 12), " x"},
      {"0x1A does not end the file", "a 1\r\n\x1A\r\nb 2\r\n", " 1"},
      {"lone CR stays in the line", "a 1\r1\r\nb 2\r\n", " 1\r1"},
  };
  for (const auto& c : cases) {
    loaded_settings s(c.file);
    EXPECT_EQ(values_of(s.settings, "a"), std::vector<std::wstring>{vemo::wide_text(c.first)})
        << c.what;
    EXPECT_EQ(get(s.settings, "b"), L"2") << c.what;
  }
  loaded_settings unended("a " + long_value + long_value);
  EXPECT_EQ(get(unended.settings, "a"), vemo::wide_text(long_value + long_value));
}

TEST(SettingsFile, LineOverTheLimitNamesItsLine) {
  const std::string longest(vemo::settings_line_limit, 'x');
  loaded_settings fits("a 1\r\n" + longest + "\r\n");
  EXPECT_EQ(fits.settings.entries().size(), 2u);
  for (const std::string ending : {"\r\n", ""}) {
    scoped_file file(unique_ini_name(), "a 1\r\n" + longest + "y" + ending);
    vemo::mapcfg settings(file.name());
    try {
      settings.load();
      ADD_FAILURE() << "a line over the limit was read";
    } catch (const vemo::cfg_line_error& e) {
      EXPECT_EQ(e.line(), 2u);
      EXPECT_NE(std::string(e.what()).find(vemo::narrow_text(file.name())), std::string::npos);
    }
  }
}

// A file of size bytes: lines of 1,000 bytes (a key and a long value), or
// line breaks alone.
std::string file_of_size(std::size_t size, bool breaks_only) {
  std::string bytes(size, '\n');
  if (!breaks_only)
    for (std::size_t i = 0; i < size; ++i)
      bytes[i] = i % 1000 == 999 ? '\n' : i % 1000 == 1 ? ' ' : 'k';
  return bytes;
}

// Grows a file to size bytes without writing them (sparse where the file
// system can).
void extend_file(const std::wstring& path, LONGLONG size) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = size;
  EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
  CloseHandle(file);
}

// Catches a settings file read whole however large it is: it must fail with
// an error that names the file (shown at start-up) instead of running out of
// memory, and a file at the limit, even one of line breaks alone, still loads.
TEST(SettingsFile, FileOverTheSizeLimitNamesTheFile) {
  constexpr std::size_t limit = vemo::settings_size_limit;
  struct size_case {
    const char* what;
    std::size_t size;
    bool breaks_only;
    LONGLONG extend_to;  // 0: as written
    bool loads;
  };
  const size_case cases[] = {
      {"long lines, at the limit", limit, false, 0, true},
      {"line breaks alone, at the limit", limit, true, 0, true},
      {"one byte over", limit + 1, false, 0, false},
      {"line breaks alone, one byte over", limit + 1, true, 0, false},
      {"four gigabytes, sparse", 0, false, (LONGLONG{4} << 30) + 10, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    scoped_file file(unique_ini_name(), file_of_size(c.size, c.breaks_only));
    if (c.extend_to) extend_file(file.path(), c.extend_to);
    vemo::mapcfg settings(file.name());
    try {
      settings.load();
      EXPECT_TRUE(c.loads) << "a file over the limit was read";
      EXPECT_EQ(settings.entries().size(), c.breaks_only ? limit : limit / 1000 + 1);
    } catch (const vemo::cfg_size_error& e) {
      EXPECT_FALSE(c.loads);
      EXPECT_NE(std::string(e.what()).find(vemo::narrow_text(file.path())), std::string::npos);
      EXPECT_TRUE(settings.entries().empty());
    }
  }
}

TEST(SettingsFile, MissingFileLeavesTheSettingsEmpty) {
  vemo::mapcfg settings(L"no_such_settings_file.ini");
  settings.load();
  EXPECT_TRUE(settings.entries().empty());
  EXPECT_THROW(get(settings, "logo_img"), vemo::cfg_error);
}

TEST(SettingsFile, FileOpenForWritingElsewhereIsStillRead) {
  scoped_file file(unique_ini_name(), "logo_img a.bmp\r\n");
  const HANDLE writer = CreateFileW(file.path().c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  vemo::mapcfg settings(file.name());
  settings.load();
  CloseHandle(writer);
  EXPECT_EQ(get(settings, "logo_img"), L"a.bmp");
}

TEST(ProgramFolder, SettingsPathAndProgramPathsLieInTheExecutablesFolder) {
  const std::wstring folder = test_folder();
  vemo::cfgure settings(L"zq.ini");
  EXPECT_EQ(settings.folder(), folder);
  EXPECT_EQ(settings.path(), folder + L"\\zq.ini");

  std::wstring name = L"a.bmp";
  vemo::make_program_path(settings, name);
  EXPECT_EQ(name, folder + L"\\a.bmp");
  name.clear();
  vemo::make_program_path(settings, name);
  EXPECT_EQ(name, folder + L"\\");
}

TEST(ProgramFolder, FolderIsThePathUpToItsLastBackslash) {
  EXPECT_EQ(vemo::folder_of(L"C:\\Apps\\X\\prog.exe"), L"C:\\Apps\\X");
  EXPECT_EQ(vemo::folder_of(L"C:\\prog.exe"), L"C:");
  EXPECT_EQ(vemo::folder_of(L"prog.exe"), L"");
}

TEST(ProgramFolder, LongExecutablePathIsReadWhole) {
  // Behaves as GetModuleFileNameW: a path that does not fit is cut to the
  // buffer and the buffer size comes back.
  for (const size_t length : {size_t{1}, size_t{1022}, size_t{1023}, size_t{1024}, size_t{5000}}) {
    const std::wstring path(length, L'p');
    const std::wstring read = vemo::read_module_path([&](wchar_t* buffer, DWORD size) {
      const size_t copied = std::min<size_t>(path.size(), size - 1);
      path.copy(buffer, copied);
      buffer[copied] = L'\0';
      return static_cast<DWORD>(path.size() < size ? path.size() : size);
    });
    EXPECT_EQ(read, path) << "length " << path.size();
  }
  EXPECT_EQ(vemo::read_module_path([](wchar_t*, DWORD) { return DWORD{0}; }), L"");
}

TEST(SettingsObject, OpenedOnceForTheWholeProcess) {
  ASSERT_EQ(vemo::settings(), nullptr);
  scoped_file first(unique_ini_name(), "logo_img first.bmp\r\n");
  scoped_file second(unique_ini_name(), "logo_img second.bmp\r\n");
  vemo::open_settings(first.name());
  vemo::mapcfg* const opened = vemo::settings();
  ASSERT_NE(opened, nullptr);
  vemo::open_settings(second.name());
  EXPECT_EQ(vemo::settings(), opened);
  EXPECT_EQ(get(*vemo::settings(), "logo_img"), L"first.bmp");
  vemo::close_settings();
  EXPECT_EQ(vemo::settings(), nullptr);
}

TEST(SettingsObject, FailedLoadLeavesNoneAndTheNextOpenTriesAgain) {
  ASSERT_EQ(vemo::settings(), nullptr);
  scoped_file bad(unique_ini_name(), std::string(vemo::settings_line_limit + 1, 'x'));
  EXPECT_THROW(vemo::open_settings(bad.name()), vemo::cfg_line_error);
  EXPECT_EQ(vemo::settings(), nullptr);
  scoped_file large(unique_ini_name(), std::string(vemo::settings_size_limit + 1, '\n'));
  EXPECT_THROW(vemo::open_settings(large.name()), vemo::cfg_size_error);
  EXPECT_EQ(vemo::settings(), nullptr);
  scoped_file good(unique_ini_name(), "logo_img good.bmp\r\n");
  vemo::open_settings(good.name());
  ASSERT_NE(vemo::settings(), nullptr);
  EXPECT_EQ(get(*vemo::settings(), "logo_img"), L"good.bmp");
  vemo::close_settings();
}

}  // namespace
}  // namespace vemo::testing
