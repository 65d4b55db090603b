#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "classlib/cwinapp.h"

namespace dravik::testing {
namespace {

class recording_app : public CWinApp {
 public:
  explicit recording_app(std::vector<const char*>& calls, BOOL init_result = TRUE,
                         bool throw_on_init = false)
      : calls_(calls), init_result_(init_result), throw_on_init_(throw_on_init) {}

  BOOL InitInstance() override {
    calls_.push_back("init");
    if (throw_on_init_) throw std::runtime_error("init failed");
    return init_result_;
  }
  int ExitInstance() override {
    calls_.push_back("exit");
    return CWinApp::ExitInstance();
  }

 private:
  std::vector<const char*>& calls_;
  BOOL init_result_;
  bool throw_on_init_;
};

// Catches an application object that stays current after it is gone, which
// would make the next attach call into freed memory.
TEST(CWinApp, IsCurrentOnlyWhileItLives) {
  ASSERT_EQ(AfxGetApp(), nullptr);
  std::vector<const char*> calls;
  {
    recording_app app(calls);
    EXPECT_EQ(AfxGetApp(), &app);
  }
  EXPECT_EQ(AfxGetApp(), nullptr);
  EXPECT_FALSE(afx_library_attach());
  afx_library_detach();
  EXPECT_TRUE(calls.empty());
}

// Catches attach and detach reaching the wrong object across many lives in
// one process.
TEST(CWinApp, AttachAndDetachRunTheCurrentObjectEachTime) {
  std::vector<const char*> calls;
  for (int round = 0; round < 3; ++round) {
    recording_app app(calls);
    EXPECT_TRUE(afx_library_attach());
    afx_library_detach();
    EXPECT_EQ(AfxGetApp(), nullptr) << "a detached object must not be reached again";
  }
  EXPECT_EQ(calls, (std::vector<const char*>{"init", "exit", "init", "exit", "init", "exit"}));
}

// Catches an exception escaping the library entry, and a FALSE start-up
// taken for success.
TEST(CWinApp, FailedStartUpIsReportedNotThrown) {
  std::vector<const char*> calls;
  {
    recording_app app(calls, FALSE);
    EXPECT_FALSE(afx_library_attach());
  }
  {
    recording_app app(calls, TRUE, true);
    EXPECT_FALSE(afx_library_attach());
  }
  EXPECT_EQ(calls.size(), 2u);
}

}  // namespace
}  // namespace dravik::testing
