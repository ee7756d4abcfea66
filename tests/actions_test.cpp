// The repair actions against the test prefix's real Session Manager key: values written,
// failures reported instead of success, the old value kept when a write fails, and
// chkntfs started from the system directory only.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>

#include "repair/actions.h"
#include "repair/registry.h"
#include "support/notice_watcher.h"
#include "support/registry_fixture.h"
#include "support/files.h"

using namespace velmorin;
using test::BootExecuteAnsi;
using test::BootExecuteRaw;

namespace {

constexpr char kSuccessText[] =
    "\xB9\xA7\xCF\xB2\xA3\xAC\xD0\xDE\xB8\xB4\xB3\xC9\xB9\xA6\xA3\xAC\xC7\xEB\xD6\xD8\xC6\xF4\xB5\xE7\xC4\xD4"
    "\xBD\xF8\xD0\xD0\xB2\xE2\xCA\xD4\xA3\xAC\xC8\xE7\xC8\xF4\xCE\xDE\xD0\xA7\xC7\xEB\xCA\xB9\xD3\xC3\xC1\xED"
    "\xCD\xE2\xD0\xDE\xB8\xB4\xB9\xA6\xC4\xDC\xA3\xA1\r\n";
constexpr char kFeedbackLine[] =
    "\xC8\xE7\xD3\xD0\xC6\xE4\xCB\xFC\xCE\xCA\xCC\xE2 \xBB\xB6\xD3\xAD\xB7\xC3\xCE\xCA\xA3\xBA"
    "https://www.tassow.example/feedback \xBD\xF8\xD0\xD0\xB7\xB4\xC0\xA1\xA3\xA1";
constexpr char kRegistryFailure[] =
    "\xD0\xDE\xB8\xB4\xCA\xA7\xB0\xDC\xA3\xBA\xCE\xDE\xB7\xA8\xD0\xB4\xC8\xEB\xD7\xA2\xB2\xE1\xB1\xED\xA3\xAC"
    "\xC7\xEB\xD2\xD4\xB9\xDC\xC0\xED\xD4\xB1\xC9\xED\xB7\xDD\xD4\xCB\xD0\xD0\xB1\xBE\xB3\xCC\xD0\xF2\xA1\xA3\r\n";
constexpr char kToolFailure[] =
    "\xD0\xDE\xB8\xB4\xCA\xA7\xB0\xDC\xA3\xBA\xCE\xDE\xB7\xA8\xC6\xF4\xB6\xAF\xCF\xB5\xCD\xB3\xB9\xA4\xBE\xDF"
    " chkntfs\xA3\xAC\xC7\xEB\xD2\xD4\xB9\xDC\xC0\xED\xD4\xB1\xC9\xED\xB7\xDD\xD4\xCB\xD0\xD0\xB1\xBE\xB3\xCC"
    "\xD0\xF2\xA1\xA3\r\n";
constexpr char kCaption[] = "\xD0\xC5\xCF\xA2\xA3\xBA";

const RegistryValue kRestored{REG_MULTI_SZ, BytesOf(std::string_view("autocheck autochk *\0\0", 21))};
const RegistryValue kDisabled{REG_MULTI_SZ, BytesOf(std::string_view(" \0\0", 3))};

bool operator==(const RegistryValue& a, const RegistryValue& b) {
    return a.type == b.type && a.bytes == b.bytes;
}

// Runs an action and returns the one notice it showed (fails the test on none or more).
test::MessageBoxSeen RunWithNotice(void (*action)()) {
    test::NoticeWatcher watcher;
    action();
    const auto& boxes = watcher.Boxes();
    EXPECT_EQ(boxes.size(), 1u) << "exactly one notice per click";
    return boxes.empty() ? test::MessageBoxSeen{} : boxes.front();
}

TEST(Notice, TextsAndStylesAreExact) {
    const Notice success = NoticeFor(RepairResult::Succeeded);
    EXPECT_EQ(success.text, std::string(kSuccessText) + kFeedbackLine);
    EXPECT_EQ(success.flags, static_cast<UINT>(MB_OK | MB_TASKMODAL));
    const Notice registry = NoticeFor(RepairResult::RegistryNotWritten);
    EXPECT_EQ(registry.text, std::string(kRegistryFailure) + kFeedbackLine);
    EXPECT_EQ(registry.flags, static_cast<UINT>(MB_OK | MB_TASKMODAL | MB_ICONWARNING));
    const Notice tool = NoticeFor(RepairResult::ToolNotStarted);
    EXPECT_EQ(tool.text, std::string(kToolFailure) + kFeedbackLine);
    EXPECT_EQ(tool.flags, static_cast<UINT>(MB_OK | MB_TASKMODAL | MB_ICONWARNING));
}

TEST(BootCheckActions, RestoreAndDisableWriteTheirValuesTwiceAndAfterEachOther) {
    test::BootExecuteGuard guard;
    test::SetBootExecuteRaw(std::nullopt);
    struct Step {
        void (*action)();
        const RegistryValue* expected;
    };
    const Step steps[] = {{RestoreBootCheck, &kRestored},
                          {RestoreBootCheck, &kRestored},
                          {DisableBootCheck, &kDisabled},
                          {DisableBootCheck, &kDisabled},
                          {RestoreBootCheck, &kRestored}};
    for (const Step& step : steps) {
        const test::MessageBoxSeen box = RunWithNotice(step.action);
        EXPECT_EQ(box.caption, kCaption);
        EXPECT_EQ(box.text, std::string(kSuccessText) + kFeedbackLine);
        EXPECT_FALSE(box.hasIcon);
        EXPECT_FALSE(box.hasOwner);
        const auto value = BootExecuteAnsi();
        ASSERT_TRUE(value);
        EXPECT_TRUE(*value == *step.expected);
    }
}

TEST(BootCheckActions, AKeyThatCannotBeWrittenIsReportedAndTheValueStays) {
    test::BootExecuteGuard guard;
    const RegistryValue before{REG_MULTI_SZ, BytesOf(std::string_view("autocheck autochk *\0custom\0\0", 28))};
    test::SetBootExecuteRaw(std::nullopt);
    ASSERT_TRUE(WriteRegistryItem(4, kBootExecutePath, 7, BytesOf("autocheck autochk *\r\ncustom")));
    ASSERT_TRUE(*BootExecuteAnsi() == before);

    test::DenySetValue deny(HKEY_LOCAL_MACHINE, test::kSessionManagerKey);
    ASSERT_TRUE(deny.Applied());
    for (auto action : {DisableBootCheck, RestoreBootCheck}) {
        const test::MessageBoxSeen box = RunWithNotice(action);
        EXPECT_EQ(box.text, std::string(kRegistryFailure) + kFeedbackLine);
        EXPECT_TRUE(box.hasIcon);
        EXPECT_TRUE(*BootExecuteAnsi() == before);
    }
}

// Makes the write fail for real after the deletion went through: the key is denied to
// writers just for the write, then opened again for the rollback.
bool WriteWhileDenied(int root, std::string path, int type, ByteBlock data) {
    test::DenySetValue deny(HKEY_LOCAL_MACHINE, test::kSessionManagerKey);
    EXPECT_TRUE(deny.Applied());
    return WriteRegistryItem(root, std::move(path), type, std::move(data));
}

TEST(BootCheckActions, AWriteFailingAfterTheDeletionPutsTheOldValueBackExactly) {
    test::BootExecuteGuard guard;
    // A value the ANSI calls could not carry (U+0E01 has no code page 936 form) must
    // come back byte for byte, and so must its absence.
    const RegistryValue unusual{REG_MULTI_SZ, {'a', 0, 0x01, 0x0E, 0, 0, 0, 0}};
    for (const auto& previous : {std::optional<RegistryValue>(unusual), std::optional<RegistryValue>()}) {
        test::SetBootExecuteRaw(previous);
        bool deletedBeforeWrite = false;
        const RepairResult result =
            ReplaceBootExecute(kRestoreEntry, [&](int root, std::string path, int type, ByteBlock data) {
                deletedBeforeWrite = !BootExecuteRaw().has_value();
                return WriteWhileDenied(root, std::move(path), type, std::move(data));
            });
        EXPECT_EQ(result, RepairResult::RegistryNotWritten);
        EXPECT_TRUE(deletedBeforeWrite) << "the value is deleted before it is written";
        const auto after = BootExecuteRaw();
        ASSERT_EQ(after.has_value(), previous.has_value());
        if (previous) {
            EXPECT_TRUE(*after == *previous);
        }
    }
}

TEST(BootCheckActions, AMissingKeyIsReportedAndNothingIsCreated) {
    // The actions' own writer never creates a key; a missing key fails like a locked one.
    test::ScratchKey scratch("MissingKey");
    EXPECT_FALSE(WriteRegistryItem(3, scratch.Path() + "\\Gone\\BootExecute", 7, BytesOf(kRestoreEntry)));
    const auto missing = ReadRegistryValueA(HKEY_CURRENT_USER, scratch.Path() + "\\Gone", "BootExecute");
    EXPECT_FALSE(missing);
}

using velmorin::test::ReadFile;

std::string WaitForLog(const std::string& path) {
    for (int i = 0; i < 200; ++i) {
        const std::string text = ReadFile(path);
        if (!text.empty()) return text;
        ::Sleep(50);
    }
    return {};
}

TEST(CountdownAction, StartsOnlyTheSystemDirectorysChkntfsWithItsCommandLine) {
    const std::string fixtures = test::WindowsPath(VELMORIN_FIXTURES);
    const std::string fake = fixtures + "\\fake_chkntfs.exe";
    const std::string systemTool = SystemToolPath("chkntfs.exe");
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof current, current);
    const std::string planted = std::string(current) + "\\chkntfs.exe";
    const std::string log = fixtures + "\\chkntfs.log";
    ::DeleteFileA(log.c_str());
    ::SetEnvironmentVariableA("VELMORIN_CHKNTFS_LOG", log.c_str());
    test::BootExecuteGuard guard;
    const auto registryBefore = BootExecuteRaw();

