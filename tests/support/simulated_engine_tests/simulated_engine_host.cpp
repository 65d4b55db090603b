// A host of the simulated build of the engine, run from a folder holding a
// copy of it (the engine keeps its files in its host's folder). It loads the
// library, checks the volumes the engine took at load, analyses C, D and E,
// defragments C and frees the library, which then writes its summary.
// Exit code: 0 when every step went through; otherwise the step that failed.
#include <windows.h>

#include <cstring>

#include "dravik/volume_info.h"

namespace {

enum exit_code : int {
  all_done = 0,
  engine_not_loaded = 10,
  export_missing = 11,
  volume_missing = 12,
  wrong_file_system = 13,
  wrong_free_space = 14,
  unknown_volume_shown = 15,
  not_freed = 16,
};

using info_export = VolumeInfo*(__cdecl*)(int);
using run_export = int(__cdecl*)(const char*);

template <class Function>
Function bind(HMODULE engine, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(engine, name)));
}

constexpr unsigned long long room_to_defragment = 52428800;

struct expected_volume {
  char letter;
  const char* file_system;
  bool room_to_defragment;
};

int check_volume(info_export info, const expected_volume& expected) {
  const VolumeInfo* volume = info(expected.letter);
  if (volume == nullptr) return volume_missing;
  if (std::strcmp(volume->fileSystem, expected.file_system) != 0) return wrong_file_system;
  const unsigned long long free_bytes = volume->freeClusters * volume->bytesPerCluster;
  if ((free_bytes >= room_to_defragment) != expected.room_to_defragment) return wrong_free_space;
  return all_done;
}

}  // namespace

int main() {
  const HMODULE engine = LoadLibraryW(L"dravik.dll");
  if (!engine) return engine_not_loaded;
  const auto info = bind<info_export>(engine, "DLL_GetVolumeInfo");
  const auto analyse = bind<run_export>(engine, "DLL_AnalyseVolume");
  const auto defragment = bind<run_export>(engine, "DLL_DefragVolume");
  if (!info || !analyse || !defragment) return export_missing;

  const expected_volume volumes[] = {{'C', "NTFS", true}, {'D', "NTFS", false},
                                     {'E', "FAT32", true}};
  for (const expected_volume& volume : volumes) {
    if (const int failed = check_volume(info, volume); failed != all_done) return failed;
  }
  if (info('Z') != nullptr || info('F') != nullptr) return unknown_volume_shown;

  analyse("CDE");
  defragment("C");
  return FreeLibrary(engine) ? all_done : not_freed;
}
