// End-to-end tests of the real Velmorin.exe: this program starts it from a scratch
// folder and checks it from outside, as the user's system sees it: the window and its
// controls, the keyboard, the notices and the registry after each button, the colours
// on the screen, the link's browser, the exit codes, the fatal-error box and a second
// instance. One started instance serves a whole group of checks, since every start of
// a Wine process costs seconds.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/maker.h"
#include "repair/registry.h"
#include "support/canvas.h"
#include "support/message_box.h"
#include "support/files.h"

namespace {

using velmorin::test::DismissMessageBox;
using velmorin::test::ReadMessageBox;
using velmorin::test::WaitForMessageBox;
using velmorin::test::WindowsPath;

constexpr char kTitle[] = "Velmorin - Tassow www.tassow.example";
constexpr char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr char kLabelText[] =
    "常规修复：通过CMD命令进行修复\r\n恢复正常：恢复系统正常扫描模式。\r\n完全清楚：关闭自检模式，永不自检。";
constexpr char kSuccessLine[] = "恭喜，修复成功，请重启电脑进行测试，如若无效请使用另外修复功能！";
constexpr char kToolMissingLine[] = "修复失败：无法启动系统工具 chkntfs，请以管理员身份运行本程序。";

// ---- files and folders -------------------------------------------------------------

std::string TempFolder() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof temp, temp);
    return temp;  // ends in a backslash
}

using velmorin::test::ReadFile;

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find("\r\n"));
}

// Polls until the predicate holds or the time is up; the last answer is returned.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs) return condition();
        ::Sleep(50);
    }
    return true;
}

std::string WaitForFileText(const std::string& path, DWORD timeoutMs) {
    std::string text;
    WaitUntil([&] { return !(text = ReadFile(path)).empty(); }, timeoutMs);
    return text;
}

// A scratch program folder: Velmorin.exe, and with `recordingSkin` a jedata.dll that
// records how it was called instead of the real skin engine.
struct ProgramFolder {
    std::string path;  // no trailing backslash
    std::string exe;
    std::string skinLog;
};

ProgramFolder MakeProgramFolder(const std::string& name, bool recordingSkin) {
    ProgramFolder folder;
    folder.path = TempFolder() + name;
    ::CreateDirectoryA(folder.path.c_str(), nullptr);
    folder.exe = folder.path + "\\Velmorin.exe";
    folder.skinLog = folder.path + "\\skin_attach.log";
    EXPECT_TRUE(::CopyFileA(WindowsPath(VELMORIN_EXE).c_str(), folder.exe.c_str(), FALSE)) << folder.exe;
    const std::string skin = folder.path + "\\jedata.dll";
    if (recordingSkin) {
        EXPECT_TRUE(::CopyFileA(WindowsPath(VELMORIN_RECORDING_SKIN).c_str(), skin.c_str(), FALSE));
    } else {
        ::DeleteFileA(skin.c_str());
    }
    ::DeleteFileA(folder.skinLog.c_str());
    return folder;
}

// ---- the started program -----------------------------------------------------------

bool HasProgramTitle(HWND window) {
    char title[128] = {};
    ::GetWindowTextA(window, title, sizeof title);
    return std::string(title) == kTitle;
}

HWND FindMainWindow(DWORD processId) {
    return velmorin::test::FindProcessWindow(processId, HasProgramTitle);
}

class Program {
public:
    Program(const std::string& exe, const std::string& arguments, const std::string& directory) {
        std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = ::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                    directory.c_str(), &startup, &info_) != FALSE;
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        if (!started_) return;
        if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(info_.hProcess, 99);
            ::WaitForSingleObject(info_.hProcess, 5000);
        }
        ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }

    bool started() const { return started_; }
    DWORD id() const { return info_.dwProcessId; }

    HWND WaitForWindow(DWORD timeoutMs = 20000) {
        WaitUntil([&] { return (window_ = FindMainWindow(id())) != nullptr || Ended(); }, timeoutMs);
        return window_;
    }
    HWND window() const { return window_; }

    bool Ended() const { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }
    // The exit code, or STILL_ACTIVE when the process has not ended in time.
    DWORD WaitForExit(DWORD timeoutMs = 15000) const {
        ::WaitForSingleObject(info_.hProcess, timeoutMs);
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

    HWND Focus() const {
        GUITHREADINFO gui = {};
        gui.cbSize = sizeof gui;
        if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window_, nullptr), &gui)) return nullptr;
        return gui.hwndFocus;
    }

