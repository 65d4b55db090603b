// What the program's start-up does before any window exists.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "vemo/program_instance.h"

namespace vemo::testing {
namespace {

class toolkit_environment : public ::testing::Environment {
 public:
  void SetUp() override {
    vemo::program_instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
  }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new toolkit_environment);

}  // namespace
}  // namespace vemo::testing
