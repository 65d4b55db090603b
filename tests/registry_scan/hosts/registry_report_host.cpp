// A host of the built engine for the registry report, run from a scratch
// folder (the engine keeps its files in its host's folder). It loads the
// engine as the program does, binds DLL_SaveRegistryReport to the scanner's
// report hook, and runs a registry worker over fake phases on a thread of
// its own.
// Usage: registry_report_host <dravik.dll path> scan|clean|refused
// (refused: a clean whose every deletion fails)
// Exit code: 0 when the run ended with its end record; otherwise the step
// that failed.
#include <process.h>
#include <windows.h>

#include <cstring>

#include "regscan/category_table.h"
#include "regscan/issue_store.h"
#include "regscan/item_found.h"
#include "regscan/registry_workers.h"
#include "regscan/scan_hooks.h"
#include "report_host_items.h"
#include "tessarel/unique_handle.h"

namespace {

enum exit_code : int {
  run_ended = 0,
  bad_arguments = 10,
  engine_not_loaded = 11,
  export_missing = 12,
  thread_not_started = 13,
  no_end_record = 14,
};

using namespace regscan;

template <std::uint32_t category>
void host_phase() {
  for (const testing::host_item& entry : testing::report_host_items()) {
    if (entry.category == category) found_item_callback.load()(&entry.item);
  }
}

int delete_nothing(const dravik::registry_issue&, item_hive) { return 0; }
int refuse(const dravik::registry_issue&, item_hive) { return -1; }

std::uint32_t end_type = 0;
void note_end(const scan_progress* record) { end_type = record->type; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return bad_arguments;
  const bool refused = std::strcmp(argv[2], "refused") == 0;
  const bool clean = refused || std::strcmp(argv[2], "clean") == 0;

  HMODULE engine = LoadLibraryA(argv[1]);
  if (!engine) return engine_not_loaded;
  const auto report = reinterpret_cast<report_hook>(
      reinterpret_cast<void*>(GetProcAddress(engine, "DLL_SaveRegistryReport")));
  if (!report) return export_missing;

  const issue_deleter deleter = refused ? &refuse : &delete_nothing;
  category_table table{};
  table[0] = {&host_phase<0>, deleter};
  table[2] = {&host_phase<2>, deleter};
  table[3] = {&host_phase<3>, deleter};
  table[7] = {&host_phase<7>, deleter};
  install_category_table(table);
  found_item_callback = &on_registry_item_found;
  progress_callback = &note_end;
  save_registry_report = report;
  reset_cell_states();
  reset_issue_groups();

  // Started and waited for as the program does, before it unloads the engine
  // whose export the worker calls.
  {
    const tessarel::unique_kernel_handle thread(reinterpret_cast<HANDLE>(_beginthreadex(
        nullptr, 0, clean ? &registry_clean_thread : &registry_scan_thread, nullptr, 0, nullptr)));
    if (!thread) return thread_not_started;
    WaitForSingleObject(thread.get(), INFINITE);
  }
  FreeLibrary(engine);

  const std::uint32_t expected = clean ? progress_clean_end : progress_scan_end;
  return end_type == expected ? run_ended : no_end_record;
}
