#pragma once
// The forced shut-down and restart of the computer. Each first enables the
// shut-down privilege in the process token; without it nothing happens.
// Never call the two actions from a test: they really power the machine down
// or restart it (tests replace them through exit_action.h).

namespace tessarel {

// Enables the shut-down privilege in the process token. False when the
// token cannot be opened or the user does not hold the privilege. Any thread.
bool enable_shut_down_privilege();

// A forced, planned shut-down (restart): true when ExitWindowsEx accepted it;
// false, and nothing asked for, when the privilege could not be enabled.
bool shut_down_computer();
bool restart_computer();

}  // namespace tessarel
