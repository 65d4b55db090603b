#include "simulated_engine/simulated_scenario.h"

#include "simulated_volume/volume_generator.h"

namespace dravik::sim {

namespace {

generator_settings system_volume() {
  generator_settings settings;
  settings.seed = 0x5EED'C0DE;
  settings.total_clusters = 300000;  // 4 KiB clusters: about 1.1 GiB
  settings.files = 6000;
  settings.folders = 400;
  settings.fragmented_share = 0.08;
  settings.max_fragments = 60;
  settings.free_share = 0.30;
  settings.free_scatter = 0.6;
  return settings;
}

generator_settings full_data_volume() {
  generator_settings settings;
  settings.seed = 0x5EED'D00D;
  settings.total_clusters = 120000;
  settings.files = 2000;
  settings.folders = 150;
  settings.free_share = 0.06;  // about 28 MiB
  settings.free_scatter = 0.3;
  settings.system32 = false;
  settings.system_entries = false;
  return settings;
}

generator_settings fat_volume() {
  generator_settings settings;
  settings.seed = 0x5EED'E00E;
  settings.file_system = "FAT32";
  settings.total_clusters = 150000;
  settings.files = 2500;
  settings.folders = 200;
  settings.fragmented_share = 0.06;
  settings.max_fragments = 30;
  settings.free_share = 0.35;
  settings.free_scatter = 0.5;
  settings.system32 = false;
  settings.system_entries = false;
  return settings;
}

}  // namespace

void add_scenario_volumes(simulated_volume& sim) {
  sim.add_volume('C', generate_volume(system_volume()));
  sim.add_volume('D', generate_volume(full_data_volume()));
  sim.add_volume('E', generate_volume(fat_volume()));
}

}  // namespace dravik::sim
