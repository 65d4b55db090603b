#include "startup/command_line.h"

#include <algorithm>

namespace tessarel {
namespace {

std::wstring& stored_letters() {
  static std::wstring letters;
  return letters;
}

}  // namespace

void store_command_line(const wchar_t* text) {
  std::wstring& letters = stored_letters();
  letters = text ? text : L"";
  letters.erase(std::remove(letters.begin(), letters.end(), L' '), letters.end());
}

const std::wstring& command_line_letters() { return stored_letters(); }

}  // namespace tessarel
