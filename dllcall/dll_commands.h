// The DLL-call layer: the four functions the program calls in other libraries, named
// by text, each bound on its first call and called with a stack check afterwards.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace velmorin {

enum DllCommandIndex : int {
    kSkinAttachCommand = 0,   // jedata.dll!SkinH_AttachEx(theme path, second text)
    kRegOpenKeyCommand = 1,   // RegOpenKeyExA
    kRegSetValueCommand = 2,  // RegSetValueExA
    kRegCloseKeyCommand = 3,  // RegCloseKey
    kDllCommandCount = 4,
};

struct DllCommand {
    std::string library;  // empty: the system libraries; with a colon: a full path
    std::string function;
    FARPROC address = nullptr;
    HMODULE module = nullptr;
};

// Libraries searched, in order, for an entry with an empty library name.
std::span<const char* const> SystemLibraryList();

// Names the four entries; nothing is loaded or bound.
void InitDllCommands();
// Frees every library a binding loaded and empties the table; a second call does nothing.
void ReleaseDllCommands();
// The live table, for inspection.
const DllCommand& DllCommandEntry(int index);

// Binds an entry: loads its library and finds the function, or stops the program with
// the fatal-error report. A bound entry is left as it is.
void ResolveDllCommand(DllCommand& entry, std::span<const char* const> systemLibraries);

// Calls a WINAPI function with 32-bit arguments and checks that it removed exactly
// what was pushed; an unbalanced stack stops the program (code 6).
std::uint32_t CallWithStackCheck(FARPROC function, std::span<const std::uint32_t> arguments);

// Binds (first call only) and calls an entry of a table.
std::uint32_t CallDllEntry(DllCommand& entry, std::span<const std::uint32_t> arguments);
std::uint32_t CallDllCommandRaw(int index, std::span<const std::uint32_t> arguments);

template <typename T>
std::uint32_t AsDllArgument(T value) {
    static_assert(sizeof(T) <= 4, "every argument of a DLL command is 32 bits");  // NOLINT(bugprone-sizeof-expression)
    if constexpr (std::is_pointer_v<T>) {
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(value));
    } else if constexpr (std::is_enum_v<T>) {
        return static_cast<std::uint32_t>(value);
    } else {
        return static_cast<std::uint32_t>(value);
    }
}

template <typename... Arguments>
std::uint32_t CallDllCommand(int index, Arguments... arguments) {
    const std::array<std::uint32_t, sizeof...(Arguments)> raw{AsDllArgument(arguments)...};
    return CallDllCommandRaw(index, raw);
}

}  // namespace velmorin
