// FSCTL_GET_VOLUME_BITMAP and FSCTL_GET_RETRIEVAL_POINTERS of the simulator:
// the buffer layouts, the partial answers and the errors of the platform.
#include <gtest/gtest.h>

#include <utility>

#include "simulated_volume/simulated_test_support.h"

namespace dravik::sim::testing {
namespace {

using runs = std::vector<std::pair<int64_t, uint64_t>>;

class SimulatedControlCodes : public ::testing::Test {
 protected:
  void SetUp() override {
    // 1003 clusters: the last byte of the map holds three clusters.
    sim.add_volume('C', small_ntfs(1003));
    sim.reserve_clusters('C', 0, 16);
    sim.add_file("C:\\data.bin", 10 * 4096, {{100, 10}});
    sim.add_file("C:\\tail.bin", 6 * 4096, {{997, 6}});
    sim.add_file("C:\\sparse.bin", 10 * 4096, {{400, 3}, {virtual_lcn, 5}, {300, 2}},
                 FILE_ATTRIBUTE_SPARSE_FILE);
    sim.add_file("C:\\resident.txt", 100, {});
    sim.add_directory("C:\\dir");
    sim.add_volume('D', small_fat(64));
    volume = open_volume(sim, "\\\\.\\C:");
    ASSERT_NE(volume, INVALID_HANDLE_VALUE);
  }

  void TearDown() override {
    sim.close_handle(volume);
    EXPECT_EQ(sim.open_handle_count(), 0u);
    EXPECT_TRUE(sim.misuse().empty());
  }

  HANDLE open(const char* name) {
    const HANDLE handle = open_file(sim, name);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE) << name;
    return handle;
  }

  simulated_volume sim;
  HANDLE volume = INVALID_HANDLE_VALUE;
};

TEST_F(SimulatedControlCodes, BitmapIsOneBitPerClusterLeastSignificantFirst) {
  const auto result = read_bitmap(sim, volume, 0, 4096);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.returned, 16u + 126u);
  EXPECT_EQ(as_bitmap(result).StartingLcn.QuadPart, 0);
  EXPECT_EQ(as_bitmap(result).BitmapSize.QuadPart, 1003);
  const unsigned char* bits = as_bitmap(result).Buffer;
  EXPECT_EQ(bits[0], 0xFF);
  EXPECT_EQ(bits[1], 0xFF);
  EXPECT_EQ(bits[2], 0x00);
  EXPECT_EQ(bits[12], 0xF0) << "clusters 100 to 103 are bits 4 to 7 of byte 12";
  EXPECT_EQ(bits[13], 0x3F) << "clusters 104 to 109";
  EXPECT_EQ(bits[124], 0xE0) << "clusters 997 to 999";
  EXPECT_EQ(bits[125], 0x07) << "clusters 1000 to 1002; the bits past the volume are clear";
}

TEST_F(SimulatedControlCodes, BitmapStartIsRoundedDownToAByte) {
  const auto result = read_bitmap(sim, volume, 13, 4096);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(as_bitmap(result).StartingLcn.QuadPart, 8);
  EXPECT_EQ(as_bitmap(result).BitmapSize.QuadPart, 1003 - 8);
  EXPECT_EQ(as_bitmap(result).Buffer[0], 0xFF) << "clusters 8 to 15";
  EXPECT_EQ(result.returned, 16u + 125u);
}

TEST_F(SimulatedControlCodes, ShortBitmapBufferGetsTheHeaderAndWhatFits) {
  // The engine starts with a 24-byte buffer and grows it from the header.
  const auto result = read_bitmap(sim, volume, 0, 24);
  ASSERT_FALSE(result.ok);
  EXPECT_EQ(result.error, DWORD{ERROR_MORE_DATA});
  EXPECT_EQ(result.returned, 24u);
  EXPECT_EQ(as_bitmap(result).StartingLcn.QuadPart, 0);
  EXPECT_EQ(as_bitmap(result).BitmapSize.QuadPart, 1003);
  EXPECT_EQ(as_bitmap(result).Buffer[0], 0xFF);
  EXPECT_EQ(as_bitmap(result).Buffer[7], 0x00);

  const auto bigger = read_bitmap(sim, volume, 0, 1003 / 8 + 25);
  EXPECT_TRUE(bigger.ok) << "BitmapSize / 8 + 25 bytes always hold the whole map";
}

