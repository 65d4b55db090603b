// The simulator's drives, volume queries, opens and handle bookkeeping,
// against what Win32 answers for the same calls.
#include <gtest/gtest.h>

#include <thread>

#include "simulated_volume/simulated_test_support.h"

namespace dravik::sim::testing {
namespace {

class SimulatedDrives : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.add_volume('C', small_ntfs(1000));
    sim.reserve_clusters('C', 0, 16);
    sim.add_file("C:\\pagefile.sys", 40960, {{100, 10}}, FILE_ATTRIBUTE_HIDDEN);
    sim.add_volume('D', small_fat(2000), DRIVE_REMOVABLE);
    sim.add_drive('E', DRIVE_CDROM);  // no disc in it
  }
  simulated_volume sim;
};

TEST_F(SimulatedDrives, DriveTypeOfEachRootAndNoRootDirForAnythingElse) {
  struct row {
    const char* root;
    UINT type;
  } rows[] = {
      {"C:\\", DRIVE_FIXED},          {"c:\\", DRIVE_FIXED},       {"D:\\", DRIVE_REMOVABLE},
      {"E:\\", DRIVE_CDROM},          {"F:\\", DRIVE_NO_ROOT_DIR}, {"C:", DRIVE_NO_ROOT_DIR},
      {"C:\\dir", DRIVE_NO_ROOT_DIR}, {"", DRIVE_NO_ROOT_DIR},
  };
  for (const row& r : rows) EXPECT_EQ(sim.get_drive_type(r.root), r.type) << r.root;
  EXPECT_EQ(sim.get_drive_type(nullptr), UINT{DRIVE_NO_ROOT_DIR});
}

TEST_F(SimulatedDrives, VolumeInformationNamesTheFileSystem) {
  char label[260] = {}, file_system[261] = {};
  DWORD serial = 0, component = 0, flags = 0;
  ASSERT_TRUE(sim.get_volume_information("C:\\", label, sizeof label, &serial, &component, &flags,
                                         file_system, sizeof file_system));
  EXPECT_STREQ(label, "SYSTEM");
  EXPECT_STREQ(file_system, "NTFS");
  EXPECT_EQ(component, 255u);
  EXPECT_TRUE(flags & FILE_SUPPORTS_SPARSE_FILES);
  ASSERT_TRUE(sim.get_volume_information("D:\\", nullptr, 0, nullptr, nullptr, nullptr, file_system,
                                         sizeof file_system));
  EXPECT_STREQ(file_system, "FAT32");
}

TEST_F(SimulatedDrives, VolumeQueriesFailAsWin32Does) {
  struct row {
    const char* root;
    DWORD error;
  } rows[] = {
      {"E:\\", ERROR_NOT_READY},       // a drive without media
      {"F:\\", ERROR_PATH_NOT_FOUND},  // no such drive
      {"C:", ERROR_INVALID_NAME},      // the trailing backslash is required
  };
  for (const row& r : rows) {
    char file_system[261] = "untouched";
    EXPECT_FALSE(sim.get_volume_information(r.root, nullptr, 0, nullptr, nullptr, nullptr,
                                            file_system, sizeof file_system));
    EXPECT_EQ(sim.get_last_error(), r.error) << r.root;
    DWORD a = 7, b = 7, c = 7, d = 7;
    EXPECT_FALSE(sim.get_disk_free_space(r.root, &a, &b, &c, &d));
    EXPECT_EQ(sim.get_last_error(), r.error) << r.root;
    EXPECT_EQ(a, 7u) << "a failed query must leave the outputs alone";
  }
}

TEST_F(SimulatedDrives, VolumeInformationRefusesAShortNameBuffer) {
  char file_system[4] = {};
  EXPECT_FALSE(sim.get_volume_information("C:\\", nullptr, 0, nullptr, nullptr, nullptr,
                                          file_system, sizeof file_system));
  EXPECT_EQ(sim.get_last_error(), DWORD{ERROR_BAD_LENGTH});
}

TEST_F(SimulatedDrives, FreeSpaceCountsReservedAndFileClusters) {
  DWORD sectors = 0, bytes = 0, free = 0, total = 0;
  ASSERT_TRUE(sim.get_disk_free_space("C:\\", &sectors, &bytes, &free, &total));
  EXPECT_EQ(sectors, 8u);
  EXPECT_EQ(bytes, 512u);
  EXPECT_EQ(total, 1000u);
  EXPECT_EQ(free, 1000u - 16 - 10);
  EXPECT_EQ(sim.free_clusters('C'), 974u);
}

