#include "options/option_flags_file.h"

#include "files/stdio_file.h"

namespace dravik {

bool read_option_flags_file(const std::string& path, const option_flag_refs& flags) {
  const stdio_file file = open_stdio_file(path, "rb");
  if (!file) return false;
  if (std::fseek(file.get(), option_flags_offset, SEEK_SET) != 0) return true;
  for (int* flag : {&flags.auto_run, &flags.logout, &flags.restart, &flags.companion_run}) {
    const int byte = std::fgetc(file.get());
    if (byte == EOF) break;
    // Any byte but 0 is on: a flag of 2 would show as an odd check box and
    // differ from every answer the dialogs give.
    *flag = byte != 0 ? 1 : 0;
  }
  return true;
}

bool write_option_flags_file(const std::string& path, const option_flag_refs& flags) {
  // "r+b" opens an existing file for update: it neither creates nor
  // truncates, so bytes 0 to 8 keep what they hold.
  stdio_file file = open_stdio_file(path, "r+b");
  if (!file) return false;
  if (std::fseek(file.get(), option_flags_offset, SEEK_SET) != 0) return false;
  bool written = true;
  for (const int flag : {flags.auto_run, flags.logout, flags.restart, flags.companion_run})
    written = std::fputc(flag & 0xFF, file.get()) != EOF && written;
  return close_stdio_file(std::move(file)) && written;
}

}  // namespace dravik
