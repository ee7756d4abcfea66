// TransLabel: window class, creation and painting.
#include "controls/trans_label.h"

#include <string>

#include "platform/handles.h"
#include "controls/window_class.h"

namespace velmorin {
namespace {

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void OnPaint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    RECT client;
    ::GetClientRect(window, &client);
    PaintTransLabel(dc, client, WindowText(window));
    ::EndPaint(window, &ps);
}

LRESULT CALLBACK TransLabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint(window);
            return 0;
        default:
            return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterTransLabelClass() {
    static const bool registered =
        RegisterOwnClass(kTransLabelClass, TransLabelProc, ::LoadCursorA(nullptr, IDC_ARROW));
    return registered;
}

HWND CreateTransLabel(HWND parent, const RECT& rect, std::string_view text, int id) {
    if (!RegisterTransLabelClass()) return nullptr;
    const std::string caption(text);
    return ::CreateWindowExA(kTransLabelExStyle, kTransLabelClass, caption.c_str(), kTransLabelStyle, rect.left,
                             rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
}

void PaintTransLabel(HDC dc, const RECT& client, std::string_view text) {
    if (text.empty()) return;
    DrawGuiText(dc, client, text, kTransLabelColour, kTransLabelDrawFlags);
}

}  // namespace velmorin
