// The three repair actions and their notice.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "platform/byte_block.h"

namespace velmorin {

inline constexpr int kBootExecuteRoot = 4;  // HKEY_LOCAL_MACHINE
inline constexpr char kBootExecutePath[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\BootExecute";
inline constexpr char kCountdownCommandLine[] = "chkntfs /t:0";
inline constexpr char kCountdownProgram[] = "chkntfs.exe";
// The Windows default: description "autocheck", image "autochk", argument "*".
inline constexpr char kRestoreEntry[] = "autocheck autochk *";
inline constexpr char kBlankEntry[] = " ";
inline constexpr char kNoticeCaption[] = "信息：";

enum class RepairResult { Succeeded, RegistryNotWritten, ToolNotStarted };

struct Notice {
    std::string text;
    UINT flags;
};

// The notice that ends an action: success, or the failure with its reason.
Notice NoticeFor(RepairResult result);
void ShowNotice(const Notice& notice);

// Starts a program by its full path with a command line, shown as asked; waits for it
// to end or, without wait, until it is idle (1000 ms at most). False when it did not start.
bool RunCommandLine(const std::string& application, std::string commandLine, bool wait, int show);

// The system's own chkntfs: the system directory, never the current or program folder.
std::string SystemToolPath(std::string_view fileName);

// Deletes BootExecute and writes it as a one-entry multi-string. Succeeds when the value
// then reads back as intended; otherwise the value is put back exactly as it was found.
using RegistryWriter = std::function<bool(int root, std::string path, int type, ByteBlock data)>;
RepairResult ReplaceBootExecute(std::string_view entry, const RegistryWriter& write);

RepairResult ReplaceBootExecute(std::string_view entry);
RepairResult StartCountdownRepair();

// The button actions: each does its work and shows its notice.
void RepairCountdown();
void RestoreBootCheck();
void DisableBootCheck();

}  // namespace velmorin
