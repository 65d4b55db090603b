// What makes a build of dravik.dll the simulated one: this unit, linked
// beside the library's own entry, puts the scenario's volumes behind the
// engine's volume seam when the library is loaded, and writes their summary
// beside the library ("simulated-volumes.txt") when it is freed. Report
// sets are recorded beside it too, never opened (report_recorder.h), and a
// test may hold the moves (move_hold.h). The run command's copy paces the
// volume calls and opens the report sets instead (run_settings.h).
//
// The work is done by a static object rather than in DllMain, so the
// library's entry stays the shipped one: the C++ start-up of a mingw-w64 DLL
// constructs static objects before DllMain sees DLL_PROCESS_ATTACH (so the
// engine's start-up already reads the simulated volumes) and destroys them
// after DllMain has handled DLL_PROCESS_DETACH (so the engine has stopped
// its workers and saved its state when the summary is taken).
#include <windows.h>

#include <memory>
#include <string>

#include "platform/volume_io.h"
#include "reports/report_shell.h"
#include "simulated_engine/module_folder.h"
#include "simulated_engine/move_hold.h"
#include "simulated_engine/paced_volume_io.h"
#include "simulated_engine/report_recorder.h"
#include "simulated_engine/run_settings.h"
#include "simulated_engine/simulated_scenario.h"
#include "simulated_engine/summary_file.h"
#include "simulated_engine/volume_summary.h"

namespace dravik::sim {

namespace {

// At process exit the engine's workers may have been ended while they held
// the simulator's lock; the summary then says so instead of hanging the exit.
constexpr std::chrono::milliseconds summary_lock_wait{2000};

class simulated_engine_volumes {
 public:
  simulated_engine_volumes() : sim_(std::make_unique<simulated_volume>()) {
    try {
      add_scenario_volumes(*sim_);
      sim_->set_move_hook(hold_moves_hook());
    } catch (const std::exception& error) {
      // The engine then finds no fixed volume; the summary tells why.
      failure_ = error.what();
    }
    const run_settings settings = read_run_settings(simulated_engine_folder());
    if (settings.pace) paced_ = std::make_unique<paced_volume_io>(*sim_, *settings.pace);
    previous_ = install_volume_io(paced_ ? static_cast<volume_io*>(paced_.get()) : sim_.get());
    recording_reports_ = !settings.open_reports;
    if (recording_reports_) previous_shell_ = install_report_shell(&record_report_address);
  }

  ~simulated_engine_volumes() {
    const std::optional<std::vector<volume_summary>> volumes =
        failure_.empty() ? summarise_volumes(*sim_, summary_lock_wait) : std::nullopt;
    std::string text;
    if (volumes) {
      text = format_volume_summaries(*volumes);
    } else {
      text = "# no summary: " +
             (failure_.empty() ? std::string("the simulated volumes stayed locked") : failure_) +
             "\n";
    }
    write_summary_file(simulated_engine_folder() + L"simulated-volumes.txt", text);
    if (recording_reports_) install_report_shell(previous_shell_);
    install_volume_io(previous_);
    // A lock still held belongs to a thread that is gone: leave the
    // simulator alone rather than destroy a locked mutex.
    if (failure_.empty() && !volumes) {
      static_cast<void>(sim_.release());
      static_cast<void>(paced_.release());
    }
  }

  simulated_engine_volumes(const simulated_engine_volumes&) = delete;
  simulated_engine_volumes& operator=(const simulated_engine_volumes&) = delete;

 private:
  std::unique_ptr<simulated_volume> sim_;
  std::unique_ptr<paced_volume_io> paced_;  // only when the run command sets a pace
  volume_io* previous_ = nullptr;
  shell_open_function previous_shell_ = nullptr;
  bool recording_reports_ = true;
  std::string failure_;
};

simulated_engine_volumes volumes;

}  // namespace

}  // namespace dravik::sim
