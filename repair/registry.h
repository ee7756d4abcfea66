// Registry access by small integer codes: root keys 1..5, value types 1..7.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/byte_block.h"

namespace velmorin {

struct RegistryPathParts {
    std::string key;    // relative to the root key
    std::string value;  // empty: the key's default value
};

// Delete: key path without the last backslash, value name after it.
RegistryPathParts SplitPathForDelete(std::string_view path);
// Write: one trailing backslash dropped first; the key path keeps its final backslash.
RegistryPathParts SplitPathForWrite(std::string_view path);

// Root key of a code for deletion: unknown codes mean HKEY_CURRENT_USER.
HKEY RootKeyForDelete(int rootCode);
// Root key of a code for writing; a code outside 1..5 stops the program (code 9).
HKEY RootKeyForWrite(int rootCode);
// Registry type number of a type code; a code outside 1..7 stops the program (code 9).
DWORD RegistryTypeOf(int typeCode);

// The bytes handed to the registry for a type code: CR LF pairs become zero bytes for
// multi-strings, then the terminator the type defines is added.
ByteBlock EncodeRegistryData(int typeCode, ByteBlock data);

// Deletes the value at the path, or failing that a key of the whole path.
bool DeleteRegistryItem(int rootCode, std::string path);

// Writes one value through the DLL-call table; never creates a key. True when the key
// was opened and the value set.
bool WriteRegistryItem(int rootCode, std::string path, int typeCode, ByteBlock data);

// A value as the registry holds it, read with the wide calls so that it can be put
// back byte for byte; nullopt when the value does not exist.
struct RegistryValue {
    DWORD type = REG_NONE;
    ByteBlock bytes;
};
struct RegistrySnapshot {
    bool keyOpened = false;
    std::optional<RegistryValue> value;
};
RegistrySnapshot TakeRegistrySnapshot(HKEY root, std::string_view key, std::string_view value);
// Puts a value back as the snapshot found it (or removes it when it was absent).
bool RestoreRegistrySnapshot(HKEY root, std::string_view key, std::string_view value, const RegistrySnapshot& snapshot);

// Reads a value through the ANSI query call: type and bytes, nullopt when unreadable.
std::optional<RegistryValue> ReadRegistryValueA(HKEY root, std::string_view key, std::string_view value);

}  // namespace velmorin
