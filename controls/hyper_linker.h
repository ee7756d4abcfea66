// HyperLinker: a one-line link that turns its hover colour under the mouse, opens its
// target with the shell on a click and remembers whether that open worked (visited).
#pragma once

#include <windows.h>

#include <string_view>

namespace velmorin {

inline constexpr char kHyperLinkerClass[] = "VelmorinHyperLinker";
inline constexpr COLORREF kLinkNormalColour = RGB(0, 0, 255);
inline constexpr COLORREF kLinkVisitedColour = RGB(128, 0, 0);
inline constexpr COLORREF kLinkHoverColour = RGB(49, 106, 197);
inline constexpr UINT kLinkDrawFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;  // 0x925
inline constexpr DWORD kHyperLinkerStyle = WS_CHILD | WS_CLIPSIBLINGS;                                    // 0x44000000
inline constexpr WORD kPointingHandCursor = 1032;  // cursor group in the program's resources

struct LinkFlags {
    bool hover = false;
    bool visited = false;
};

// Hover wins over visited, visited over normal.
COLORREF LinkTextColour(LinkFlags flags);

bool RegisterHyperLinkerClass();

// Creates the link hidden, as a child of the parent at the rectangle, showing the
// caption and opening the target when clicked; null when it cannot be created.
HWND CreateHyperLinker(HWND parent, const RECT& rect, std::string_view caption, std::string_view target, int id);

// The flags of a link window (both false for any other window).
LinkFlags HyperLinkerFlags(HWND link);

// Fills the area with the button-face colour and draws the caption centred in the
// client rectangle in the given colour.
void PaintHyperLinker(HDC dc, const RECT& client, const RECT& area, std::string_view caption, COLORREF colour);

}  // namespace velmorin