private:
    PROCESS_INFORMATION info_ = {};
    bool started_ = false;
    HWND window_ = nullptr;
};

void PostKey(HWND target, UINT key) {
    const UINT scan = ::MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
    ::PostMessageA(target, WM_KEYDOWN, key, 1 | (scan << 16));
    ::PostMessageA(target, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
}

bool BringToFront(HWND window) {
    ::SetForegroundWindow(window);
    return WaitUntil([&] { return ::GetForegroundWindow() == window; }, 5000);
}

// Presses a chord with real input: the modifiers go down first and come up last.
void SendChord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        inputs.push_back(in);
    }
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::string WindowText(HWND window) {
    char text[512] = {};
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

RECT ClientRectIn(HWND child, HWND parent) {
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The children from the top of the z-order down.
std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

// Finds the notice (or error box) of a process, reads it, presses OK and waits until
// the box is really gone.
std::optional<velmorin::test::MessageBoxSeen> TakeMessageBox(DWORD processId, DWORD timeoutMs = 15000) {
    HWND box = WaitForMessageBox(processId, timeoutMs);
    if (box == nullptr) return std::nullopt;
    auto seen = ReadMessageBox(box);
    DismissMessageBox(box);
    WaitUntil([&] { return !::IsWindow(box); }, 8000);
    return seen;
}

// ---- the screen --------------------------------------------------------------------

// The screen's pixels over a rectangle.
velmorin::test::Canvas ScreenShot(RECT area) {
    return velmorin::test::Canvas::FromScreen(area);
}

// Moves the pointer to a point and keeps nudging it there (one pixel back and forth)
// until the control shows the colour: under Wine a late X event from an earlier move
// can land after the warp, and a real pointer would go on moving.
bool PointerAtShows(POINT at, HWND control, COLORREF colour, std::initializer_list<COLORREF> others);

RECT ScreenRectOf(HWND window) {
    RECT r;
    ::GetWindowRect(window, &r);
    return r;
}

// Waits until the control shows (many pixels of) one colour and none of the others.
bool ShowsColour(HWND control, COLORREF colour, std::initializer_list<COLORREF> others, DWORD timeoutMs = 5000) {
    return WaitUntil(
        [&] {
            const auto shot = ScreenShot(ScreenRectOf(control));
            if (shot.Count(colour) < 10) return false;
            for (COLORREF other : others) {
                if (shot.Count(other) != 0) return false;
            }
            return true;
        },
        timeoutMs);
}

bool PointerAtShows(POINT at, HWND control, COLORREF colour, std::initializer_list<COLORREF> others) {
    for (int i = 0; i < 10; ++i) {
        ::SetCursorPos(at.x + i % 2, at.y);
        if (ShowsColour(control, colour, others, 500)) return true;
    }
    return false;
}

// ---- registry ----------------------------------------------------------------------

std::optional<velmorin::RegistryValue> BootExecute() {
    return velmorin::ReadRegistryValueA(HKEY_LOCAL_MACHINE, kSessionManager, "BootExecute");
}

// Sets a default value under HKEY_CLASSES_ROOT for the life of the object and puts the
// one it found back (or removes it) afterwards.
class ClassesRootValue {
public:
    ClassesRootValue(std::string key, const std::string& value) : key_(std::move(key)) {
        char previous[1024] = {};
        LONG size = sizeof previous;
        existed_ = ::RegQueryValueA(HKEY_CLASSES_ROOT, key_.c_str(), previous, &size) == ERROR_SUCCESS;
        previous_ = previous;
        ok_ = ::RegSetValueA(HKEY_CLASSES_ROOT, key_.c_str(), REG_SZ, value.c_str(), 0) == ERROR_SUCCESS;
    }
    ~ClassesRootValue() {
        if (existed_) {
            ::RegSetValueA(HKEY_CLASSES_ROOT, key_.c_str(), REG_SZ, previous_.c_str(), 0);
        } else {
            ::RegDeleteKeyA(HKEY_CLASSES_ROOT, key_.c_str());
        }
    }
    bool ok() const { return ok_; }

private:
    std::string key_;
    bool existed_ = false;
    bool ok_ = false;
    std::string previous_;
};

// The system's chkntfs.exe, moved aside for the test and put back afterwards.
class SystemChkntfs {
public:
    SystemChkntfs() {
        char directory[MAX_PATH] = {};
        ::GetSystemDirectoryA(directory, sizeof directory);
        path_ = std::string(directory) + "\\chkntfs.exe";
        saved_ = path_ + ".velmorin-saved";
        movedAside_ = ::MoveFileExA(path_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    }
    ~SystemChkntfs() {
        ::DeleteFileA(path_.c_str());
        if (movedAside_) ::MoveFileA(saved_.c_str(), path_.c_str());
    }
    bool Plant(const std::string& program) { return ::CopyFileA(program.c_str(), path_.c_str(), FALSE) != FALSE; }
    bool Present() const { return ::GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES; }

private:
    std::string path_, saved_;
    bool movedAside_ = false;
};

// ---- one instance, many checks -----------------------------------------------------

// Entries of the window, top of the z-order first, with what each must look like.
struct ExpectedControl {
    const char* name;
    bool button;
    RECT rect;
    const char* text;
    DWORD style, exStyle;
};
constexpr DWORD kButtonStyle =
    WS_VISIBLE | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE | WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP;
const ExpectedControl kControls[] = {
    {"超级链接框1", false, {71, 101, 285, 117}, velmorin::kMakerDomain, 0x54000000, 0},
    {"按钮3", true, {8, 7, 108, 47}, "常规修复", kButtonStyle, 0},
    {"按钮2", true, {128, 7, 228, 48}, "恢复正常", kButtonStyle, 0},
    {"透明标签1", false, {75, 56, 280, 96}, kLabelText, 0x54000000, WS_EX_TRANSPARENT},
    {"按钮1", true, {248, 7, 348, 47}, "完全清除", kButtonStyle, 0},
};
enum { kLink = 0, kButton3 = 1, kButton2 = 2, kLabel = 3, kButton1 = 4 };

class RunningVelmorin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = MakeProgramFolder("velmorin_e2e_main", true);
        browserLog_ = TempFolder() + "velmorin_e2e_browser.log";
        chkntfsLog_ = TempFolder() + "velmorin_e2e_chkntfs.log";
        std::remove(browserLog_.c_str());
        std::remove(chkntfsLog_.c_str());
        ::SetEnvironmentVariableA("VELMORIN_BROWSER_LOG", browserLog_.c_str());
        ::SetEnvironmentVariableA("VELMORIN_CHKNTFS_LOG", chkntfsLog_.c_str());
        bootExecute_ = new velmorin::RegistrySnapshot(
            velmorin::TakeRegistrySnapshot(HKEY_LOCAL_MACHINE, kSessionManager, "BootExecute"));
        // Started from another folder: the program must work from its own.
        program_ = new Program(folder_.exe, "", TempFolder());
        if (program_->started()) program_->WaitForWindow();
        if (program_->window() != nullptr) {
            const auto children = Children(program_->window());
            controls_.assign(children.begin(), children.end());
        }
    }
    static void TearDownTestSuite() {
        delete program_;
        program_ = nullptr;
        velmorin::RestoreRegistrySnapshot(HKEY_LOCAL_MACHINE, kSessionManager, "BootExecute", *bootExecute_);
        delete bootExecute_;
        ::SetEnvironmentVariableA("VELMORIN_BROWSER_LOG", nullptr);
        ::SetEnvironmentVariableA("VELMORIN_CHKNTFS_LOG", nullptr);
    }
    void SetUp() override {
        ASSERT_TRUE(program_->started());
        ASSERT_NE(program_->window(), nullptr) << "the main window never appeared";
        ASSERT_EQ(controls_.size(), std::size(kControls));
    }
    static HWND Window() { return program_->window(); }
    static HWND Control(int index) { return controls_[static_cast<std::size_t>(index)]; }
    static bool FocusBecomes(int index) {
        return WaitUntil([&] { return program_->Focus() == Control(index); }, 3000);
    }

    // Tabs one step at a time, each once the previous one has moved the focus, until
    // the control has it.
    static bool TabTo(int index) {
        for (int i = 0; i < 3 && program_->Focus() != Control(index); ++i) {
            HWND before = program_->Focus();
            PostKey(before, VK_TAB);
            if (!WaitUntil([&] { return program_->Focus() != before; }, 3000)) return false;
        }
        return program_->Focus() == Control(index);
    }

    static inline ProgramFolder folder_;
    static inline Program* program_ = nullptr;
    static inline std::vector<HWND> controls_;
    static inline std::string browserLog_, chkntfsLog_;
    static inline velmorin::RegistrySnapshot* bootExecute_ = nullptr;
};

TEST_F(RunningVelmorin, WindowIsCentredWithItsTitleAndFixedFrame) {
    RECT r;
    ::GetWindowRect(Window(), &r);
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - 362) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - 149) / 2;
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, 362);
    EXPECT_EQ(r.bottom - r.top, 149);
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(Window(), GWL_STYLE));
    EXPECT_EQ(style & ~(WS_CLIPSIBLINGS | WS_VISIBLE), 0x02C80000u)
        << "caption, system menu, clip children; no sizing frame, no minimise or maximise box";
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(WindowText(Window()), kTitle);
    EXPECT_EQ(::GetWindow(Window(), GW_OWNER), nullptr);
    // A query to end the session is answered with consent.
    EXPECT_EQ(::SendMessageA(Window(), WM_QUERYENDSESSION, 0, 0), TRUE);
}

