#include "settings/FolderProtection.h"

#include "registry/UniqueHandle.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

namespace {

constexpr ACCESS_MASK ChangingRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_DELETE_CHILD |
                                       FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                       GENERIC_ALL;

struct EveryUserGroup {
    WELL_KNOWN_SID_TYPE sid;
    const char* name;
};

constexpr EveryUserGroup EveryUserGroups[] = {{WinBuiltinUsersSid, "Users"},
                                              {WinAuthenticatedUserSid, "Authenticated Users"},
                                              {WinWorldSid, "Everyone"},
                                              {WinInteractiveSid, "Interactive"}};

// The name of the group sid stands for, or null when it is not one that every user belongs to.
const char* EveryUserGroupOf(PSID sid)
{
    for (const EveryUserGroup& group : EveryUserGroups) {
        BYTE known[SECURITY_MAX_SID_SIZE];
        DWORD size = sizeof known;
        if (CreateWellKnownSid(group.sid, nullptr, known, &size) && EqualSid(sid, known)) {
            return group.name;
        }
    }
    return nullptr;
}

// Denying entries are not weighed: a folder that needs them to be safe is not trusted.
FolderProtection CheckAccessList(const ACL& acl)
{
    for (DWORD i = 0; i < acl.AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(const_cast<ACL*>(&acl), i, &entry)) {
            return {FolderProtection::State::CannotTell, "its access list cannot be read", ""};
        }
        if (static_cast<const ACE_HEADER*>(entry)->AceType != ACCESS_ALLOWED_ACE_TYPE) {
            continue;
        }
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        const char* group = (allowed->Mask & ChangingRights) ? EveryUserGroupOf(&allowed->SidStart) : nullptr;
        if (group) {
            return {FolderProtection::State::OpenToUsers, std::string(group) + " may change files in it", ""};
        }
    }
    return {FolderProtection::State::Protected, "", ""};
}

std::string DescriptorText(PSECURITY_DESCRIPTOR descriptor, SECURITY_INFORMATION parts)
{
    char* text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, parts, &text, nullptr)) {
        return "";
    }
    const UniqueLocalMemory owned(text);
    return text;
}

}  // namespace

FolderProtection CheckFolderProtection(const std::string& folder)
{
    constexpr SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error =
        GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, parts, nullptr, nullptr, &acl, nullptr, &descriptor);
    const UniqueLocalMemory owned(descriptor);
    if (error != ERROR_SUCCESS) {
        return {FolderProtection::State::CannotTell,
                "its permissions cannot be read (error " + std::to_string(error) + ")", ""};
    }
    FolderProtection protection = acl ? CheckAccessList(*acl)
                                      : FolderProtection{FolderProtection::State::OpenToUsers,
                                                         "it has no access list, so everyone may change files in it",
                                                         ""};
    protection.permissions = DescriptorText(descriptor, parts);
    return protection;
}
