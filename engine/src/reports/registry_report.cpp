#include "reports/registry_report.h"

#include <windows.h>

#include <cwchar>
#include <optional>

#include "dravik/report_exports.h"
#include "reports/report_files.h"
#include "reports/report_index.h"
#include "reports/report_markers.h"
#include "reports/report_rows.h"

namespace dravik {

namespace {
// The problem text of an examined item that was judged fine.
constexpr const wchar_t* fine_item_text = L"Normal";
}  // namespace

std::string ansi_text(const std::wstring& text) {
  const int length = static_cast<int>(std::wcslen(text.c_str()));
  if (length == 0) return {};
  const int size =
      WideCharToMultiByte(CP_ACP, 0, text.c_str(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, text.c_str(), length, &out[0], size, nullptr, nullptr) !=
      size) {
    return {};
  }
  return out;
}

bool save_registry_report(report_strings& strings, const std::string& application_folder,
                          const issue_groups& groups, int mode,
                          std::atomic<std::int32_t>& registry_report_present) {
  // The stop has taken the registry report out of the next set; the page of
  // the stopped clean is still written, as a clean's.
  const bool stopped_clean = mode == registry_report_stopped_clean;
  if (stopped_clean) mode = registry_report_clean;
  strings.registry_report_block = strings.registry_details_block;
  std::string& block = strings.registry_report_block;
  if (mode == 1) {
    replace_marker(block, "<!--details-->", "有问题的注册表项详细信息");
  } else if (mode == 2) {
    replace_marker(block, "<!--details-->", "注册表碎片详细信息");
  }

  // After a clean the scanner hands the groups over again: what it deleted
  // is fixed, while keeping its problem text; an item it found repaired by
  // someone else became a fine item.
  std::string rows;
  int found = 0;
  int repaired = 0;
  for (const issue_group& group : groups) {
    for (const registry_issue& issue : group) {
      const bool fine_item = issue.fixed != 0 && issue.problem == fine_item_text;
      if (issue.fixed != 0 && (mode != 2 || fine_item)) continue;
      rows += registry_row(ansi_text(issue.key_path), ansi_text(issue.value_name),
                           ansi_text(issue.data), ansi_text(issue.problem));
      ++found;
      if (issue.fixed != 0) ++repaired;
    }
  }
  replace_marker(block, "<!--registrylist-->", rows);

  std::optional<std::string> page =
      read_report_template(application_folder + "registryreportmodel.html");
  if (!page) return false;
  const std::string count = std::to_string(found);
  if (mode == 1) {
    replace_marker(*page, "<!--errors-->", "  " + count + " 个错误被发现");
  } else if (mode == 2) {
    replace_marker(*page, "<!--errors-->",
                   "  " + count + " 个错误被发现 / " + std::to_string(repaired) + " 错误被修复");
  }
  replace_marker(*page, "<!--table-->", block);
  if (!write_report_page(application_folder + "registryreport.html", *page)) return false;

  if (mode == 1) {
    write_index_page(report_kind::analysis, application_folder, registry_index_cell());
  } else if (mode == 2) {
    write_index_page(report_kind::defrag, application_folder, registry_index_cell());
  }
  if (!stopped_clean) registry_report_present.store(1);
  return true;
}

}  // namespace dravik
