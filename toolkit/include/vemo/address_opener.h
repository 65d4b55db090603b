#pragma once
// How the toolkit hands an address (a web page, a mailto: link) to the shell.
// The opening goes through a seam, so that tests can record addresses instead
// of opening them. User interface thread only.

#include <string>

namespace vemo {

class address_opener {
 public:
  virtual ~address_opener() = default;
  // Opens address; what the shell answers is not reported.
  virtual void open(const std::wstring& address) = 0;
};

// The opener in use: ShellExecuteW (no window, default verb, SW_SHOWNORMAL)
// unless a test installed another.
address_opener& current_address_opener();
// Installs opener (null puts the shell's back) and returns the one replaced.
// The caller keeps ownership.
address_opener* install_address_opener(address_opener* opener);

}  // namespace vemo
