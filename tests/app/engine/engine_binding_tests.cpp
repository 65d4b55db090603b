// The binding of the engine library: found whole or refused at once, each
// entry point bound to the export of its own name, and never unloaded while
// a job thread is still inside it.
#include "engine/engine_binding.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/engine_binding_error.h"
#include "engine/engine_folder.h"
#include "engine/engine_job.h"
#include "gui_test_support/gui_test_support.h"
#include "stand_in_engine_support.h"
#include "startup/program_texts.h"
#include "vemo/text_conversion.h"

namespace tessarel::testing {
namespace {

bool library_loaded(const std::wstring& file_name) {
  return GetModuleHandleW(file_name.c_str()) != nullptr;
}

// A thread whose object is gone, or signalled, has ended.
bool thread_has_ended(DWORD thread_id) {
  const HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, thread_id);
  if (thread == nullptr) return true;
  const bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
  CloseHandle(thread);
  return ended;
}

TEST(EngineLibraryPath, ProgramFolderPlusTheLibraryNameWithOneSeparator) {
  const struct {
    const wchar_t* folder;
    const wchar_t* path;
  } cases[] = {
      {L"C:\\Program Files\\Tessarel", L"C:\\Program Files\\Tessarel\\dravik.dll"},
      {L"C:\\Program Files\\Tessarel\\", L"C:\\Program Files\\Tessarel\\dravik.dll"},
      {L"Z:/build/app/", L"Z:/build/app/dravik.dll"},
  };
  for (const auto& c : cases) EXPECT_EQ(engine_library_path(c.folder), c.path) << c.folder;
}

// As a volume without short names answers: the long name.
std::wstring no_short_names(const std::wstring& path) { return path; }

// Catches a binding that leaves a missing library or export to a null call
// later, a message that does not say what is missing, and a library left
// loaded after the refusal. Also an engine loaded in a folder whose name has
// no form in code page 936 (Ł, where short names are off): it would read and
// write none of its files, silently.
TEST(EngineBinding, MissingLibraryOrExportIsRefusedAtOnceByName) {
  ASSERT_EQ(GetACP(), 936u);
  const std::wstring unusable = test_folder() + L"\\\u0141ukasz";
  ASSERT_TRUE(CreateDirectoryW(unusable.c_str(), nullptr) ||
              GetLastError() == ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(CopyFileW(engine_library_path(stand_in_folder(L"full")).c_str(),
                        engine_library_path(unusable).c_str(), FALSE));
  const struct {
    std::wstring folder;
    const wchar_t* named;
    bool short_names = true;
  } cases[] = {
      {windows_path(test_folder() + L"\\no engine here"), L"dravik.dll"},
      {stand_in_folder(L"without_status"), L"DLL_GetWorkingStatus"},
      {stand_in_folder(L"without_optimize"), L"DLL_OptimizedDefragVolume"},
      {unusable, msg_engine_folder_unusable, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(vemo::narrow_text(c.folder));
    const short_path_function previous =
        install_short_path_lookup(c.short_names ? nullptr : &no_short_names);
    try {
      engine_binding binding(c.folder, {});
      ADD_FAILURE() << "bound without " << vemo::narrow_text(c.named);
    } catch (const engine_binding_error& error) {
      EXPECT_NE(error.message().find(c.named), std::wstring::npos);
      EXPECT_NE(std::string(error.what()).find(vemo::narrow_text(c.named)), std::string::npos);
    }
    install_short_path_lookup(previous);
    EXPECT_FALSE(library_loaded(engine_library_path(c.folder)));
  }
  // With short names (as Wine makes them) the same folder is the engine's.
  { engine_binding binding(unusable, {}); }
  DeleteFileW(engine_library_path(unusable).c_str());
  RemoveDirectoryW(unusable.c_str());
}

using StandInBinding = StandInEngineTest;

// Catches two entry points bound to the same export or to each other's
// names: every call must reach the export of its own name.
TEST_F(StandInBinding, EachEntryPointReachesTheExportOfItsName) {
  engine_binding binding(stand_in_folder(L"full"), {});
  EXPECT_TRUE(library_loaded(binding.library_file_name()));
  const engine_entry_points& e = binding.entry_points();
  dravik::issue_groups groups(3);
  const struct {
    const char* name;
    std::function<void()> call;
  } cases[] = {
      {"DLL_AnalyseVolume", [&] { e.analyse_volume("C"); }},
      {"DLL_DefragVolume", [&] { e.defrag_volume("C"); }},
      {"DLL_OptimizedDefragVolume", [&] { e.optimized_defrag_volume("C"); }},
      {"DLL_GetVolumeColorTable", [&] { e.get_volume_color_table('C'); }},
      {"DLL_GetVolumeSectorFilesList", [&] { e.get_volume_sector_files_list('C', 5); }},
      {"DLL_GetVolumeSectorFileInfo", [&] { e.get_volume_sector_file_info("C:\\a"); }},
      {"DLL_Options", [&] { e.options(); }},
      {"DLL_Advance", [&] { e.advance(); }},
      {"DLL_SetCurrentVolume", [&] { e.set_current_volume('C'); }},
      {"DLL_WorkingStop", [&] { e.working_stop(); }},
      {"DLL_GetWorkingStatus", [&] { e.get_working_status(); }},
      {"DLL_GetLogout", [&] { e.get_logout(); }},
      {"DLL_GetRestart", [&] { e.get_restart(); }},
      {"DLL_GetVolumeInfo", [&] { e.get_volume_info('C'); }},
      {"DLL_ShowReport", [&] { e.show_report(2); }},
      {"DLL_SaveRegistryReport", [&] { e.save_registry_report(&groups, 1); }},
  };
  for (const auto& c : cases) {
    c.call();
    ASSERT_FALSE(journal().empty());
    EXPECT_STREQ(journal().back().export_name, c.name);
  }
  EXPECT_EQ(journal().size(), std::size(cases)) << "one export call per entry point call";
}

// Catches a binding that frees the library under a job thread still inside
// a run export (a crash at shut-down), or waits for that run for ever.
TEST_F(StandInBinding, DestroyedDuringARunStopsItAndWaitsForTheThread) {
  stand_in_hold_runs();
  std::wstring file_name;
  {
    engine_binding binding(stand_in_folder(L"full"), {});
    file_name = binding.library_file_name();
    ASSERT_TRUE(start_defrag_job(binding, L"C", 1));
    ASSERT_TRUE(stand_in_wait_for_calls("DLL_DefragVolume", 1, 5000));
  }
  const auto stops = journal("DLL_WorkingStop");
  ASSERT_EQ(stops.size(), 1u);
  EXPECT_EQ(stops[0].thread_id, GetCurrentThreadId());
  EXPECT_TRUE(thread_has_ended(journal("DLL_DefragVolume").at(0).thread_id));
  EXPECT_FALSE(library_loaded(file_name));
}

// The real engine, once: built into the application folder, it has every
// entry point the program calls. A run with no letters touches no volume.
TEST(EngineBinding, BindsTheBuiltEngineFromTheApplicationFolder) {
  const std::wstring folder = windows_path(TESSAREL_TEST_ENGINE_APP_DIR);
  std::wstring file_name;
  {
    engine_binding binding(folder, {});
    file_name = binding.library_file_name();
    EXPECT_EQ(file_name, engine_library_path(folder));
    const engine_entry_points& e = binding.entry_points();
    const void* const points[] = {
        reinterpret_cast<const void*>(e.analyse_volume),
        reinterpret_cast<const void*>(e.defrag_volume),
        reinterpret_cast<const void*>(e.optimized_defrag_volume),
        reinterpret_cast<const void*>(e.get_volume_color_table),
        reinterpret_cast<const void*>(e.get_volume_sector_files_list),
        reinterpret_cast<const void*>(e.get_volume_sector_file_info),
        reinterpret_cast<const void*>(e.options),
        reinterpret_cast<const void*>(e.advance),
        reinterpret_cast<const void*>(e.set_current_volume),
        reinterpret_cast<const void*>(e.working_stop),
        reinterpret_cast<const void*>(e.get_working_status),
        reinterpret_cast<const void*>(e.get_logout),
        reinterpret_cast<const void*>(e.get_restart),
        reinterpret_cast<const void*>(e.get_volume_info),
        reinterpret_cast<const void*>(e.show_report),
        reinterpret_cast<const void*>(e.save_registry_report),
    };
    const HMODULE module = binding.module();
    for (const void* point : points) {
      HMODULE owner = nullptr;
      EXPECT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                     static_cast<const wchar_t*>(point), &owner));
      EXPECT_EQ(owner, module) << "an entry point outside the engine";
    }
    EXPECT_EQ(e.analyse_volume(""), 1);
    EXPECT_EQ(e.get_working_status()->state, 0);
  }
  // The run's worker holds the library until its last instruction, which
  // may come just after the run export has returned (the worker's report
  // page is flushed to the disk): the library goes with it.
  EXPECT_TRUE(pump_until([&] { return !library_loaded(file_name); }));
}

}  // namespace
}  // namespace tessarel::testing
