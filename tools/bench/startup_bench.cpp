// Measures the time from process start until a program's main window is visible,
// alternating two programs, and prints the medians and their ratio.
// Usage: startup_bench PROGRAM BASELINE [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindShownWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    const std::string name = className;
    if (owner == search->processId && IsWindowVisible(window) && name != "IME" && name != "#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds until a visible top-level window appears; negative on failure.
double TimeToWindow(const std::string& program) {
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        return -1;
    }
    double elapsed = -1;
    for (int i = 0; i < 60000; ++i) {
        Search search{info.dwProcessId, nullptr};
        EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            QueryPerformanceCounter(&now);
            elapsed = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
            PostMessageA(search.found, WM_CLOSE, 0, 0);
            break;
        }
        Sleep(1);
    }
    if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench PROGRAM BASELINE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;
    std::vector<double> program;
    std::vector<double> baseline;
    TimeToWindow(argv[1]);  // warm the file cache for both, unmeasured
    TimeToWindow(argv[2]);
    for (int i = 0; i < runs; ++i) {
        const double a = TimeToWindow(argv[1]);
        const double b = TimeToWindow(argv[2]);
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "startup_bench: a program did not show its window\n");
            return 1;
        }
        program.push_back(a);
        baseline.push_back(b);
        std::printf("run %2d: program %8.1f ms   baseline %8.1f ms\n", i + 1, a, b);
    }
    const double medianProgram = Median(program);
    const double medianBaseline = Median(baseline);
    std::printf("median time to a visible window over %d starts each:\n", runs);
    std::printf("  Velmorin.exe        %8.1f ms\n", medianProgram);
    std::printf("  minimal window      %8.1f ms\n", medianBaseline);
    std::printf("  ratio               %8.3f (goal: at most 1.25)\n", medianProgram / medianBaseline);
    return 0;
}
