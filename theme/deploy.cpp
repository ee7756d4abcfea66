// Writes the skin engine and the theme into the Windows directory and asks the engine,
// bound by its file name through entry 0 of the DLL-call table, to apply the theme.
// Nothing is checked on the way: a file that cannot be written leaves the one already
// there in use, and the engine's answer does not change what the program does.
#include "deploy.h"

#include <windows.h>

#include "dllcall/dll_commands.h"
#include "platform/handles.h"

namespace velmorin {

bool WriteWholeFile(std::string path, std::initializer_list<ByteView> blocks) {
    if (path.empty()) return false;
    // Inheritable handle, no security descriptor; nobody else may open the file meanwhile.
    SECURITY_ATTRIBUTES security = {sizeof(security), nullptr, TRUE};
    const HANDLE raw = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, &security, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return false;
    UniqueHandle file(raw);
    for (const ByteView block : blocks) {
        if (block.empty()) continue;
        DWORD written = 0;
        const DWORD count = static_cast<DWORD>(block.size());
        if (!::WriteFile(file.Get(), block.data(), count, &written, nullptr) || written != count) {
            return false;
        }
    }
    return ::CloseHandle(file.Release()) != FALSE;
}

int DeployTheme() {
    WriteWholeFile(kSkinLibraryPath, {SkinLibraryBlock()});
    WriteWholeFile(kThemePath, {ThemeBlock()});
    CallDllCommand(kSkinAttachCommand, kThemePath, "");
    return 0;
}

}  // namespace velmorin
