// Finding, starting and ending the companion, with the stand-in VELTOR.exe
// in a folder of the test's own.

#include "advanced/companion_process.h"

#include "advanced/companion_stand_in.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace dravik::testing {
namespace {

using dravik::process_entry;

TEST(CompanionLookup, FirstProcessNamedLikeTheCompanionInAnyCase) {
  const std::vector<process_entry> processes = {
      {4, "System"}, {20, "veltor.exe.bak"}, {36, "VELTOR.EXE"}, {52, "VELTOR.exe"}};
  EXPECT_EQ(dravik::find_process(processes, "VELTOR.exe"), 36u);
  EXPECT_FALSE(dravik::find_process({{4, "System"}, {8, "VELTOR"}}, "VELTOR.exe").has_value());
  EXPECT_FALSE(dravik::find_process({}, "VELTOR.exe").has_value());
}

class Companion : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(stand_in.installed());
    ASSERT_TRUE(stand_in.running().empty());
  }
  companion_stand_in stand_in;
};

TEST_F(Companion, StartedCompanionIsListedWithItsId) {
  const std::optional<DWORD> id = dravik::start_companion(stand_in.folder());
  ASSERT_TRUE(id.has_value());
  EXPECT_EQ(stand_in.running(), std::vector<DWORD>{*id});
  EXPECT_EQ(dravik::find_companion(), id);
}

TEST_F(Companion, EndedCompanionIsGoneWhenTheCallReturns) {
  const DWORD id = stand_in.start();
  ASSERT_NE(id, 0u);
  EXPECT_TRUE(dravik::end_companion(id));
  EXPECT_TRUE(stand_in.running().empty());
  EXPECT_FALSE(dravik::find_companion().has_value());
}

// An id that no longer belongs to the companion may belong to anything:
// here a process of another name, which must survive.
TEST_F(Companion, AnIdThatIsNotTheCompanionIsLeftAlone) {
  const std::string other = stand_in.folder() + "other.exe";
  ASSERT_TRUE(CopyFileA(TESSAREL_TEST_VELTOR_EXE, other.c_str(), FALSE));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(other.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  CloseHandle(process.hThread);
  EXPECT_FALSE(dravik::end_companion(process.dwProcessId));
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "a process that is not the companion was ended";
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hProcess);

  const DWORD id = stand_in.start();
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(dravik::end_companion(id));
  EXPECT_FALSE(dravik::end_companion(id)) << "ended a process that was already gone";
}

// A start that fails must be known at once, not after a wait for a process
// that cannot appear: with a minute to wait, both calls return long before.
TEST_F(Companion, MissingOrBrokenExecutableIsNotStarted) {
  const DWORD minute = 60000;
  DeleteFileA(stand_in.executable().c_str());
  const DWORD before = GetTickCount();
  EXPECT_FALSE(dravik::start_companion(stand_in.folder(), minute).has_value());
  stand_in.files().write("VELTOR.exe", "not a program");
  EXPECT_FALSE(dravik::start_companion(stand_in.folder(), minute).has_value());
  EXPECT_LT(GetTickCount() - before, minute / 2) << "waited for a process the shell never started";
}

}  // namespace
}  // namespace dravik::testing