TEST_F(RunningVelmorin, FiveControlsWithTheirClassesRectanglesTextsAndZOrder) {
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        const ExpectedControl& want = kControls[i];
        HWND control = controls_[i];
        if (want.button) {
            EXPECT_EQ(lstrcmpiA(ClassOf(control).c_str(), "Button"), 0) << want.name;
        } else {
            EXPECT_NE(lstrcmpiA(ClassOf(control).c_str(), "Static"), 0) << want.name << ": a class of its own";
        }
        const RECT r = ClientRectIn(control, Window());
        EXPECT_TRUE(::EqualRect(&r, &want.rect))
            << want.name << " at " << r.left << "," << r.top << " " << r.right - r.left << "x" << r.bottom - r.top;
        EXPECT_EQ(WindowText(control), want.text) << want.name;
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(control, GWL_STYLE)), want.style) << want.name;
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(control, GWL_EXSTYLE)), want.exStyle) << want.name;
    }
    EXPECT_NE(ClassOf(Control(kLink)), ClassOf(Control(kLabel)));
}

TEST_F(RunningVelmorin, FocusStartsOnButton1AndTabsRightToLeft) {
    ASSERT_TRUE(FocusBecomes(kButton1));
    for (int next : {kButton2, kButton3, kButton1}) {
        PostKey(program_->Focus(), VK_TAB);
        EXPECT_TRUE(FocusBecomes(next)) << kControls[next].name;
    }
    // Shift+Tab goes the other way, wrapping from the first to the last.
    ASSERT_TRUE(BringToFront(Window()));
    for (int previous : {kButton3, kButton2}) {
        SendChord({VK_SHIFT, VK_TAB});
        EXPECT_TRUE(FocusBecomes(previous)) << kControls[previous].name;
    }
    // Ctrl+Tab, Enter and F1 do nothing: the focus stays and no notice appears.
    SendChord({VK_CONTROL, VK_TAB});
    PostKey(program_->Focus(), VK_RETURN);
    PostKey(program_->Focus(), VK_F1);
    EXPECT_EQ(WaitForMessageBox(program_->id(), 1500), nullptr);
    EXPECT_EQ(program_->Focus(), Control(kButton2));
    EXPECT_FALSE(program_->Ended());
}

