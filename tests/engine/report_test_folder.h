#pragma once
// A folder of its own for each report test, standing in for the application
// folder: templates go in, pages come out, everything is removed afterwards.

#include <windows.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace dravik_test {

class report_test_folder {
 public:
  report_test_folder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    path_ = std::string(temp) + "dravik_reports_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++serial) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~report_test_folder() {
    for (const std::string& name : files()) {
      SetFileAttributesA((path_ + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA((path_ + name).c_str());
    }
    RemoveDirectoryA(path_.c_str());
  }
  report_test_folder(const report_test_folder&) = delete;
  report_test_folder& operator=(const report_test_folder&) = delete;

  // With its trailing backslash, as the engine keeps its application folder.
  const std::string& path() const { return path_; }

  void write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ + name, std::ios::binary) << text;
  }

  std::optional<std::string> read(const std::string& name) const {
    std::ifstream in(path_ + name, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::vector<std::string> files() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path_ + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
  }

 private:
  std::string path_;
};

// The templates the report tests use: short, so a page can be compared whole.
inline void write_test_templates(const report_test_folder& folder) {
  folder.write("analysisreportmodel.html", "<html>\r\n<!--table-->\r\n</html>");
  folder.write("defragreportmodel.html", "<html>defrag<!--table--></html>");
  folder.write("registryreportmodel.html", "<p><!--errors--></p><!--table-->");
  folder.write("analysisreporttopmodel.html", "<tr><!--partitionlist--></tr>");
  folder.write("defragreporttopmodel.html", "<tr class=d><!--partitionlist--></tr>");
}

}  // namespace dravik_test