TEST_F(SimulatedDrives, VolumeOpensByItsDeviceName) {
  const HANDLE volume = open_volume(sim, "\\\\.\\C:");
  ASSERT_NE(volume, INVALID_HANDLE_VALUE);
  EXPECT_NE(volume, nullptr);
  EXPECT_EQ(sim.open_handle_count(), 1u);
  EXPECT_TRUE(sim.close_handle(volume));
  EXPECT_EQ(sim.open_handle_count(), 0u);
}

TEST_F(SimulatedDrives, VolumeOpenFailuresCarryWin32Errors) {
  sim.set_volume_open_error('D', ERROR_ACCESS_DENIED);
  struct row {
    const char* name;
    DWORD error;
  } rows[] = {
      {"\\\\.\\F:", ERROR_FILE_NOT_FOUND},  // no such device
      {"\\\\.\\E:", ERROR_NOT_READY},       // no media
      {"\\\\.\\D:", ERROR_ACCESS_DENIED},   // refused on request
  };
  for (const row& r : rows) {
    EXPECT_EQ(open_volume(sim, r.name), INVALID_HANDLE_VALUE) << r.name;
    EXPECT_EQ(sim.get_last_error(), r.error) << r.name;
  }
  sim.set_volume_open_error('D', 0);
  const HANDLE volume = open_volume(sim, "\\\\.\\D:");
  EXPECT_NE(volume, INVALID_HANDLE_VALUE) << "clearing the switch lets the volume open again";
  sim.close_handle(volume);
}

TEST_F(SimulatedDrives, FileOpensAndReportsItsSize) {
  const HANDLE file = open_file(sim, "C:\\pagefile.sys");
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size{};
  ASSERT_TRUE(sim.get_file_size_ex(file, &size));
  EXPECT_EQ(size.QuadPart, 40960);
  sim.close_handle(file);
}

