// Registry fixtures: scratch keys under HKCU, DACL deny entries, BootExecute guard.
#include "support/registry_fixture.h"

#include <aclapi.h>

#include "platform/handles.h"

namespace velmorin::test {

ScratchKey::ScratchKey(const std::string& name) : path_("Software\\VelmorinTest\\" + name) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    UniqueKey key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr);
}

ScratchKey::~ScratchKey() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
}

DenySetValue::DenySetValue(HKEY root, const std::string& key) : root_(root), key_(key) {
    UniqueKey opened;
    if (::RegOpenKeyExA(root_, key_.c_str(), 0, READ_CONTROL | WRITE_DAC, opened.Put()) != ERROR_SUCCESS) return;
    DWORD size = 0;
    ::RegGetKeySecurity(opened.Get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    oldDescriptor_.resize(size);
    if (::RegGetKeySecurity(opened.Get(), DACL_SECURITY_INFORMATION, oldDescriptor_.data(), &size) != ERROR_SUCCESS) {
        return;
    }
    PACL oldAcl = nullptr;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    ::GetSecurityDescriptorDacl(oldDescriptor_.data(), &present, &oldAcl, &defaulted);

    EXPLICIT_ACCESS_A deny = {};
    deny.grfAccessPermissions = KEY_SET_VALUE;
    deny.grfAccessMode = DENY_ACCESS;
    deny.grfInheritance = NO_INHERITANCE;
    deny.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    deny.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    char everyone[] = "EVERYONE";
    deny.Trustee.ptstrName = everyone;
    PACL newAcl = nullptr;
    if (::SetEntriesInAclA(1, &deny, present ? oldAcl : nullptr, &newAcl) != ERROR_SUCCESS) return;
    applied_ = ::SetSecurityInfo(opened.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, newAcl,
                                 nullptr) == ERROR_SUCCESS;
    ::LocalFree(newAcl);
}

DenySetValue::~DenySetValue() {
    if (!applied_) return;
    UniqueKey opened;
    if (::RegOpenKeyExA(root_, key_.c_str(), 0, WRITE_DAC, opened.Put()) == ERROR_SUCCESS) {
        ::RegSetKeySecurity(opened.Get(), DACL_SECURITY_INFORMATION, oldDescriptor_.data());
    }
}

BootExecuteGuard::BootExecuteGuard()
    : snapshot_(TakeRegistrySnapshot(HKEY_LOCAL_MACHINE, kSessionManagerKey, "BootExecute")) {}

BootExecuteGuard::~BootExecuteGuard() {
    RestoreRegistrySnapshot(HKEY_LOCAL_MACHINE, kSessionManagerKey, "BootExecute", snapshot_);
}

void SetBootExecuteRaw(const std::optional<RegistryValue>& value) {
    UniqueKey key;
    ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_SET_VALUE, key.Put());
    if (value) {
        ::RegSetValueExW(key.Get(), L"BootExecute", 0, value->type, value->bytes.data(),
                         static_cast<DWORD>(value->bytes.size()));
    } else {
        ::RegDeleteValueW(key.Get(), L"BootExecute");
    }
}

std::optional<RegistryValue> BootExecuteRaw() {
    return TakeRegistrySnapshot(HKEY_LOCAL_MACHINE, kSessionManagerKey, "BootExecute").value;
}

std::optional<RegistryValue> BootExecuteAnsi() {
    return ReadRegistryValueA(HKEY_LOCAL_MACHINE, kSessionManagerKey, "BootExecute");
}

}  // namespace velmorin::test
