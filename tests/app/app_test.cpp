// The window description's rules (layout, focus order, keys, centring) and the main
// window built in-process: styles, z-order, icons, focus rule, keyboard handling,
// painting and the quit rule of the message loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>

#include "app/main_window.h"
#include "app/shell.h"
#include "app/window_description.h"
#include "controls/hyper_linker.h"
#include "controls/trans_label.h"
#include "platform/handles.h"

namespace velmorin {
namespace {

constexpr std::size_t kLink = 1, kButton3 = 2, kButton2 = 3, kLabel = 4, kButton1 = 5;

RECT RectOf(const WindowEntry& e) { return RECT{e.left, e.top, e.left + e.width, e.top + e.height}; }

TEST(WindowDescription, ControlsDoNotOverlapAndFitTheClientArea) {
    // The client area of a 362 x 149 frame with a caption and a fixed single border.
    RECT frame{0, 0, 362, 149};
    RECT client = frame;
    ::AdjustWindowRectEx(&client, kMainWindowStyle, FALSE, 0);
    const int clientWidth = 362 - ((client.right - client.left) - 362);
    const int clientHeight = 149 - ((client.bottom - client.top) - 149);
    for (std::size_t i = 1; i < kEntryCount; ++i) {
        const RECT a = RectOf(kWindowDescription[i]);
        EXPECT_GE(a.left, 0) << kWindowDescription[i].name;
        EXPECT_GE(a.top, 0) << kWindowDescription[i].name;
        EXPECT_LE(a.right, clientWidth) << kWindowDescription[i].name;
        EXPECT_LE(a.bottom, clientHeight) << kWindowDescription[i].name;
        for (std::size_t j = i + 1; j < kEntryCount; ++j) {
            const RECT b = RectOf(kWindowDescription[j]);
            RECT common;
            EXPECT_FALSE(::IntersectRect(&common, &a, &b))
                << kWindowDescription[i].name << " overlaps " << kWindowDescription[j].name;
        }
    }
}

TEST(WindowDescription, EveryButtonHasAnActionAndOnlyButtonsTakeTheFocus) {
    EXPECT_EQ(kWindowDescription[0].kind, ControlKind::MainWindow);
    for (std::size_t i = 1; i < kEntryCount; ++i) {
        const WindowEntry& e = kWindowDescription[i];
        EXPECT_EQ(e.kind == ControlKind::PushButton, e.click != nullptr) << e.name;
        EXPECT_EQ(e.kind == ControlKind::PushButton, e.tabStop) << e.name;
    }
    EXPECT_EQ(kWindowDescription[kButton1].click, &DisableBootCheck);
    EXPECT_EQ(kWindowDescription[kButton2].click, &RestoreBootCheck);
    EXPECT_EQ(kWindowDescription[kButton3].click, &RepairCountdown);
    EXPECT_STREQ(kWindowTitle.data(), "Velmorin - Tassow www.tassow.example");
}

TEST(FocusOrder, RightToLeftAcrossTheButtonsAndWrapping) {
    const auto all = [](std::size_t) { return true; };
    const auto order = FocusOrder(kWindowDescription, all);
    ASSERT_EQ(order, (std::vector<std::size_t>{kButton1, kButton2, kButton3}));
    EXPECT_EQ(StepFocus(order, kButton1, true), kButton2);
    EXPECT_EQ(StepFocus(order, kButton3, true), kButton1);
    EXPECT_EQ(StepFocus(order, kButton1, false), kButton3);
    EXPECT_EQ(StepFocus(order, kLabel, true), kButton1);  // from outside the order: the first
    EXPECT_EQ(StepFocus(order, 0, false), kButton3);      // or the last
    // A control that is gone (or hidden or disabled) drops out.
    const auto withoutButton2 = FocusOrder(kWindowDescription, [](std::size_t i) { return i != kButton2; });
    EXPECT_EQ(withoutButton2, (std::vector<std::size_t>{kButton1, kButton3}));
    EXPECT_EQ(StepFocus({}, kButton1, true), 0u);
}

TEST(FocusOrder, SmallerTabOrderValuesFirstTiesByReverseTableOrder) {
    std::array<WindowEntry, 5> entries{};
    for (auto& e : entries) e = kWindowDescription[kButton1];
    entries[0] = kWindowDescription[0];
    entries[1].tabOrder = 2;
    entries[2].tabOrder = 1;
    entries[3].tabOrder = 1;
    entries[4].tabOrder = 3;
    EXPECT_EQ(FocusOrder(entries, [](std::size_t) { return true; }), (std::vector<std::size_t>{3, 2, 1, 4}));
}

TEST(CentredOrigin, DividesTowardZero) {
    struct Case {
        int screenWidth, screenHeight, left, top;
    };
    const Case cases[] = {{1024, 768, 331, 309}, {320, 200, -21, 25}, {321, 148, -20, 0}, {1920, 1080, 779, 465}};
    for (const auto& c : cases) {
        const POINT p = CentredOrigin(c.screenWidth, c.screenHeight, 362, 149);
        EXPECT_EQ(p.x, c.left) << c.screenWidth;
        EXPECT_EQ(p.y, c.top) << c.screenHeight;
    }
}

TEST(ActionForKey, ExactlyTheListedKeysAndModifiers) {
    struct Case {
        KeyChord chord;
        KeyAction action;
    };
    const Case cases[] = {
        {{VK_TAB, false, false, false}, KeyAction::NextControl},
        {{VK_TAB, false, true, false}, KeyAction::PreviousControl},
        {{VK_ESCAPE, false, false, false}, KeyAction::CloseWindow},
        {{VK_TAB, true, false, false}, KeyAction::None},     // Ctrl+Tab
        {{VK_TAB, true, true, false}, KeyAction::None},      // Ctrl+Shift+Tab
        {{VK_TAB, false, false, true}, KeyAction::None},     // Alt+Tab
        {{VK_ESCAPE, false, true, false}, KeyAction::None},  // Shift+Esc
        {{VK_F4, false, false, true}, KeyAction::None},      // Alt+F4 goes to the system
        {{VK_RETURN, false, false, false}, KeyAction::None},
        {{VK_F1, false, false, false}, KeyAction::None},
        {{VK_RIGHT, false, false, false}, KeyAction::None},
        {{'A', false, false, true}, KeyAction::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ActionForKey(c.chord), c.action)
            << c.chord.virtualKey << c.chord.ctrl << c.chord.shift << c.chord.alt;
    }
}

TEST(MainWindowPaint, FillsWithTheButtonFace) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    const UniqueGdiObject bitmap(::CreateBitmap(20, 10, 1, 32, nullptr));
    const SelectedObject selected(dc, bitmap.Get());
    ::PatBlt(dc, 0, 0, 20, 10, BLACKNESS);
    PaintMainWindow(dc, RECT{0, 0, 10, 10});
    EXPECT_EQ(::GetPixel(dc, 0, 0), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(::GetPixel(dc, 9, 9), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(::GetPixel(dc, 15, 5), RGB(0, 0, 0));
    ::DeleteDC(dc);
}

// Presses a key as the message loop would see it, with the modifiers held.
bool PressKey(UINT message, UINT key, bool ctrl, bool shift, bool alt) {
    BYTE state[256] = {};
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_MENU] = alt ? 0x80 : 0;
    ::SetKeyboardState(state);
    MSG msg = {};
    msg.hwnd = ::GetFocus();
    msg.message = message;
    msg.wParam = key;
    msg.lParam = alt ? (1 << 29) : 0;
    const bool handled = PreTranslateWindowMessage(msg);
    BYTE clear[256] = {};
    ::SetKeyboardState(clear);
    return handled;
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateMainWindow());
        window_ = MainWindowHandle();
        ASSERT_NE(window_, nullptr);
        Pump();
    }
    void TearDown() override {
        if (::IsWindow(window_)) ::DestroyWindow(window_);
        Pump();
    }
    HWND window_ = nullptr;
};

