// What makes a build of dravik.dll the simulated one: this unit, linked
// beside the library's own entry, puts the scenario's volumes behind the
// engine's volume seam when the library is loaded, and writes their summary
// beside the library ("simulated-volumes.txt") when it is freed.
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
#include "simulated_engine/simulated_scenario.h"
#include "simulated_engine/summary_file.h"
#include "simulated_engine/volume_summary.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

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
    } catch (const std::exception& error) {
      // The engine then finds no fixed volume; the summary tells why.
      failure_ = error.what();
    }
    previous_ = install_volume_io(sim_.get());
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
    write_summary_file(module_folder() + L"simulated-volumes.txt", text);
    install_volume_io(previous_);
    // A lock still held belongs to a thread that is gone: leave the
    // simulator alone rather than destroy a locked mutex.
    if (failure_.empty() && !volumes) static_cast<void>(sim_.release());
  }

  simulated_engine_volumes(const simulated_engine_volumes&) = delete;
  simulated_engine_volumes& operator=(const simulated_engine_volumes&) = delete;

 private:
  static std::wstring module_folder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      const DWORD length = GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase),
                                              path.data(), static_cast<DWORD>(path.size()));
      if (length == 0) return L"";
      if (length < path.size()) {
        path.resize(length);
        break;
      }
      path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
  }

  std::unique_ptr<simulated_volume> sim_;
  volume_io* previous_ = nullptr;
  std::string failure_;
};

simulated_engine_volumes volumes;

}  // namespace

}  // namespace dravik::sim
