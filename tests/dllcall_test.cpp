// The DLL-call layer: binding order, single binding, release, the checked call, and
// every fatal stop observed from a parent process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "dllcall/dll_commands.h"
#include "dllcall/fatal.h"
#include "platform/ansi_text.h"
#include "support/process_probe.h"
#include "support/files.h"

using namespace velmorin;
using velmorin::test::WindowsPath;

namespace {

const std::string kFixtures = WindowsPath(VELMORIN_FIXTURES);
const std::string kLibraryA = kFixtures + "\\velmorin_testlib_a.dll";
const std::string kLibraryB = kFixtures + "\\velmorin_testlib_b.dll";

std::uint32_t Call(DllCommand& entry, std::initializer_list<std::uint32_t> arguments) {
    return CallDllEntry(entry, std::span<const std::uint32_t>(arguments.begin(), arguments.size()));
}

TEST(DllCommandBinding, EmptyLibraryNameTakesTheFirstListedLibraryThatExportsTheFunction) {
    const char* const libraries[] = {"velmorin_no_such_library.dll", kLibraryA.c_str(), kLibraryB.c_str()};
    DllCommand shared{"", "SharedFunction"};
    ResolveDllCommand(shared, libraries);
    ASSERT_NE(shared.address, nullptr);
    EXPECT_EQ(shared.module, ::GetModuleHandleA(kLibraryA.c_str()));
    EXPECT_EQ(Call(shared, {}), static_cast<std::uint32_t>('a'));

    // A library that lacks the function is released before the next one is tried.
    DllCommand onlyB{"", "OnlyInB"};
    ::FreeLibrary(shared.module);
    ASSERT_EQ(::GetModuleHandleA(kLibraryA.c_str()), nullptr);
    ResolveDllCommand(onlyB, libraries);
    EXPECT_EQ(onlyB.module, ::GetModuleHandleA(kLibraryB.c_str()));
    EXPECT_EQ(::GetModuleHandleA(kLibraryA.c_str()), nullptr);
    EXPECT_EQ(Call(onlyB, {}), static_cast<std::uint32_t>('b'));
    ::FreeLibrary(onlyB.module);
}

TEST(DllCommandBinding, BindsOnceAndTakesOneLibraryReference) {
    DllCommand entry{kLibraryB, "AddTwo"};  // a name with a colon is a full path
    EXPECT_EQ(Call(entry, {40, 2}), 42u);
    const FARPROC first = entry.address;
    EXPECT_EQ(Call(entry, {1, 2}), 3u);
    EXPECT_EQ(entry.address, first);
    // One FreeLibrary gives the library back: the second call loaded nothing.
    ::FreeLibrary(entry.module);
    EXPECT_EQ(::GetModuleHandleA(kLibraryB.c_str()), nullptr);
}

TEST(DllCommandBinding, NamedLibraryIsLoadedFromTheProgramDirectory) {
    // This test program lives beside the fixture libraries.
    DllCommand entry{"velmorin_testlib_a.dll", "AddTwo"};
    EXPECT_EQ(Call(entry, {5, 6}), 11u);
    EXPECT_EQ(entry.module, ::GetModuleHandleA(kLibraryA.c_str()));
    ::FreeLibrary(entry.module);
}

TEST(DllCommandTable, RegistryEntriesBindToTheFirstSystemLibraryExportingThemAndReleaseEmptiesTheTable) {
    InitDllCommands();
    EXPECT_EQ(DllCommandEntry(kSkinAttachCommand).library, "jedata.dll");
    EXPECT_EQ(DllCommandEntry(kSkinAttachCommand).function, "SkinH_AttachEx");
    for (int index = 0; index < kDllCommandCount; ++index) EXPECT_EQ(DllCommandEntry(index).module, nullptr);

    HKEY key = nullptr;
    const auto status = CallDllCommand(kRegOpenKeyCommand, HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key);
    EXPECT_EQ(status, static_cast<std::uint32_t>(ERROR_SUCCESS));
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(CallDllCommand(kRegCloseKeyCommand, key), static_cast<std::uint32_t>(ERROR_SUCCESS));

    const DllCommand& open = DllCommandEntry(kRegOpenKeyCommand);
    ASSERT_NE(open.module, nullptr);
    bool reached = false;
    for (const char* name : SystemLibraryList()) {
        const HMODULE library = ::GetModuleHandleA(name);
        if (library == open.module) {
            reached = true;
            break;
        }
        EXPECT_TRUE(library == nullptr || ::GetProcAddress(library, "RegOpenKeyExA") == nullptr)
            << name << " comes earlier in the list and exports the function";
    }
    EXPECT_TRUE(reached);
    EXPECT_EQ(DllCommandEntry(kRegSetValueCommand).module, nullptr) << "bound only on first use";

    ReleaseDllCommands();
    for (int index = 0; index < kDllCommandCount; ++index) {
        EXPECT_EQ(DllCommandEntry(index).module, nullptr);
        EXPECT_EQ(DllCommandEntry(index).address, nullptr);
        EXPECT_TRUE(DllCommandEntry(index).function.empty());
    }
    ReleaseDllCommands();  // nothing left to do
}

TEST(FatalErrorText, IsBuiltByteForByte) {
    EXPECT_EQ(FatalErrorText(0, ""), "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n");
    EXPECT_EQ(FatalErrorText(6, "m"),
              "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
              "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA"
              "6\r\n\r\n"
              "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"
              "m\r\n");
    EXPECT_EQ(FatalErrorText(-1, ""),
              FatalErrorText(0, "").append("\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA-1\r\n\r\n"));
}

using velmorin::test::ReadFile;

struct FatalCase {
    const char* mode;
    int code;
    std::string message;
    const char* freedLog;  // what the fixture libraries record about FreeLibrary
};

class FatalStop : public ::testing::TestWithParam<FatalCase> {};

TEST_P(FatalStop, ShowsTheReportReleasesLibrariesAndExitsWithMinusOne) {
    const FatalCase& c = GetParam();
    const std::string log = kFixtures + "\\detach-" + c.mode + ".log";
    std::remove(log.c_str());
    ::SetEnvironmentVariableA("VELMORIN_DETACH_LOG", log.c_str());

    const test::ProbeRun run = test::RunProbe(kFixtures + "\\fatal_probe.exe", c.mode);
    ASSERT_TRUE(run.started);
    ASSERT_TRUE(run.boxShown);
    EXPECT_EQ(run.box.caption, "\xB4\xED\xCE\xF3");  // 错误
    EXPECT_EQ(run.box.text, FatalErrorText(c.code, c.message));
    EXPECT_TRUE(run.box.hasIcon);
    EXPECT_FALSE(run.box.hasOwner);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
    EXPECT_EQ(ReadFile(log), c.freedLog);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, FatalStop,
    ::testing::Values(
        // The jedata.dll beside the probe is bound first; it removes 12 bytes where 8
        // were pushed, and the report frees it before the process ends.
        FatalCase{"skin-unbalanced", 6, kStackUnbalanced, "freed j\n"}, FatalCase{"stack", 6, kStackUnbalanced, ""},
        FatalCase{"missing-library", 0,
                  "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD6\xB8\xB6\xA8"
                  "DLL"
                  "\xBF\xE2\xCE\xC4\xBC\xFE\xA1\xB0velmorin_no_such_library.dll\xA1\xB1\xD6\xD0\xB5\xC4"
                  "\xCA\xE4\xB3\xF6\xC3\xFC\xC1\xEE\xA1\xB0SkinH_AttachEx\xA1\xB1",
                  ""},
        // A library that lacks the function is released before the report.
        FatalCase{"missing-export", 0,
                  FormatText(kNamedLibraryCommandMissing, "velmorin_testlib_a.dll", "NoSuchExport"), "freed a\n"},
        FatalCase{"missing-system", 0, FormatText(kSystemLibraryCommandMissing, "VelmorinNoSuchFunction"), ""},
        FatalCase{"root-code", 9, kChoiceIndexOutOfRange, ""}, FatalCase{"type-code", 9, kChoiceIndexOutOfRange, ""},
        FatalCase{"allocation", 0, "\xB7\xD6\xC5\xE4 1073741824 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!", ""},
        FatalCase{"window", 0, "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC", ""}),
    [](const auto& testInfo) {
        std::string name = testInfo.param.mode;
        for (char& ch : name) {
            if (ch == '-') ch = '_';
        }
        return name;
    });

}  // namespace
