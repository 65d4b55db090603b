// The toolkit's start-up as the program runs it.
#include <gtest/gtest.h>
#include <windows.h>

#include "startup/init_toolkit.h"
#include "startup/program_texts.h"
#include "vemo/image_dlg.h"
#include "vemo/program_instance.h"

namespace tessarel::testing {
namespace {

TEST(InitToolkit, KeepsTheFirstModuleAndGivesTheHomePage) {
  const HINSTANCE kept_instance = vemo::program_instance;
  const std::wstring kept_address = vemo::home_page_address();
  vemo::program_instance = nullptr;
  vemo::set_home_page_address(L"");

  const HINSTANCE module = GetModuleHandleW(nullptr);
  init_toolkit(module);
  EXPECT_EQ(vemo::program_instance, module);
  EXPECT_EQ(vemo::home_page_address(), home_page_url);
  init_toolkit(GetModuleHandleW(L"kernel32.dll"));  // changes nothing
  EXPECT_EQ(vemo::program_instance, module);

  vemo::program_instance = kept_instance;
  vemo::set_home_page_address(kept_address);
}

}  // namespace
}  // namespace tessarel::testing