TEST_F(MainWindowTest, FrameStyleAndPosition) {
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(window_, GWL_STYLE));
    // The system adds WS_CLIPSIBLINGS to every top-level window; WS_VISIBLE comes from the show.
    EXPECT_EQ(style & ~(WS_CLIPSIBLINGS | WS_VISIBLE), 0x02C80000u);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(window_, GWL_EXSTYLE)) & ~WS_EX_WINDOWEDGE, 0u);
    EXPECT_EQ(::GetWindow(window_, GW_OWNER), nullptr);
    RECT r;
    ::GetWindowRect(window_, &r);
    const POINT origin = CentredOrigin(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), 362, 149);
    EXPECT_EQ(r.left, origin.x);
    EXPECT_EQ(r.top, origin.y);
    EXPECT_EQ(r.right - r.left, 362);
    EXPECT_EQ(r.bottom - r.top, 149);
    EXPECT_EQ(::GetClassLongA(window_, GCL_STYLE), CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(::GetClassLongPtrA(window_, GCLP_HBRBACKGROUND)), ::GetStockObject(NULL_BRUSH));
    EXPECT_EQ(::GetClassLongPtrA(window_, GCLP_HICON), 0);
    EXPECT_EQ(::GetMenu(window_), nullptr);
    EXPECT_EQ(::SendMessageA(window_, WM_QUERYENDSESSION, 0, 0), TRUE);
}

