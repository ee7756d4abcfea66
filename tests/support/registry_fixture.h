// Registry set-up for tests: scratch keys, a real "not writable" key through a deny
// entry in its DACL, and the Session Manager's BootExecute kept as it was found.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "repair/registry.h"

namespace velmorin::test {

inline constexpr char kSessionManagerKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";

// HKCU\Software\VelmorinTest\<name>, created empty and deleted with all it holds.
class ScratchKey {
public:
    explicit ScratchKey(const std::string& name);
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    ~ScratchKey();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Denies KEY_SET_VALUE on a key to everyone until destroyed; the old DACL comes back.
class DenySetValue {
public:
    DenySetValue(HKEY root, const std::string& key);
    DenySetValue(const DenySetValue&) = delete;
    DenySetValue& operator=(const DenySetValue&) = delete;
    ~DenySetValue();
    bool Applied() const { return applied_; }

private:
    HKEY root_;
    std::string key_;
    std::vector<unsigned char> oldDescriptor_;
    bool applied_ = false;
};

// Keeps BootExecute as the test found it, and puts it back afterwards.
class BootExecuteGuard {
public:
    BootExecuteGuard();
    BootExecuteGuard(const BootExecuteGuard&) = delete;
    BootExecuteGuard& operator=(const BootExecuteGuard&) = delete;
    ~BootExecuteGuard();

private:
    RegistrySnapshot snapshot_;
};

// Sets BootExecute with the wide call, exactly these bytes, or removes it (nullopt).
void SetBootExecuteRaw(const std::optional<RegistryValue>& value);
// BootExecute as stored (wide calls), for exact comparisons.
std::optional<RegistryValue> BootExecuteRaw();
// BootExecute through the ANSI query call.
std::optional<RegistryValue> BootExecuteAnsi();

}  // namespace velmorin::test
