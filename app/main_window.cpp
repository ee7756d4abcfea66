// MainWindow: creation from the description, painting, focus, keys and closing.
#include "app/main_window.h"

#include <array>

#include "app/shell.h"
#include "app/window_description.h"
#include "controls/hyper_linker.h"
#include "controls/trans_label.h"
#include "platform/handles.h"
#include "controls/window_class.h"

namespace velmorin {
namespace {

struct MainWindowState {
    HWND window = nullptr;
    std::array<HWND, kEntryCount> controls{};
    HWND rememberedFocus = nullptr;
};

MainWindowState g_state;

// Both sizes of the program icon, loaded once and kept for the life of the process.
HICON ProgramIcon(int size) {
    return static_cast<HICON>(
        ::LoadImageA(::GetModuleHandleA(nullptr), kProgramIconName, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
HICON BigIcon() {
    static const HICON icon = ProgramIcon(32);
    return icon;
}
HICON SmallIcon() {
    static const HICON icon = ProgramIcon(16);
    return icon;
}

RECT EntryRect(const WindowEntry& entry) {
    return RECT{entry.left, entry.top, entry.left + entry.width, entry.top + entry.height};
}

std::size_t EntryOf(HWND control) {
    for (std::size_t i = 1; i < kEntryCount; ++i) {
        if (control != nullptr && g_state.controls[i] == control) return i;
    }
    return 0;
}

bool ControlUsable(std::size_t entry) {
    HWND control = g_state.controls[entry];
    return control != nullptr && ::IsWindowVisible(control) && ::IsWindowEnabled(control);
}

std::vector<std::size_t> LiveFocusOrder() {
    return FocusOrder(kWindowDescription, ControlUsable);
}

HWND CreateButton(HWND parent, const WindowEntry& entry, std::size_t index) {
    const RECT r = EntryRect(entry);
    HWND button = ::CreateWindowExA(0, "BUTTON", entry.text, kButtonStyle, r.left, r.top, entry.width, entry.height,
                                    parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index))),
                                    ::GetModuleHandleA(nullptr), nullptr);
    if (button != nullptr)
        ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return button;
}

HWND CreateControl(HWND parent, std::size_t index) {
    const WindowEntry& entry = kWindowDescription[index];
    switch (entry.kind) {
        case ControlKind::PushButton:
            return CreateButton(parent, entry, index);
        case ControlKind::TransLabel:
            return CreateTransLabel(parent, EntryRect(entry), entry.text, ControlId(index));
        case ControlKind::HyperLinker:
            return CreateHyperLinker(parent, EntryRect(entry), entry.text, entry.target, ControlId(index));
        case ControlKind::MainWindow:
            break;
    }
    return nullptr;
}

bool RegisterMainWindowClass();

// Controls are created from the last entry to the first, hidden; then stacked in table
// order (entry 1 on top) and shown without activation.
bool CreateControls(HWND window) {
    for (std::size_t i = kEntryCount; i-- > 1;) {
        g_state.controls[i] = CreateControl(window, i);
        if (g_state.controls[i] == nullptr) return false;
    }
    constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    ::SetWindowPos(g_state.controls[1], HWND_TOP, 0, 0, 0, 0, kKeepPlace);
    for (std::size_t i = 2; i < kEntryCount; ++i) {
        ::SetWindowPos(g_state.controls[i], g_state.controls[i - 1], 0, 0, 0, 0, kKeepPlace);
    }
    for (std::size_t i = 1; i < kEntryCount; ++i) {
        if (kWindowDescription[i].visible) ::ShowWindow(g_state.controls[i], SW_SHOWNA);
    }
    return true;
}

void SetFocusTo(std::size_t entry) {
    if (entry != 0) ::SetFocus(g_state.controls[entry]);
}

// -- window procedure handlers --

void OnPaint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    PaintMainWindow(dc, ps.rcPaint);
    ::EndPaint(window, &ps);
}

void OnSetFocus(HWND window) {
    HWND remembered = std::exchange(g_state.rememberedFocus, nullptr);
    if (remembered != nullptr && ::IsWindow(remembered) && ::IsChild(window, remembered)) {
        ::SetFocus(remembered);
        return;
    }
    const auto order = LiveFocusOrder();
    if (!order.empty()) SetFocusTo(order.front());
}

void OnActivate(HWND window, WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE) return;
    HWND focus = ::GetFocus();
    if (focus != nullptr && ::IsChild(window, focus)) g_state.rememberedFocus = focus;
}

