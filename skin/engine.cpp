// The skin engine DLL: SkinH_AttachEx reads a .she theme and installs a creation hook
// on the calling thread, so that every push button created there from then on (the
// program's own and those of its message boxes) is subclassed and drawn flat in the
// theme's colours. The button's own window procedure keeps all its behaviour:
// clicks, Space, BN_CLICKED, focus, Tab order, text and font; only the drawing changes.
#include <windows.h>

#include "platform/handles.h"
#include "skin/theme_format.h"

namespace {

using velmorin::SelectedObject;
using velmorin::UniqueGdiObject;
using velmorin::UniqueHandle;
using velmorin::UniqueOwner;
namespace skin = velmorin::skin;

enum SkinResult : int {
    kSkinNoPath = 1,
    kSkinUnreadable = 2,
    kSkinHookFailed = 11,
    kSkinOtherThread = 12,
};

// A themed button keeps its own window procedure and the engine's flags in two window
// properties; no common-controls library is needed for that.
constexpr wchar_t kOwnProcProperty[] = L"VelmorinSkin.Proc";
constexpr wchar_t kFlagsProperty[] = L"VelmorinSkin.Flags";
constexpr DWORD_PTR kHovering = 1;  // the mouse is over the button

inline void DeleteMemoryDc(HDC dc) {
    ::DeleteDC(dc);
}
using UniqueMemoryDc = UniqueOwner<HDC, DeleteMemoryDc>;

// All state of the engine; it serves one thread at a time.
skin::Theme g_theme;
HHOOK g_hook = nullptr;
DWORD g_thread = 0;

LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);

WNDPROC OwnProc(HWND button) {
    return reinterpret_cast<WNDPROC>(::GetPropW(button, kOwnProcProperty));
}
DWORD_PTR FlagsOf(HWND button) {
    return reinterpret_cast<DWORD_PTR>(::GetPropW(button, kFlagsProperty));
}

void Subclass(HWND button) {
    if (OwnProc(button) != nullptr) return;
    const LONG_PTR own = ::GetWindowLongPtrW(button, GWLP_WNDPROC);
    if (own == 0 || !::SetPropW(button, kOwnProcProperty, reinterpret_cast<HANDLE>(own))) return;
    ::SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonProc));
}

// Gives the button its own procedure back; false when it was not themed.
bool Unsubclass(HWND button) {
    const WNDPROC own = OwnProc(button);
    if (own == nullptr) return false;
    if (::GetWindowLongPtrW(button, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(ButtonProc)) {
        ::SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
    }
    ::RemovePropW(button, kOwnProcProperty);
    ::RemovePropW(button, kFlagsProperty);
    return true;
}

// A "Button" class window with a push-button style and no image of its own.
bool IsThemedButton(HWND window, LONG style) {
    wchar_t className[16] = {};
    if (::GetClassNameW(window, className, 16) == 0) return false;
    if (::lstrcmpiW(className, L"Button") != 0) return false;
    const LONG type = style & BS_TYPEMASK;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) return false;
    return (style & (BS_BITMAP | BS_ICON)) == 0;
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        if (IsThemedButton(window, create->lpcs->style)) {
            Subclass(window);
        }
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

skin::ButtonState StateOf(HWND button, DWORD_PTR flags) {
    if (!::IsWindowEnabled(button)) return skin::kStateDisabled;
    if (::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) return skin::kStatePressed;
    if (flags & kHovering) return skin::kStateHover;
    return skin::kStateNormal;
}

void FillSolid(HDC dc, const RECT& area, COLORREF colour) {
    UniqueGdiObject brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &area, static_cast<HBRUSH>(brush.Get()));
}

// A frame of the given thickness inside the rectangle.
void FrameSolid(HDC dc, RECT area, COLORREF colour, int thickness) {
    UniqueGdiObject brush(::CreateSolidBrush(colour));
    for (int i = 0; i < thickness && area.right > area.left && area.bottom > area.top; ++i) {
        ::FrameRect(dc, &area, static_cast<HBRUSH>(brush.Get()));
        ::InflateRect(&area, -1, -1);
    }
}

