// Plays the companion "VELTOR.exe" in the engine tests: a windowless process
// that does nothing and runs until it is ended.

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Sleep(INFINITE);
  return 0;
}
