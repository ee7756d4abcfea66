// TransLabel and HyperLinker in-process: what they paint on a memory bitmap, the window
// classes and styles they are created with, the link's hover/visited flags under mouse
// messages, and the open routine with its fallback to the browser registered for ".htm".
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "controls/hyper_linker.h"
#include "controls/link_target.h"
#include "controls/trans_label.h"
#include "platform/handles.h"
#include "support/canvas.h"
#include "support/files.h"

namespace velmorin {
namespace {

constexpr char kLabelText[] =
    "常规修复：通过CMD命令进行修复\r\n恢复正常：恢复系统正常扫描模式。\r\n完全清楚：关闭自检模式，永不自检。";
constexpr COLORREF kMarker = RGB(0, 200, 0);  // a background nothing here paints

using test::Canvas;
TEST(TransLabelPaint, DrawsRedLinesFromTheTopLeftAndLeavesTheBackground) {
    Canvas canvas(205, 40, kMarker);
    PaintTransLabel(canvas.dc(), canvas.rect(), kLabelText);
    RECT red;
    const int redPixels = canvas.Count(RGB(255, 0, 0), canvas.rect(), &red);
    ASSERT_GT(redPixels, 100);
    // Word-wrapped text ignores vertical centring: the first line starts at the top left,
    // and the three lines fill the 40 pixels rather than one centred line.
    EXPECT_LE(red.left, 3);
    EXPECT_LE(red.top, 4);
    EXPECT_GE(red.bottom, 28);
    // The background is never painted: most of the area keeps what was there.
    EXPECT_GT(canvas.Count(kMarker, canvas.rect()), 205 * 40 / 2);
}

TEST(TransLabelPaint, EmptyTextPaintsNothing) {
    Canvas canvas(205, 40, kMarker);
    PaintTransLabel(canvas.dc(), canvas.rect(), "");
    EXPECT_EQ(canvas.Count(kMarker, canvas.rect()), 205 * 40);
}

TEST(HyperLinkerPaint, FillsOnlyTheGivenAreaAndCentresTheCaption) {
    Canvas canvas(214, 16, kMarker);
    const RECT left{0, 0, 107, 16};  // only the left half needs painting
    PaintHyperLinker(canvas.dc(), canvas.rect(), left, "www.tassow.example", kLinkNormalColour);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(canvas.At(0, 0), face);
    EXPECT_EQ(canvas.At(213, 0), kMarker);

    Canvas whole(214, 16, kMarker);
    PaintHyperLinker(whole.dc(), whole.rect(), whole.rect(), "www.tassow.example", kLinkNormalColour);
    EXPECT_EQ(whole.Count(kMarker, whole.rect()), 0);
    RECT blue;
    ASSERT_GT(whole.Count(RGB(0, 0, 255), whole.rect(), &blue), 20);
    // Centred both ways: the margins differ by a pixel or two at most.
    EXPECT_NEAR(blue.left, 213 - blue.right, 3);
    EXPECT_NEAR(blue.top, 15 - blue.bottom, 4);
}

TEST(HyperLinkerPaint, ColourFollowsHoverBeforeVisited) {
    EXPECT_EQ(LinkTextColour({false, false}), RGB(0, 0, 255));
    EXPECT_EQ(LinkTextColour({false, true}), RGB(128, 0, 0));
    EXPECT_EQ(LinkTextColour({true, false}), RGB(49, 106, 197));
    EXPECT_EQ(LinkTextColour({true, true}), RGB(49, 106, 197));
}

// A plain top-level window to hold the controls.
class ControlHost : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "VelmorinControlHost";
        ::RegisterClassA(&wc);
        host_ = ::CreateWindowExA(0, wc.lpszClassName, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 200,
                                  nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(host_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(host_); }
    HWND host_ = nullptr;
};

TEST_F(ControlHost, LabelAndLinkHaveTheirClassesAndStyles) {
    HWND label = CreateTransLabel(host_, RECT{75, 56, 280, 96}, kLabelText, 1);
    HWND link = CreateHyperLinker(host_, RECT{71, 101, 285, 117}, "www.tassow.example", "https://x/", 2);
    ASSERT_NE(label, nullptr);
    ASSERT_NE(link, nullptr);
    struct Expected {
        HWND window;
        DWORD style, exStyle;
        const char* text;
        RECT rect;
    };
    const Expected cases[] = {
        {label, 0x44000000, 0x20, kLabelText, RECT{75, 56, 280, 96}},
        {link, 0x44000000, 0, "www.tassow.example", RECT{71, 101, 285, 117}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(c.window, GWL_STYLE)), c.style);  // hidden: no WS_VISIBLE
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(c.window, GWL_EXSTYLE)), c.exStyle);
        EXPECT_EQ(::GetClassLongA(c.window, GCL_STYLE), CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
        EXPECT_EQ(::GetClassLongPtrA(c.window, GCLP_HBRBACKGROUND), 0);
        char text[256] = {};
        ::GetWindowTextA(c.window, text, sizeof text);
        EXPECT_STREQ(text, c.text);
        RECT r;
        ::GetWindowRect(c.window, &r);
        ::MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(::EqualRect(&r, &c.rect));
    }
    EXPECT_EQ(reinterpret_cast<HCURSOR>(::GetClassLongPtrA(label, GCLP_HCURSOR)), ::LoadCursorA(nullptr, IDC_ARROW));
#ifdef VELMORIN_HAS_RESOURCES
    HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1032));
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(::GetClassLongPtrA(link, GCLP_HCURSOR)), hand);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(hand, &info));
    EXPECT_EQ(info.xHotspot, 6u);
    EXPECT_EQ(info.yHotspot, 1u);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
