// MainWindow: the program's one top-level window, built from the window description,
// with its focus rule and keyboard handling.
#pragma once

#include <windows.h>

#include <cstddef>

namespace velmorin {

inline constexpr char kMainWindowClass[] = "VelmorinMainWindow";
inline constexpr char kProgramIconName[] = "DEFAULT_ICON";

// Builds the window and its controls, shows it and returns true; false (with nothing
// left on the screen) when the window or any control cannot be created.
bool CreateMainWindow();

// The message loop offers every message here first; true means handled.
bool PreTranslateWindowMessage(const MSG& message);

// The live window and the control of a description entry (null when not there).
HWND MainWindowHandle();
HWND ControlWindow(std::size_t entry);

// Paints the area with the window's background colour (the button face).
void PaintMainWindow(HDC dc, const RECT& area);

}  // namespace velmorin
