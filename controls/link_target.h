// Opening a link target: the shell first, then the browser registered for ".htm".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmorin {

// The registered command line with everything from its first "%1" placeholder on cut
// off ("\"%1\"" looked for first, then the bare "%1"), followed by a space and the target.
std::string BrowserCommandLine(std::string_view registeredCommand, std::string_view target);

// The command registered for ".htm": HKCR\.htm names a class whose
// "shell\open\command" default value is the command. nullopt when either is missing.
std::optional<std::string> RegisteredBrowserCommand();

// Opens the target with ShellExecuteA "open", or failing that with the registered
// browser through WinExec. True when either started; false for an empty target.
bool OpenLinkTarget(std::string_view target, int show);

}  // namespace velmorin