#endif
}

TEST_F(ControlHost, LinkHoverCapturesTheMouseUntilItLeaves) {
    HWND link = CreateHyperLinker(host_, RECT{71, 101, 285, 117}, "www.tassow.example", "", 2);
    ASSERT_NE(link, nullptr);
    ::ShowWindow(link, SW_SHOWNA);
    EXPECT_FALSE(HyperLinkerFlags(link).hover);

    ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(10, 5));
    EXPECT_TRUE(HyperLinkerFlags(link).hover);
    EXPECT_EQ(::GetCapture(), link);

    ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(20, 6));  // still inside
    EXPECT_TRUE(HyperLinkerFlags(link).hover);
    EXPECT_EQ(::GetCapture(), link);

    ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-3), 5));  // left of it
    EXPECT_FALSE(HyperLinkerFlags(link).hover);
    EXPECT_EQ(::GetCapture(), nullptr);

    ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(10, 5));
    ASSERT_TRUE(HyperLinkerFlags(link).hover);
    ::SetCapture(host_);  // someone else takes the mouse: the link is no longer lit
    EXPECT_FALSE(HyperLinkerFlags(link).hover);
    ::ReleaseCapture();
}

TEST_F(ControlHost, ClickWithAnEmptyTargetLeavesTheLinkUnvisited) {
    HWND link = CreateHyperLinker(host_, RECT{0, 0, 100, 16}, "x", "", 2);
    ::SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(HyperLinkerFlags(link).visited);
}

TEST(BrowserCommandLine, CutsAtThePlaceholderQuotedFormFirst) {
    struct Case {
        const char* registered;
        const char* expected;
    };
    const Case cases[] = {
        {"\"C:\\b\\browser.exe\" \"%1\"", "\"C:\\b\\browser.exe\"  https://t/"},
        {"C:\\b\\browser.exe %1", "C:\\b\\browser.exe  https://t/"},
        {"browser.exe -url %1 -tab \"%1\"", "browser.exe -url %1 -tab  https://t/"},  // quoted form wins
        {"browser.exe -nohome", "browser.exe -nohome https://t/"},                    // no placeholder: whole
        {"", " https://t/"},
    };
    for (const auto& c : cases) EXPECT_EQ(BrowserCommandLine(c.registered, "https://t/"), c.expected) << c.registered;
}

