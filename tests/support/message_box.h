// Finding a process's top-level windows, and reading and dismissing its message boxes,
// in this process or another one.
#pragma once

#include <windows.h>

#include <string>

namespace velmorin::test {

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    bool hasIcon = false;  // an icon is shown beside the text
    bool hasOwner = false;
};

// The first visible top-level window of a process that the predicate accepts; null when none.
HWND FindProcessWindow(DWORD processId, bool (*accept)(HWND window));

// Waits up to timeoutMs for a visible dialog-class window of the process; null when none.
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs);
MessageBoxSeen ReadMessageBox(HWND box);
// Presses the box's OK button and waits until the box is gone.
void DismissMessageBox(HWND box);

// Windows form of a Linux path under Wine's Z: drive.
std::string WindowsPath(const std::string& unixPath);

}  // namespace velmorin::test
