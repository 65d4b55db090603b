#include <windows.h>

#include "window/program_main.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  return tessarel::run_program(instance, command_line);
}
