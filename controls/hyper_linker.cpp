// HyperLinker: window class, state, mouse handling and painting.
#include "controls/hyper_linker.h"

#include <memory>
#include <string>

#include "controls/link_target.h"
#include "platform/handles.h"
#include "controls/window_class.h"

namespace velmorin {
namespace {

struct LinkState {
    std::string target;
    LinkFlags flags;
};

LinkState* StateOf(HWND window) {
    return reinterpret_cast<LinkState*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
}

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HCURSOR PointingHand() {
    HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kPointingHandCursor));
    return hand != nullptr ? hand : ::LoadCursorA(nullptr, IDC_HAND);
}

// Each window gets its own copy of the state handed over at creation and frees it at
// WM_NCDESTROY, whatever happens to the creation afterwards.
LRESULT OnNcCreate(HWND window, const CREATESTRUCTA& create) {
    const auto* initial = static_cast<const LinkState*>(create.lpCreateParams);
    auto state = std::make_unique<LinkState>(initial != nullptr ? *initial : LinkState{});
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
    return ::DefWindowProcA(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create));
}

void OnNcDestroy(HWND window) {
    std::unique_ptr<LinkState> state(StateOf(window));
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

void OnPaint(HWND window, LinkState& state) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    RECT client;
    ::GetClientRect(window, &client);
    PaintHyperLinker(dc, client, ps.rcPaint, WindowText(window), LinkTextColour(state.flags));
    ::EndPaint(window, &ps);
}

// The first move over the link lights it and captures the mouse, so that the move that
// leaves the link is seen too and puts the colour back.
void OnMouseMove(HWND window, LinkState& state, POINT point) {
    if (!state.flags.hover) {
        state.flags.hover = true;
        ::InvalidateRect(window, nullptr, FALSE);
        ::SetCapture(window);
        return;
    }
    RECT client;
    ::GetClientRect(window, &client);
    if (!::PtInRect(&client, point)) {
        state.flags.hover = false;
        ::ReleaseCapture();
        ::InvalidateRect(window, nullptr, FALSE);
    } else if (::GetCapture() != window) {
        ::SetCapture(window);
    }
}

// The capture can be taken away (a message box, another window): the link is then no
// longer lit.
void OnCaptureChanged(HWND window, LinkState& state, HWND newOwner) {
    if (newOwner == window || !state.flags.hover) return;
    state.flags.hover = false;
    ::InvalidateRect(window, nullptr, FALSE);
}

void OnLeftButtonDown(HWND window, LinkState& state) {
    state.flags.visited = OpenLinkTarget(state.target, SW_SHOW);
    ::InvalidateRect(window, nullptr, FALSE);
}

POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

LRESULT CALLBACK HyperLinkerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) return OnNcCreate(window, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
    LinkState* state = StateOf(window);
    if (state == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            OnPaint(window, *state);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(window, *state, PointOf(lParam));
            return 0;
        case WM_CAPTURECHANGED:
            OnCaptureChanged(window, *state, reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_LBUTTONDOWN:
            OnLeftButtonDown(window, *state);
            return 0;
        case WM_NCDESTROY:
            OnNcDestroy(window);
            return 0;
        default:
            return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

COLORREF LinkTextColour(LinkFlags flags) {
    if (flags.hover) return kLinkHoverColour;
    if (flags.visited) return kLinkVisitedColour;
    return kLinkNormalColour;
}

bool RegisterHyperLinkerClass() {
    static const bool registered = RegisterOwnClass(kHyperLinkerClass, HyperLinkerProc, PointingHand());
    return registered;
}

HWND CreateHyperLinker(HWND parent, const RECT& rect, std::string_view caption, std::string_view target, int id) {
    if (!RegisterHyperLinkerClass()) return nullptr;
    LinkState initial{std::string(target), {}};
    const std::string text(caption);
    return ::CreateWindowExA(0, kHyperLinkerClass, text.c_str(), kHyperLinkerStyle, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), &initial);
}

LinkFlags HyperLinkerFlags(HWND link) {
    char className[64] = {};
    ::GetClassNameA(link, className, sizeof className);
    if (lstrcmpA(className, kHyperLinkerClass) != 0) return {};
    const LinkState* state = StateOf(link);
    return state != nullptr ? state->flags : LinkFlags{};
}

void PaintHyperLinker(HDC dc, const RECT& client, const RECT& area, std::string_view caption, COLORREF colour) {
    {
        const UniqueGdiObject brush(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
        const SelectedObject selected(dc, brush.Get());
        ::PatBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, PATCOPY);
    }
    DrawGuiText(dc, client, caption, colour, kLinkDrawFlags);
}

}  // namespace velmorin
