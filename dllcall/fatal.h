// The one fatal-error report: a message box, then every bound library released, OLE
// uninitialised and the process ended with exit code -1.
#pragma once

#include <string>
#include <string_view>

namespace velmorin {

// Messages of the fatal conditions, code page 936.
inline constexpr char kWindowLoadFailed[] = "载入启动窗口失败";
inline constexpr char kNamedLibraryCommandMissing[] = "无法找到指定DLL库文件“%s”中的输出命令“%s”";
inline constexpr char kSystemLibraryCommandMissing[] = "无法找到指定DLL库文件中的输出命令“%s”";
inline constexpr char kAllocationFailed[] = "分配 %d 字节内存失败!";
inline constexpr char kStackUnbalanced[] = "调用DLL命令后发现堆栈错误";
inline constexpr char kChoiceIndexOutOfRange[] = "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围";

inline constexpr int kStackErrorCode = 6;
inline constexpr int kChoiceIndexErrorCode = 9;

// The text of the report box, byte for byte.
std::string FatalErrorText(int code, std::string_view message);

[[noreturn]] void ReportFatalError(int code, std::string_view message);

}  // namespace velmorin
