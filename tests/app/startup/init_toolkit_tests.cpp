// The toolkit's start-up as the program runs it.
#include <gtest/gtest.h>
#include <windows.h>

#include "startup/init_toolkit.h"
#include "startup/program_texts.h"
#include "vemo/image_dlg.h"
#include "vemo/program_instance.h"

namespace tessarel::testing {
namespace {

// Puts back what the test environment set up.
class InitToolkit : public ::testing::Test {
 protected:
  void TearDown() override {
    vemo::program_instance = kept_instance;
    vemo::set_home_page_address(kept_address);
  }
  HINSTANCE kept_instance = vemo::program_instance;
  std::wstring kept_address = vemo::home_page_address();
};

TEST_F(InitToolkit, KeepsTheFirstModuleAndTheHomePage) {
  vemo::program_instance = nullptr;
  vemo::set_home_page_address(L"");
  const HINSTANCE module = GetModuleHandleW(nullptr);
  init_toolkit(module);
  EXPECT_EQ(vemo::program_instance, module);
  EXPECT_EQ(vemo::home_page_address(), home_page_url);

  // A second call changes nothing.
  init_toolkit(GetModuleHandleW(L"kernel32.dll"));
  EXPECT_EQ(vemo::program_instance, module);
}

TEST_F(InitToolkit, CommonControlClassesAreRegistered) {
  vemo::program_instance = nullptr;
  init_toolkit(GetModuleHandleW(nullptr));
  WNDCLASSEXW found{sizeof(found)};
  for (const wchar_t* name : {L"msctls_progress32", L"SysTreeView32", L"msctls_trackbar32"})
    EXPECT_TRUE(GetClassInfoExW(nullptr, name, &found)) << name;
}

}  // namespace
}  // namespace tessarel::testing
