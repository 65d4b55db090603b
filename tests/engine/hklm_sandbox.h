#pragma once
// Redirects HKEY_LOCAL_MACHINE of this process to a key of its own under
// HKEY_CURRENT_USER for the life of the object, then deletes that key. Tests
// that let the engine write its Run values use it, so the prefix's real keys
// are never touched.

#include <windows.h>

#include <string>

namespace engine_test {

class hklm_sandbox {
 public:
  hklm_sandbox() {
    path_ = "Software\\TessarelTests\\engine_tests_" + std::to_string(GetCurrentProcessId());
    // Opened before the override, so the sandbox itself is not redirected.
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key_, nullptr) == ERROR_SUCCESS)
      active_ = RegOverridePredefKey(HKEY_LOCAL_MACHINE, key_) == ERROR_SUCCESS;
  }
  ~hklm_sandbox() {
    if (active_) RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    if (key_) RegCloseKey(key_);
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  }
  hklm_sandbox(const hklm_sandbox&) = delete;
  hklm_sandbox& operator=(const hklm_sandbox&) = delete;

  bool active() const { return active_; }

  // A REG_SZ value below the sandbox's "HKEY_LOCAL_MACHINE"; false when absent.
  bool read_string(const char* subkey, const char* name, std::string& data) const {
    return read_string(key_, subkey, name, data);
  }

  // Writes a REG_SZ value below the sandbox's "HKEY_LOCAL_MACHINE".
  bool write_string(const char* subkey, const char* name, const std::string& data) const {
    return RegSetKeyValueA(key_, subkey, name, REG_SZ, data.c_str(),
                           static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
  }

  static bool read_string(HKEY root, const char* subkey, const char* name, std::string& data) {
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(root, subkey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
      return false;
    data = buffer;
    return true;
  }

 private:
  std::string path_;
  HKEY key_ = nullptr;
  bool active_ = false;
};

}  // namespace engine_test