TEST_F(MainWindowTest, ControlsInTableOrderFromTopToBottom) {
    struct Expected {
        std::size_t entry;
        const char* className;
        DWORD style, exStyle;
    };
    const DWORD shown = WS_VISIBLE;
    const Expected expected[] = {
        {kLink, kHyperLinkerClass, kHyperLinkerStyle | shown, 0},
        {kButton3, "Button", kButtonStyle | shown, 0},
        {kButton2, "Button", kButtonStyle | shown, 0},
        {kLabel, kTransLabelClass, kTransLabelStyle | shown, WS_EX_TRANSPARENT},
        {kButton1, "Button", kButtonStyle | shown, 0},
    };
    HWND child = ::GetWindow(window_, GW_CHILD);
    for (const auto& e : expected) {
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child, ControlWindow(e.entry)) << kWindowDescription[e.entry].name;
        char className[64] = {};
        ::GetClassNameA(child, className, sizeof className);
        EXPECT_EQ(lstrcmpiA(className, e.className), 0) << className;
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(child, GWL_STYLE)), e.style) << className;
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(child, GWL_EXSTYLE)), e.exStyle);
        char text[256] = {};
        ::GetWindowTextA(child, text, sizeof text);
        EXPECT_STREQ(text, kWindowDescription[e.entry].text);
        RECT r;
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
        const RECT want = RectOf(kWindowDescription[e.entry]);
        EXPECT_TRUE(::EqualRect(&r, &want)) << kWindowDescription[e.entry].name;
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(::SendMessageA(child, WM_GETFONT, 0, 0)),
                  e.entry == kLink || e.entry == kLabel ? nullptr : ::GetStockObject(DEFAULT_GUI_FONT));
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
}

