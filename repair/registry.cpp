// Registry access by codes. Deletion calls the registry directly; writing goes through
// entries 1 to 3 of the DLL-call table.
#include "registry.h"

#include <iterator>

#include "dllcall/dll_commands.h"
#include "dllcall/fatal.h"
#include "platform/ansi_text.h"
#include "platform/handles.h"

namespace velmorin {
namespace {

const HKEY kRootKeys[] = {
    HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
};

enum class Terminator { None, OneZero, DoubleZero };

struct ValueTypeEntry {
    DWORD type;
    Terminator terminator;
};

constexpr ValueTypeEntry kValueTypes[] = {
    {REG_NONE, Terminator::None},           {REG_SZ, Terminator::OneZero}, {REG_EXPAND_SZ, Terminator::OneZero},
    {REG_BINARY, Terminator::None},         {REG_DWORD, Terminator::None}, {REG_DWORD_BIG_ENDIAN, Terminator::None},
    {REG_MULTI_SZ, Terminator::DoubleZero},
};

constexpr int kMultiStringCode = 7;

const ValueTypeEntry& ValueTypeEntryOf(int typeCode) {
    if (typeCode < 1 || typeCode > static_cast<int>(std::size(kValueTypes))) {
        ReportFatalError(kChoiceIndexErrorCode, kChoiceIndexOutOfRange);
    }
    return kValueTypes[typeCode - 1];
}

ByteBlock ReplaceLineBreaksWithZeros(const ByteBlock& data) {
    ByteBlock out;
    out.reserve(data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') {
            out.push_back(0);
            ++i;
        } else {
            out.push_back(data[i]);
        }
    }
    return out;
}

std::wstring Widen(std::string_view text) {
    if (text.empty()) return {};
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

}  // namespace

RegistryPathParts SplitPathForDelete(std::string_view path) {
    const std::size_t slash = FindLastBackslash(path);
    if (slash == kNoPosition) return {"", std::string(path)};
    return {std::string(path.substr(0, slash)), std::string(path.substr(slash + 1))};
}

RegistryPathParts SplitPathForWrite(std::string_view path) {
    // The last byte is dropped only when it is a backslash character of its own.
    if (!path.empty() && FindLastBackslash(path) == path.size() - 1) path.remove_suffix(1);
    const std::size_t slash = FindLastBackslash(path);
    if (slash == kNoPosition) return {"", std::string(path)};
    return {std::string(path.substr(0, slash + 1)), std::string(path.substr(slash + 1))};
}

HKEY RootKeyForDelete(int rootCode) {
    switch (rootCode) {
        case 1:
            return HKEY_CLASSES_ROOT;
        case 2:
            return HKEY_CURRENT_CONFIG;
        case 4:
            return HKEY_LOCAL_MACHINE;
        case 5:
            return HKEY_USERS;
        default:
            return HKEY_CURRENT_USER;
    }
}

HKEY RootKeyForWrite(int rootCode) {
    if (rootCode < 1 || rootCode > static_cast<int>(std::size(kRootKeys))) {
        ReportFatalError(kChoiceIndexErrorCode, kChoiceIndexOutOfRange);
    }
    return kRootKeys[rootCode - 1];
}

DWORD RegistryTypeOf(int typeCode) {
    return ValueTypeEntryOf(typeCode).type;
}

ByteBlock EncodeRegistryData(int typeCode, ByteBlock data) {
    const ValueTypeEntry& entry = ValueTypeEntryOf(typeCode);
    if (typeCode == kMultiStringCode) data = ReplaceLineBreaksWithZeros(data);
    switch (entry.terminator) {
        case Terminator::None:
            break;
        case Terminator::OneZero:
            if (data.empty() || data.back() != 0) data.push_back(0);
            break;
        case Terminator::DoubleZero:
            // Each string ends with a zero, and an empty string ends the list.
            if (data.empty() || data.back() != 0) data.push_back(0);
            data.push_back(0);
            break;
    }
    return data;
}

bool DeleteRegistryItem(int rootCode, std::string path) {
    const HKEY root = RootKeyForDelete(rootCode);
    const RegistryPathParts parts = SplitPathForDelete(path);
    bool deleted = false;
    UniqueKey key;
    if (::RegOpenKeyExA(root, parts.key.c_str(), 0, KEY_WRITE, key.Put()) == ERROR_SUCCESS) {
        deleted = ::RegDeleteValueA(key.Get(), parts.value.c_str()) == ERROR_SUCCESS;
    }
    key.Reset();
    if (!deleted) deleted = ::RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
    return deleted;
}

bool WriteRegistryItem(int rootCode, std::string path, int typeCode, ByteBlock data) {
    const HKEY root = RootKeyForWrite(rootCode);
    const ByteBlock bytes = EncodeRegistryData(typeCode, std::move(data));
    const DWORD type = RegistryTypeOf(typeCode);
    const RegistryPathParts parts = SplitPathForWrite(path);

    HKEY key = nullptr;
    CallDllCommand(kRegOpenKeyCommand, root, parts.key.c_str(), 0, KEY_SET_VALUE, &key);
    bool written = false;
    if (key != nullptr) {
        written = CallDllCommand(kRegSetValueCommand, key, parts.value.c_str(), 0, type, bytes.data(),
                                 static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    }
    CallDllCommand(kRegCloseKeyCommand, key);
    return written;
}

RegistrySnapshot TakeRegistrySnapshot(HKEY root, std::string_view key, std::string_view value) {
    RegistrySnapshot snapshot;
    UniqueKey opened;
    if (::RegOpenKeyExW(root, Widen(key).c_str(), 0, KEY_QUERY_VALUE, opened.Put()) != ERROR_SUCCESS) {
        return snapshot;
    }
    snapshot.keyOpened = true;
    const std::wstring name = Widen(value);
    for (;;) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (::RegQueryValueExW(opened.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
            return snapshot;
        }
        RegistryValue found{type, ByteBlock(size)};
        const LONG status =
            ::RegQueryValueExW(opened.Get(), name.c_str(), nullptr, &found.type, found.bytes.data(), &size);
        if (status == ERROR_MORE_DATA) continue;  // it grew in between: ask again
        if (status != ERROR_SUCCESS) return snapshot;
        found.bytes.resize(size);
        snapshot.value = std::move(found);
        return snapshot;
    }
}

bool RestoreRegistrySnapshot(HKEY root, std::string_view key, std::string_view value,
                             const RegistrySnapshot& snapshot) {
    if (!snapshot.keyOpened) return true;  // the key could not be read: nothing was changed through it
    UniqueKey opened;
    if (::RegOpenKeyExW(root, Widen(key).c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE, opened.Put()) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring name = Widen(value);
    if (!snapshot.value) {
        const LONG status = ::RegDeleteValueW(opened.Get(), name.c_str());
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    return ::RegSetValueExW(opened.Get(), name.c_str(), 0, snapshot.value->type, snapshot.value->bytes.data(),
                            static_cast<DWORD>(snapshot.value->bytes.size())) == ERROR_SUCCESS;
}

std::optional<RegistryValue> ReadRegistryValueA(HKEY root, std::string_view key, std::string_view value) {
    UniqueKey opened;
    const std::string keyText(key);
    const std::string name(value);
    if (::RegOpenKeyExA(root, keyText.c_str(), 0, KEY_QUERY_VALUE, opened.Put()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (::RegQueryValueExA(opened.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RegistryValue found{type, ByteBlock(size)};
    if (::RegQueryValueExA(opened.Get(), name.c_str(), nullptr, &found.type, found.bytes.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    found.bytes.resize(size);
    return found;
}

}  // namespace velmorin
