#include "scratch_folder/scratch_folder.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <stdexcept>

#include "process_tag/process_tag.h"

namespace tessarel::testing {

namespace {

std::atomic<unsigned> folders_made{0};

// Read-only files too: some tests leave the engine's files read-only. Wide,
// so that names the ANSI code page lacks go as well.
void remove_tree(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        remove_tree(path + L"\\");
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

void remove_tree(const std::string& folder) {
  std::wstring wide(folder.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, folder.data(),
                                                           static_cast<int>(folder.size()),
                                                           wide.data(),
                                                           static_cast<int>(wide.size()))));
  remove_tree(wide);
}

void write_file(const std::string& path, const void* bytes, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::fwrite(bytes, 1, size, file);
  std::fclose(file);
}

}  // namespace

scratch_folder::scratch_folder() {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + process_tag() + "_" + std::to_string(folders_made.fetch_add(1)) +
          "\\";
  // A folder left by an earlier process with the same id goes first.
  remove_tree(path_);
  if (!CreateDirectoryA(path_.c_str(), nullptr))
    throw std::runtime_error("cannot create the test folder " + path_);
}

scratch_folder::~scratch_folder() { remove_tree(path_); }

void scratch_folder::write(const std::string& name, const std::string& bytes) const {
  write_file(file(name), bytes.data(), bytes.size());
}

void scratch_folder::write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  write_file(file(name), bytes.data(), bytes.size());
}

void scratch_folder::write(const std::string& name, std::initializer_list<uint8_t> bytes) const {
  write_file(file(name), bytes.begin(), bytes.size());
}

std::optional<std::string> scratch_folder::read(const std::string& name) const {
  std::FILE* file = std::fopen(this->file(name).c_str(), "rb");
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  std::fclose(file);
  return bytes;
}

std::vector<uint8_t> scratch_folder::read_bytes(const std::string& name) const {
  const std::string bytes = read(name).value_or(std::string());
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

bool scratch_folder::exists(const std::string& name) const {
  return GetFileAttributesA(file(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> scratch_folder::files() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA((path_ + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

}  // namespace tessarel::testing
