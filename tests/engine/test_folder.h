#pragma once
// A fresh folder of the test's own under the temporary folder, removed with
// everything in it when the test ends. The engine's data files go here.

#include <cstdint>
#include <string>
#include <vector>

namespace dravik_test {

class test_folder {
 public:
  test_folder();
  ~test_folder();
  test_folder(const test_folder&) = delete;
  test_folder& operator=(const test_folder&) = delete;

  // With its trailing backslash.
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + name; }

  void write(const std::string& name, const std::vector<uint8_t>& bytes) const;
  std::vector<uint8_t> read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace dravik_test
