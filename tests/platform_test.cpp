// Code page 936 text handling: the bench's code page, literal encoding, the two-byte
// rule for backslash searches, and the program directory derived from a module path.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/ansi_text.h"
#include "platform/process_state.h"

using namespace velmorin;

namespace {

TEST(CodePage, BenchRunsWithCodePage936AndLiteralsAreGbk) {
    ASSERT_EQ(::GetACP(), 936u) << "the test bench must run with LC_ALL=zh_CN.UTF-8";
    EXPECT_EQ(std::string("信息："), "\xD0\xC5\xCF\xA2\xA3\xBA");
    EXPECT_EQ(std::string("“%s”"), "\xA1\xB0%s\xA1\xB1");
}

struct BackslashCase {
    const char* text;
    std::size_t expected;
};

TEST(FindLastBackslash, NeverMatchesTheSecondByteOfATwoByteCharacter) {
    const BackslashCase cases[] = {
        {"", kNoPosition},
        {"abc", kNoPosition},
        {"a\\b\\c", 3},
        {"a\\b\\", 3},
        {"\\", 0},
        {"key\\name\x81\x5C", 3},      // the last character's second byte is 0x5C
        {"key\x81\x5C", kNoPosition},  // no backslash of its own at all
        {"a\\\x81\x5C\x81\x5C", 1},
        {"a\\b\x81", 1},  // a lone lead byte at the end stays a byte
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindLastBackslash(c.text), c.expected) << c.text;
    }
}

TEST(ProgramDirectory, IsTheModulePathCutBeforeItsLastBackslash) {
    EXPECT_EQ(DirectoryOfPath("C:\\Tools\\Velmorin.exe"), "C:\\Tools");
    EXPECT_EQ(DirectoryOfPath("Velmorin.exe"), "");
    EXPECT_EQ(DirectoryOfPath("C:\\Tools\\\x81\x5C.exe"), "C:\\Tools");
    EXPECT_EQ(DirectoryOfPath("C:\\\x81\x5C\\Velmorin.exe"), "C:\\\x81\x5C");

    char module[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, module, sizeof module);
    const std::string own = ProgramDirectory();
    EXPECT_EQ(own + "\\platform_test.exe", module);
    EXPECT_NE(own.back(), '\\');
}

TEST(ProgramDirectory, BecomesTheCurrentDirectoryWhateverItWasBefore) {
    ASSERT_TRUE(::SetCurrentDirectoryA("C:\\"));
    EnterProgramDirectory();
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof current, current);
    EXPECT_EQ(lstrcmpiA(current, ProgramDirectory().c_str()), 0) << current;
}

TEST(FormatText, FillsThePlaceholdersInOrder) {
    EXPECT_EQ(FormatText("\xA1\xB0%s\xA1\xB1 \xA1\xB0%s\xA1\xB1", "a.dll", "F"),
              "\xA1\xB0"
              "a.dll\xA1\xB1 \xA1\xB0"
              "F\xA1\xB1");
    EXPECT_EQ(FormatText("%d bytes", "12"), "12 bytes");
    EXPECT_EQ(FormatText("100%", "x"), "100%");
    EXPECT_EQ(FormatText("%s %s %s", "1", "2"), "1 2 %s");
}

}  // namespace
