// The registry sandbox the Run-key tests rely on, and the registry scanner's
// tests will: each redirected root has a sandbox key of its own, and the
// prefix's real keys never see what was written through it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "registry_sandbox/registry_sandbox.h"

namespace dravik::testing {
namespace {

using tessarel::testing::read_registry_string;
using tessarel::testing::registry_sandbox;

const HKEY roots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT};
// The same place below every root, so a write routed to another root's
// sandbox overwrites that root's value or goes missing. One level deep, so a
// write that reaches a real root is removed whole.
constexpr const char* subkey = "TessarelSandboxCheck";

bool write_through(HKEY root, const std::string& name, const std::string& data) {
  return RegSetKeyValueA(root, subkey, name.c_str(), REG_SZ, data.c_str(),
                         static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

// Catches a root left unredirected (the write reaches the prefix), writes of
// two roots sharing one sandbox key, an override left in place, and sandbox
// keys left behind.
TEST(RegistrySandbox, WriteThroughEachRootLandsInItsOwnSandboxOnly) {
  const std::string name = "written_by_" + std::to_string(GetCurrentProcessId());
  std::string path;
  {
    registry_sandbox sandbox{HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT};
    ASSERT_TRUE(sandbox.active());
    path = sandbox.path();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(write_through(roots[i], name, std::to_string(i)));
    for (int i = 0; i < 3; ++i) {
      std::string through_root, in_sandbox;
      EXPECT_TRUE(read_registry_string(roots[i], subkey, name.c_str(), through_root)) << i;
      EXPECT_TRUE(sandbox.read_string(roots[i], subkey, name.c_str(), in_sandbox)) << i;
      EXPECT_EQ(through_root, std::to_string(i));
      EXPECT_EQ(in_sandbox, std::to_string(i));
    }
  }
  for (const HKEY root : roots) {
    std::string data;
    if (read_registry_string(root, subkey, name.c_str(), data)) {
      ADD_FAILURE() << "a real key was written: " << data;
      RegDeleteKeyValueA(root, subkey, name.c_str());
      RegDeleteKeyA(root, subkey);
    }
  }
  HKEY left = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &left), ERROR_SUCCESS);
  if (left) RegCloseKey(left);
}

// Catches a sandbox that claims a root it cannot redirect, so that a test
// would write to the real key believing it sandboxed.
TEST(RegistrySandbox, RootItCannotRedirectLeavesItInactive) {
  registry_sandbox sandbox{HKEY_USERS};
  EXPECT_FALSE(sandbox.active());
  EXPECT_EQ(sandbox.key(HKEY_USERS), nullptr);
}

}  // namespace
}  // namespace dravik::testing
