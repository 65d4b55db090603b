// The built dravik.dll as the program binds it: loading it runs the engine's
// start-up (here over Wine's own volumes, which have no map), every export
// is found by name, and freeing it runs the shut-down.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "dravik/run_exports.h"
#include "dravik/volume_info.h"

namespace dravik::testing {
namespace {

std::string built_dll_path() {
  std::string path = TESSAREL_TEST_APP_DIR "dravik.dll";
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// Catches a library that fails its entry, an export missing or misnamed
// (decorated, mangled), and an entry that hangs a run or the unload.
TEST(DravikDll, LoadsBindsEveryExportByNameAndUnloads) {
  HMODULE library = LoadLibraryA(built_dll_path().c_str());
  ASSERT_NE(library, nullptr) << "error " << GetLastError();

  const char* names[] = {
      "DLL_AnalyseVolume",       "DLL_DefragVolume",         "DLL_OptimizedDefragVolume",
      "DLL_GetVolumeColorTable", "DLL_GetVolumeSectorColor", "DLL_GetVolumeSectorFilesList",
      "DLL_GetVolumeSectorFileInfo", "DLL_SetCurrentVolume", "DLL_GetWorkingStatus",
      "DLL_WorkingStop",         "DLL_Options",              "DLL_GetLogout",
      "DLL_GetRestart",          "DLL_GetAutoRun",           "DLL_GetVolumeInfo",
      "DLL_Advance",             "DLL_SaveRegistryReport",   "DLL_ShowReport"};
  for (const char* name : names) EXPECT_NE(GetProcAddress(library, name), nullptr) << name;

  auto analyse = reinterpret_cast<int(__cdecl*)(const char*)>(
      reinterpret_cast<void*>(GetProcAddress(library, "DLL_AnalyseVolume")));
  auto status = reinterpret_cast<WorkingStatus*(__cdecl*)()>(
      reinterpret_cast<void*>(GetProcAddress(library, "DLL_GetWorkingStatus")));
  auto info = reinterpret_cast<VolumeInfo*(__cdecl*)(int)>(
      reinterpret_cast<void*>(GetProcAddress(library, "DLL_GetVolumeInfo")));
  ASSERT_TRUE(analyse && status && info);

  // The engine's worker runs inside the library and the export waits for it.
  EXPECT_EQ(analyse(""), 1);
  EXPECT_EQ(status()->state, 0);
  EXPECT_EQ(status()->totalUnits, 100u) << "Wine's volumes have no map";
  EXPECT_EQ(info('C'), nullptr);

  EXPECT_TRUE(FreeLibrary(library));
}

}  // namespace
// A run export returns as soon as the workers have let go of the job, a few
// instructions before they leave the library's code; a host that frees the
// library right then must not pull that code from under them.
TEST(DravikDll, FreedRightAfterARunExportManyTimesOver) {
  for (int round = 0; round < 200; ++round) {
    HMODULE library = LoadLibraryA(built_dll_path().c_str());
    ASSERT_NE(library, nullptr) << "round " << round << ", error " << GetLastError();
    auto analyse = reinterpret_cast<int(__cdecl*)(const char*)>(
        reinterpret_cast<void*>(GetProcAddress(library, "DLL_AnalyseVolume")));
    ASSERT_NE(analyse, nullptr);
    EXPECT_EQ(analyse(""), 1);
    ASSERT_TRUE(FreeLibrary(library)) << "round " << round;
  }
}

}  // namespace dravik::testing
