// What the program's start-up does before any window exists, for every test
// executable that makes windows of the toolkit.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "vemo/program_instance.h"

namespace tessarel::testing {
namespace {

class program_environment : public ::testing::Environment {
 public:
  void SetUp() override {
    vemo::program_instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
  }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new program_environment);

}  // namespace
}  // namespace tessarel::testing
