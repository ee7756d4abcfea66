// The skin engine DLL as the program meets it: its exports, the theme it accepts
// and refuses, and push buttons drawn in the theme's colours while they keep their
// behaviour (clicks, Space, BN_CLICKED, focus, Tab, text and font).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "skin/button_bench.h"
#include "skin/theme_format.h"
#include "support/message_box.h"
#include "support/files.h"

using namespace velmorin;
using namespace velmorin::test;

namespace {

const std::string kEnginePath = WindowsPath(VELMORIN_SKIN_DLL);
const std::string kShippedTheme = WindowsPath(VELMORIN_THEME_FILE);

using AttachFunction = int(WINAPI*)(LPCSTR, LPCSTR);
using DetachFunction = int(WINAPI*)();

using velmorin::test::ReadFileBytes;

std::vector<unsigned char> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}
std::string Text(const std::vector<unsigned char>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// The engine, loaded for one test and unloaded after it (which detaches it).
class SkinEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine_ = ::LoadLibraryA(kEnginePath.c_str());
        ASSERT_NE(engine_, nullptr) << kEnginePath;
        attach_ =
            reinterpret_cast<AttachFunction>(reinterpret_cast<void*>(::GetProcAddress(engine_, "SkinH_AttachEx")));
        detach_ = reinterpret_cast<DetachFunction>(reinterpret_cast<void*>(::GetProcAddress(engine_, "SkinH_Detach")));
        ASSERT_NE(attach_, nullptr);
        ASSERT_NE(detach_, nullptr);
        folder_ = ScratchFolder("velmorin-skin");
    }
    void TearDown() override {
        if (engine_ != nullptr) ::FreeLibrary(engine_);
    }

    // Writes a theme file into the scratch folder and attaches it.
    int AttachBytes(const std::vector<unsigned char>& bytes, const char* name = "test.she") {
        const std::string path = folder_ + name;
        EXPECT_TRUE(WriteBytes(path.c_str(), bytes));
        return attach_(path.c_str(), "");
    }

    HMODULE engine_ = nullptr;
    AttachFunction attach_ = nullptr;
    DetachFunction detach_ = nullptr;
    std::string folder_;
};

const skin::Theme kTheme = DistinctTheme();
const skin::StateColours& kNormal = kTheme.states[skin::kStateNormal];

// The face is sampled just inside the border, clear of the focus rectangle and text.
COLORREF FaceOf(const Capture& capture) {
    return capture.At(kTheme.borderWidth, kTheme.borderWidth);
}
COLORREF BorderOf(const Capture& capture) {
    return capture.At(0, capture.height / 2);
}

