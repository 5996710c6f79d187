#include "scanners/FileExtensionReferenceScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryEnumeration.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "registry/WalkContext.h"
#include "scanners/FileChecks.h"

#include <cctype>

namespace {

// Verb issues carry this source rather than the category name.
constexpr const char* VerbIssueSource = "File Extension Reference Scanner";

// "C:\Data\x.icl,3" -> "C:\Data\x.icl": the icon index of a file whose extension
// the program-path cut does not know. Empty when there is no index to drop.
std::string WithoutIconIndex(const std::string& text)
{
    const size_t comma = text.rfind(',');
    if (comma == std::string::npos || comma == 0) {
        return {};
    }
    size_t digits = comma + 1;
    if (digits < text.size() && text[digits] == '-') {
        ++digits;
    }
    if (digits == text.size()) {
        return {};
    }
    for (size_t i = digits; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            return {};
        }
    }
    return text.substr(0, comma);
}

bool IconFileFound(const std::string& path, SearchVerdicts& searches, Looks& looks)
{
    if (searches.IsFound(path, looks) || !IsOnAvailableDrive(path)) {
        return true;
    }
    const std::string file = WithoutIconIndex(path);
    return !file.empty() && searches.IsFound(file, looks);
}

bool StartsWithVariable(const std::string& text)
{
    return text.rfind("%", 0) == 0 || text.rfind("\"%", 0) == 0;
}

}  // namespace

FileExtensionReferenceScanner::FileExtensionReferenceScanner(IniStore* ini)
    : CategoryScanner(ini, Category::FileExtensionReference)
{
}

bool FileExtensionReferenceScanner::OnKey(RegistryKey* classKey)
{
    if (!classKey) {
        return true;
    }
    CheckIcon(*classKey);
    Ref<RegistryKey> shell(new RegistryKey(*classKey, "Shell"));
    VerbVisitor verbs(*this);
    InnerWalkContext verbWalk(*this);
    EnumerateSubkeys(*shell, verbs, verbWalk);
    return true;
}

void FileExtensionReferenceScanner::Revisit(const ScanIssue& issue)
{
    const RegistryKey* key = issue.MatchingTarget() ? issue.MatchingTarget()->AsRegistryKey() : nullptr;
    if (!key) {
        return;
    }
    const Ref<RegistryKey> fresh = key->Fresh();
    if (issue.Source() == VerbIssueSource) {
        CheckVerb(fresh.get());
    } else {
        CheckIcon(*fresh);
    }
}

void FileExtensionReferenceScanner::CheckIcon(RegistryKey& classKey)
{
    Ref<RegistryKey> iconKey(new RegistryKey(classKey, "DefaultIcon"));
    Ref<RegistryValue> icon;
    if (!ReadForJudging(*iconKey, "", icon) || !icon) {
        return;
    }
    const std::string text = icon->GetString(0);
    const std::string path = ExtractProgramPath(text);
    // A variable left unexpanded (REG_SZ data) cannot be judged, nor can an indirect
    // resource ("@{package?ms-resource://...}") of an installed app package.
    if (path.rfind("%", 0) == 0 || path.rfind("@", 0) == 0 || IconFileFound(path, Searches(), Looked())) {
        return;
    }
    ReportIssue(KeyIssue, &classKey, " missing file with icon:" + text);
}

void FileExtensionReferenceScanner::CheckVerb(RegistryKey* verbKey)
{
    if (!verbKey) {
        return;
    }
    Ref<RegistryKey> commandKey(new RegistryKey(*verbKey, "Command"));
    Ref<RegistryValue> command;
    if (!ReadForJudging(*commandKey, "", command) || !command) {
        return;
    }
    const std::string text = command->GetString(0);
    // Placeholders such as "%1" %* stand for the document itself.
    if (StartsWithVariable(text) || !Commands().IsGone(text, Looked())) {
        return;
    }
    // A verb served by a COM handler keeps an empty command.
    if (text.empty() && commandKey->QueryValue("DelegateExecute")) {
        return;
    }
    ReportIssue(KeyIssue, verbKey, " missing exe file :" + text, false, VerbIssueSource);
}
