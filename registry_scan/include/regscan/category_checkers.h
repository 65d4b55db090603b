#pragma once
// The seven category checkers and the phases that enumerate them. Every
// checker reports the item it examines through found_item_callback, fine or
// not, and returns its category's stop flag. Registry worker thread.

#include <string>

#include "regscan/registry_access.h"

namespace regscan {

// The help key being enumerated (help_key or html_help_key); set by the
// help phase, read by its checker. Worker thread only.
extern std::wstring current_help_key;

bool check_app_path(const registry_subkey* subkey);    // 0
bool check_help_file(const registry_value* value);     // 1
bool check_run_entry(const registry_value* value);     // 2
bool check_menu_order(const registry_subkey* subkey);  // 3
bool check_shared_dll(const registry_value* value);    // 5
bool check_clsid(const registry_subkey* subkey);       // 6
bool check_software_key(const registry_subkey* subkey);  // 7

// Each clears its category's stop flag, then enumerates its locations.
void scan_app_paths();      // 0
void scan_help_files();     // 1: the Help key, then the Html Help key
void scan_run_entries();    // 2
void scan_menu_order();     // 3
void scan_shared_dlls();    // 5
void scan_clsids();         // 6
void scan_software_keys();  // 7

}  // namespace regscan