TEST_F(RunningVelmorin, ReactivationGivesTheFocusBack) {
    ASSERT_TRUE(BringToFront(Window()));
    ASSERT_TRUE(TabTo(kButton3));

    HWND other = ::CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 0, 120, 60,
                                   nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(BringToFront(other));
    EXPECT_TRUE(WaitUntil([] { return program_->Focus() == nullptr; }, 3000)) << "still focused while inactive";
    ASSERT_TRUE(BringToFront(Window()));
    EXPECT_TRUE(FocusBecomes(kButton3));
    ::DestroyWindow(other);
}

TEST_F(RunningVelmorin, LabelIsRedAndTheLinkChangesColourAndOpensItsTarget) {
    const std::string browser = WindowsPath(VELMORIN_FAKE_BROWSER);
    const ClassesRootValue https("https\\shell\\open\\command", "\"" + browser + "\" \"%1\"");
    ASSERT_TRUE(https.ok());
    ASSERT_TRUE(BringToFront(Window()));
    ::SetCursorPos(5, 5);

    const auto label = ScreenShot(ScreenRectOf(Control(kLabel)));
    EXPECT_GT(label.Count(RGB(255, 0, 0)), 50) << "red text";
    EXPECT_GT(label.Count(::GetSysColor(COLOR_BTNFACE)), 2000) << "the window's background shows through";

    constexpr COLORREF blue = RGB(0, 0, 255), hover = RGB(49, 106, 197), visited = RGB(128, 0, 0);
    HWND link = Control(kLink);
    EXPECT_TRUE(ShowsColour(link, blue, {hover, visited}));
    const RECT r = ScreenRectOf(link);
    const POINT over{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, away{5, 5};
    EXPECT_TRUE(PointerAtShows(over, link, hover, {blue, visited})) << "hover colour under the pointer";
    EXPECT_TRUE(PointerAtShows(away, link, blue, {hover, visited})) << "normal again once the pointer left";

    ASSERT_TRUE(PointerAtShows(over, link, hover, {blue, visited}));
    ::PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 8));
    ::PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(100, 8));
    const std::string recorded = WaitForFileText(browserLog_, 10000);
    EXPECT_NE(recorded.find(velmorin::kMakerWebAddress), std::string::npos) << recorded;
    EXPECT_TRUE(PointerAtShows(away, link, visited, {blue, hover})) << "visited colour after a successful open";
    // Exactly one start of the browser for the one click.
    ::Sleep(500);
    const std::string all = ReadFile(browserLog_);
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 1) << all;
}

