// Reading a volume's bitmap and finding its free runs, over the simulator.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "recording_volume_io.h"
#include "simulated_volume/simulated_volume.h"
#include "volume/volume_access.h"
#include "volume/volume_bitmap.h"

namespace dravik::testing {
namespace {


sim::volume_geometry volume_of(uint64_t clusters) {
  sim::volume_geometry geometry;
  geometry.total_clusters = clusters;
  return geometry;
}

class VolumeBitmapRead : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.add_volume('C', volume_of(1003));
    sim.reserve_clusters('C', 0, 10);
    sim.add_file("C:\\a.bin", 4096 * 15, {{10, 5}, {40, 10}});
    sim.add_file("C:\\b.bin", 4096 * 950, {{50, 950}});  // the last 3 clusters stay free
    sim.add_volume('D', volume_of(200));
    sim.reserve_clusters('D', 100, 100);
    previous = install_volume_io(&recorder);
  }
  void TearDown() override {
    for (HANDLE handle : opened) sim.close_handle(handle);
    install_volume_io(previous);
    EXPECT_EQ(sim.open_handle_count(), 0u);
  }

  HANDLE open(const char* name) {
    opened.push_back(sim.create_file(name, GENERIC_EXECUTE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    return opened.back();
  }

  static std::vector<std::pair<uint64_t, uint64_t>> runs(const volume_bitmap& bitmap) {
    std::vector<std::pair<uint64_t, uint64_t>> found;
    for_each_free_run(bitmap.view(), [&](uint64_t s, uint64_t l) { found.emplace_back(s, l); });
    return found;
  }

  sim::simulated_volume sim;
  recording_volume_io recorder{sim};
  volume_io* previous = nullptr;
  std::vector<HANDLE> opened;
};

// Catches a retry with the wrong size, more than one retry, and a last byte
// of the bitmap left out of the buffer.
TEST_F(VolumeBitmapRead, GrowsOnceToTheReportedSize) {
  volume_bitmap bitmap;
  ASSERT_EQ(bitmap.buffer_size(), 24u);
  ASSERT_TRUE(bitmap.read(open("\\\\.\\C:")));
  ASSERT_EQ(recorder.bitmap_reads.size(), 2u);
  EXPECT_EQ(recorder.bitmap_reads[0].out_size, 24u);
  EXPECT_EQ(recorder.bitmap_reads[0].error, DWORD{ERROR_MORE_DATA});
  EXPECT_EQ(recorder.bitmap_reads[1].out_size, 1003u / 8 + 25);
  EXPECT_EQ(bitmap.buffer_size(), 1003u / 8 + 25);
  EXPECT_EQ(bitmap.bitmap_clusters(), 1003u);
  // The run at the end stops at cluster 1003, not at the end of its byte.
  EXPECT_EQ(runs(bitmap), (std::vector<std::pair<uint64_t, uint64_t>>{{15, 25}, {1000, 3}}));
}

// Catches a buffer that shrinks, a smaller volume that asks twice, and bits
// of the larger volume read as the smaller one's.
TEST_F(VolumeBitmapRead, SmallerVolumeReusesTheBufferInOneRead) {
  volume_bitmap bitmap;
  ASSERT_TRUE(bitmap.read(open("\\\\.\\C:")));
  ASSERT_TRUE(bitmap.read(open("\\\\.\\D:")));
  ASSERT_EQ(recorder.bitmap_reads.size(), 3u);
  EXPECT_EQ(recorder.bitmap_reads[2].out_size, 1003u / 8 + 25);
  EXPECT_EQ(bitmap.buffer_size(), 1003u / 8 + 25);
  EXPECT_EQ(bitmap.bitmap_clusters(), 200u);
  EXPECT_EQ(runs(bitmap), (std::vector<std::pair<uint64_t, uint64_t>>{{0, 100}}));
}

// Catches an error other than "more data" taken as a reason to grow.
TEST_F(VolumeBitmapRead, OtherErrorsFailWithoutGrowing) {
  sim.fail_bitmap_reads('C', ERROR_INVALID_FUNCTION, 1);
  volume_bitmap bitmap;
  EXPECT_FALSE(bitmap.read(open("\\\\.\\C:")));
  EXPECT_EQ(recorder.bitmap_reads.size(), 1u);
  EXPECT_EQ(bitmap.buffer_size(), 24u);
  EXPECT_EQ(bitmap.bitmap_clusters(), 0u);
}

// Catches a second retry, and a failed read that changes the last count or
// leaves the old bits looking valid.
TEST_F(VolumeBitmapRead, FailedRetryKeepsTheGrownBufferAndTheLastCount) {
  volume_bitmap bitmap;
  ASSERT_TRUE(bitmap.read(open("\\\\.\\D:")));  // reads 1 and 2
  recorder.fail_bitmap_read = 4;                // C's retry
  EXPECT_FALSE(bitmap.read(open("\\\\.\\C:")));
  EXPECT_EQ(recorder.bitmap_reads.size(), 4u);
  EXPECT_EQ(bitmap.buffer_size(), 1003u / 8 + 25);
  EXPECT_EQ(bitmap.bitmap_clusters(), 200u);
  EXPECT_TRUE(runs(bitmap).empty());
}

// Catches clusters counted as used off by one at either end, within a byte
// or across whole bytes, and a range past the volume's end written beyond
// the bits read (D's 200 clusters, all of 0-99 free).
TEST_F(VolumeBitmapRead, CountAsUsedMarksExactlyTheRangeWithinTheRead) {
  volume_bitmap bitmap;
  ASSERT_TRUE(bitmap.read(open("\\\\.\\D:")));
  bitmap.count_as_used(3, 2);     // within one byte
  bitmap.count_as_used(13, 30);   // a partial byte, whole bytes, a partial byte
  bitmap.count_as_used(60, 0);    // nothing
  bitmap.count_as_used(95, 500);  // to the end of the volume and past it
  bitmap.count_as_used(700, 10);  // wholly past it
  EXPECT_EQ(runs(bitmap),
            (std::vector<std::pair<uint64_t, uint64_t>>{{0, 3}, {5, 8}, {43, 52}}));
  EXPECT_EQ(bitmap.bitmap_clusters(), 200u);
}

// A volume whose bitmap would need a buffer beyond 32 bits. Only its bitmap
// is ever read.
class huge_volume_io final : public volume_io {
 public:
  UINT get_drive_type(const char*) override { return DRIVE_FIXED; }
  BOOL get_volume_information(const char*, char*, DWORD, DWORD*, DWORD*, DWORD*, char*,
                              DWORD) override {
    return FALSE;
  }
  BOOL get_disk_free_space(const char*, DWORD*, DWORD*, DWORD*, DWORD*) override { return FALSE; }
  HANDLE create_file(const char*, DWORD, DWORD, DWORD, DWORD) override {
    return INVALID_HANDLE_VALUE;
  }
  HANDLE find_first_file(const char*, WIN32_FIND_DATAA*) override { return INVALID_HANDLE_VALUE; }
  BOOL find_next_file(HANDLE, WIN32_FIND_DATAA*) override { return FALSE; }
  BOOL find_close(HANDLE) override { return FALSE; }
  BOOL device_io_control(HANDLE, DWORD, void*, DWORD, void* out, DWORD out_size,
                         DWORD* returned) override {
    ++reads;
    const uint64_t header[2] = {0, uint64_t{1} << 36};  // 2^36 clusters: an 8 GiB bitmap
    if (out_size >= sizeof header) std::memcpy(out, header, sizeof header);
    *returned = sizeof header;
    return FALSE;
  }
  BOOL get_file_size_ex(HANDLE, LARGE_INTEGER*) override { return FALSE; }
  BOOL close_handle(HANDLE) override { return TRUE; }
  DWORD get_last_error() override { return ERROR_MORE_DATA; }
  BOOL disable_fs_redirection(void**) override { return FALSE; }
  BOOL revert_fs_redirection(void*) override { return FALSE; }

  int reads = 0;
};

// Catches a size cut to 32 bits (a small buffer and a pointless retry) or an
// allocation failure escaping as an exception.
TEST(VolumeBitmapLimits, ABitmapBeyond32BitBuffersIsAFailedRead) {
  huge_volume_io huge;
  volume_io* previous = install_volume_io(&huge);
  volume_bitmap bitmap;
  const bool read = bitmap.read(reinterpret_cast<HANDLE>(1));
  install_volume_io(previous);
  EXPECT_FALSE(read);
  EXPECT_EQ(huge.reads, 1);
  EXPECT_EQ(bitmap.buffer_size(), 24u);
}

// Catches a letter kept for a volume that did not open (the slot would look
// half-mapped) and a wrong volume path.
TEST_F(VolumeBitmapRead, OpenVolumeSetsTheLetterOnlyWhenItOpens) {
  sim.set_volume_open_error('D', ERROR_ACCESS_DENIED);
  volume_tables volumes;
  volume_bitmap bitmap;
  cell_cursor cursor;
  EXPECT_TRUE(open_volume(volumes, 0, "C"));
  EXPECT_TRUE(volumes[0].handle.is_open());
  EXPECT_EQ(volumes[0].letter_string, "C");
  EXPECT_FALSE(open_volume(volumes, 1, "D"));
  EXPECT_FALSE(volumes[1].handle.is_open());
  EXPECT_EQ(volumes[1].letter_string, "");

  ASSERT_TRUE(compute_cell_size(bitmap, volumes[0].handle.get(), cursor));
  EXPECT_EQ(cursor.clusters_per_cell, 2u);
  EXPECT_EQ(cursor.cells_filled, 502u);
  close_volumes(volumes);
  EXPECT_EQ(sim.open_handle_count(), 0u);
  EXPECT_EQ(volumes[0].letter_string, "");
}

}  // namespace
}  // namespace dravik::testing
