// A stand-in skin engine library: SkinH_AttachEx appends "theme|second|current
// directory" to skin_attach.log in the library's own folder and applies nothing.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HMODULE g_self = nullptr;

std::string LogPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(g_self, path, sizeof path);
    std::string log(path);
    log.resize(log.find_last_of('\\') + 1);
    return log + "skin_attach.log";
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) int WINAPI SkinH_AttachEx(const char* theme, const char* second) {
    char directory[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof directory, directory);
    FILE* file = std::fopen(LogPath().c_str(), "ab");
    if (file == nullptr) return 1;
    std::fprintf(file, "%s|%s|%s\n", theme ? theme : "(null)", second ? second : "(null)", directory);
    std::fclose(file);
    return 0;
}
