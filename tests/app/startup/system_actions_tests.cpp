// The administrator check and the exit action. The real shut-down and
// restart are never called: the exit action runs through recording actions.
#include <gtest/gtest.h>
#include <windows.h>

#include "startup/administrator_check.h"
#include "startup/exit_action.h"
#include "startup/system_power.h"

namespace tessarel::testing {
namespace {

// The Wine user is an administrator. Catches a descriptor or access check
// built wrong (the answer would be false) and a thread left impersonating.
TEST(AdministratorCheck, WineUserIsAnAdministratorAndTheThreadReverts) {
  for (int round = 0; round < 2; ++round) EXPECT_TRUE(is_administrator());
  HANDLE token = nullptr;
  EXPECT_FALSE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_TOKEN));
}

TEST(AdministratorCheck, ShutDownPrivilegeCanBeEnabled) {
  EXPECT_TRUE(enable_shut_down_privilege());
}

int shut_downs = 0;
int restarts = 0;
bool record_shut_down() { return ++shut_downs, true; }
bool record_restart() { return ++restarts, true; }

class ExitAction : public ::testing::Test {
 protected:
  void SetUp() override {
    shut_downs = restarts = 0;
    real_ = replace_power_actions({record_shut_down, record_restart});
  }
  void TearDown() override { replace_power_actions(real_); }

  power_actions real_{};
};

// Catches an action taken for the wrong value, twice, or for no value.
TEST_F(ExitAction, AppliesOnlyTheArmedAction) {
  struct action_case {
    int action;
    bool taken;
    int shut_downs;
    int restarts;
  };
  const action_case cases[] = {
      {exit_action_none, false, 0, 0},
      {exit_action_shut_down, true, 1, 0},
      {exit_action_restart, true, 0, 1},
      {3, false, 0, 0},
      {-1, false, 0, 0},
  };
  for (const action_case& c : cases) {
    shut_downs = restarts = 0;
    EXPECT_EQ(apply_exit_action(c.action), c.taken) << c.action;
    EXPECT_EQ(shut_downs, c.shut_downs) << c.action;
    EXPECT_EQ(restarts, c.restarts) << c.action;
  }
}

TEST_F(ExitAction, StartsWithNothingAndDefaultsToTheRealActions) {
  EXPECT_EQ(exit_action, exit_action_none);
  EXPECT_EQ(real_.shut_down, &shut_down_computer);
  EXPECT_EQ(real_.restart, &restart_computer);
}

}  // namespace
}  // namespace tessarel::testing
