#pragma once
// A job machine over a fresh status panel and a recording host.

#include <gtest/gtest.h>

#include <string>

#include "job/fake_job_host.h"
#include "job/job_machine.h"
#include "startup/exit_action.h"

namespace tessarel::testing {

class job_fixture : public ::testing::Test {
 protected:
  void SetUp() override { exit_action = exit_action_none; }
  void TearDown() override { exit_action = exit_action_none; }

  void select(const std::wstring& letters, bool registry) { host.selected = {letters, registry}; }
  // The completion of the latest engine job started.
  void engine_done(int kind) {
    machine.on_engine_job_done(L'C', kind, host.serials.empty() ? 0 : host.serials.back(), 0);
  }
  void record(uint32_t type, bool step = false, const std::wstring& text = L"") {
    regscan::scan_progress progress;
    progress.type = type;
    progress.step = step ? 1 : 0;
    progress.text = text;
    machine.on_registry_progress(progress);
  }
  // One poll with the engine at (letter, state, total, done).
  void tick(char letter, int32_t state, uint64_t total, uint64_t done) {
    host.engine_at(letter, state, total, done);
    machine.on_timer();
  }
  bool idle() const { return panel.activity() == 0 && !machine.busy(); }

  status_panel panel;
  fake_job_host host{panel};
  job_machine machine{host, panel};
};

}  // namespace tessarel::testing
