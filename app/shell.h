// The process shell: start-up in its fixed order, the one message loop, the quit rule
// and the normal shutdown.
#pragma once

namespace velmorin {

// Whole life of the process after its entry: start-up, the window, the loop and the
// shutdown. The result is the exit code. `createWindow` builds and shows the window;
// when it fails the program stops through the fatal-error report.
int RunProgram(bool (*createWindow)());

// Runs until the quit message arrives (or at once when no window of the program is
// left); the result is the quit message's code.
int RunMessageLoop();
bool MessageLoopEntered();

// The window layer reports each of its top-level windows: created, and completely
// destroyed. The last one gone once the loop is running posts the quit message.
void NoteWindowCreated();
void NoteWindowDestroyed();

}  // namespace velmorin
