#include "volumes/fixed_drives.h"

namespace tessarel {
namespace {

class system_drive_query final : public drive_query {
 public:
  DWORD logical_drives() override { return GetLogicalDrives(); }
  UINT drive_type(const wchar_t* root) override { return GetDriveTypeW(root); }
};

system_drive_query system_query;
drive_query* installed_query = nullptr;

}  // namespace

drive_query& current_drive_query() {
  return installed_query != nullptr ? *installed_query : system_query;
}

drive_query* install_drive_query(drive_query* query) {
  drive_query* const previous = installed_query;
  installed_query = query;
  return previous;
}

void list_logical_drives(std::vector<wchar_t>& letters) {
  const DWORD drives = current_drive_query().logical_drives();
  for (int i = 0; i < 26; ++i) {
    if (drives & (DWORD{1} << i)) letters.push_back(static_cast<wchar_t>(L'A' + i));
  }
}

void list_fixed_drives(std::vector<wchar_t>& letters) {
  std::vector<wchar_t> logical;
  list_logical_drives(logical);
  for (const wchar_t letter : logical) {
    const wchar_t root[] = {letter, L':', L'\\', L'\0'};
    if (current_drive_query().drive_type(root) == DRIVE_FIXED) letters.push_back(letter);
  }
}

}  // namespace tessarel
