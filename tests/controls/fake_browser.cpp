// Stands in for a web browser: records the command line it was given, one line per start.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main() {
    const char* log = std::getenv("VELMORIN_BROWSER_LOG");
    if (log == nullptr) return 2;
    FILE* file = std::fopen(log, "ab");
    if (file == nullptr) return 1;
    std::fprintf(file, "%s\n", ::GetCommandLineA());
    std::fclose(file);
    return 0;
}
