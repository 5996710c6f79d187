#include "scanners/ShellExtensionScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryEnumeration.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// The lists whose subkeys are handlers, below a shellex key.
constexpr const char* HandlerLists[] = {"ContextMenuHandlers", "PropertySheetHandlers", "DragDropHandlers",
                                        "CopyHookHandlers"};

bool IsOverlayList(const std::string& path)
{
    const std::string name = "ShellIconOverlayIdentifiers";
    return path.size() >= name.size() &&
           lstrcmpiA(path.c_str() + path.size() - name.size(), name.c_str()) == 0;
}

// Opened relative to the nearest open key above it.
Ref<RegistryKey> Below(const RegistryKey& key, const std::string& name)
{
    return Ref<RegistryKey>(new RegistryKey(key, name));
}

}  // namespace

ShellExtensionScanner::ShellExtensionScanner(IniStore* ini) : ComObjectScanner(ini, Category::ShellExtension) {}

bool ShellExtensionScanner::OnKey(RegistryKey* key)
{
    if (!key) {
        return true;
    }
    if (IsOverlayList(key->ParentPath())) {
        JudgeHandler(*key);
        return true;
    }
    JudgeShellex(*Below(*key, "shellex"));
    // The folder background's menu is the one list kept a level deeper.
    if (lstrcmpiA(key->Name().c_str(), "Directory") == 0) {
        JudgeShellex(*Below(*Below(*key, "Background"), "shellex"));
    }
    return true;
}

bool ShellExtensionScanner::OnValue(RegistryValue* value)
{
    if (!value || !value->Key() || !IsClassIdText(value->Name())) {
        return true;
    }
    const std::string problem = HandlerProblem(value->Name(), value->Key()->View());
    if (!problem.empty()) {
        ReportIssue(ValueIssue, value, problem);
    }
    return true;
}

void ShellExtensionScanner::Revisit(const ScanIssue& issue)
{
    RepairTarget* target = issue.MatchingTarget();
    const RegistryKey* key = target ? target->AsRegistryKey() : nullptr;
    if (!key) {
        CategoryScanner::Revisit(issue);
        return;
    }
    JudgeHandler(*key->Fresh());
}

void ShellExtensionScanner::JudgeShellex(RegistryKey& shellex)
{
    // Most classes have no shellex key: one look-up tells, and nothing below it is asked.
    std::vector<std::string> lists;
    if (ListSubkeys(shellex, lists) != ERROR_SUCCESS) {
        return;
    }
    for (const std::string& list : lists) {
        if (lstrcmpiA(list.c_str(), "IconHandler") == 0) {
            JudgeHandler(*Below(shellex, list));
            continue;
        }
        const auto isList = [&](const char* handlers) { return lstrcmpiA(list.c_str(), handlers) == 0; };
        if (std::none_of(std::begin(HandlerLists), std::end(HandlerLists), isList)) {
            continue;
        }
        const Ref<RegistryKey> listKey = Below(shellex, list);
        std::vector<std::string> names;
        ListSubkeys(*listKey, names);
        for (const std::string& name : names) {
            JudgeHandler(*Below(*listKey, name));
        }
    }
}

void ShellExtensionScanner::JudgeHandler(RegistryKey& handlerKey)
{
    Looked().Clear();
    Ref<RegistryValue> value;
    if (!ReadForJudging(handlerKey, "", value)) {
        return;
    }
    const std::string text = value ? value->GetString(0) : std::string();
    const std::string classId = IsClassIdText(text) ? text : handlerKey.Name();
    if (!IsClassIdText(classId)) {
        return;
    }
    const std::string problem = HandlerProblem(classId, handlerKey.View());
    if (!problem.empty()) {
        // The issue keeps a key of its own, which holds none of the keys above it open.
        ReportIssue(KeyIssue, handlerKey.Fresh().get(), problem);
    }
}

std::string ShellExtensionScanner::HandlerProblem(const std::string& classId, RegistryView view)
{
    if (view != RegistryView::Default || !IsWindows64()) {
        return ClassProblem(classId, view);
    }
    // A handler listed in a key both kinds of program share serves 32-bit programs' file dialogs as well as
    // Explorer: a class of either view will do.
    std::string problem = ClassProblem(classId, RegistryView::Bits64);
    if (!problem.empty() && ClassProblem(classId, RegistryView::Bits32).empty()) {
        problem.clear();
    }
    return problem;
}

std::string ShellExtensionScanner::ClassProblem(const std::string& classId, RegistryView view)
{
    return Classes().Of(classId + ViewMark(view), Looked(), [&](Looks& looks) -> std::string {
        const HKEY half = RegisteredHalf("CLSID", classId, view, looks);
        if (!half) {
            return " missing link:HKEY_CLASSES_ROOT\\CLSID\\" + classId;
        }
        RegistryKey classKey(half, "Software\\Classes\\CLSID", classId, view);
        const std::optional<std::string> server = MissingServer(classKey, looks);
        return server ? " missing file:" + *server : std::string();
    });
}
