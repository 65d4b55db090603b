// Reading values for judging: only text types give text, every read stops
// within the bytes received, and an expansion that fails or does not fit
// gives nothing rather than a cut path (which would look like a missing file).
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <vector>

#include "regscan/registry_access.h"
#include "sandboxed_registry.h"
#include "tessarel/unique_handle.h"

namespace regscan::testing {
namespace {

const std::wstring key_path = L"Software\\TessarelReads";
const std::wstring long_variable = L"TESSAREL_LONG_FOLDER";

std::vector<BYTE> dword_bytes(DWORD value) {
  const BYTE* bytes = reinterpret_cast<const BYTE*>(&value);
  return std::vector<BYTE>(bytes, bytes + sizeof value);
}

std::vector<BYTE> odd_bytes(const std::wstring& text) {
  std::vector<BYTE> bytes = text_bytes(text, false);
  bytes.push_back('x');
  return bytes;
}

struct read_case {
  const char* name;
  DWORD type;
  std::vector<BYTE> bytes;
  std::wstring text;  // what read_value_text gives
};

const std::wstring c129(129, L'c');
const std::wstring c130(130, L'c');

const read_case read_cases[] = {
    {"Text", REG_SZ, text_bytes(L"C:\\x\\y.exe"), L"C:\\x\\y.exe"},
    {"TextWithoutTerminator", REG_SZ, text_bytes(L"C:\\x\\y.exe", false), L"C:\\x\\y.exe"},
    {"OddByteCountDropsTheLastByte", REG_SZ, odd_bytes(L"C:\\x.exe"), L"C:\\x.exe"},
    {"StopsAtAZero", REG_SZ, text_bytes(std::wstring(L"C:\\a\0junk", 9)), L"C:\\a"},
    {"LongestThatFits", REG_SZ, text_bytes(c129), c129},
    {"OneCharacterTooLong", REG_SZ, text_bytes(c130), L""},
    {"Expanded", REG_EXPAND_SZ, text_bytes(L"%SystemRoot%\\x.dll"), L"C:\\windows\\x.dll"},
    {"ExpansionTooLong", REG_EXPAND_SZ, text_bytes(L"%" + long_variable + L"%\\x.exe"), L""},
    {"ExpandTextTooLong", REG_EXPAND_SZ, text_bytes(L"%SystemRoot%\\" + c130), L""},
    {"BinaryLookingLikeAPath", REG_BINARY, text_bytes(L"C:\\missing.exe"), L""},
    {"Number", REG_DWORD, dword_bytes(0x3a0043), L""},
    {"MultiText", REG_MULTI_SZ, text_bytes(std::wstring(L"C:\\a.exe\0", 9)), L""},
};

class ReadValueText : public SandboxedRegistry,
                      public ::testing::WithParamInterface<read_case> {};

TEST_P(ReadValueText, GivesOnlyWholeText) {
  SetEnvironmentVariableW(long_variable.c_str(), (L"C:\\" + std::wstring(300, L'a')).c_str());
  set_value(HKEY_CURRENT_USER, key_path, L"v", GetParam().type, GetParam().bytes);
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key_path.c_str(), 0, KEY_READ, &opened),
            ERROR_SUCCESS);
  const tessarel::unique_registry_key key(opened);
  std::wstring text = read_value_text(key.get(), L"v");
  for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
  std::wstring expected = GetParam().text;
  for (wchar_t& c : expected) c = static_cast<wchar_t>(towlower(c));
  EXPECT_EQ(text, expected);
  EXPECT_EQ(read_value_text(key.get(), L"absent"), L"");
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadValueText, ::testing::ValuesIn(read_cases),
                         [](const auto& info) { return std::string(info.param.name); });

std::vector<std::pair<std::wstring, std::wstring>> enumerated;
std::size_t stop_after = 0;

bool collect_value(const registry_value* value) {
  enumerated.emplace_back(value->name, value->data);
  return enumerated.size() == stop_after;
}

using EnumValues = SandboxedRegistry;

// Catches data read past the bytes received, a value too large for the data
// buffer handed on cut short, and an enumeration that ignores its stop.
TEST_F(EnumValues, SkipsWhatDoesNotFitAndStopsWhenAsked) {
  set_value(HKEY_CURRENT_USER, key_path, L"a_unterminated", REG_SZ,
            text_bytes(L"C:\\x.exe", false));
  set_value(HKEY_CURRENT_USER, key_path, L"b_fits", REG_BINARY,
            text_bytes(std::wstring(259, L'f')));  // 520 bytes
  set_value(HKEY_CURRENT_USER, key_path, L"c_too_big", REG_SZ, text_bytes(std::wstring(260, L'g')));
  enumerated.clear();
  stop_after = 0;
  ASSERT_EQ(enum_values(HKEY_CURRENT_USER, key_path.c_str(), &collect_value), 0);
  std::sort(enumerated.begin(), enumerated.end());
  ASSERT_EQ(enumerated.size(), 2u);
  EXPECT_EQ(enumerated[0].second, L"C:\\x.exe");
  EXPECT_EQ(enumerated[1].second, std::wstring(259, L'f'));

  enumerated.clear();
  stop_after = 1;
  EXPECT_EQ(enum_values(HKEY_CURRENT_USER, key_path.c_str(), &collect_value), 0);
  EXPECT_EQ(enumerated.size(), 1u);
  EXPECT_EQ(enum_values(HKEY_CURRENT_USER, L"Software\\TessarelAbsent", &collect_value), -1);
}

}  // namespace
}  // namespace regscan::testing
