#pragma once
// A registry of every category in the sandbox, built from the cases a scan
// must keep and the ones it must delete, with the files the valid entries
// name in the scratch folder.

#include <string>
#include <utility>
#include <vector>

#include "sandboxed_registry.h"

namespace regscan::testing {

struct corpus_entry {
  const char* what;
  HKEY root;
  std::wstring key;
  std::wstring value;  // the value's name; unused for a key entry
  bool is_key;
  bool valid;          // must survive a scan and clean
};

enum class shell_folders { present, missing, empty };

class CategoryCorpus : public SandboxedRegistry {
 protected:
  void TearDown() override;
  // Writes the corpus; the Start-menu folders' values as told.
  void build(shell_folders folders = shell_folders::present);
  bool present(const corpus_entry& entry) const;
  // Keeps held.exe open for writing without sharing, as another program
  // would, until the test ends.
  void hold_file();
  // A drive letter that names no drive on this machine.
  static wchar_t absent_drive();

  std::vector<corpus_entry> corpus;

 private:
  void add_value(const char* what, HKEY root, const std::wstring& key, const std::wstring& name,
                 DWORD type, const std::vector<BYTE>& bytes, bool valid);
  void add_text(const char* what, HKEY root, const std::wstring& key, const std::wstring& name,
                const std::wstring& text, bool valid, DWORD type = REG_SZ);
  void add_key(const char* what, HKEY root, const std::wstring& key, bool valid);
  void build_files();
  void build_run_and_app_paths();
  void build_classes_and_shared_dlls();
  void build_classes_in_use(const std::wstring& id);
  void build_help_software_and_menu(shell_folders folders);

  HANDLE held_ = INVALID_HANDLE_VALUE;
  std::vector<std::pair<HKEY, std::wstring>> locked_;  // keys nobody may read
};

}  // namespace regscan::testing
