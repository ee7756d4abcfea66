// The DLL-call table, its late binding and the checked call.
#include "dll_commands.h"

#include "dllcall/fatal.h"
#include "platform/ansi_text.h"
#include "platform/handles.h"
#include "platform/process_state.h"

extern "C" std::uint32_t VelmorinCallStdcall(FARPROC function, const std::uint32_t* arguments, std::uint32_t count,
                                             std::int32_t* stackDelta);

namespace velmorin {
namespace {

struct DllCommandName {
    const char* library;
    const char* function;
};

constexpr DllCommandName kDllCommandNames[kDllCommandCount] = {
    {"jedata.dll", "SkinH_AttachEx"},
    {"", "RegOpenKeyExA"},
    {"", "RegSetValueExA"},
    {"", "RegCloseKey"},
};

constexpr const char* kSystemLibraries[] = {
    "Kernel32.dll", "Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll",
};

DllCommand g_table[kDllCommandCount];

// Loads the first system library that exports the function; the others are released.
void BindFromSystemLibraries(DllCommand& entry, std::span<const char* const> systemLibraries) {
    for (const char* name : systemLibraries) {
        UniqueLibrary library(::LoadLibraryA(name));
        if (!library) continue;
        if (FARPROC address = ::GetProcAddress(library.Get(), entry.function.c_str())) {
            entry.address = address;
            entry.module = library.Release();
            return;
        }
    }
}

// Loads a named library, from the program's own directory first unless the name is a
// full path, and looks the function up.
void BindFromNamedLibrary(DllCommand& entry) {
    UniqueLibrary library;
    if (entry.library.find(':') == std::string::npos) {
        const std::string local = ProgramDirectory() + "\\" + entry.library;
        library.Reset(::LoadLibraryA(local.c_str()));
        if (!library) library.Reset(::LoadLibraryA(entry.library.c_str()));
    } else {
        library.Reset(::LoadLibraryA(entry.library.c_str()));
    }
    if (!library) return;
    if (FARPROC address = ::GetProcAddress(library.Get(), entry.function.c_str())) {
        entry.address = address;
        entry.module = library.Release();
    }
}

}  // namespace

std::span<const char* const> SystemLibraryList() {
    return kSystemLibraries;
}

void InitDllCommands() {
    for (int i = 0; i < kDllCommandCount; ++i) {
        g_table[i] = DllCommand{kDllCommandNames[i].library, kDllCommandNames[i].function};
    }
}

void ReleaseDllCommands() {
    for (DllCommand& entry : g_table) {
        if (entry.module != nullptr) ::FreeLibrary(entry.module);
        entry = DllCommand{};
    }
}

const DllCommand& DllCommandEntry(int index) {
    return g_table[index];
}

void ResolveDllCommand(DllCommand& entry, std::span<const char* const> systemLibraries) {
    if (entry.address != nullptr) return;
    if (entry.library.empty()) {
        BindFromSystemLibraries(entry, systemLibraries);
    } else {
        BindFromNamedLibrary(entry);
    }
    if (entry.address != nullptr) return;
    if (entry.library.empty()) {
        ReportFatalError(0, FormatText(kSystemLibraryCommandMissing, entry.function));
    }
    ReportFatalError(0, FormatText(kNamedLibraryCommandMissing, entry.library, entry.function));
}

std::uint32_t CallWithStackCheck(FARPROC function, std::span<const std::uint32_t> arguments) {
    std::int32_t stackDelta = 0;
    const std::uint32_t result =
        VelmorinCallStdcall(function, arguments.data(), static_cast<std::uint32_t>(arguments.size()), &stackDelta);
    if (stackDelta != 0) ReportFatalError(kStackErrorCode, kStackUnbalanced);
    return result;
}

std::uint32_t CallDllEntry(DllCommand& entry, std::span<const std::uint32_t> arguments) {
    ResolveDllCommand(entry, SystemLibraryList());
    return CallWithStackCheck(entry.address, arguments);
}

std::uint32_t CallDllCommandRaw(int index, std::span<const std::uint32_t> arguments) {
    if (index < 0 || index >= kDllCommandCount) {
        ReportFatalError(kChoiceIndexErrorCode, kChoiceIndexOutOfRange);
    }
    // A table that start-up has not filled in yet (or that shutdown emptied) is named
    // again, so a call never goes through an entry without a name.
    if (g_table[index].function.empty()) {
        g_table[index] = DllCommand{kDllCommandNames[index].library, kDllCommandNames[index].function};
    }
    return CallDllEntry(g_table[index], arguments);
}

}  // namespace velmorin
