#pragma once
// Every registry test of the categories runs in here: the three roots are
// redirected to a sandbox of their own (checked before anything is written),
// canary keys and values outside the categories are written first and must
// come out of every run unchanged, and files for the path checks live in a
// scratch folder (a Windows drive path under Wine).

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "registry_sandbox/registry_sandbox.h"
#include "scratch_folder/scratch_folder.h"

namespace regscan::testing {

// ASCII of a text for failure messages ('?' for the rest).
std::string narrow(const std::wstring& text);

// The bytes of a wide text, with its terminator unless told otherwise.
std::vector<BYTE> text_bytes(const std::wstring& text, bool terminated = true);

// Through the (redirected) root, making the key.
void set_value(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type,
               const std::vector<BYTE>& bytes);
void set_text(HKEY root, const std::wstring& key, const std::wstring& name,
              const std::wstring& text, DWORD type = REG_SZ);
void make_key(HKEY root, const std::wstring& key);
bool key_exists(HKEY root, const std::wstring& key);
bool value_exists(HKEY root, const std::wstring& key, const std::wstring& name);

class SandboxedRegistry : public ::testing::Test {
 public:
  // scratch folder + name, as a wide Windows path; the folder without its
  // trailing backslash when name is empty.
  std::wstring path(const std::wstring& name = L"") const;
  void make_file(const std::wstring& name) const;
  void make_folder(const std::wstring& name) const;

 protected:
  void SetUp() override;
  void TearDown() override;

  // Every key and value of the three sandbox keys, one line each, read
  // through the sandbox keys themselves (never redirected).
  std::set<std::wstring> snapshot() const;

  std::unique_ptr<tessarel::testing::registry_sandbox> sandbox;
  std::unique_ptr<tessarel::testing::scratch_folder> scratch;

 private:
  std::set<std::wstring> canaries_;
};

}  // namespace regscan::testing
