// The three repair actions: run chkntfs, restore BootExecute, switch the check off.
// Each knows whether it worked and says so in its notice.
#include "actions.h"

#include "platform/ansi_text.h"
#include "platform/handles.h"
#include "platform/maker.h"
#include "repair/registry.h"

namespace velmorin {
namespace {

constexpr int kMultiStringCode = 7;

std::string FeedbackLine() {
    return std::string("如有其它问题 欢迎访问：") + kMakerFeedbackAddress + " 进行反馈！";
}

}  // namespace

Notice NoticeFor(RepairResult result) {
    switch (result) {
        case RepairResult::Succeeded:
            return {"恭喜，修复成功，请重启电脑进行测试，如若无效请使用另外修复功能！\r\n" + FeedbackLine(),
                    MB_OK | MB_TASKMODAL};
        case RepairResult::RegistryNotWritten:
            return {"修复失败：无法写入注册表，请以管理员身份运行本程序。\r\n" + FeedbackLine(),
                    MB_OK | MB_TASKMODAL | MB_ICONWARNING};
        case RepairResult::ToolNotStarted:
            break;
    }
    return {"修复失败：无法启动系统工具 chkntfs，请以管理员身份运行本程序。\r\n" + FeedbackLine(),
            MB_OK | MB_TASKMODAL | MB_ICONWARNING};
}

void ShowNotice(const Notice& notice) {
    ::MessageBoxA(nullptr, notice.text.c_str(), kNoticeCaption, notice.flags);
}

std::string SystemToolPath(std::string_view fileName) {
    char directory[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(directory, sizeof directory);
    if (length == 0 || length >= sizeof directory) return {};
    std::string path(directory, length);
    if (FindLastBackslash(path) != path.size() - 1) path += '\\';
    path += fileName;
    return path;
}

bool RunCommandLine(const std::string& application, std::string commandLine, bool wait, int show) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(application.empty() ? nullptr : application.c_str(), commandLine.data(), nullptr, nullptr,
                          FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    const UniqueHandle thread(info.hThread);
    const UniqueHandle process(info.hProcess);
    if (wait) {
        ::WaitForSingleObject(process.Get(), INFINITE);
    } else {
        ::WaitForInputIdle(process.Get(), 1000);
    }
    return true;
}

RepairResult ReplaceBootExecute(std::string_view entry, const RegistryWriter& write) {
    const ByteBlock data = BytesOf(entry);
    const ByteBlock expected = EncodeRegistryData(kMultiStringCode, data);
    const RegistryPathParts parts = SplitPathForDelete(kBootExecutePath);

    const RegistrySnapshot before = TakeRegistrySnapshot(HKEY_LOCAL_MACHINE, parts.key, parts.value);
    DeleteRegistryItem(kBootExecuteRoot, kBootExecutePath);
    bool ok = write(kBootExecuteRoot, kBootExecutePath, kMultiStringCode, data);
    if (ok) {
        const auto after = ReadRegistryValueA(HKEY_LOCAL_MACHINE, parts.key, parts.value);
        ok = after && after->type == REG_MULTI_SZ && after->bytes == expected;
    }
    if (!ok) RestoreRegistrySnapshot(HKEY_LOCAL_MACHINE, parts.key, parts.value, before);
    return ok ? RepairResult::Succeeded : RepairResult::RegistryNotWritten;
}

RepairResult ReplaceBootExecute(std::string_view entry) {
    return ReplaceBootExecute(entry, [](int root, std::string path, int type, ByteBlock data) {
        return WriteRegistryItem(root, std::move(path), type, std::move(data));
    });
}

RepairResult StartCountdownRepair() {
    const std::string program = SystemToolPath(kCountdownProgram);
    if (program.empty()) return RepairResult::ToolNotStarted;
    return RunCommandLine(program, kCountdownCommandLine, false, SW_SHOWNORMAL) ? RepairResult::Succeeded
                                                                                : RepairResult::ToolNotStarted;
}

void RepairCountdown() {
    ShowNotice(NoticeFor(StartCountdownRepair()));
}
void RestoreBootCheck() {
    ShowNotice(NoticeFor(ReplaceBootExecute(kRestoreEntry)));
}
void DisableBootCheck() {
    ShowNotice(NoticeFor(ReplaceBootExecute(kBlankEntry)));
}

}  // namespace velmorin
