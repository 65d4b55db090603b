#include "scenario.h"

#include <optional>
#include <sstream>

#include "driver/map_colours.h"
#include "driver/program_dialogs.h"
#include "driver/program_windows.h"
#include "driver/wait_until.h"
#include "driver/window_picture.h"
#include "simulated_engine/simulated_scenario.h"
#include "startup/program_texts.h"

namespace dravik::sim {
void PrintTo(const volume_summary& volume, std::ostream* out) {
  *out << format_volume_summaries({volume});
}
}  // namespace dravik::sim

namespace tessarel::e2e {

void start_program(const std::wstring& name, const std::wstring& arguments,
                   started_program& started) {
  started.run = std::make_unique<program_run>(name);
  ASSERT_TRUE(started.run->start(arguments));
  const HWND hwnd = started.run->wait_for_main_window();
  ASSERT_NE(hwnd, nullptr) << "no main window";
  started.main = std::make_unique<main_window>(hwnd, started.run->process_id());
}

std::vector<int> shown_volume_codes(const started_program& started) {
  const HWND hwnd = started.main->handle();
  const auto palette = palette_colours(started.run->file(L"zq.ini"));
  std::vector<int> codes =
      shown_codes(window_picture(hwnd), block_centres(client_size(hwnd)), palette);
  codes.resize(std::min<size_t>(codes.size(), 1000));
  return codes;
}

std::vector<std::string> opened_reports(const program_run& run) {
  std::vector<std::string> lines;
  std::istringstream text(run.read(L"opened-reports.txt"));
  std::string line;
  while (std::getline(text, line))
    if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string report_item(const program_run& run, const std::wstring& page,
                        const std::string& item) {
  // The page's text without tags, every run of blanks made one space.
  std::string text;
  bool in_tag = false;
  for (const char c : run.read(page)) {
    if (c == '<') in_tag = true;
    const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    if (!in_tag && !(blank && !text.empty() && text.back() == ' ')) text += blank ? ' ' : c;
    if (c == '>') in_tag = false;
  }
  const std::string key = item + " : ";
  const size_t at = text.find(key);
  if (at == std::string::npos) return "";
  const size_t start = at + key.size();
  return text.substr(start, text.find(' ', start) - start);
}

void read_summary(const program_run& run, std::vector<dravik::sim::volume_summary>& volumes) {
  const std::string text = run.read(L"simulated-volumes.txt");
  const auto parsed = dravik::sim::parse_volume_summaries(text);
  ASSERT_TRUE(parsed && parsed->size() == 3) << text;
  volumes = *parsed;
  for (const auto& volume : volumes)
    EXPECT_TRUE(volume.invariants_hold) << volume.letter << " "
                                        << (volume.problems.empty() ? "" : volume.problems[0]);
}

std::vector<dravik::sim::volume_summary> untouched_volumes() {
  dravik::sim::simulated_volume sim;
  dravik::sim::add_scenario_volumes(sim);
  return dravik::sim::summarise_volumes(sim, std::chrono::milliseconds(1000)).value();
}

long close_program(const started_program& started) {
  // The buttons follow the engine's status, which turns idle before the
  // engine's thread has handed the job's end to the program (seconds, under
  // emulation); a close in between asks whether to stop the job. That
  // question is answered Cancel and the close asked again, until the job has
  // ended; any other box, or a job that never ends, fails the close.
  const DWORD pid = started.run->process_id();
  const ULONGLONG deadline = GetTickCount64() + job_timeout_ms;
  while (started.main->press(main_button::close)) {
    std::optional<DWORD> code;
    HWND box = nullptr;
    const bool answered = wait_until(
        [&] {
          code = started.run->wait_for_exit(0);
          if (!code) box = wait_for_message_box(pid, 0);
          return code || box;
        },
        dialog_timeout_ms);
    if (code) return static_cast<long>(*code);
    if (!answered || message_box_text(box) != msg_confirm_exit || GetTickCount64() > deadline)
      break;
    if (!answer_message_box(box, IDCANCEL) ||
        !wait_until([&] { return window_gone(box); }, dialog_timeout_ms))
      break;
    Sleep(100);
  }
  save_checkpoint(started.main->handle(), L"close_failed");
  return -1;
}

}  // namespace tessarel::e2e
