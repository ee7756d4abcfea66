// A small bench for looking at push buttons: a top-level test window that counts
// BN_CLICKED, its buttons, and captures of what a button shows on the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/theme_format.h"

namespace velmorin::test {

// The pixels of a window as COLORREF values (0x00BBGGRR), top row first.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    int Count(COLORREF colour) const;
};

// Runs the message loop of this thread until it is empty, then a little longer.
void PumpMessages(DWORD milliseconds = 50);

// What the screen shows of the window, after it has painted itself.
Capture CaptureFromScreen(HWND window);
// What the window draws through WM_PRINT (works for windows of other threads too).
Capture CaptureByPrinting(HWND window);

// A visible top-level window at a fixed place on the screen, counting BN_CLICKED.
class ButtonBench {
public:
    ButtonBench();
    ButtonBench(const ButtonBench&) = delete;
    ButtonBench& operator=(const ButtonBench&) = delete;
    ~ButtonBench();

    HWND window() const { return window_; }
    // A child "BUTTON" with the given style (WS_CHILD | WS_VISIBLE | WS_TABSTOP added).
    HWND AddButton(const char* text, DWORD style, int id);
    int Clicks(int id) const;

private:
    HWND window_ = nullptr;
};

// A theme whose colours appear nowhere in the system's own drawing.
skin::Theme DistinctTheme();
// The theme as file text.
std::vector<unsigned char> ThemeText(const skin::Theme& theme);
// Writes bytes to a file; false when it cannot.
bool WriteBytes(const char* path, const std::vector<unsigned char>& bytes);
// A fresh folder under the temporary directory, with a trailing backslash.
std::string ScratchFolder(const char* name);

}  // namespace velmorin::test