TEST_F(RunningVelmorin, EachButtonRunsItsActionAndShowsItsNotice) {
    SystemChkntfs chkntfs;
    ASSERT_FALSE(chkntfs.Present());
    ::PostMessageA(Control(kButton3), BM_CLICK, 0, 0);  // no chkntfs in the system folder
    {
        const auto notice = TakeMessageBox(program_->id());
        ASSERT_TRUE(notice.has_value());
        EXPECT_EQ(notice->caption, "信息：");
        EXPECT_EQ(FirstLine(notice->text), kToolMissingLine);
        EXPECT_FALSE(notice->hasOwner);
    }

    struct Case {
        int button;
        std::string bootExecute;
    };
    const Case cases[] = {
        {kButton1, std::string(" \0\0", 3)},
        {kButton2, std::string("autocheck autochk *\0\0", 21)},
        {kButton1, std::string(" \0\0", 3)},
    };
    for (const Case& c : cases) {
        ::PostMessageA(Control(c.button), BM_CLICK, 0, 0);
        const auto notice = TakeMessageBox(program_->id());
        ASSERT_TRUE(notice.has_value()) << kControls[c.button].name;
        EXPECT_EQ(notice->caption, "信息：");
        EXPECT_EQ(FirstLine(notice->text), kSuccessLine);
        const auto value = BootExecute();
        ASSERT_TRUE(value.has_value()) << kControls[c.button].name;
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_MULTI_SZ));
        EXPECT_EQ(std::string(value->bytes.begin(), value->bytes.end()), c.bootExecute) << kControls[c.button].name;
    }

    // With chkntfs in the system folder it is started with "/t:0" in the program's own
    // folder (the current directory the program set, although it was started elsewhere).
    ASSERT_TRUE(chkntfs.Plant(WindowsPath(VELMORIN_RECORDING_CHKNTFS)));
    ::PostMessageA(Control(kButton3), BM_CLICK, 0, 0);
    const auto notice = TakeMessageBox(program_->id());
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(FirstLine(notice->text), kSuccessLine);
    const std::string recorded = WaitForFileText(chkntfsLog_, 5000);
    EXPECT_EQ(lstrcmpiA(recorded.substr(0, recorded.find('|')).c_str(), folder_.path.c_str()), 0) << recorded;
    EXPECT_NE(recorded.find("chkntfs /t:0"), std::string::npos) << recorded;
    EXPECT_TRUE(::IsWindowEnabled(Window())) << "the window takes input again once the notice is gone";
}

