#include "test_folder.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace dravik_test {

namespace {

std::atomic<unsigned> folders_made{0};

}  // namespace

test_folder::test_folder() {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  char name[64];
  std::snprintf(name, sizeof name, "dravik_test_%lu_%u\\", GetCurrentProcessId(),
                folders_made.fetch_add(1));
  path_ = std::string(temp) + name;
  std::filesystem::remove_all(path_);
  if (!std::filesystem::create_directories(path_)) {
    throw std::runtime_error("cannot create the test folder " + path_);
  }
}

test_folder::~test_folder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void test_folder::write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> test_folder::read(const std::string& name) const {
  std::ifstream in(file(name), std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool test_folder::exists(const std::string& name) const {
  return std::filesystem::exists(file(name));
}

}  // namespace dravik_test
