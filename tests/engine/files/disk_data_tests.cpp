#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "cell_counts_compare.h"
#include "files/disk_data_file.h"
#include "core/engine_state.h"
#include "files/stdio_file.h"
#include "scratch_folder/scratch_folder.h"

namespace dravik::testing {
namespace {

using tessarel::testing::scratch_folder;

constexpr size_t record = 24000;

void put_le32(std::vector<uint8_t>& bytes, size_t offset, int32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
  }
}

// Catches a wrong offset, byte order or counter order when restoring a map.
TEST(DiskDataRead, RestoresTheSlotsRecord) {
  scratch_folder folder;
  std::vector<uint8_t> file(3 * record, 0);
  // slot 2, cell 1: counters 1, 2, 3, 4, 5, -6; slot 1 holds noise
  for (int i = 0; i < 6; ++i) put_le32(file, 2 * record + 24 + 4 * i, i == 5 ? -6 : i + 1);
  for (size_t i = record; i < 2 * record; ++i) file[i] = 0x5A;
  folder.write("diskdata", file);

  const stdio_file disk_data = open_stdio_file(folder.file("diskdata"), "rb");
  auto cells = std::make_unique<cell_map>();
  read_cell_map(disk_data.get(), 2, *cells);
  EXPECT_EQ((*cells)[1].counts(), (cell_counts{1, 2, 3, 4, 5, -6}));
  EXPECT_EQ((*cells)[0].counts(), (cell_counts{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ((*cells)[999].counts(), (cell_counts{0, 0, 0, 0, 0, 0}));
}

// Catches stale values where a short file ends, and a missing file.
TEST(DiskDataRead, BytesTheFileDoesNotHoldAreZero) {
  scratch_folder folder;
  std::vector<uint8_t> file(record + 30, 0xFF);  // slot 1 holds 30 bytes: cell 0 and half of 1
  folder.write("diskdata", file);
  const stdio_file disk_data = open_stdio_file(folder.file("diskdata"), "rb");

  auto cells = std::make_unique<cell_map>();
  (*cells)[500].assign({9, 9, 9, 9, 9, 9});
  read_cell_map(disk_data.get(), 1, *cells);
  EXPECT_EQ((*cells)[0].counts(), (cell_counts{-1, -1, -1, -1, -1, -1}));
  // the file ends two bytes into cell 1's second counter
  EXPECT_EQ((*cells)[1].counts(), (cell_counts{-1, 0xFFFF, 0, 0, 0, 0}));
  EXPECT_EQ((*cells)[500].counts(), (cell_counts{0, 0, 0, 0, 0, 0}));

  read_cell_map(disk_data.get(), 5, *cells);  // past the end altogether
  EXPECT_EQ((*cells)[0].counts(), (cell_counts{0, 0, 0, 0, 0, 0}));

  read_cell_map(nullptr, 0, *cells);
  EXPECT_EQ((*cells)[0].counts(), (cell_counts{0, 0, 0, 0, 0, 0}));
}

// Builds an engine state without loading it: enough for the unload's saving.
class SaveEngineState : public ::testing::Test {
 protected:
  SaveEngineState() {
    engine.globals.application_folder = folder.path();
    engine.globals.fixed_volume_count = 2;
  }

  cell_map& allocate(int slot) {
    engine.volumes[slot].cells = std::make_unique<cell_map>();
    return *engine.volumes[slot].cells;
  }

  scratch_folder folder;
  engine_state engine{engine_load_options{}};
};

// Catches slots written at the wrong place, unallocated slots written as
// zeros over what the file held, and a truncated file.
TEST_F(SaveEngineState, WritesAllocatedSlotsAtTheirOffsetsOnly) {
  std::vector<uint8_t> file(26 * record, 0xAB);
  folder.write("diskdata", file);
  allocate(0)[0].assign({1, 0, 0, 7, 0, 0});
  allocate(23)[999].assign({1, 2, 3, 4, 5, 6});

  save_engine_state(engine);

  const std::vector<uint8_t> saved = folder.read_bytes("diskdata");
  ASSERT_EQ(saved.size(), file.size());
  std::vector<uint8_t> expected = file;
  std::fill(expected.begin(), expected.begin() + record, 0);
  put_le32(expected, 0, 1);
  put_le32(expected, 12, 7);
  std::fill(expected.begin() + 23 * record, expected.begin() + 24 * record, 0);
  for (int i = 0; i < 6; ++i) put_le32(expected, 23 * record + 999 * 24 + 4 * i, i + 1);
  EXPECT_TRUE(saved == expected);
}

// Catches a save that loses a slot lying beyond the end of a short file.
TEST_F(SaveEngineState, ExtendsAShortFileToReachItsSlot) {
  folder.write("diskdata", std::vector<uint8_t>(10, 0x11));
  allocate(2)[3].assign({1, 0, 0, 0, 1, 0});
  save_engine_state(engine);
  const std::vector<uint8_t> saved = folder.read_bytes("diskdata");
  ASSERT_EQ(saved.size(), 3 * record);
  EXPECT_EQ(saved[0], 0x11);
  EXPECT_EQ(saved[2 * record + 3 * 24], 1);
}

// Catches files created by the unload: neither file may ever be created.
TEST_F(SaveEngineState, NeverCreatesDiskdataOrSetting) {
  allocate(0);
  engine.options.logout_flag = 1;
  save_engine_state(engine);
  EXPECT_FALSE(folder.exists("diskdata"));
  EXPECT_FALSE(folder.exists("Setting"));
}

// Catches the maps being saved when no fixed drive was found at load.
TEST_F(SaveEngineState, NoFixedDriveLeavesDiskdataAlone) {
  engine.globals.fixed_volume_count = 0;
  folder.write("diskdata", std::vector<uint8_t>(record, 0x22));
  allocate(0);
  save_engine_state(engine);
  EXPECT_EQ(folder.read_bytes("diskdata"), std::vector<uint8_t>(record, 0x22));
}

// Catches flags written in the wrong order or place, bytes 0 to 8 changed, or
// more than the low byte of a flag written.
TEST_F(SaveEngineState, WritesTheFlagsLowBytesFromByte9) {
  folder.write("Setting", std::vector<uint8_t>(13, 0x77));
  engine.options.auto_run_flag = 1;
  engine.options.logout_flag = 0;
  engine.options.restart_flag = 0x101;
  engine.options.companion_run_flag = 0;
  save_engine_state(engine);
  const std::vector<uint8_t> expected{0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77,
                                      0x77, 0x77, 1,    0,    1,    0};
  EXPECT_EQ(folder.read_bytes("Setting"), expected);
}

}  // namespace
}  // namespace dravik::testing
