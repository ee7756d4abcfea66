// Runs the program's start-up with a window that cannot be built, so that the test can
// watch the fatal-error report that follows from outside.
#include <windows.h>

#include "app/shell.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return velmorin::RunProgram([] { return false; });
}