TEST_F(SimulatedDrives, PerFileSwitchesRefuseOpens) {
  for (DWORD error : {DWORD{ERROR_SHARING_VIOLATION}, DWORD{ERROR_ACCESS_DENIED}}) {
    sim.set_open_error("C:\\pagefile.sys", error);
    EXPECT_EQ(open_file(sim, "C:\\pagefile.sys"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(sim.get_last_error(), error);
  }
  sim.set_open_error("C:\\pagefile.sys", 0);
  const HANDLE file = open_file(sim, "C:\\pagefile.sys");
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  sim.close_handle(file);
  EXPECT_EQ(sim.open_handle_count(), 0u) << "a refused open must not leave a handle behind";
}

TEST_F(SimulatedDrives, LeakedHandlesAreListedByWhatTheyOpen) {
  const HANDLE volume = open_volume(sim, "\\\\.\\C:");
  const HANDLE file = open_file(sim, "C:\\PAGEFILE.SYS");
  WIN32_FIND_DATAA data;
  const HANDLE search = sim.find_first_file("C:\\*", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(sim.open_handle_count(), 3u);
  const std::vector<std::string> open = sim.open_handles();
  ASSERT_EQ(open.size(), 3u);
  EXPECT_EQ(open[0], "volume \\\\.\\C:");
  EXPECT_EQ(open[1], "file C:\\pagefile.sys");
  EXPECT_EQ(open[2], "search in C:\\");
  sim.close_handle(volume);
  sim.close_handle(file);
  sim.find_close(search);
  EXPECT_TRUE(sim.open_handles().empty());
}

TEST_F(SimulatedDrives, ClosedHandlesStayInvalidEvenWhenTheirSlotIsReused) {
  const HANDLE first = open_file(sim, "C:\\pagefile.sys");
  ASSERT_TRUE(sim.close_handle(first));
  const HANDLE second = open_file(sim, "C:\\pagefile.sys");
  EXPECT_NE(first, second);
  EXPECT_FALSE(sim.close_handle(first)) << "a double close must not close the new handle";
  EXPECT_EQ(sim.get_last_error(), DWORD{ERROR_INVALID_HANDLE});
  LARGE_INTEGER size{};
  EXPECT_FALSE(sim.get_file_size_ex(first, &size));
  EXPECT_EQ(sim.open_handle_count(), 1u);
  sim.close_handle(second);
  ASSERT_EQ(sim.misuse().size(), 1u);
}

TEST_F(SimulatedDrives, HandleKindsAreNotInterchangeable) {
  WIN32_FIND_DATAA data;
  const HANDLE search = sim.find_first_file("C:\\*", &data);
  const HANDLE file = open_file(sim, "C:\\pagefile.sys");
  EXPECT_FALSE(sim.close_handle(search)) << "a search is closed with FindClose";
  EXPECT_FALSE(sim.find_close(file));
  EXPECT_FALSE(sim.find_next_file(file, &data));
  EXPECT_EQ(sim.get_last_error(), DWORD{ERROR_INVALID_HANDLE});
  EXPECT_EQ(sim.open_handle_count(), 2u) << "refused closes leave both open";
  EXPECT_EQ(sim.misuse().size(), 2u);
  EXPECT_TRUE(sim.find_close(search));
  EXPECT_TRUE(sim.close_handle(file));
}

TEST_F(SimulatedDrives, ARefusedEntryLeavesItsClustersFree) {
  EXPECT_THROW(sim.add_file("C:\\PAGEFILE.SYS", 4096, {{300, 1}}), std::invalid_argument)
      << "the name is taken";
  EXPECT_THROW(sim.add_file("C:\\bad|name", 4096, {{300, 1}}), std::invalid_argument);
  EXPECT_THROW(sim.add_file("C:\\twice", 8192, {{300, 1}, {100, 1}}), std::invalid_argument)
      << "cluster 100 belongs to pagefile.sys";
  EXPECT_THROW(sim.add_file("C:\\short", 8193, {{300, 2}}), std::invalid_argument)
      << "two clusters cannot hold 8193 bytes";
  EXPECT_FALSE(sim.cluster_used('C', 300));
  EXPECT_EQ(sim.check_invariants(), std::vector<std::string>{});
}

TEST_F(SimulatedDrives, LastErrorBelongsToTheCallingThread) {
  EXPECT_EQ(open_file(sim, "C:\\missing"), INVALID_HANDLE_VALUE);
  DWORD other_thread_error = 0;
  std::thread([&] {
    EXPECT_EQ(open_volume(sim, "\\\\.\\E:"), INVALID_HANDLE_VALUE);
    other_thread_error = sim.get_last_error();
  }).join();
  EXPECT_EQ(other_thread_error, DWORD{ERROR_NOT_READY});
  EXPECT_EQ(sim.get_last_error(), DWORD{ERROR_FILE_NOT_FOUND});
}

TEST_F(SimulatedDrives, ANullByteCountIsRecordedAsMisuse) {
  const HANDLE volume = open_volume(sim, "\\\\.\\C:");
  LARGE_INTEGER start{};
  unsigned char out[64];
  EXPECT_FALSE(sim.device_io_control(volume, FSCTL_GET_VOLUME_BITMAP, &start, sizeof start, out,
                                     sizeof out, nullptr));
  EXPECT_EQ(sim.misuse().size(), 1u);
  sim.close_handle(volume);
}

// Catches a simulator that lets a 32-bit process's opens and searches with
// the redirection on pass unremarked (the engine's fault would go unseen),
// a redirection state shared between threads, a revert that does not put
// back the state the disable found, and a 64-bit process whose redirection
// calls succeed.
TEST_F(SimulatedDrives, RedirectionIsPerThreadAndOpensWithItOnAreMisuse) {
  void* outer = nullptr;
  void* inner = nullptr;
  EXPECT_FALSE(sim.disable_fs_redirection(&outer)) << "a 64-bit process";
  EXPECT_EQ(sim.get_last_error(), DWORD{ERROR_INVALID_FUNCTION});

  sim.set_wow64(true);
  ASSERT_TRUE(sim.disable_fs_redirection(&outer));
  ASSERT_TRUE(sim.disable_fs_redirection(&inner));
  WIN32_FIND_DATAA data;
  const HANDLE search = sim.find_first_file("C:\\*", &data);
  const HANDLE file = open_file(sim, "C:\\pagefile.sys");
  bool other_thread_off = true;
  std::thread([&] { other_thread_off = simulated_volume::redirection_off_here(); }).join();
  EXPECT_FALSE(other_thread_off);
  ASSERT_TRUE(sim.revert_fs_redirection(inner));
  EXPECT_TRUE(simulated_volume::redirection_off_here()) << "the inner revert turned it on";
  ASSERT_TRUE(sim.revert_fs_redirection(outer));
  EXPECT_FALSE(simulated_volume::redirection_off_here());
  EXPECT_TRUE(sim.misuse().empty());

  // Answered as before, but each one noted.
  EXPECT_FALSE(sim.find_next_file(search, &data));
  EXPECT_EQ(open_file(sim, "C:\\missing"), INVALID_HANDLE_VALUE);
  const HANDLE volume = open_volume(sim, "\\\\.\\C:");
  EXPECT_NE(volume, INVALID_HANDLE_VALUE);
  EXPECT_EQ(sim.find_first_file("C:\\none*", &data), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(sim.revert_fs_redirection(&data)) << "no value a disable gave";
  EXPECT_EQ(sim.misuse().size(), 5u);
  sim.find_close(search);
  sim.close_handle(file);
  sim.close_handle(volume);
}

}  // namespace
}  // namespace dravik::sim::testing
