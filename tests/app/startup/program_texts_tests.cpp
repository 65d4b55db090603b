// The message texts as the user reads them. The expected texts are spelt in
// code points, so a source file read in the wrong encoding shows up here.
#include <gtest/gtest.h>

#include <string>

#include "startup/program_texts.h"

namespace tessarel::testing {
namespace {

TEST(ProgramTexts, MessageTextsAreExact) {
  struct text_case {
    const wchar_t* text;
    const wchar_t* expected;
  };
  const text_case cases[] = {
    {msg_run_as_admin,
     L"\u8BF7\u4EE5\u7BA1\u7406\u5458\u6743\u9650\u8FD0\u884C Tessarel."},
    {msg_busy_analysing,
     L"\u7A0B\u5E8F\u6B63\u5728\u8FDB\u884C\u5206\u6790\u5377\uFF0C\u8BF7\u5728"
     L"\u6267\u884C\u4E0B\u4E00\u4E2A\u64CD\u4F5C\u4E4B\u524D\u5148\u505C\u6B62"
     L"\u5F53\u524D\u7684\u64CD\u4F5C\u3002"},
    {msg_busy_defragmenting,
     L"\u7A0B\u5E8F\u6B63\u5728\u8FDB\u884C\u6574\u7406\u5377\uFF0C\u8BF7\u5728"
     L"\u6267\u884C\u4E0B\u4E00\u4E2A\u64CD\u4F5C\u4E4B\u524D\u5148\u505C\u6B62"
     L"\u5F53\u524D\u7684\u64CD\u4F5C\u3002"},
    // Two lines joined by one line feed, no carriage return.
    {msg_confirm_exit,
     L"\u7A0B\u5E8F\u6B63\u5728\u5DE5\u4F5C\u4E2D.\n\u60A8\u786E\u5B9A\u505C"
     L"\u6B62\u5E76\u9000\u51FA?"},
    {msg_select_before_analysis,
     L"\u8BF7\u5728\u8FDB\u884C\u788E\u7247\u5206\u6790\u4E4B\u524D\u5148\u9009"
     L"\u62E9\u5206\u533A/\u6CE8\u518C\u8868"},
    {msg_select_before_defrag,
     L"\u8BF7\u5728\u8FDB\u884C\u788E\u7247\u6574\u7406\u4E4B\u524D\u5148\u9009"
     L"\u62E9\u5206\u533A/\u6CE8\u518C\u8868"},
    {msg_confirm_multi_volume,
     L"\u60A8\u9009\u62E9\u4E86\u591A\u4E2A\u5377\uFF0C\u5B83\u8981\u7528\u66F4"
     L"\u591A\u65F6\u95F4\u624D\u80FD\u5B8C\u6210\u788E\u7247\u6574\u7406\u3002"
     L"\u786E\u5B9A\u8981\u7EE7\u7EED\u8FDB\u884C\uFF1F"},
    {errors_found_suffix, L"\u4E2A\u5DF2\u53D1\u73B0\u9519\u8BEF"},
    {msg_engine_folder_unusable,
     L"Tessarel \u6240\u5728\u6587\u4EF6\u5939\u7684\u540D\u79F0\u542B\u6709\u5F53\u524D"
     L"\u7CFB\u7EDF\u4E0D\u652F\u6301\u7684\u5B57\u7B26\uFF0C\u5F15\u64CE\u65E0\u6CD5"
     L"\u4F7F\u7528\u8BE5\u6587\u4EF6\u5939\u3002\u8BF7\u5C06 Tessarel \u79FB\u5230\u5176"
     L"\u4ED6\u6587\u4EF6\u5939\u540E\u518D\u8FD0\u884C."},
  };
  for (const text_case& c : cases) EXPECT_EQ(std::wstring(c.text), c.expected);
}

}  // namespace
}  // namespace tessarel::testing
