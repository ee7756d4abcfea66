// Starts a probe process, reads and dismisses its message box, and waits for its end.
#include "support/process_probe.h"

#include "platform/handles.h"

namespace velmorin::test {

ProbeRun RunProbe(const std::string& program, const std::string& arguments) {
    ProbeRun run;
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        return run;
    }
    run.started = true;
    const UniqueHandle thread(info.hThread);
    const UniqueHandle process(info.hProcess);
    if (HWND box = WaitForMessageBox(info.dwProcessId, 60000)) {
        run.boxShown = true;
        run.box = ReadMessageBox(box);
        DismissMessageBox(box);
    }
    run.ended = ::WaitForSingleObject(process.Get(), 60000) == WAIT_OBJECT_0;
    if (!run.ended) ::TerminateProcess(process.Get(), 99);
    ::GetExitCodeProcess(process.Get(), &run.exitCode);
    return run;
}

}  // namespace velmorin::test