TEST_F(SimulatedControlCodes, BitmapReadsFailAsTheFileSystemRefusesThem) {
  struct row {
    LONGLONG start;
    DWORD out_size;
    DWORD error;
  } rows[] = {
      {0, 0, ERROR_INSUFFICIENT_BUFFER},   {0, 16, ERROR_INSUFFICIENT_BUFFER},
      {0, 23, ERROR_INSUFFICIENT_BUFFER},  {1003, 4096, ERROR_INVALID_PARAMETER},
      {-8, 4096, ERROR_INVALID_PARAMETER},
  };
  for (const row& r : rows) {
    const auto result = read_bitmap(sim, volume, r.start, r.out_size);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, r.error) << r.start << " " << r.out_size;
    EXPECT_EQ(result.returned, 0u);
  }
}

TEST_F(SimulatedControlCodes, BitmapIsReadOnlyThroughAVolumeHandle) {
  const HANDLE file = open("C:\\data.bin");
  EXPECT_EQ(read_bitmap(sim, file, 0, 4096).error, DWORD{ERROR_INVALID_PARAMETER});
  sim.close_handle(file);
  EXPECT_EQ(read_bitmap(sim, file, 0, 4096).error, DWORD{ERROR_INVALID_HANDLE});
  LARGE_INTEGER start{};
  unsigned char out[64];
  DWORD returned = 0;
  EXPECT_FALSE(sim.device_io_control(volume, FSCTL_GET_VOLUME_BITMAP, &start, 4, out, sizeof out,
                                     &returned));
  EXPECT_EQ(sim.get_last_error(), DWORD{ERROR_INVALID_PARAMETER}) << "input shorter than 8 bytes";
  EXPECT_FALSE(sim.device_io_control(volume, FSCTL_GET_NTFS_VOLUME_DATA, nullptr, 0, out,
                                     sizeof out, &returned));
  EXPECT_EQ(sim.get_last_error(), DWORD{ERROR_INVALID_FUNCTION});
}

TEST_F(SimulatedControlCodes, BitmapFailureSwitchCountsDown) {
  sim.fail_bitmap_reads('C', ERROR_NOT_READY, 2);
  EXPECT_EQ(read_bitmap(sim, volume, 0, 4096).error, DWORD{ERROR_NOT_READY});
  EXPECT_EQ(read_bitmap(sim, volume, 0, 4096).error, DWORD{ERROR_NOT_READY});
  EXPECT_TRUE(read_bitmap(sim, volume, 0, 4096).ok);
  sim.fail_bitmap_reads('C', ERROR_INVALID_FUNCTION);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(read_bitmap(sim, volume, 0, 4096).ok);
}

TEST_F(SimulatedControlCodes, ExtentsListEveryRunWithVirtualOnesAsMinusOne) {
  const HANDLE file = open("C:\\sparse.bin");
  const auto result = read_extents(sim, file, 0, 3232);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.returned, 16u + 3 * 16u);
  EXPECT_EQ(as_extents(result).ExtentCount, 3u);
  EXPECT_EQ(as_extents(result).StartingVcn.QuadPart, 0);
  EXPECT_EQ(as_extents(result).Extents[1].NextVcn.QuadPart, 8);
  EXPECT_EQ(runs_in(result), (runs{{400, 3}, {-1, 5}, {300, 2}}));
  sim.close_handle(file);
}

