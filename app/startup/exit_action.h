#pragma once
// What the program does to the computer once it has let go of everything.

namespace tessarel {

enum : int {
  exit_action_none = 0,
  exit_action_shut_down = 1,
  exit_action_restart = 2,
};

// The action to take after the message loop: 0 nothing (initial), 1 shut the
// computer down, 2 restart. Set by the job machine; read once after the loop.
// User interface thread only.
extern int exit_action;

// The exit action once the options dialog has closed with the engine's
// flags logout ("shut down after defragmentation") and restart: an armed
// action follows the flags (shut down before restart, none when both are
// off); an unarmed one stays unarmed. Any thread.
int exit_action_after_options(int armed, bool logout, bool restart);

// The two system actions the exit action calls; each answers whether the
// system accepted it.
struct power_actions {
  bool (*shut_down)();
  bool (*restart)();
};

// The real actions: shut_down_computer and restart_computer.
power_actions real_power_actions();

// Makes apply_exit_action call actions instead; returns the ones replaced.
// For tests, which must never reach the real ones. User interface thread.
power_actions replace_power_actions(const power_actions& actions);

// Takes the action: 1 shuts down, 2 restarts (through the actions in place),
// any other value does nothing. Answers whether an action was asked for and
// accepted. Call after the message loop, when everything is released.
bool apply_exit_action(int action);

}  // namespace tessarel
