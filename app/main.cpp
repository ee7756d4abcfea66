// Velmorin.exe entry: the command line and the start-up show command are not used.
#include <windows.h>

#include "app/main_window.h"
#include "app/shell.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return velmorin::RunProgram(velmorin::CreateMainWindow); }
