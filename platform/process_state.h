// Process-wide state of the shell: the program's own directory and whether OLE was
// initialised at start (so that every way out uninitialises it once).
#pragma once

#include <string>
#include <string_view>

namespace velmorin {

// The folder part of a module path, without its trailing backslash; empty when the
// path has no backslash. Two-byte characters are respected.
std::string DirectoryOfPath(std::string_view path);

// Works out the program's own directory from its module file name and makes it the
// current directory. Failures are not reported.
void EnterProgramDirectory();

// The program's own directory (worked out on first use if start-up has not done it).
const std::string& ProgramDirectory();

void StartOle();
// Uninitialises OLE when StartOle initialised it; a second call does nothing.
void StopOle();

}  // namespace velmorin
