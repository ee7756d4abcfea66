// Runs a program that is expected to show one message box and end: reads the box,
// dismisses it and collects the exit code.
#pragma once

#include <windows.h>

#include <string>

#include "support/message_box.h"

namespace velmorin::test {

struct ProbeRun {
    bool started = false;
    bool boxShown = false;
    MessageBoxSeen box;
    DWORD exitCode = 0;
    bool ended = false;
};

ProbeRun RunProbe(const std::string& program, const std::string& arguments);

}  // namespace velmorin::test