TEST_F(RunningVelmorin, SpaceOnTheFocusedButton1DisablesTheBootCheck) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    static const char kOther[] = "autocheck autochk *\0";
    ::RegSetValueExA(key, "BootExecute", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(kOther), sizeof kOther);
    ::RegCloseKey(key);
    ASSERT_TRUE(BringToFront(Window()));
    ASSERT_TRUE(TabTo(kButton1));
    PostKey(Control(kButton1), VK_SPACE);
    const auto notice = TakeMessageBox(program_->id());
    ASSERT_TRUE(notice.has_value());
    const auto value = BootExecute();
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(std::string(value->bytes.begin(), value->bytes.end()), std::string(" \0\0", 3));
}

TEST_F(RunningVelmorin, SkinLibraryInTheProgramFolderIsBoundWithTheThemePath) {
    // The recording jedata.dll beside the program was bound, not the one written to the
    // Windows directory, and called once with the theme path and an empty text, with
    // the program's folder as the current directory.
    const std::string log = ReadFile(folder_.skinLog);
    EXPECT_EQ(log, "C:\\Windows\\win8.she||" + folder_.path + "\n");
}

// Last of the group: Esc ends the process with exit code 0.
TEST_F(RunningVelmorin, ZEscClosesTheWindowAndEndsWithExitCodeZero) {
    PostKey(program_->Focus() != nullptr ? program_->Focus() : Window(), VK_ESCAPE);
    EXPECT_EQ(program_->WaitForExit(), 0u);
    EXPECT_FALSE(::IsWindow(Window()));
}

// ---- starts of their own -----------------------------------------------------------

