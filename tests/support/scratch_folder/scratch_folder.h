#pragma once
// A fresh folder of the test's own under the temporary folder, removed with
// everything in it when the object goes. Its name holds the executable's
// name, the process id and a serial number, so neither two tests nor two
// test executables running side by side share one. Tests use it as an
// application folder: data files and templates go in, pages come out.
// Paths are ANSI; the test executables run with code page 936.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace tessarel::testing {

class scratch_folder {
 public:
  // Throws std::runtime_error when the folder cannot be made.
  scratch_folder();
  ~scratch_folder();
  scratch_folder(const scratch_folder&) = delete;
  scratch_folder& operator=(const scratch_folder&) = delete;

  // With its trailing backslash, as the engine keeps its application folder.
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + name; }

  // Replaces the file name with these bytes.
  void write(const std::string& name, const std::string& bytes) const;
  void write(const std::string& name, const std::vector<uint8_t>& bytes) const;
  void write(const std::string& name, std::initializer_list<uint8_t> bytes) const;

  // The file's bytes; nothing when the file does not exist.
  std::optional<std::string> read(const std::string& name) const;
  // The file's bytes; none when the file does not exist.
  std::vector<uint8_t> read_bytes(const std::string& name) const;

  bool exists(const std::string& name) const;
  // The names of the files directly in the folder, folders left out.
  std::vector<std::string> files() const;

 private:
  std::string path_;
};

}  // namespace tessarel::testing