TEST_F(SimulatedControlCodes, ExtentsStartAtTheExtentHoldingStartingVcn) {
  const HANDLE file = open("C:\\sparse.bin");
  const auto result = read_extents(sim, file, 5, 3232);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(as_extents(result).StartingVcn.QuadPart, 3);
  EXPECT_EQ(runs_in(result), (runs{{-1, 5}, {300, 2}}));
  sim.close_handle(file);
}

TEST_F(SimulatedControlCodes, ShortExtentBufferGetsTheExtentsThatFit) {
  const HANDLE file = open("C:\\sparse.bin");
  auto result = read_extents(sim, file, 0, 32);
  ASSERT_FALSE(result.ok);
  EXPECT_EQ(result.error, DWORD{ERROR_MORE_DATA});
  EXPECT_EQ(result.returned, 32u);
  EXPECT_EQ(runs_in(result), (runs{{400, 3}}));
  // Asking again from the last NextVcn walks the rest.
  runs all = runs_in(result);
  while (!result.ok) {
    const LONGLONG next =
        as_extents(result).Extents[as_extents(result).ExtentCount - 1].NextVcn.QuadPart;
    result = read_extents(sim, file, next, 47);  // room for one extent only
    ASSERT_TRUE(result.ok || result.error == ERROR_MORE_DATA);
    for (auto run : runs_in(result)) all.push_back(run);
  }
  EXPECT_EQ(all, (runs{{400, 3}, {-1, 5}, {300, 2}}));
  sim.close_handle(file);
}

TEST_F(SimulatedControlCodes, ExtentReadsFailAsTheFileSystemRefusesThem) {
  const HANDLE file = open("C:\\sparse.bin");
  const HANDLE resident = open("C:\\resident.txt");
  struct row {
    HANDLE handle;
    LONGLONG start;
    DWORD out_size;
    DWORD error;
  } rows[] = {
      {resident, 0, 3232, ERROR_HANDLE_EOF},  // no clusters at all
      {file, 10, 3232, ERROR_HANDLE_EOF},     // starts past the last cluster
      {file, -1, 3232, ERROR_INVALID_PARAMETER},
      {file, 0, 31, ERROR_INSUFFICIENT_BUFFER},  // not even one extent fits
      {file, 0, 16, ERROR_INSUFFICIENT_BUFFER},
      {resident, 0, 16, ERROR_INSUFFICIENT_BUFFER},  // the size is checked first
  };
  for (const row& r : rows) {
    const auto result = read_extents(sim, r.handle, r.start, r.out_size);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, r.error) << r.start << " " << r.out_size;
    EXPECT_EQ(result.returned, 0u);
  }
  sim.close_handle(file);
  sim.close_handle(resident);
}

TEST_F(SimulatedControlCodes, ExtentsOfOtherKindsOfHandle) {
  // NTFS answers a volume handle with the bad-cluster stream: one virtual
  // extent over the whole volume.
  const auto whole = read_extents(sim, volume, 0, 3232);
  ASSERT_TRUE(whole.ok);
  EXPECT_EQ(runs_in(whole), (runs{{-1, 1003}}));

  const HANDLE fat = open_volume(sim, "\\\\.\\D:");
  EXPECT_EQ(read_extents(sim, fat, 0, 3232).error, DWORD{ERROR_INVALID_PARAMETER});
  sim.close_handle(fat);

  const HANDLE directory =
      sim.create_file("C:\\dir", 0, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  EXPECT_EQ(read_extents(sim, directory, 0, 3232).error, DWORD{ERROR_HANDLE_EOF});
  sim.close_handle(directory);

  const HANDLE vanished = open("C:\\data.bin");
  sim.remove("C:\\data.bin");
  EXPECT_EQ(read_extents(sim, vanished, 0, 3232).error, DWORD{ERROR_ACCESS_DENIED});
  sim.close_handle(vanished);
  EXPECT_FALSE(sim.cluster_used('C', 100)) << "removing a file frees its clusters";
  EXPECT_TRUE(sim.check_invariants().empty());
}

}  // namespace
}  // namespace dravik::sim::testing
