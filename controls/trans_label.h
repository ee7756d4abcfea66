// TransLabel: a transparent multi-line label that draws its text in red over whatever
// its parent painted beneath it. It never takes the focus and never sends anything.
#pragma once

#include <windows.h>

#include <string_view>

namespace velmorin {

inline constexpr char kTransLabelClass[] = "VelmorinTransLabel";
inline constexpr COLORREF kTransLabelColour = RGB(255, 0, 0);
inline constexpr UINT kTransLabelDrawFlags = DT_LEFT | DT_WORDBREAK | DT_VCENTER | DT_NOCLIP;  // 0x114
inline constexpr DWORD kTransLabelStyle = WS_CHILD | WS_CLIPSIBLINGS;                          // 0x44000000
inline constexpr DWORD kTransLabelExStyle = WS_EX_TRANSPARENT;                                 // 0x20

// Registers the window class once per process; false when that fails.
bool RegisterTransLabelClass();

// Creates the label hidden, as a child of the parent at the rectangle (parent client
// coordinates); null when it cannot be created.
HWND CreateTransLabel(HWND parent, const RECT& rect, std::string_view text, int id);

// Draws the text into the client rectangle; the background is left untouched.
void PaintTransLabel(HDC dc, const RECT& client, std::string_view text);

}  // namespace velmorin
