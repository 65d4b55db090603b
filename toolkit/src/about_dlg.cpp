#include "vemo/about_dlg.h"

namespace vemo {

INT_PTR about_dlg::on_command(int, int id, HWND) {
  if (id != 0) return 0;
  on_close();
  return 1;
}

}  // namespace vemo
