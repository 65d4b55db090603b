#include "job/fake_job_host.h"

#include <algorithm>
#include <utility>

namespace tessarel::testing {

namespace {
std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
}  // namespace

void fake_job_host::note(std::string line) {
  const bool fails = !throw_at.empty() && line == throw_at;
  journal.push_back(std::move(line));
  if (fails) throw std::runtime_error("scripted failure");
}

int fake_job_host::count(const std::string& line) const {
  return static_cast<int>(std::count(journal.begin(), journal.end(), line));
}

std::vector<std::string> fake_job_host::lines(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& line : journal) {
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  }
  return found;
}

void fake_job_host::engine_at(char letter, int32_t state, uint64_t total, uint64_t done) {
  status = WorkingStatus{};
  status.state = state;
  status.volume = letter;
  status.totalUnits = total;
  status.doneUnits = done;
}

void fake_job_host::show_volume(wchar_t letter) {
  panel_.set_current_letter(letter);
  note("show_volume " + narrow(std::wstring(1, letter)));
}

void fake_job_host::refresh_map(bool set_current) {
  note(set_current ? "refresh_map 1" : "refresh_map 0");
}

void fake_job_host::set_timer() {
  timer_running = true;
  note("set_timer");
}

void fake_job_host::kill_timer() {
  timer_running = false;
  note("kill_timer");
}

void fake_job_host::show_progress(bool shown) {
  progress_shown = shown;
  note(shown ? "progress show" : "progress hide");
}

void fake_job_host::set_progress_range(int maximum) { note("range " + std::to_string(maximum)); }
void fake_job_host::set_progress_step(int step) { note("step_size " + std::to_string(step)); }
void fake_job_host::set_progress_position(int position) {
  note("pos " + std::to_string(position));
}

int fake_job_host::message_box(const wchar_t* text, UINT flags) {
  box_texts.emplace_back(text);
  note("box " + std::to_string(flags));
  if (during_box) std::exchange(during_box, nullptr)();
  if (box_answers.empty()) return IDOK;
  const int answer = box_answers.front();
  box_answers.erase(box_answers.begin());
  return answer;
}

bool fake_job_host::start_registry_worker(registry_run run) {
  note(run == registry_run::scan ? "registry scan" : "registry clean");
  return threads_start;
}

bool fake_job_host::completion_lost(int serial) {
  if (serial == 0 || serial != lost) return false;
  lost = 0;
  return true;
}

bool fake_job_host::start_engine_job(engine_run run, const std::wstring& letters, int serial) {
  serials.push_back(serial);
  const char* name = run == engine_run::analyse      ? "analyse"
                     : run == engine_run::defragment ? "defragment"
                                                     : "optimise";
  note(std::string("engine ") + name + " " + narrow(letters));
  return threads_start;
}

bool fake_job_host::working_status(WorkingStatus& out) {
  if (!has_status) return false;
  out = status;
  return true;
}

void fake_job_host::stop_registry(registry_run run) {
  note(run == registry_run::scan ? "stop_registry scan" : "stop_registry clean");
}

void fake_job_host::show_report(int report_set) {
  note("report " + std::to_string(report_set));
  if (during_report) std::exchange(during_report, nullptr)();
}

}  // namespace tessarel::testing
