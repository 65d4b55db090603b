// Runs first: every later test writes and deletes below the predefined roots,
// which is safe only while they point into the sandbox.
#include <gtest/gtest.h>

#include "sandboxed_registry.h"

namespace regscan::testing {
namespace {

using SandboxFirst = SandboxedRegistry;

// Catches a sandbox that does not take: the fixture's set-up fails first.
TEST_F(SandboxFirst, RootsPointIntoTheSandbox) {
  ASSERT_TRUE(sandbox->active());
  for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT}) {
    set_text(root, L"TessarelFirst", L"v", L"x");
    HKEY opened = nullptr;
    EXPECT_EQ(RegOpenKeyExW(sandbox->key(root), L"TessarelFirst", 0, KEY_READ, &opened),
              ERROR_SUCCESS);
    if (opened) RegCloseKey(opened);
  }
}

}  // namespace
}  // namespace regscan::testing
