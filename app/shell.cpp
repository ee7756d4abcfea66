// Start-up, message loop and shutdown of the process.
#include "app/shell.h"

#include <windows.h>

#include "app/main_window.h"
#include "dllcall/dll_commands.h"
#include "dllcall/fatal.h"
#include "platform/process_state.h"
#include "theme/deploy.h"

namespace velmorin {
namespace {

bool g_messageLoopEntered = false;
int g_liveWindows = 0;

}  // namespace

bool MessageLoopEntered() { return g_messageLoopEntered; }

void NoteWindowCreated() { ++g_liveWindows; }

void NoteWindowDestroyed() {
    if (g_liveWindows > 0) --g_liveWindows;
    if (g_messageLoopEntered && g_liveWindows == 0) ::PostQuitMessage(0);
}

int RunMessageLoop() {
    g_messageLoopEntered = true;
    if (g_liveWindows == 0) return 0;
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (PreTranslateWindowMessage(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

int RunProgram(bool (*createWindow)()) {
    StartOle();
    EnterProgramDirectory();
    InitDllCommands();
    DeployTheme();
    if (!createWindow()) ReportFatalError(0, kWindowLoadFailed);
    const int exitCode = RunMessageLoop();
    ReleaseDllCommands();
    StopOle();
    return exitCode;
}

}  // namespace velmorin