TEST(SkinEngineFile, IsA32BitDllNamedSkinHElThatExportsAttachExUndecorated) {
    const std::vector<unsigned char> image = ReadFileBytes(VELMORIN_SKIN_DLL);
    ASSERT_GT(image.size(), 0x200u);
    auto read16 = [&](std::size_t at) { return static_cast<unsigned>(image.at(at) | image.at(at + 1) << 8); };
    auto read32 = [&](std::size_t at) { return read16(at) | read16(at + 2) << 16; };
    ASSERT_EQ(image[0], 'M');
    ASSERT_EQ(image[1], 'Z');
    const std::size_t pe = read32(0x3C);
    ASSERT_EQ(read32(pe), 0x00004550u);  // "PE\0\0"
    EXPECT_EQ(read16(pe + 4), IMAGE_FILE_MACHINE_I386);
    EXPECT_NE(read16(pe + 22) & IMAGE_FILE_DLL, 0u);
    const std::size_t optional = pe + 24;
    ASSERT_EQ(read16(optional), IMAGE_NT_OPTIONAL_HDR32_MAGIC);  // PE32

    // Maps relative addresses to file offsets through the section table.
    const unsigned sectionCount = read16(pe + 6);
    const std::size_t sections = optional + read16(pe + 20);
    auto offsetOf = [&](unsigned rva) -> std::size_t {
        for (unsigned i = 0; i < sectionCount; ++i) {
            const std::size_t s = sections + i * 40;
            const unsigned address = read32(s + 12), size = read32(s + 16), raw = read32(s + 20);
            if (rva >= address && rva < address + size) return raw + (rva - address);
        }
        ADD_FAILURE() << "address outside every section: " << rva;
        return 0;
    };
    auto textAt = [&](unsigned rva) { return std::string(reinterpret_cast<const char*>(&image.at(offsetOf(rva)))); };

    const unsigned exportRva = read32(optional + 96);
    ASSERT_NE(exportRva, 0u);
    const std::size_t exports = offsetOf(exportRva);
    EXPECT_EQ(textAt(read32(exports + 12)), "SkinH_EL.dll");
    std::vector<std::string> names;
    for (unsigned i = 0; i < read32(exports + 24); ++i)
        names.push_back(textAt(read32(offsetOf(read32(exports + 32)) + 4 * i)));
    EXPECT_NE(std::find(names.begin(), names.end(), "SkinH_AttachEx"), names.end());
    for (const std::string& name : names) EXPECT_EQ(name.find('@'), std::string::npos) << name;

    // Statically linked: only libraries that come with Windows are imported.
    const unsigned importRva = read32(optional + 104);
    ASSERT_NE(importRva, 0u);
    const char* const system[] = {"comctl32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "user32.dll"};
    for (std::size_t d = offsetOf(importRva); read32(d + 12) != 0; d += 20) {
        const std::string name = textAt(read32(d + 12));
        const bool known = std::any_of(std::begin(system), std::end(system),
                                       [&](const char* s) { return lstrcmpiA(s, name.c_str()) == 0; });
        EXPECT_TRUE(known) << "imports " << name;
    }
}

TEST_F(SkinEngineTest, AcceptsTheShippedThemeWithAnEmptySecondText) {
    EXPECT_EQ(attach_(kShippedTheme.c_str(), ""), 0);
    EXPECT_EQ(detach_(), 0);
    EXPECT_EQ(attach_(kShippedTheme.c_str(), nullptr), 0);
}

TEST_F(SkinEngineTest, DrawsPushButtonsInTheThemeAndLeavesOtherButtonsAlone) {
    ButtonBench before;
    HWND earlier = before.AddButton("Earlier", BS_PUSHBUTTON, 1);
    ASSERT_EQ(AttachBytes(ThemeText(kTheme)), 0);

    ButtonBench bench;
    HWND push = bench.AddButton("确定", BS_PUSHBUTTON, 10);
    HWND byDefault = bench.AddButton("Default", BS_DEFPUSHBUTTON, 11);
    HWND check = bench.AddButton("Check", BS_AUTOCHECKBOX, 12);
    HWND radio = bench.AddButton("Radio", BS_AUTORADIOBUTTON, 13);
    HWND group = bench.AddButton("Group", BS_GROUPBOX, 14);

    const Capture plain = CaptureFromScreen(push);
    EXPECT_EQ(FaceOf(plain), kNormal.face);
    EXPECT_EQ(BorderOf(plain), kNormal.border);
    EXPECT_GT(plain.Count(kNormal.text), 0) << "the text is drawn in the theme's text colour";
    EXPECT_EQ(plain.Count(kTheme.focus), 0) << "no focus rectangle without the focus";

    const Capture defaulted = CaptureFromScreen(byDefault);
    EXPECT_EQ(FaceOf(defaulted), kNormal.face);
    EXPECT_EQ(BorderOf(defaulted), kTheme.defaultBorder);

    // Printed rather than read off the screen: the earlier window lies under this one.
    for (HWND other : {check, radio, group, earlier}) {
        char name[32] = {};
        ::GetWindowTextA(other, name, sizeof name);
        EXPECT_EQ(CaptureByPrinting(other).Count(kNormal.face), 0)
            << name << ": only push buttons created after the call are themed";
    }

    // Text and font stay the button's own.
    char text[32] = {};
    ::GetWindowTextA(push, text, sizeof text);
    EXPECT_STREQ(text, "确定");
    EXPECT_EQ(::SendMessageA(push, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

TEST_F(SkinEngineTest, DrawsHoverPressedFocusAndDisabledStates) {
    ASSERT_EQ(AttachBytes(ThemeText(kTheme)), 0);
    ButtonBench bench;
    HWND button = bench.AddButton("State", BS_PUSHBUTTON, 20);
    const skin::StateColours& hover = kTheme.states[skin::kStateHover];
    const skin::StateColours& pressed = kTheme.states[skin::kStatePressed];
    const skin::StateColours& disabled = kTheme.states[skin::kStateDisabled];

    // Hover follows the real mouse: moving in, then out (TrackMouseEvent's WM_MOUSELEAVE).
    RECT area;
    ::GetWindowRect(button, &area);
    ::SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    PumpMessages(200);
    Capture capture = CaptureFromScreen(button);
    EXPECT_EQ(FaceOf(capture), hover.face);
    EXPECT_EQ(BorderOf(capture), hover.border);
    ::SetCursorPos(area.left - 50, area.bottom + 60);
    PumpMessages(200);
    EXPECT_EQ(FaceOf(CaptureFromScreen(button)), kNormal.face);

    ::SendMessageA(button, BM_SETSTATE, TRUE, 0);
    capture = CaptureFromScreen(button);
    EXPECT_EQ(FaceOf(capture), pressed.face);
    EXPECT_EQ(BorderOf(capture), pressed.border);
    EXPECT_GT(capture.Count(pressed.text), 0);
    ::SendMessageA(button, BM_SETSTATE, FALSE, 0);
    EXPECT_EQ(FaceOf(CaptureFromScreen(button)), kNormal.face);

    ::SetFocus(button);
    capture = CaptureFromScreen(button);
    EXPECT_EQ(capture.At(kTheme.focusInset, capture.height / 2), kTheme.focus);
    ::SetFocus(bench.window());
    EXPECT_EQ(CaptureFromScreen(button).Count(kTheme.focus), 0);

    ::EnableWindow(button, FALSE);
    capture = CaptureFromScreen(button);
    EXPECT_EQ(FaceOf(capture), disabled.face);
    EXPECT_EQ(BorderOf(capture), disabled.border);
    EXPECT_GT(capture.Count(disabled.text), 0);
    ::EnableWindow(button, TRUE);
    EXPECT_EQ(FaceOf(CaptureFromScreen(button)), kNormal.face);
}

TEST_F(SkinEngineTest, ThemedButtonsStillClickWithMouseSpaceAndMoveFocusWithTab) {
    ASSERT_EQ(AttachBytes(ThemeText(kTheme)), 0);
    ButtonBench bench;
    HWND first = bench.AddButton("First", BS_PUSHBUTTON, 30);
    HWND second = bench.AddButton("Second", BS_PUSHBUTTON, 31);
    ASSERT_EQ(FaceOf(CaptureFromScreen(first)), kNormal.face);

    const LPARAM centre = MAKELPARAM(50, 17);
    ::SendMessageA(first, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    EXPECT_EQ(FaceOf(CaptureFromScreen(first)), kTheme.states[skin::kStatePressed].face);
    ::SendMessageA(first, WM_LBUTTONUP, 0, centre);
    EXPECT_EQ(bench.Clicks(30), 1);

    ::SetFocus(first);
    ::SendMessageA(first, WM_KEYDOWN, VK_SPACE, 0x00390001);
    ::SendMessageA(first, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(bench.Clicks(30), 2);
    EXPECT_EQ(bench.Clicks(31), 0);

    MSG tab = {first, WM_KEYDOWN, VK_TAB, 0x000F0001, 0, {}};
    EXPECT_TRUE(::IsDialogMessageA(bench.window(), &tab));
    EXPECT_EQ(::GetFocus(), second);
    EXPECT_EQ(CaptureFromScreen(second).At(kTheme.focusInset, 17), kTheme.focus);
}

TEST_F(SkinEngineTest, MessageBoxButtonsAreThemed) {
    ASSERT_EQ(AttachBytes(ThemeText(kTheme)), 0);
    COLORREF seenFace = CLR_INVALID;
    bool found = false;
    std::thread watcher([&] {
        HWND box = WaitForMessageBox(::GetCurrentProcessId(), 20000);
        if (box == nullptr) return;
        found = true;
        if (HWND ok = ::GetDlgItem(box, IDOK)) seenFace = FaceOf(CaptureByPrinting(ok));
        DismissMessageBox(box);
    });
    const int answer = ::MessageBoxA(nullptr, "主题测试", "Velmorin", MB_OK);
    watcher.join();
    EXPECT_EQ(answer, IDOK);
    ASSERT_TRUE(found) << "no message box appeared";
    EXPECT_EQ(seenFace, kNormal.face);
}

struct BadTheme {
    const char* name;
    std::vector<unsigned char> bytes;
    int expected;
};

// A well-formed theme text with one line replaced (or removed when replacement is empty).
std::vector<unsigned char> WithLine(const std::string& key, const std::string& replacement) {
    std::string text = Text(ThemeText(kTheme));
    const std::size_t at = text.find("\n" + key + " ");
    const std::size_t end = text.find('\n', at + 1);
    text.replace(at + 1, end - at, replacement.empty() ? "" : replacement + "\n");
    return Bytes(text);
}

TEST_F(SkinEngineTest, RefusesBadThemeFilesAndAppliesNothing) {
    const std::string good = Text(ThemeText(kTheme));
    const std::vector<BadTheme> cases = {
        {"empty file", {}, 4},
        {"shorter than the magic", Bytes(".SH"), 4},
        {"wrong magic", Bytes("SHE." + good.substr(4)), 4},
        {"magic only", Bytes(".SHE"), 6},
        {"version 2", Bytes(".SHE 2" + good.substr(good.find('\n'))), 5},
        {"no version", Bytes(".SHE" + good.substr(good.find('\n'))), 6},
        {"truncated at a line end", Bytes(good.substr(0, good.find("pressed-face"))), 9},
        {"truncated inside a colour", Bytes(good.substr(0, good.find("#", good.find("pressed-face")) + 3)), 6},
        {"oversized", Bytes(good + "; " + std::string(4200, 'x') + "\n"), 3},
        {"not a colour", WithLine("face", "face #2A9D4G"), 6},
        {"colour without #", WithLine("face", "face 2A9D4A"), 6},
        {"border width 0", WithLine("border-width", "border-width 0"), 10},
        {"border width 5", WithLine("border-width", "border-width 5"), 10},
        {"focus inset huge", WithLine("focus-inset", "focus-inset 4294967297"), 10},
        {"negative metric", WithLine("focus-inset", "focus-inset -1"), 6},
        {"unknown key", Bytes(good + "shadow #000000\n"), 7},
        {"duplicate key", Bytes(good + "face #000000\n"), 8},
        {"missing key", WithLine("focus", ""), 9},
        {"key without value", WithLine("text", "text"), 6},
        {"NUL byte", Bytes(good.substr(0, 20) + std::string(1, '\0') + good.substr(20)), 6},
        {"lone CR", Bytes(good.substr(0, 20) + "\r" + good.substr(20)), 6},
        {"non-ASCII byte", Bytes(good + "; \xE4\xB8\xAD\n"), 6},
    };
    ButtonBench bench;
    for (const BadTheme& bad : cases) {
        SCOPED_TRACE(bad.name);
        EXPECT_EQ(AttachBytes(bad.bytes), bad.expected);
        HWND button = bench.AddButton("Bad", BS_PUSHBUTTON, 40);
        EXPECT_EQ(CaptureFromScreen(button).Count(kNormal.face), 0) << "a refused theme applies nothing";
        ::DestroyWindow(button);
    }
    EXPECT_EQ(attach_(nullptr, ""), 1);
    EXPECT_EQ(attach_("", ""), 1);
    EXPECT_EQ(attach_((folder_ + "no-such.she").c_str(), ""), 2);
    EXPECT_EQ(attach_(folder_.c_str(), ""), 2) << "a folder is not a theme";
    EXPECT_EQ(detach_(), 1) << "nothing was attached";

    // The same text with CR LF line ends is fine.
    std::string crlf;
    for (char c : good) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(AttachBytes(Bytes(crlf)), 0);
}

TEST_F(SkinEngineTest, AttachingAgainChangesColoursButHooksOnce) {
    ASSERT_EQ(AttachBytes(ThemeText(kTheme)), 0);
    ButtonBench bench;
    HWND button = bench.AddButton("Again", BS_PUSHBUTTON, 50);
    skin::Theme second = kTheme;
    second.states[skin::kStateNormal].face = RGB(0x70, 0x30, 0xC0);
    ASSERT_EQ(AttachBytes(ThemeText(second), "second.she"), 0);
    EXPECT_EQ(FaceOf(CaptureFromScreen(button)), second.states[skin::kStateNormal].face);

    // A refused theme keeps the one applied.
    EXPECT_EQ(AttachBytes(Bytes("junk"), "junk.she"), 4);
    EXPECT_EQ(FaceOf(CaptureFromScreen(button)), second.states[skin::kStateNormal].face);

    // One detach undoes both calls: there was a single hook.
    EXPECT_EQ(detach_(), 0);
    EXPECT_EQ(detach_(), 1);
    HWND later = bench.AddButton("Later", BS_PUSHBUTTON, 51);
    EXPECT_EQ(CaptureFromScreen(later).Count(second.states[skin::kStateNormal].face), 0);
    EXPECT_EQ(CaptureFromScreen(button).Count(second.states[skin::kStateNormal].face), 0)
        << "detaching gives buttons their own drawing back";
}

TEST_F(SkinEngineTest, AnotherThreadCannotAttachWhileOneIsAttached) {
    ASSERT_EQ(AttachBytes(ThemeText(kTheme)), 0);
    const std::string path = folder_ + "test.she";
    int result = -1;
    std::thread other([&] { result = attach_(path.c_str(), ""); });
    other.join();
    EXPECT_EQ(result, 12);
}

TEST_F(SkinEngineTest, UnloadingTheEngineLeavesWorkingButtons) {
    ASSERT_EQ(AttachBytes(ThemeText(kTheme)), 0);
    ButtonBench bench;
    HWND button = bench.AddButton("Unload", BS_PUSHBUTTON, 60);
    ASSERT_EQ(FaceOf(CaptureFromScreen(button)), kNormal.face);
    ::FreeLibrary(engine_);
    engine_ = nullptr;
    ::InvalidateRect(button, nullptr, TRUE);
    EXPECT_EQ(CaptureFromScreen(button).Count(kNormal.face), 0);
    ::SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(bench.Clicks(60), 1);
    HWND later = bench.AddButton("Later", BS_PUSHBUTTON, 61);
    EXPECT_EQ(CaptureFromScreen(later).Count(kNormal.face), 0);
}

}  // namespace
