#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/engine_state.h"
#include "dravik/report_exports.h"
#include "reports/report_shell.h"
#include "advanced/fixed_drives_io.h"
#include "engine_in_folder.h"
#include "report_templates.h"
#include "scratch_folder/scratch_folder.h"

namespace dravik::testing {
namespace {

using tessarel::testing::scratch_folder;

std::vector<std::string> opened;

void record(const char* address) { opened.push_back(address); }

// The engine loaded over no volumes with its application folder in a test's
// own folder, with the shell recorded.
class ReportExports : public ::testing::Test {
 protected:
  void SetUp() override {
    opened.clear();
    previous_shell = install_report_shell(&record);
    write_test_templates(folder);
  }
  void TearDown() override {
    engine.reset();
    install_report_shell(previous_shell);
  }

  // Unloads the engine before the test ends.
  void unload() { engine.reset(); }

  shell_open_function previous_shell = nullptr;
  scratch_folder folder;
  fixed_drives_io drives{""};
  std::optional<engine_in_folder> engine{std::in_place, folder.path() + "Tessarel.exe"};
  std::atomic<std::int32_t>& present = (*engine)->job.registry_report_present;
};

TEST(ReportSet, PageFollowsKindAndRegistryReport) {
  const struct {
    int kind;
    bool registry;
    const char* page;
  } cases[] = {{1, false, "analysisreport.html"}, {1, true, "registryanalysisreport.html"},
               {2, false, "defragreport.html"},   {2, true, "registrydefragreport.html"},
               {0, false, "defragreport.html"},   {-7, true, "registrydefragreport.html"}};
  for (const auto& c : cases) EXPECT_EQ(report_set_page(c.kind, c.registry), c.page) << c.kind;
}

// The shell gets the page's plain path. Catches a file: address, where a "%"
// or "#" in the folder's name is an escape or a fragment (C:\a%41b opened
// C:\aAb), and a byte of a Chinese character (0x81 0x5C) taken for a
// backslash and changed.
TEST(ReportSet, AddressIsThePagesPlainPath) {
  EXPECT_EQ(report_set_address(1, "C:\\Apps\\Defrag\\", false),
            "C:\\Apps\\Defrag\\analysisreport.html");
  EXPECT_EQ(report_set_address(2, "D:\\\x81\x5C\\", true),
            "D:\\\x81\x5C\\registrydefragreport.html");
  EXPECT_EQ(report_set_address(2, "C:\\a%41b\\", false), "C:\\a%41b\\defragreport.html");
  EXPECT_EQ(report_set_address(1, "C:\\Disk Tools #2\\", false),
            "C:\\Disk Tools #2\\analysisreport.html");
}

// A registry scan, then the analysis job's report set: the registry variant
// opens once; the flag is cleared, so the next set is the plain one.
TEST_F(ReportExports, ShowReportOpensRegistryVariantOnceThenPlain) {
  issue_groups groups(2565);
  DLL_SaveRegistryReport(&groups, 1);
  EXPECT_TRUE(folder.read("registryreport.html"));
  EXPECT_EQ(present, 1);
  DLL_ShowReport(1);
  DLL_ShowReport(1);
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], report_set_address(1, folder.path(), true));
  EXPECT_EQ(opened[1], report_set_address(1, folder.path(), false));
  EXPECT_EQ(present, 0);
}

// Catches a crash on a null container, or a "0 errors" page for a scan that
// never handed anything over.
TEST_F(ReportExports, NullIssueGroupsWriteNothing) {
  DLL_SaveRegistryReport(nullptr, 1);
  EXPECT_EQ(folder.files().size(), 5u);
  EXPECT_EQ(present, 0);
}

TEST_F(ReportExports, UnboundExportsDoNothing) {
  unload();
  issue_groups groups(1);
  DLL_SaveRegistryReport(&groups, 1);
  DLL_ShowReport(2);
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(folder.files().size(), 5u);
}

}  // namespace
}  // namespace dravik::testing