TEST_F(MainWindowTest, IconsAreThe32And16PixelImagesOfTheProgramIcon) {
#ifdef VELMORIN_HAS_RESOURCES
    struct Case {
        WPARAM which;
        LONG size;
    };
    for (const Case c : {Case{ICON_BIG, 32}, Case{ICON_SMALL, 16}}) {
        const auto icon = reinterpret_cast<HICON>(::SendMessageA(window_, WM_GETICON, c.which, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        BITMAP mask = {};
        ::GetObjectA(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, c.size);
        if (info.hbmMask) ::DeleteObject(info.hbmMask);
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
    }
#else
    GTEST_SKIP() << "built without velmorin_resources: the program icon is not there to check";
#endif
}

HWND Focus() { return ::GetFocus(); }

TEST_F(MainWindowTest, FirstFocusTabOrderAndIgnoredKeys) {
    ASSERT_EQ(Focus(), ControlWindow(kButton1));
    struct Step {
        UINT message, key;
        bool ctrl, shift, alt;
        bool handled;
        std::size_t focusAfter;
    };
    const Step steps[] = {
        {WM_KEYDOWN, VK_TAB, false, false, false, true, kButton2},
        {WM_KEYDOWN, VK_TAB, false, false, false, true, kButton3},
        {WM_KEYDOWN, VK_TAB, false, false, false, true, kButton1},
        {WM_KEYDOWN, VK_TAB, false, true, false, true, kButton3},
        {WM_KEYDOWN, VK_TAB, false, true, false, true, kButton2},
        {WM_KEYDOWN, VK_TAB, true, false, false, false, kButton2},
        {WM_KEYDOWN, VK_TAB, true, true, false, false, kButton2},
        {WM_KEYDOWN, VK_RETURN, false, false, false, false, kButton2},
        {WM_KEYDOWN, VK_F1, false, false, false, false, kButton2},
        {WM_KEYDOWN, VK_LEFT, false, false, false, false, kButton2},
        {WM_KEYDOWN, VK_ESCAPE, false, true, false, false, kButton2},
        {WM_SYSKEYDOWN, VK_F4, false, false, true, false, kButton2},
        {WM_KEYUP, VK_TAB, false, false, false, false, kButton2},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(PressKey(s.message, s.key, s.ctrl, s.shift, s.alt), s.handled) << s.key;
        EXPECT_EQ(Focus(), ControlWindow(s.focusAfter)) << s.key;
    }
    EXPECT_TRUE(::IsWindow(window_));
    // Keys for other windows are left alone.
    MSG foreign = {};
    foreign.hwnd = ::GetDesktopWindow();
    foreign.message = WM_KEYDOWN;
    foreign.wParam = VK_TAB;
    EXPECT_FALSE(PreTranslateWindowMessage(foreign));
}

TEST_F(MainWindowTest, ReactivationGivesTheFocusBackToTheRememberedButton) {
    ::SetFocus(ControlWindow(kButton3));
    HWND other = ::CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 50, nullptr, nullptr,
                                   nullptr, nullptr);
    ::SetActiveWindow(other);
    Pump();
    EXPECT_NE(Focus(), ControlWindow(kButton3));
    ::SetActiveWindow(window_);
    Pump();
    EXPECT_EQ(Focus(), ControlWindow(kButton3));
    ::DestroyWindow(other);
    // A remembered control is used once: the next activation without deactivation
    // through a control follows the focus rule again.
    ::SetFocus(window_);
    EXPECT_EQ(Focus(), ControlWindow(kButton1));
}

TEST_F(MainWindowTest, EscDestroysTheWindowWithoutQuittingBeforeTheLoop) {
    ASSERT_FALSE(MessageLoopEntered());
    EXPECT_TRUE(PressKey(WM_KEYDOWN, VK_ESCAPE, false, false, false));
    EXPECT_FALSE(::IsWindow(window_));
    EXPECT_EQ(MainWindowHandle(), nullptr);
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // the loop was never entered
}

// Runs last: once the loop has been entered the quit rule applies for the rest of the process.
TEST_F(MainWindowTest, ZLastCloseEndsTheLoopWithCodeZero) {
    ::PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(RunMessageLoop(), 0);
    EXPECT_TRUE(MessageLoopEntered());
    EXPECT_FALSE(::IsWindow(window_));
    // With no window left, entering the loop again returns at once.
    EXPECT_EQ(RunMessageLoop(), 0);
}

}  // namespace
}  // namespace velmorin
