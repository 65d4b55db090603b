#include "registry_sandbox/registry_sandbox.h"

#include <atomic>

#include "process_tag/process_tag.h"

namespace tessarel::testing {

namespace {

std::atomic<unsigned> sandboxes_made{0};

// The sandbox key's name for a root; nullptr for a root that cannot be
// redirected here.
const char* root_name(HKEY root) {
  if (root == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
  if (root == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
  if (root == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
  return nullptr;
}

}  // namespace

registry_sandbox::registry_sandbox(std::initializer_list<HKEY> roots)
    : path_("Software\\TessarelTests\\" + process_tag() + "_" +
            std::to_string(sandboxes_made.fetch_add(1))) {
  RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());  // left by an earlier process
  active_ = roots.size() != 0;
  // Every sandbox key is opened before any root is redirected: they live
  // below HKEY_CURRENT_USER, which may be one of the roots.
  for (const HKEY root : roots) {
    const char* name = root_name(root);
    HKEY opened = nullptr;
    if (!name || key(root) ||
        RegCreateKeyExA(HKEY_CURRENT_USER, (path_ + "\\" + name).c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &opened, nullptr) != ERROR_SUCCESS) {
      active_ = false;
      continue;
    }
    redirections_.push_back({root, unique_key(opened), false});
  }
  for (redirection& r : redirections_) {
    r.overridden = RegOverridePredefKey(r.root, r.key.get()) == ERROR_SUCCESS;
    if (!r.overridden) active_ = false;
  }
}

registry_sandbox::~registry_sandbox() {
  // The real HKEY_CURRENT_USER back before the sandbox below it goes.
  for (redirection& r : redirections_)
    if (r.overridden) RegOverridePredefKey(r.root, nullptr);
  redirections_.clear();
  RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
}

HKEY registry_sandbox::key(HKEY root) const {
  for (const redirection& r : redirections_)
    if (r.root == root) return r.key.get();
  return nullptr;
}

bool registry_sandbox::read_string(HKEY root, const char* subkey, const char* name,
                                   std::string& data) const {
  const HKEY sandbox = key(root);
  return sandbox && read_registry_string(sandbox, subkey, name, data);
}

bool registry_sandbox::write_string(HKEY root, const char* subkey, const char* name,
                                    const std::string& data) const {
  const HKEY sandbox = key(root);
  return sandbox && RegSetKeyValueA(sandbox, subkey, name, REG_SZ, data.c_str(),
                                    static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool read_registry_string(HKEY key, const char* subkey, const char* name, std::string& data) {
  char buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueA(key, subkey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return false;
  data = buffer;
  return true;
}

}  // namespace tessarel::testing