TEST(VelmorinClosing, AltF4AndTheSystemMenuEndWithExitCodeZero) {
    const ProgramFolder folder = MakeProgramFolder("velmorin_e2e_close", true);
    struct Route {
        const char* name;
        std::function<void(HWND)> close;
    };
    const Route routes[] = {
        {"Alt+F4",
         [](HWND window) {
             ASSERT_TRUE(BringToFront(window));
             SendChord({VK_MENU, VK_F4});
         }},
        {"system menu Close", [](HWND window) { ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Route& route : routes) {
        Program program(folder.exe, "", folder.path);
        ASSERT_NE(program.WaitForWindow(), nullptr) << route.name;
        route.close(program.window());
        EXPECT_EQ(program.WaitForExit(), 0u) << route.name;
    }
}

TEST(VelmorinInstances, TwoStartsRunIndependentlyWithTheRealSkinAndArgumentsChangeNothing) {
    const ProgramFolder folder = MakeProgramFolder("velmorin_e2e_twice", false);
    Program first(folder.exe, "", folder.path);
    ASSERT_NE(first.WaitForWindow(), nullptr);
    Program second(folder.exe, "/quiet --reset extra", TempFolder());
    ASSERT_NE(second.WaitForWindow(), nullptr) << "a second copy starts although the skin library is in use";
    EXPECT_NE(first.id(), second.id());
    EXPECT_NE(first.window(), second.window());
    RECT a, b;
    ::GetWindowRect(first.window(), &a);
    ::GetWindowRect(second.window(), &b);
    EXPECT_TRUE(::EqualRect(&a, &b));
    EXPECT_EQ(Children(second.window()).size(), 5u);

    ::PostMessageA(first.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitForExit(), 0u);
    EXPECT_FALSE(second.Ended());
    EXPECT_TRUE(::IsWindowVisible(second.window()));
    ::PostMessageA(second.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(second.WaitForExit(), 0u);
}

TEST(VelmorinFatalError, UnbindableSkinLibraryShowsTheErrorBoxAndEndsWithMinusOne) {
    const ProgramFolder folder = MakeProgramFolder("velmorin_e2e_fatal", false);
    // Nobody may open the library in the Windows directory while this handle is held:
    // the program can neither overwrite it nor load it, and there is none beside it.
    const HANDLE lock =
        ::CreateFileA("C:\\Windows\\jedata.dll", GENERIC_READ, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Program program(folder.exe, "", folder.path);
    const HWND box = WaitForMessageBox(program.id(), 20000);
    const bool windowSeen = FindMainWindow(program.id()) != nullptr;
    std::optional<velmorin::test::MessageBoxSeen> seen;
    if (box != nullptr) {
        seen = ReadMessageBox(box);
        DismissMessageBox(box);
    }
    const DWORD exitCode = program.WaitForExit();
    ::CloseHandle(lock);
    ASSERT_TRUE(seen.has_value()) << "no error box";
    EXPECT_FALSE(windowSeen) << "the box comes before any window";
    EXPECT_EQ(seen->caption, "错误");
    EXPECT_EQ(seen->text,
              "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“jedata.dll”中的输出命令“SkinH_AttachEx”\r\n");
    EXPECT_TRUE(seen->hasIcon);
    EXPECT_EQ(exitCode, 0xFFFFFFFFu);
}

TEST(VelmorinFatalError, AWindowThatCannotBeBuiltStopsTheStartWithMinusOne) {
    // The program's own start-up, with a window creation that fails.
    const ProgramFolder folder = MakeProgramFolder("velmorin_e2e_nowindow", true);
    const std::string probe = folder.path + "\\window_fail_probe.exe";
    ASSERT_TRUE(::CopyFileA(WindowsPath(VELMORIN_WINDOW_FAIL_PROBE).c_str(), probe.c_str(), FALSE));
    Program program(probe, "", folder.path);
    const auto seen = TakeMessageBox(program.id(), 20000);
    ASSERT_TRUE(seen.has_value()) << "no error box";
    EXPECT_EQ(seen->caption, "错误");
    EXPECT_EQ(seen->text, "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
    EXPECT_EQ(program.WaitForExit(), 0xFFFFFFFFu);
    // The theme was applied before the window was tried.
    EXPECT_EQ(ReadFile(folder.skinLog), "C:\\Windows\\win8.she||" + folder.path + "\n");
}

}  // namespace
