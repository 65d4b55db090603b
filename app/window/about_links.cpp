#include "window/about_links.h"

#include <string>

#include "startup/program_texts.h"

namespace tessarel {

void init_about_links(vemo::about_dlg& about) {
  about.set_home_link(std::wstring(L"  网站 : ") + home_page_url, POINT{24, 157});
  // The mail link shows the address without its "mailto:" scheme.
  std::wstring address = support_mail_url;
  const std::wstring scheme = L"mailto:";
  if (address.compare(0, scheme.size(), scheme) == 0) address.erase(0, scheme.size());
  about.set_link(support_mail_url, L"联系我们:" + address, POINT{24, 180});
}

}  // namespace tessarel