UINT TextFormat(LONG style, LRESULT uiState) {
    UINT format = DT_CENTER;
    if ((style & BS_CENTER) == BS_LEFT) format = DT_LEFT;
    if ((style & BS_CENTER) == BS_RIGHT) format = DT_RIGHT;
    format |= (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    if (uiState & UISF_HIDEACCEL) format |= DT_HIDEPREFIX;
    return format;
}

void PaintText(HWND button, HDC dc, RECT area, COLORREF colour, LONG style, LRESULT uiState) {
    const int length = ::GetWindowTextLengthW(button);
    if (length <= 0) return;
    wchar_t stackText[128];
    wchar_t* text = stackText;
    HANDLE heap = ::GetProcessHeap();
    if (length >= 128) {
        text = static_cast<wchar_t*>(::HeapAlloc(heap, 0, (length + 1) * sizeof(wchar_t)));
        if (text == nullptr) return;
    }
    const int copied = ::GetWindowTextW(button, text, length + 1);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageW(button, WM_GETFONT, 0, 0));
    if (font == nullptr) font = ::GetStockObject(SYSTEM_FONT);
    {
        SelectedObject selected(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, colour);
        const UINT format = TextFormat(style, uiState);
        if (format & DT_WORDBREAK) {
            // Centre a wrapped text vertically by measuring it first.
            RECT measured = area;
            ::DrawTextW(dc, text, copied, &measured, format | DT_CALCRECT);
            const int spare = (area.bottom - area.top) - (measured.bottom - measured.top);
            if (spare > 0) area.top += spare / 2;
        }
        ::DrawTextW(dc, text, copied, &area, format);
    }
    if (text != stackText) ::HeapFree(heap, 0, text);
}

// Draws the whole button into dc: face, border, text, focus rectangle.
void PaintButton(HWND button, HDC dc, DWORD_PTR flags) {
    RECT area;
    ::GetClientRect(button, &area);
    const LONG style = ::GetWindowLongW(button, GWL_STYLE);
    const skin::ButtonState state = StateOf(button, flags);
    const skin::StateColours& colours = g_theme.states[state];
    const LRESULT uiState = ::SendMessageW(button, WM_QUERYUISTATE, 0, 0);
    const bool focused = ::GetFocus() == button;

    COLORREF border = colours.border;
    if (state == skin::kStateNormal && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        border = g_theme.defaultBorder;
    }
    FillSolid(dc, area, colours.face);
    FrameSolid(dc, area, border, g_theme.borderWidth);
    RECT inner = area;
    ::InflateRect(&inner, -g_theme.borderWidth - 1, -g_theme.borderWidth - 1);
    PaintText(button, dc, inner, colours.text, style, uiState);
    if (focused && state != skin::kStateDisabled && !(uiState & UISF_HIDEFOCUS)) {
        RECT ring = area;
        ::InflateRect(&ring, -g_theme.focusInset, -g_theme.focusInset);
        FrameSolid(dc, ring, g_theme.focus, 1);
    }
}

// Paints through a memory bitmap so the button never flickers through its face.
void PaintBuffered(HWND button, HDC target, DWORD_PTR flags) {
    RECT area;
    ::GetClientRect(button, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    UniqueMemoryDc memory(::CreateCompatibleDC(target));
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(target, width, height));
    if (!memory || !bitmap) {
        PaintButton(button, target, flags);
        return;
    }
    SelectedObject selected(memory.Get(), bitmap.Get());
    PaintButton(button, memory.Get(), flags);
    ::BitBlt(target, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT OnPaint(HWND button, DWORD_PTR flags) {
    PAINTSTRUCT paint;
    if (HDC dc = ::BeginPaint(button, &paint)) {
        PaintBuffered(button, dc, flags);
        ::EndPaint(button, &paint);
    }
    return 0;
}

void SetFlags(HWND button, DWORD_PTR flags) {
    if (flags == 0) {
        ::RemovePropW(button, kFlagsProperty);
    } else {
        ::SetPropW(button, kFlagsProperty, reinterpret_cast<HANDLE>(flags));
    }
}

void OnMouseMove(HWND button, DWORD_PTR flags) {
    if (flags & kHovering) return;
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, button, 0};
    ::TrackMouseEvent(&track);
    SetFlags(button, flags | kHovering);
    ::InvalidateRect(button, nullptr, FALSE);
}

void OnMouseLeave(HWND button, DWORD_PTR flags) {
    SetFlags(button, flags & ~kHovering);
    ::InvalidateRect(button, nullptr, FALSE);
}

// Messages after which the button's own procedure may have drawn its classic look
// straight onto the screen, or the look depends on a changed state.
bool ChangesLook(UINT message) {
    switch (message) {
        case WM_ENABLE:
        case WM_SETTEXT:
        case WM_SETFONT:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case BM_SETSTATE:
        case BM_SETSTYLE:
        case BM_SETCHECK:
        case WM_UPDATEUISTATE:
        case WM_STYLECHANGED:
        case WM_CAPTURECHANGED:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSCOLORCHANGE:
            return true;
        default:
            return false;
    }
}

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC own = OwnProc(button);
    if (own == nullptr) return ::DefWindowProcW(button, message, wParam, lParam);
    const DWORD_PTR flags = FlagsOf(button);
    switch (message) {
        case WM_PAINT:
            return OnPaint(button, flags);
        case WM_PRINTCLIENT:
            PaintBuffered(button, reinterpret_cast<HDC>(wParam), flags);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEMOVE:
            OnMouseMove(button, flags);
            break;
        case WM_MOUSELEAVE:
            OnMouseLeave(button, flags);
            break;
        case WM_NCDESTROY:
            Unsubclass(button);
            return ::CallWindowProcW(own, button, message, wParam, lParam);
        default:
            break;
    }
    const LRESULT result = ::CallWindowProcW(own, button, message, wParam, lParam);
    if (ChangesLook(message) && ::IsWindow(button) && ::IsWindowVisible(button)) {
        ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
    }
    return result;
}

