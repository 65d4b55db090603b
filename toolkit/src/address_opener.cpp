#include "vemo/address_opener.h"

#include <windows.h>

#include <shellapi.h>

namespace vemo {
namespace {

class shell_address_opener final : public address_opener {
 public:
  void open(const std::wstring& address) override {
    ShellExecuteW(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
};

shell_address_opener shell_opener;
address_opener* installed_opener = nullptr;

}  // namespace

address_opener& current_address_opener() {
  return installed_opener != nullptr ? *installed_opener : shell_opener;
}

address_opener* install_address_opener(address_opener* opener) {
  address_opener* const previous = installed_opener;
  installed_opener = opener;
  return previous;
}

}  // namespace vemo
