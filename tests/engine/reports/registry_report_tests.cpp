#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "reports/registry_report.h"
#include "reports/report_rows.h"
#include "report_templates.h"
#include "scratch_folder/scratch_folder.h"

namespace dravik::testing {
namespace {

using tessarel::testing::scratch_folder;

registry_issue issue(std::uint8_t fixed, std::wstring key, std::wstring value, std::wstring data,
                     std::wstring problem) {
  return registry_issue{fixed,          2, std::move(problem), std::move(key), std::move(value),
                        std::move(data)};
}

// 2565 cells: two open issues (one behind a fixed one in cell 0), a fine
// item, empty cells between.
issue_groups scan_result() {
  issue_groups groups(2565);
  groups[0].push_back(issue(1, L"HKEY_CURRENT_USER\\Software\\Ok", L"", L"C:\\ok.exe", L"Normal"));
  groups[0].push_back(
      issue(0, L"HKEY_CURRENT_USER\\Run", L"旧程序", L"C:\\没有.exe <x>", L"无效的启动项"));
  groups[7].push_back(issue(0, L"HKEY_CLASSES_ROOT\\CLSID\\{1}", L"", L"a&b.dll", L"无效的类"));
  groups[2564].push_back(issue(1, L"HKEY_LOCAL_MACHINE\\Fine", L"", L"", L"Normal"));
  return groups;
}

const std::string open_rows =
    registry_row("HKEY_CURRENT_USER\\Run", "旧程序", "C:\\没有.exe <x>", "无效的启动项") +
    registry_row("HKEY_CLASSES_ROOT\\CLSID\\{1}", "", "a&b.dll", "无效的类");

class RegistryReport : public ::testing::Test {
 protected:
  void SetUp() override {
    write_test_templates(folder);
    build_report_blocks(strings);
  }
  std::string block(const std::string& caption, const std::string& rows) const {
    std::string text = strings.registry_details_block;
    text.replace(text.find("<!--details-->"), 14, caption);
    text.replace(text.find("<!--registrylist-->"), 19, rows);
    return text;
  }

  scratch_folder folder;
  report_strings strings;
  std::atomic<std::int32_t> present{0};
};

// Catches fixed issues listed, open ones lost or reordered, texts not
// converted to code page 936, a wrong count, or the wrong index page.
TEST_F(RegistryReport, ScanOnlyListsOpenIssuesAndRewritesAnalysisIndex) {
  EXPECT_TRUE(save_registry_report(strings, folder.path(), scan_result(), 1, present));
  EXPECT_EQ(folder.read("registryreport.html"),
            "<p>  2 个错误被发现</p>" + block("有问题的注册表项详细信息", open_rows));
  EXPECT_EQ(folder.read("analysisreporttop.html"),
            "<tr><td class=header width=100><a href=registryreport.html target=mainFrame>"
            "Registry</a></td></tr>");
  EXPECT_FALSE(folder.read("defragreporttop.html"));
  EXPECT_EQ(present, 1);
}

// Before the clean nothing is repaired yet: catches a page that claims the
// repairs of a clean that has not run (and may be stopped or refused).
TEST_F(RegistryReport, ScanBeforeCleaningCountsFoundAndNothingRepaired) {
  EXPECT_TRUE(save_registry_report(strings, folder.path(), scan_result(), 2, present));
  EXPECT_EQ(folder.read("registryreport.html"),
            "<p>  2 个错误被发现 / 0 错误被修复</p>" + block("注册表碎片详细信息", open_rows));
  EXPECT_TRUE(folder.read("defragreporttop.html"));
  EXPECT_FALSE(folder.read("analysisreporttop.html"));
}

// The groups as the scanner hands them over again after its clean: one issue
// deleted (fixed, its problem text kept), one refused (still open), one
// found repaired by someone else (now a fine item). Catches a refused or
// untouched issue counted as repaired, a deleted one dropped from the page,
// and a clean ended by a stop whose page goes back into the next job's
// report set (the stop cleared the flag).
TEST_F(RegistryReport, AfterTheCleanCountsOnlyWhatWasDeleted) {
  issue_groups groups = scan_result();
  groups[0][1].fixed = 1;
  groups[9].push_back(issue(1, L"HKEY_CURRENT_USER\\Run", L"已修好", L"C:\\ok.exe", L"Normal"));
  EXPECT_TRUE(save_registry_report(strings, folder.path(), groups, 2, present));
  EXPECT_EQ(folder.read("registryreport.html"),
            "<p>  2 个错误被发现 / 1 错误被修复</p>" + block("注册表碎片详细信息", open_rows));
  present = 0;
  DeleteFileA((folder.path() + "registryreport.html").c_str());
  EXPECT_TRUE(save_registry_report(strings, folder.path(), groups, 4, present));
  EXPECT_EQ(folder.read("registryreport.html"),
            "<p>  2 个错误被发现 / 1 错误被修复</p>" + block("注册表碎片详细信息", open_rows));
  EXPECT_EQ(present, 0);
  // A scan-only page lists the open issues alone.
  EXPECT_TRUE(save_registry_report(strings, folder.path(), groups, 1, present));
  EXPECT_EQ(folder.read("registryreport.html"),
            "<p>  1 个错误被发现</p>" +
                block("有问题的注册表项详细信息",
                      registry_row("HKEY_CLASSES_ROOT\\CLSID\\{1}", "", "a&b.dll", "无效的类")));
}

// A clean registry still gets its page, with zero counts and an empty body.
TEST_F(RegistryReport, NoOpenIssueWritesZeroCounts) {
  issue_groups groups(2565);
  groups[3].push_back(issue(1, L"HKEY_CURRENT_USER\\x", L"", L"", L"Normal"));
  save_registry_report(strings, folder.path(), groups, 2, present);
  EXPECT_EQ(folder.read("registryreport.html"),
            "<p>  0 个错误被发现 / 0 错误被修复</p>" + block("注册表碎片详细信息", ""));
}

// Any other mode: rows, but no caption, no count and no index page.
TEST_F(RegistryReport, OtherModeLeavesMarkersAndIndexAlone) {
  save_registry_report(strings, folder.path(), scan_result(), 3, present);
  EXPECT_EQ(folder.read("registryreport.html"),
            "<p><!--errors--></p>" + block("<!--details-->", open_rows));
  EXPECT_EQ(folder.files().size(), 6u);
  EXPECT_EQ(present, 1);
}

// Catches a Registry cell that points to a page never written.
TEST_F(RegistryReport, MissingTemplateWritesNothingAndKeepsTheFlag) {
  DeleteFileA((folder.path() + "registryreportmodel.html").c_str());
  EXPECT_FALSE(save_registry_report(strings, folder.path(), scan_result(), 1, present));
  EXPECT_EQ(folder.files().size(), 4u);
  EXPECT_EQ(present, 0);
}

TEST(AnsiText, ConvertsToCodePage936UpToTheFirstNul) {
  EXPECT_EQ(ansi_text(L"注册表 key"), "注册表 key");
  EXPECT_EQ(ansi_text(std::wstring(L"ab\0cd", 5)), "ab");
  EXPECT_EQ(ansi_text(L""), "");
}

}  // namespace
}  // namespace dravik::testing
