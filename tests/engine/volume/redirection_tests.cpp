// The file system redirection of a 32-bit engine on 64-bit Windows: off for
// every walk, open and move, on again for the engine's messages, and really
// off through the Win32 seam where the platform redirects.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "classlib/message_box.h"
#include "dravik/run_exports.h"
#include "dravik/volume_exports.h"
#include "loaded_engine.h"
#include "platform/win32_volume_io.h"
#include "simulated_volume/simulated_test_support.h"
#include "volume/redirection_off.h"

namespace dravik::testing {
namespace {

using sim::simulated_volume;

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

class Redirection : public LoadedEngine {};

// Catches a walk, a move, a file query or a volume open made with the
// redirection on (the engine would then analyse and move the 32-bit
// stand-ins of System32 twice and the real files never, and describe the
// wrong file to the host), a redirection left off on the host's thread, and
// the free-space message shown while it is off.
TEST_F(Redirection, IsOffForEveryWalkOpenAndMoveAndOnForTheMessage) {
  sim::volume_geometry roomy = sim::testing::small_ntfs(2000);
  roomy.sectors_per_cluster = 128;  // 64 KiB: room to defragment
  sim.add_volume('C', roomy);
  sim.reserve_clusters('C', 0, 100);
  const char* const system_file = "C:\\Windows\\System32\\drivers\\disk.sys";
  sim.add_file(system_file, 3 * 65536, {{200, 1}, {202, 1}, {204, 1}});
  sim.add_file("C:\\Windows\\SysWOW64\\shell.dll", 2 * 65536, {{300, 1}, {302, 1}});
  sim.add_file("C:\\whole.bin", 65536, {{400, 1}});  // for the optimisation pass
  sim.add_volume('D', sim::testing::small_ntfs());  // too small: the message
  std::vector<bool> off_at_message;
  const message_box_hook previous = install_message_box_hook([&](const std::string&, UINT) {
    off_at_message.push_back(simulated_volume::redirection_off_here());
    return IDOK;
  });
  ASSERT_TRUE(load());
  EXPECT_EQ(DLL_OptimizedDefragVolume("CD"), 1);
  DLL_SetCurrentVolume('C');
  const FileExtentInfo* info = DLL_GetVolumeSectorFileInfo(system_file);
  install_message_box_hook(previous);

  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->extentCount, 1u);
  EXPECT_EQ(sim.runs_of("C:\\Windows\\SysWOW64\\shell.dll").size(), 1u);
  EXPECT_EQ(off_at_message, std::vector<bool>{false});
  EXPECT_FALSE(simulated_volume::redirection_off_here()) << "left off on the host's thread";
  EXPECT_TRUE(sim.misuse().empty()) << joined(sim.misuse());
}

// Catches an inner scope that turns the redirection back on inside an outer
// one, and a revert sent where the disable failed (a 64-bit process, or
// 32-bit Windows).
TEST(RedirectionOff, PutsBackTheStateItFound) {
  simulated_volume sim;
  sim.set_wow64(true);
  {
    const redirection_off outer(sim);
    EXPECT_TRUE(outer.turned_off());
    { const redirection_off inner(sim); }
    EXPECT_TRUE(simulated_volume::redirection_off_here());
  }
  EXPECT_FALSE(simulated_volume::redirection_off_here());
  sim.set_wow64(false);
  {
    const redirection_off nothing(sim);
    EXPECT_FALSE(nothing.turned_off());
  }
  EXPECT_FALSE(simulated_volume::redirection_off_here());
  EXPECT_TRUE(sim.misuse().empty()) << joined(sim.misuse());
}

// The machine type in the PE header of a file, or 0.
WORD machine_of(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  unsigned char head[4096] = {};
  DWORD read = 0;
  const BOOL ok = ReadFile(file, head, sizeof head, &read, nullptr);
  CloseHandle(file);
  if (!ok || read < 64 || head[0] != 'M' || head[1] != 'Z') return 0;
  LONG pe = 0;
  std::memcpy(&pe, head + 0x3C, sizeof pe);
  if (pe < 0 || static_cast<DWORD>(pe) + 6 > read || std::memcmp(head + pe, "PE\0\0", 4) != 0)
    return 0;
  WORD machine = 0;
  std::memcpy(&machine, head + pe + 4, sizeof machine);
  return machine;
}

// Catches the Win32 seam not turning the redirection off for the 32-bit
// build on 64-bit Windows (System32 then holds the 32-bit stand-ins), or not
// back on after. Where the platform does not redirect (the 64-bit build,
// 32-bit Windows) nothing may change. A 32-bit process on 64-bit Windows
// that is no WoW64 process is a broken set-up, where "nothing changes"
// would pass without checking anything: it fails.
TEST(Win32Redirection, ShowsTheNativeSystemFilesOnlyWhileOff) {
  char windows[MAX_PATH] = {};
  ASSERT_NE(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
  const std::string kernel32 = std::string(windows) + "\\System32\\kernel32.dll";
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  // 64-bit Windows, told by its folders rather than by the process: only
  // it has SysWOW64, which no redirection hides.
  const DWORD syswow64 = GetFileAttributesA((std::string(windows) + "\\SysWOW64").c_str());
  const bool windows_64_bit =
      syswow64 != INVALID_FILE_ATTRIBUTES && (syswow64 & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (sizeof(void*) == 4 && windows_64_bit) {
    ASSERT_TRUE(wow64) << "a 32-bit process on 64-bit Windows (it has " << windows
                       << "\\SysWOW64) is not a WoW64 process";
  }
  const WORD seen_before = machine_of(kernel32);
  ASSERT_NE(seen_before, 0) << kernel32;

  win32_volume_io io;
  WORD seen_while_off = 0;
  bool turned_off = false;
  {
    const redirection_off real_names(io);
    turned_off = real_names.turned_off();
    seen_while_off = machine_of(kernel32);
  }
  EXPECT_EQ(machine_of(kernel32), seen_before);
  if (wow64) {
    EXPECT_TRUE(turned_off);
    EXPECT_EQ(seen_before, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(seen_while_off, IMAGE_FILE_MACHINE_AMD64);
  } else {
    EXPECT_EQ(seen_while_off, seen_before);
  }
}

}  // namespace
}  // namespace dravik::testing
