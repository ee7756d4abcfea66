// Stands in for chkntfs.exe: appends "current directory|command line" to the file named
// by VELMORIN_CHKNTFS_LOG.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main() {
    const char* log = std::getenv("VELMORIN_CHKNTFS_LOG");
    if (log == nullptr) return 2;
    char directory[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof directory, directory);
    FILE* file = std::fopen(log, "ab");
    if (file == nullptr) return 1;
    std::fprintf(file, "%s|%s\n", directory, ::GetCommandLineA());
    std::fclose(file);
    return 0;
}
