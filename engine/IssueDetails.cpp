#include "engine/IssueDetails.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryValue.h"

namespace {

// The value's text as the checks read it, or its size for data that is not text.
std::string DataOf(const ScanIssue& issue)
{
    RepairTarget* target = issue.MatchingTarget();
    const RegistryValue* value = target ? target->AsRegistryValue() : nullptr;
    if (!value) {
        return {};
    }
    const bool text = value->Type() == REG_SZ || value->Type() == REG_EXPAND_SZ || value->Type() == REG_MULTI_SZ;
    return text ? value->GetString(0) : "(" + std::to_string(value->Data().size()) + " bytes of data)";
}

}  // namespace

std::string RepairWords(const ScanIssue& issue)
{
    RepairTarget* target = issue.MatchingTarget();
    const RegistryKey* key = target ? target->AsRegistryKey() : nullptr;
    switch (issue.Kind()) {
    case KeyIssue:
        if (key && IsServiceKey(*key)) {
            return "Repair asks the Service Control Manager to delete the service (never one that is running), after "
                   "writing its key to a rollback file (.reg) in the working folder";
        }
        return "Repair deletes the key and everything below it, after writing it to a rollback file (.reg) in the "
               "working folder";
    case ValueIssue:
        return "Repair deletes the value, after writing it to a rollback file (.reg) in the working folder";
    default:
        return "Repair deletes the shortcut, after copying it to a backup file (.fso) in the working folder";
    }
}

std::string IssueDetails(const ScanIssue& issue)
{
    const RepairTarget* target = issue.Target();
    std::string text = "Entry: " + (target ? target->FullPath() + ViewMark(target->View()) : std::string()) + "\r\n";
    const std::string data = DataOf(issue);
    if (!data.empty()) {
        text += "Data: " + data + "\r\n";
    }
    text += "Found:" + issue.Description() + "\r\n";
    text += std::string("Grade: ") + GradeName(issue.GetGrade()) + " - " + issue.GradeReason() + "\r\n";
    text += "Looked for:\r\n";
    for (const Look& look : issue.Looks()) {
        text += "  " + look.looked + ": " + look.answer + "\r\n";
    }
    return text + RepairWords(issue) + "\r\n";
}
