#pragma once
// A folder of its own under the temporary folder for one test, removed with
// everything in it when the test ends. Plays the application folder.

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

namespace engine_test {

class scratch_folder {
 public:
  scratch_folder() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "tessarel_engine_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~scratch_folder() { remove_tree(path_); }
  scratch_folder(const scratch_folder&) = delete;
  scratch_folder& operator=(const scratch_folder&) = delete;

  // With its trailing backslash, as the engine's application folder.
  const std::string& path() const { return path_; }

  void write(const std::string& name, const std::string& bytes) const {
    std::FILE* file = std::fopen((path_ + name).c_str(), "wb");
    if (!file) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }

  std::string read(const std::string& name) const {
    std::string bytes;
    std::FILE* file = std::fopen((path_ + name).c_str(), "rb");
    if (!file) return bytes;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
  }

  bool exists(const std::string& name) const {
    return GetFileAttributesA((path_ + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

 private:
  static void remove_tree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          remove_tree(folder + name + "\\");
        else
          DeleteFileA((folder + name).c_str());
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
  }

  std::string path_;
};

}  // namespace engine_test