void OnCommand(WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED) return;
    const int id = LOWORD(wParam);
    if (id <= kFirstControlId || id >= ControlId(kEntryCount)) return;
    const WindowEntry& entry = kWindowDescription[static_cast<std::size_t>(id - kFirstControlId)];
    if (entry.kind == ControlKind::PushButton && entry.click != nullptr) entry.click();
}

void OnNcDestroy() {
    g_state = MainWindowState{};
    NoteWindowDestroyed();
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            NoteWindowCreated();
            break;
        case WM_PAINT:
            OnPaint(window);
            return 0;
        case WM_SETFOCUS:
            OnSetFocus(window);
            return 0;
        case WM_ACTIVATE:
            OnActivate(window, wParam);
            break;
        case WM_COMMAND:
            OnCommand(wParam);
            return 0;
        case WM_CLOSE:
            ::DestroyWindow(window);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_NCDESTROY:
            ::DefWindowProcA(window, message, wParam, lParam);
            OnNcDestroy();
            return 0;
        default:
            break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterMainWindowClass() {
    static const bool registered = RegisterOwnClass(kMainWindowClass, MainWindowProc, ::LoadCursorA(nullptr, IDC_ARROW),
                                                    static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
    return registered;
}

}  // namespace

HWND MainWindowHandle() {
    return g_state.window;
}

HWND ControlWindow(std::size_t entry) {
    return entry < kEntryCount ? g_state.controls[entry] : nullptr;
}

void PaintMainWindow(HDC dc, const RECT& area) {
    const UniqueGdiObject brush(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
    ::FillRect(dc, &area, static_cast<HBRUSH>(brush.Get()));
}

bool CreateMainWindow() {
    if (!RegisterMainWindowClass()) return false;
    const WindowEntry& frame = kWindowDescription[0];
    const POINT origin =
        CentredOrigin(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), frame.width, frame.height);
    HWND window = ::CreateWindowExA(0, kMainWindowClass, frame.text, kMainWindowStyle, origin.x, origin.y, frame.width,
                                    frame.height, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) return false;
    g_state.window = window;

    RECT placed;
    ::GetWindowRect(window, &placed);
    if (placed.right - placed.left != frame.width || placed.bottom - placed.top != frame.height) {
        ::MoveWindow(window, origin.x, origin.y, frame.width, frame.height, TRUE);
    }
    ::SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(BigIcon()));
    ::SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(SmallIcon()));
    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);

    if (!CreateControls(window)) {
        ::DestroyWindow(window);  // never shown with only a part of its controls
        return false;
    }
    ::ShowWindow(window, SW_SHOW);
    return true;
}

bool PreTranslateWindowMessage(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    HWND window = g_state.window;
    if (window == nullptr || (message.hwnd != window && !::IsChild(window, message.hwnd))) return false;
    const bool altHeld =
        ::GetKeyState(VK_MENU) < 0 || (message.message == WM_SYSKEYDOWN && (message.lParam & (1 << 29)));
    const KeyChord chord{static_cast<UINT>(message.wParam), ::GetKeyState(VK_CONTROL) < 0, ::GetKeyState(VK_SHIFT) < 0,
                         altHeld};
    switch (ActionForKey(chord)) {
        case KeyAction::NextControl:
            SetFocusTo(StepFocus(LiveFocusOrder(), EntryOf(::GetFocus()), true));
            return true;
        case KeyAction::PreviousControl:
            SetFocusTo(StepFocus(LiveFocusOrder(), EntryOf(::GetFocus()), false));
            return true;
        case KeyAction::CloseWindow:
            ::SendMessageA(window, WM_CLOSE, 0, 0);
            return true;
        case KeyAction::None:
            break;
    }
    return false;
}

}  // namespace velmorin
