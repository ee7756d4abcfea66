// The link's open routine and its fallback to the browser registered for web pages.
#include "controls/link_target.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

namespace velmorin {
namespace {

constexpr LONG kQueryBufferSize = MAX_PATH;  // 260 bytes, as the ANSI query call counts them

// Default value of a key under HKEY_CLASSES_ROOT; nullopt when the key cannot be read
// or its value does not fit the buffer.
std::optional<std::string> ClassesRootDefault(const std::string& subKey) {
    char buffer[kQueryBufferSize] = {};
    LONG size = sizeof buffer;
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, subKey.c_str(), buffer, &size) != ERROR_SUCCESS) return std::nullopt;
    buffer[sizeof buffer - 1] = '\0';
    return std::string(buffer);
}

}  // namespace

std::string BrowserCommandLine(std::string_view registeredCommand, std::string_view target) {
    std::size_t cut = registeredCommand.find("\"%1\"");
    if (cut == std::string_view::npos) cut = registeredCommand.find("%1");
    std::string command(registeredCommand.substr(0, cut));
    command += ' ';
    command += target;
    return command;
}

std::optional<std::string> RegisteredBrowserCommand() {
    const auto pageClass = ClassesRootDefault(".htm");
    if (!pageClass) return std::nullopt;
    return ClassesRootDefault(*pageClass + "\\shell\\open\\command");
}

bool OpenLinkTarget(std::string_view target, int show) {
    if (target.empty()) return false;
    const std::string text(target);
    const auto shell =
        reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "open", text.c_str(), nullptr, nullptr, show));
    if (shell > 32) return true;
    const auto command = RegisteredBrowserCommand();
    if (!command) return false;
    return ::WinExec(BrowserCommandLine(*command, text).c_str(), static_cast<UINT>(show)) > 31;
}

}  // namespace velmorin
