// Helpers shared by the program's own window kinds: registering a window class with
// the common class styles, and drawing a text in a colour with the stock GUI font.
#pragma once

#include <windows.h>

#include <string_view>

namespace velmorin {

// Registers a class (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS) of the program's module;
// a null brush means no background brush. True when the class exists afterwards.
bool RegisterOwnClass(const char* name, WNDPROC procedure, HCURSOR cursor, HBRUSH background = nullptr);

// Draws text with DEFAULT_GUI_FONT, a transparent background and the colour given;
// the device context is left as it was found.
void DrawGuiText(HDC dc, const RECT& area, std::string_view text, COLORREF colour, UINT format);

}  // namespace velmorin
