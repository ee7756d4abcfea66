// The program's directory and the OLE start/stop pairing.
#include "process_state.h"

#include <ole2.h>
#include <windows.h>

#include "ansi_text.h"

namespace velmorin {
namespace {

std::string g_programDirectory;
bool g_programDirectoryKnown = false;
bool g_oleStarted = false;

std::string ModulePath() {
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, length < sizeof buffer ? length : 0);
}

}  // namespace

std::string DirectoryOfPath(std::string_view path) {
    const std::size_t slash = FindLastBackslash(path);
    return slash == kNoPosition ? std::string() : std::string(path.substr(0, slash));
}

const std::string& ProgramDirectory() {
    if (!g_programDirectoryKnown) {
        g_programDirectory = DirectoryOfPath(ModulePath());
        g_programDirectoryKnown = true;
    }
    return g_programDirectory;
}

void EnterProgramDirectory() {
    ::SetCurrentDirectoryA(ProgramDirectory().c_str());
}

void StartOle() {
    g_oleStarted = SUCCEEDED(::OleInitialize(nullptr));
}

void StopOle() {
    if (g_oleStarted) {
        ::OleUninitialize();
        g_oleStarted = false;
    }
}

}  // namespace velmorin