std::string WindowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return "Z:" + path;
}

using velmorin::test::ReadFile;

// Registers a ".htm" page class whose open command is the fake browser, and puts the
// ".htm" default value back afterwards.
class RegisteredBrowser : public ::testing::Test {
protected:
    static constexpr char kPageClass[] = "VelmorinTestPage";

    void SetUp() override {
        char previous[MAX_PATH] = {};
        LONG size = sizeof previous;
        hadHtm_ = ::RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", previous, &size) == ERROR_SUCCESS;
        previousHtm_ = previous;
        char temp[MAX_PATH] = {};
        ::GetTempPathA(sizeof temp, temp);
        log_ = std::string(temp) + "velmorin_browser_log.txt";
        std::remove(log_.c_str());
        ::SetEnvironmentVariableA("VELMORIN_BROWSER_LOG", log_.c_str());
    }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kPageClass);
        if (hadHtm_) {
            ::RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, previousHtm_.c_str(), 0);
        } else {
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        }
        std::remove(log_.c_str());
    }
    void Register(const std::string& command) {
        ASSERT_EQ(::RegSetValueA(HKEY_CLASSES_ROOT, ".htm", REG_SZ, kPageClass, 0), ERROR_SUCCESS);
        const std::string key = std::string(kPageClass) + "\\shell\\open\\command";
        ASSERT_EQ(::RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, command.c_str(), 0), ERROR_SUCCESS);
    }
    std::string WaitForLog() {
        for (int i = 0; i < 100; ++i) {
            const std::string text = ReadFile(log_);
            if (!text.empty()) return text;
            ::Sleep(100);
        }
        return {};
    }
    bool hadHtm_ = false;
    std::string previousHtm_;
    std::string log_;
};

// A scheme nobody handles makes ShellExecuteA fail, so the registered browser is used.
constexpr char kUnhandledTarget[] = "velmorin-nowhere:page";

TEST_F(RegisteredBrowser, FallbackStartsTheRegisteredBrowserWithTheTarget) {
    const std::string browser = WindowsPath(VELMORIN_FAKE_BROWSER);
    Register("\"" + browser + "\" \"%1\"");
    EXPECT_EQ(RegisteredBrowserCommand(), "\"" + browser + "\" \"%1\"");
    ASSERT_TRUE(OpenLinkTarget(kUnhandledTarget, SW_SHOW));
    const std::string recorded = WaitForLog();
    EXPECT_EQ(recorded, "\"" + browser + "\"  " + kUnhandledTarget + "\n");
}

TEST_F(RegisteredBrowser, NoRegisteredBrowserOrAFailedStartMeansNotOpened) {
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
    EXPECT_FALSE(RegisteredBrowserCommand().has_value());
    EXPECT_FALSE(OpenLinkTarget(kUnhandledTarget, SW_SHOW));
    Register("Z:\\nowhere\\no-such-browser.exe %1");
    EXPECT_FALSE(OpenLinkTarget(kUnhandledTarget, SW_SHOW));
    EXPECT_FALSE(OpenLinkTarget("", SW_SHOW));
}

TEST_F(RegisteredBrowser, ClickSetsVisitedFromTheOpenResult) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "VelmorinControlHost";
    ::RegisterClassA(&wc);
    HWND host = ::CreateWindowExA(0, wc.lpszClassName, "host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    HWND link = CreateHyperLinker(host, RECT{0, 0, 200, 16}, "x", kUnhandledTarget, 1);
    Register("\"" + WindowsPath(VELMORIN_FAKE_BROWSER) + "\" %1");
    ::SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(HyperLinkerFlags(link).visited);
    EXPECT_NE(WaitForLog().find(kUnhandledTarget), std::string::npos);
    // A later failed open clears it again.
    Register("Z:\\nowhere\\no-such-browser.exe %1");
    ::SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(HyperLinkerFlags(link).visited);
    ::DestroyWindow(host);
}

}  // namespace
}  // namespace velmorin
