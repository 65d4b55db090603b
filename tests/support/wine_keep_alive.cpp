// Touches the desktop so Wine starts its desktop process, then waits until
// the test script ends it.
#include <windows.h>

int main() {
  GetDesktopWindow();
  Sleep(INFINITE);
  return 0;
}