    // A chkntfs.exe planted in the current directory must never run.
    ASSERT_TRUE(::CopyFileA(fake.c_str(), planted.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(fake.c_str(), systemTool.c_str(), FALSE)) << systemTool;
    test::MessageBoxSeen box = RunWithNotice(RepairCountdown);
    EXPECT_EQ(box.text, std::string(kSuccessText) + kFeedbackLine);
    // The tool reports its own path; a 32-bit process sees the system folder under its
    // 32-bit name on 64-bit Windows.
    char wow64[MAX_PATH] = {};
    const UINT wowLength = ::GetSystemWow64DirectoryA(wow64, sizeof wow64);
    const std::string recorded = WaitForLog(log);
    const std::string tail = "|chkntfs /t:0|" + std::to_string(SW_SHOWNORMAL) + "\n";
    const bool fromSystem =
        lstrcmpiA(recorded.c_str(), (systemTool + tail).c_str()) == 0 ||
        (wowLength != 0 && lstrcmpiA(recorded.c_str(), (std::string(wow64) + "\\chkntfs.exe" + tail).c_str()) == 0);
    EXPECT_TRUE(fromSystem) << recorded;

    // Without the system's tool the action says it could not start it.
    ::DeleteFileA(log.c_str());
    ASSERT_TRUE(::DeleteFileA(systemTool.c_str()));
    box = RunWithNotice(RepairCountdown);
    EXPECT_EQ(box.text, std::string(kToolFailure) + kFeedbackLine);
    EXPECT_TRUE(box.hasIcon);
    ::Sleep(500);
    EXPECT_EQ(ReadFile(log), "") << "nothing else was started in its place";
    ::DeleteFileA(planted.c_str());

    const auto registryAfter = BootExecuteRaw();
    ASSERT_EQ(registryAfter.has_value(), registryBefore.has_value());
    if (registryBefore) {
        EXPECT_TRUE(*registryAfter == *registryBefore) << "the countdown leaves the registry alone";
    }
}

}  // namespace
