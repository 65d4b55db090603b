#pragma once
// Redirects chosen predefined registry roots of this process to keys of
// their own for the life of the object, so what the code under test writes
// below HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER or HKEY_CLASSES_ROOT lands in
// the sandbox and the prefix's real keys stay untouched.
//
//   registry_sandbox sandbox{HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT};
//   ASSERT_TRUE(sandbox.active());
//
// The sandbox keys live below the real HKEY_CURRENT_USER and are deleted,
// with everything in them, when the object goes. One sandbox at a time per
// process, made and destroyed on one thread while no other thread uses the
// registry: the redirection is process-wide, and a key opened before it
// (or after it ends) is the real one.

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace tessarel::testing {

class registry_sandbox {
 public:
  // Redirects each root given; only the three above can be.
  explicit registry_sandbox(std::initializer_list<HKEY> roots);
  // Ends every redirection, then deletes the sandbox keys.
  ~registry_sandbox();
  registry_sandbox(const registry_sandbox&) = delete;
  registry_sandbox& operator=(const registry_sandbox&) = delete;

  // True when every root given is redirected.
  bool active() const { return active_; }

  // The key that stands for root (itself never redirected); nullptr for a
  // root this sandbox does not redirect.
  HKEY key(HKEY root) const;

  // Below the real HKEY_CURRENT_USER: the key that holds one sandbox key per
  // redirected root.
  const std::string& path() const { return path_; }

  // A REG_SZ value below root's sandbox key; false when absent.
  bool read_string(HKEY root, const char* subkey, const char* name, std::string& data) const;
  // Writes a REG_SZ value below root's sandbox key, making the subkey.
  bool write_string(HKEY root, const char* subkey, const char* name,
                    const std::string& data) const;

 private:
  struct key_closer {
    void operator()(HKEY key) const { RegCloseKey(key); }
  };
  using unique_key = std::unique_ptr<std::remove_pointer_t<HKEY>, key_closer>;

  struct redirection {
    HKEY root;
    unique_key key;
    bool overridden;
  };

  std::string path_;
  std::vector<redirection> redirections_;
  bool active_ = false;
};

// A REG_SZ value below key (a root as this process sees it now, or any open
// key); false when absent.
bool read_registry_string(HKEY key, const char* subkey, const char* name, std::string& data);

}  // namespace tessarel::testing
