#include "startup/exit_action.h"

#include "startup/system_power.h"

namespace tessarel {

int exit_action = exit_action_none;

namespace {

power_actions& actions_in_place() {
  static power_actions actions = real_power_actions();
  return actions;
}

}  // namespace

int exit_action_after_options(int armed, bool logout, bool restart) {
  if (armed != exit_action_shut_down && armed != exit_action_restart) return exit_action_none;
  return logout ? exit_action_shut_down : restart ? exit_action_restart : exit_action_none;
}

power_actions real_power_actions() { return {shut_down_computer, restart_computer}; }

power_actions replace_power_actions(const power_actions& actions) {
  const power_actions replaced = actions_in_place();
  actions_in_place() = actions;
  return replaced;
}

bool apply_exit_action(int action) {
  const power_actions& actions = actions_in_place();
  switch (action) {
    case exit_action_shut_down:
      return actions.shut_down && actions.shut_down();
    case exit_action_restart:
      return actions.restart && actions.restart();
    default:
      return false;
  }
}

}  // namespace tessarel
