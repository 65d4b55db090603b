// The built dravik.dll writes the registry report from groups this store
// built: one layout of the issue records on both sides of the boundary, and
// the wide texts reach the page in the engine's code page.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "hosts/report_host_items.h"
#include "host_process/host_process.h"
#include "scratch_folder/scratch_folder.h"

namespace regscan::testing {
namespace {

using tessarel::testing::run_host;
using tessarel::testing::scratch_folder;
using tessarel::testing::windows_path;

std::string ansi(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size,
                      nullptr, nullptr);
  return out;
}

// The engine's registry row for an issue.
std::string report_row(const found_item& item) {
  return "<TR> <TD class=content width=39%><div align=left>" + ansi(item.key_path) +
         "</div></TD><TD class=content width=19% align=middle><div align=left>" +
         ansi(item.value_name) + "</div></TD> <TD class=content width=19%><div align=left>" +
         ansi(item.data) + "</div></TD><TD width=23% class=content><div align=left>" +
         ansi(item.problem) + "</div></TD></TR>";
}

// Runs the report host from the folder with the given run; its exit code.
DWORD run_report_host(const scratch_folder& folder, const char* run) {
  const std::string host = folder.file("registry_report_host.exe");
  if (!CopyFileA(windows_path(TESSAREL_TEST_REPORT_HOST).c_str(), host.c_str(), FALSE)) return 97;
  const std::string dll = windows_path(TESSAREL_TEST_APP_DIR "dravik.dll");
  return run_host(host, "\"" + dll + "\" " + run, folder.path());
}

struct report_case {
  const char *name, *run;
  const wchar_t* errors;
  const char* index_page;
};

// Catches a layout read differently by the engine (rows garbled or missing,
// fine issues listed), texts converted from the wrong width, a mode that
// reaches the engine wrong (error text, index page), and a clean whose
// deletions all failed reported as repairs.
const report_case report_cases[] = {
    {"ScanOnly", "scan", L"<p>  3 个错误被发现</p>", "analysisreporttop.html"},
    {"ScanBeforeCleaning", "clean", L"<p>  3 个错误被发现 / 3 错误被修复</p>",
     "defragreporttop.html"},
    {"CleanRefused", "refused", L"<p>  3 个错误被发现 / 0 错误被修复</p>",
     "defragreporttop.html"},
};

class EngineRegistryReport : public ::testing::TestWithParam<report_case> {};

TEST_P(EngineRegistryReport, PageListsTheOpenIssuesOfTheStore) {
  scratch_folder folder;
  folder.write("registryreportmodel.html", "<p><!--errors--></p><!--table-->");
  folder.write("analysisreporttopmodel.html", "<tr><!--partitionlist--></tr>");
  folder.write("defragreporttopmodel.html", "<tr class=d><!--partitionlist--></tr>");
  ASSERT_EQ(run_report_host(folder, GetParam().run), 0u) << "see registry_report_host.cpp";

  const std::string page = folder.read("registryreport.html").value_or("");
  ASSERT_FALSE(page.empty());
  EXPECT_NE(page.find(ansi(GetParam().errors)), std::string::npos);
  std::size_t last = 0;
  for (const host_item& entry : report_host_items()) {
    const std::size_t at = page.find(report_row(entry.item));
    if (entry.item.status == item_problem) {
      ASSERT_NE(at, std::string::npos) << ansi(entry.item.key_path);
      EXPECT_GT(at, last) << "rows in the order of the cells";
      last = at;
    } else {
      EXPECT_EQ(page.find(ansi(entry.item.key_path)), std::string::npos) << "a fine issue listed";
    }
  }
  const std::string index = folder.read(GetParam().index_page).value_or("");
  EXPECT_NE(index.find("registryreport.html"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Runs, EngineRegistryReport, ::testing::ValuesIn(report_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace regscan::testing
