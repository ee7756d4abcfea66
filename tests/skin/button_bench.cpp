// The push-button bench: a test window, its buttons and captures of their pixels.
#include "skin/button_bench.h"

#include <map>
#include <string>

namespace velmorin::test {
namespace {

constexpr char kBenchClass[] = "VelmorinButtonBench";
std::map<int, int> g_clicks;

LRESULT CALLBACK BenchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        ++g_clicks[LOWORD(wParam)];
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

COLORREF FromDib(std::uint32_t bgra) { return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF); }

// A top-down 32-bit DIB section selected into a memory DC for the duration.
template <typename Draw>
Capture CaptureWith(int width, int height, Draw draw) {
    Capture capture;
    if (width <= 0 || height <= 0) return capture;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    draw(memory, screen);
    ::GdiFlush();
    const auto* raw = static_cast<const std::uint32_t*>(bits);
    capture.width = width;
    capture.height = height;
    for (int i = 0; i < width * height; ++i) capture.pixels.push_back(FromDib(raw[i]));
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return capture;
}

}  // namespace

int Capture::Count(COLORREF colour) const {
    int count = 0;
    for (COLORREF pixel : pixels) count += pixel == colour ? 1 : 0;
    return count;
}

void PumpMessages(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}

Capture CaptureFromScreen(HWND window) {
    ::UpdateWindow(window);
    PumpMessages();
    RECT area;
    ::GetWindowRect(window, &area);
    return CaptureWith(area.right - area.left, area.bottom - area.top, [&](HDC memory, HDC screen) {
        ::BitBlt(memory, 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left, area.top,
                 SRCCOPY);
    });
}

Capture CaptureByPrinting(HWND window) {
    RECT area;
    ::GetWindowRect(window, &area);
    return CaptureWith(area.right - area.left, area.bottom - area.top,
                       [&](HDC memory, HDC) { ::PrintWindow(window, memory, 0); });
}

ButtonBench::ButtonBench() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BenchProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kBenchClass;
    ::RegisterClassA(&windowClass);
    g_clicks.clear();
    window_ = ::CreateWindowExA(WS_EX_TOPMOST, kBenchClass, "bench", WS_POPUP | WS_VISIBLE | WS_BORDER, 200,
                                200, 360, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    ::SetForegroundWindow(window_);
    // Focus rectangles and access keys shown, as after keyboard use.
    ::SendMessageA(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    PumpMessages();
}

ButtonBench::~ButtonBench() {
    ::DestroyWindow(window_);
    PumpMessages(10);
}

HWND ButtonBench::AddButton(const char* text, DWORD style, int id) {
    // Three buttons a row, in the order they were added.
    int count = 0;
    for (HWND child = ::GetWindow(window_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) ++count;
    HWND button = ::CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                                    10 + (count % 3) * 115, 10 + (count / 3) * 45, 105, 34, window_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    PumpMessages(10);
    return button;
}

int ButtonBench::Clicks(int id) const {
    const auto found = g_clicks.find(id);
    return found == g_clicks.end() ? 0 : found->second;
}

skin::Theme DistinctTheme() {
    skin::Theme theme;
    theme.version = 1;
    theme.states[skin::kStateNormal] = {RGB(0x2A, 0x9D, 0x4A), RGB(0x10, 0x20, 0xC0), RGB(0xC0, 0x10, 0x10)};
    theme.states[skin::kStateHover] = {RGB(0xE0, 0xB0, 0x20), RGB(0x80, 0x20, 0x80), RGB(0x10, 0x20, 0x80)};
    theme.states[skin::kStatePressed] = {RGB(0xB0, 0x40, 0x90), RGB(0x20, 0x50, 0x20), RGB(0xF0, 0xF0, 0x20)};
    theme.states[skin::kStateDisabled] = {RGB(0x60, 0xA0, 0xE0), RGB(0xA0, 0x60, 0x20),
                                          RGB(0x20, 0x50, 0x50)};
    theme.defaultBorder = RGB(0xE0, 0x40, 0x00);
    theme.focus = RGB(0x00, 0xE0, 0xE0);
    theme.borderWidth = 2;
    theme.focusInset = 4;
    return theme;
}

std::vector<unsigned char> ThemeText(const skin::Theme& theme) {
    char buffer[skin::kMaxThemeSize];
    const std::size_t size = skin::FormatTheme(theme, buffer, sizeof buffer);
    return std::vector<unsigned char>(buffer, buffer + size);
}

bool WriteBytes(const char* path, const std::vector<unsigned char>& bytes) {
    HANDLE file =
        ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok =
        bytes.empty() || ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

std::string ScratchFolder(const char* name) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name + "-" + std::to_string(::GetCurrentProcessId()) + "\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

}  // namespace velmorin::test
