// Test helper: a registry key whose rights are all taken away while the object lives.
#pragma once

#include <windows.h>

#include <string>

// Takes every right away from a key for as long as it lives, then gives them back
// so that the key can be removed.
class LockedKey {
public:
    LockedKey(HKEY root, const std::string& path) : root_(root), path_(path) { SetDacl(true); }
    ~LockedKey() { SetDacl(false); }
    LockedKey(const LockedKey&) = delete;
    LockedKey& operator=(const LockedKey&) = delete;

private:
    void SetDacl(bool denyAll)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root_, path_.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) {
            return;
        }
        SECURITY_DESCRIPTOR descriptor;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        ACL empty;
        InitializeAcl(&empty, sizeof empty, ACL_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, denyAll ? &empty : nullptr, FALSE);
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
        RegCloseKey(key);
    }

    HKEY root_;
    std::string path_;
};
