// Theme deployment: the file writer's cases, and DeployTheme writing the embedded
// engine and theme into C:\Windows and applying the theme through DLL-call entry 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dllcall/dll_commands.h"
#include "skin/button_bench.h"
#include "skin/theme_format.h"
#include "support/message_box.h"
#include "theme/deploy.h"
#include "support/files.h"

using namespace velmorin;
using namespace velmorin::test;

namespace {

using velmorin::test::ReadFileBytes;
std::vector<unsigned char> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}
std::vector<unsigned char> Bytes(ByteView view) {
    return {view.begin(), view.end()};
}
bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class WriteWholeFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = ScratchFolder("velmorin-write");
        path_ = folder_ + "out.bin";
        ::DeleteFileA(path_.c_str());
    }
    std::string folder_;
    std::string path_;
};

TEST_F(WriteWholeFileTest, WritesTheBlocksInOrderSkippingEmptyOnes) {
    const auto first = Bytes(std::string_view("abc")), second = Bytes(std::string_view("de"));
    EXPECT_TRUE(WriteWholeFile(path_, {first, ByteView{}, second}));
    EXPECT_EQ(ReadFileBytes(path_), Bytes(std::string_view("abcde")));
}

TEST_F(WriteWholeFileTest, OverwritingTruncatesAndOnlyEmptyBlocksLeaveAnEmptyFile) {
    ASSERT_TRUE(WriteWholeFile(path_, {Bytes(std::string_view("a longer first content"))}));
    EXPECT_TRUE(WriteWholeFile(path_, {Bytes(std::string_view("short"))}));
    EXPECT_EQ(ReadFileBytes(path_), Bytes(std::string_view("short")));
    EXPECT_TRUE(WriteWholeFile(path_, {ByteView{}, ByteView{}}));
    ASSERT_TRUE(Exists(path_));
    EXPECT_TRUE(ReadFileBytes(path_).empty());
}

TEST_F(WriteWholeFileTest, FailsWithoutTouchingAnythingWhenTheFileCannotBeMade) {
    EXPECT_FALSE(WriteWholeFile("", {Bytes(std::string_view("x"))}));
    EXPECT_FALSE(WriteWholeFile(folder_ + "no-such-folder\\out.bin", {Bytes(std::string_view("x"))}));
    EXPECT_FALSE(Exists(folder_ + "no-such-folder"));
    EXPECT_FALSE(WriteWholeFile(folder_.substr(0, folder_.size() - 1), {Bytes(std::string_view("x"))}))
        << "a folder is not a file";

    // A file someone holds open without sharing stays as it was.
    ASSERT_TRUE(WriteWholeFile(path_, {Bytes(std::string_view("kept"))}));
    HANDLE held = ::CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteWholeFile(path_, {Bytes(std::string_view("lost"))}));
    ::CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(path_), Bytes(std::string_view("kept")));
}

// The colours of the embedded theme, read with the engine's own parser.
skin::Theme EmbeddedTheme() {
    skin::Theme theme;
    const ByteView block = ThemeBlock();
    EXPECT_EQ(skin::ParseTheme(block.data(), block.size(), theme).status, skin::kThemeOk);
    return theme;
}

TEST(DeployTheme, WritesBothFilesBindsEntryZeroAndAppliesTheTheme) {
    // A file of the same name left by an earlier run is replaced.
    ::DeleteFileA(kSkinLibraryPath);
    ASSERT_TRUE(WriteWholeFile(kThemePath, {Bytes(std::string_view("stale"))}));
    InitDllCommands();
    ASSERT_EQ(DllCommandEntry(kSkinAttachCommand).module, nullptr);

    EXPECT_EQ(DeployTheme(), 0);

    // Byte for byte what the build produced.
    EXPECT_EQ(ReadFileBytes(kSkinLibraryPath), Bytes(SkinLibraryBlock()));
    EXPECT_EQ(ReadFileBytes(kThemePath), Bytes(ThemeBlock()));
    EXPECT_EQ(Bytes(SkinLibraryBlock()), ReadFileBytes(WindowsPath(VELMORIN_SKIN_DLL)));
    EXPECT_EQ(Bytes(ThemeBlock()), ReadFileBytes(WindowsPath(VELMORIN_THEME_FILE)));
    EXPECT_EQ(SkinLibraryBlock()[0], 'M');
    EXPECT_EQ(SkinLibraryBlock()[1], 'Z');

    // Entry 0 was bound to the library written into the Windows directory.
    const DllCommand& entry = DllCommandEntry(kSkinAttachCommand);
    ASSERT_NE(entry.module, nullptr);
    ASSERT_NE(entry.address, nullptr);
    char loaded[MAX_PATH] = {};
    ::GetModuleFileNameA(entry.module, loaded, MAX_PATH);
    EXPECT_EQ(lstrcmpiA(loaded, kSkinLibraryPath), 0) << loaded;

    // The hook is active: a push button made now wears the theme.
    const skin::Theme theme = EmbeddedTheme();
    {
        ButtonBench bench;
        HWND button = bench.AddButton("确定", BS_PUSHBUTTON, 1);
        const Capture capture = CaptureFromScreen(button);
        EXPECT_EQ(capture.At(theme.borderWidth, theme.borderWidth), theme.states[skin::kStateNormal].face);
        EXPECT_EQ(capture.At(0, capture.height / 2), theme.states[skin::kStateNormal].border);
    }

    // A second start while the library is in use: its file cannot be rewritten, the
    // theme file is, and the library already there goes on working.
    ASSERT_TRUE(WriteWholeFile(kThemePath, {Bytes(std::string_view("stale"))}));
    EXPECT_FALSE(WriteWholeFile(kSkinLibraryPath, {SkinLibraryBlock()}));
    EXPECT_EQ(DeployTheme(), 0);
    EXPECT_EQ(ReadFileBytes(kThemePath), Bytes(ThemeBlock()));
    EXPECT_EQ(DllCommandEntry(kSkinAttachCommand).module, entry.module);

    // Shutdown frees the library, and with it the hook: buttons are plain again.
    ReleaseDllCommands();
    EXPECT_EQ(::GetModuleHandleA("jedata.dll"), nullptr);
    ButtonBench bench;
    HWND later = bench.AddButton("Later", BS_PUSHBUTTON, 2);
    EXPECT_EQ(CaptureFromScreen(later).Count(theme.states[skin::kStateNormal].face), 0);
}

}  // namespace
