#include "regscan/issue_queries.h"

#include "regscan/issue_store.h"
#include "vemo/split_path.h"

namespace regscan {

bool get_group_problems(unsigned cell, std::vector<std::wstring>* out) {
  const dravik::issue_groups& groups = registry_store().issue_groups;
  if (out == nullptr || cell >= groups.size()) return false;
  for (const dravik::registry_issue& issue : groups[cell]) out->push_back(issue.problem);
  return true;
}

bool get_issue_details(unsigned position, unsigned cell, std::vector<std::wstring>* out) {
  const dravik::issue_groups& groups = registry_store().issue_groups;
  if (out == nullptr || cell >= groups.size() || position >= groups[cell].size()) return false;
  const dravik::registry_issue& issue = groups[cell][position];
  out->push_back(L"问题: " + issue.problem);
  vemo::split_path(L"数据: " + issue.data, *out);
  vemo::split_path(L"Registry Key:" + issue.key_path, *out);
  return true;
}

}  // namespace regscan