// Visits the windows of the current thread and all their descendants.
BOOL CALLBACK ForChild(HWND window, LPARAM action) {
    reinterpret_cast<void (*)(HWND)>(action)(window);
    return TRUE;
}
BOOL CALLBACK ForTopLevel(HWND window, LPARAM action) {
    reinterpret_cast<void (*)(HWND)>(action)(window);
    ::EnumChildWindows(window, ForChild, action);
    return TRUE;
}
void ForEachThreadWindow(void (*action)(HWND)) {
    ::EnumThreadWindows(::GetCurrentThreadId(), ForTopLevel, reinterpret_cast<LPARAM>(action));
}

void Unskin(HWND window) {
    if (Unsubclass(window)) ::InvalidateRect(window, nullptr, TRUE);
}
void Repaint(HWND window) {
    ::InvalidateRect(window, nullptr, FALSE);
}

// Reads a theme file of at most kMaxThemeSize bytes and parses it.
int LoadTheme(const char* path, skin::Theme& theme) {
    if (path == nullptr || path[0] == '\0') return kSkinNoPath;
    const HANDLE raw =
        ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return kSkinUnreadable;
    UniqueHandle file(raw);
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.Get(), &size)) return kSkinUnreadable;
    if (size.QuadPart > static_cast<LONGLONG>(skin::kMaxThemeSize)) return skin::kThemeTooLarge;
    // One byte more than allowed, so a file that grew since is still caught.
    unsigned char buffer[skin::kMaxThemeSize + 1];
    DWORD read = 0;
    if (!::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr)) return kSkinUnreadable;
    return skin::ParseTheme(buffer, read, theme).status;
}

int Detach() {
    if (g_hook == nullptr || g_thread != ::GetCurrentThreadId()) return 1;
    ::UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    g_thread = 0;
    ForEachThreadWindow(Unskin);
    return 0;
}

}  // namespace

// Applies a theme file to the push buttons created on the calling thread from now on.
// The second text is not used by the .she format; it may be empty or null.
extern "C" int WINAPI SkinH_AttachEx(LPCSTR themePath, LPCSTR /*unused*/) {
    if (g_hook != nullptr && g_thread != ::GetCurrentThreadId()) return kSkinOtherThread;
    skin::Theme theme;
    if (const int status = LoadTheme(themePath, theme); status != 0) return status;
    if (g_hook == nullptr) {
        HHOOK hook = ::SetWindowsHookExW(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId());
        if (hook == nullptr) return kSkinHookFailed;
        g_hook = hook;
        g_thread = ::GetCurrentThreadId();
    }
    g_theme = theme;
    ForEachThreadWindow(Repaint);
    return 0;
}

// Removes the hook and the subclassing on the calling thread; 1 when not attached here.
extern "C" int WINAPI SkinH_Detach() {
    return Detach();
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // Unloaded by FreeLibrary (not at process end): no button may keep a procedure
    // that points into this library.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) Detach();
    return TRUE;
}
