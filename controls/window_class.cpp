// Class registration and text drawing shared by the main window and the controls.
#include "controls/window_class.h"

#include "platform/handles.h"

namespace velmorin {

bool RegisterOwnClass(const char* name, WNDPROC procedure, HCURSOR cursor, HBRUSH background) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return ::RegisterClassExA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void DrawGuiText(HDC dc, const RECT& area, std::string_view text, COLORREF colour, UINT format) {
    const SelectedObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, colour);
    RECT drawn = area;
    ::DrawTextA(dc, text.data(), static_cast<int>(text.size()), &drawn, format);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
}

}  // namespace velmorin
