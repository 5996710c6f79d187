#include "scanners/ShortcutScanner.h"

#include "engine/IniStore.h"
#include "engine/ScanIssue.h"
#include "registry/CodePageText.h"
#include "registry/ComApartment.h"
#include "registry/FileItem.h"
#include "registry/ProgressSink.h"
#include "registry/UniqueHandle.h"
#include "scanners/FileChecks.h"

#include <windows.h>

#include <cwchar>
#include <objbase.h>
#include <shlobj.h>

namespace {

const char* const SectionName = "Shortcut";

struct PersistFileRelease {
    void operator()(IPersistFile* file) const noexcept { file->Release(); }
};

bool HasLinkExtension(const std::string& fileName)
{
    const size_t dot = fileName.rfind('.');
    return dot != std::string::npos && lstrcmpiA(fileName.c_str() + dot, ".lnk") == 0;
}

// A target on a drive or share that is away right now may still be there, and one on
// the network is not even asked.
bool TargetIsPresent(const std::string& target, Looks& looks)
{
    return !IsOnAvailableDrive(target) || FileOrFolderExists(target, looks);
}

// A shortcut file may keep its target only in the code page of the machine that wrote it, with "?" for what that
// code page lacked; no file name holds "?" or "*", so such a target names nothing that could be looked for.
bool HoldsSubstitutes(const std::string& target)
{
    const size_t start = target.rfind("\\\\?\\", 0) == 0 ? 4 : 0;
    return target.find_first_of("?*", start) != std::string::npos;
}

// An empty value would walk the root of the current drive, and a folder on the
// network could hold the walk for the network's timeout at every step.
bool CanWalk(const std::string& folder)
{
    return !folder.empty() && !IsNetworkPath(folder);
}

}  // namespace

void ShortcutScanner::ComRelease::operator()(IShellLinkW* link) const noexcept
{
    link->Release();
}

ShortcutScanner::ShortcutScanner(IniStore* ini) : CategoryScanner(ini, Category::Shortcut) {}

ShortcutScanner::~ShortcutScanner() = default;

int ShortcutScanner::Scan(IssueList* list)
{
    BeginScan(list);
    const ComApartment com;
    if (!CreateLink()) {
        return 0;
    }
    const IniStore& ini = Ini() ? *Ini() : SharedIniStore();
    int total = 0;
    if (ini.SectionSize(SectionName) < 1) {
        total = ScanFolder("C:");
    } else {
        for (int i = 0; i < ini.SectionSize(SectionName); ++i) {
            const std::string folder = ini.ValueAt(SectionName, i);
            total += CanWalk(folder) ? ScanFolder(folder) : 0;
        }
    }
    // The shell-link object must go before COM does.
    link_.reset();
    return total;
}

bool ShortcutScanner::CreateLink()
{
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        return false;
    }
    link_.reset(link);
    return true;
}

void ShortcutScanner::Revisit(const ScanIssue& issue)
{
    const auto* file = dynamic_cast<const NamedItem*>(issue.MatchingTarget());
    if (!file) {
        return;
    }
    const ComApartment com;
    if (CreateLink()) {
        CheckShortcut(file->Name(), file->ParentPath());
    }
    link_.reset();
}

int ShortcutScanner::ScanFolder(const std::string& folder)
{
    if (IsStopRequested()) {
        return 0;
    }
    ProgressSink* sink = Progress();
    if (sink) {
        sink->SetText(folder);
    }
    // Names are read wide: one the code page cannot hold would be walked, judged and deleted as another.
    WIN32_FIND_DATAW entry{};
    const UniqueFileSearch search(FindFirstFileW(Widen(folder + "\\*").c_str(), &entry));
    if (!search) {
        return 0;
    }
    int subfolders = 0;
    do {
        if (sink) {
            sink->Step(1);
        }
        const std::optional<std::string> found = ExactNarrow(entry.cFileName, wcslen(entry.cFileName));
        if (!found) {
            NoteOutsideCodePage();
            continue;
        }
        const std::string& name = *found;
        // Passes over "." and "..", and every name that begins with a dot.
        if (name.empty() || name.front() == '.') {
            continue;
        }
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A junction or symbolic link may lead back up the tree, or anywhere else:
            // its target is walked where it really lies, if at all.
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                subfolders += ScanFolder(folder + "\\" + name) + 1;
            }
        } else if (HasLinkExtension(name)) {
            CheckShortcut(name, folder);
        }
    } while (!IsStopRequested() && FindNextFileW(search.get(), &entry));
    return subfolders;
}

void ShortcutScanner::CheckShortcut(const std::string& name, const std::string& folder)
{
    const std::string path = folder + "\\" + name;
    NoteEntry();
    if (ProgressSink* sink = Progress()) {
        sink->SetText(path);
    }
    const std::string target = ResolveShortcutTarget(path);
    if (target.empty()) {
        return;
    }
    const Ref<FileItem> item(new FileItem(name, folder));
    ReportIssue(FileIssue, item.get(), " missing target file:" + target);
}

std::string ShortcutScanner::ResolveShortcutTarget(const std::string& linkPath)
{
    // Only shortcuts on a drive letter are judged.
    if (!link_ || linkPath.size() < 2 || linkPath[1] != ':') {
        return {};
    }
    IPersistFile* persist = nullptr;
    if (FAILED(link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        return {};
    }
    const std::unique_ptr<IPersistFile, PersistFileRelease> file(persist);
    // The stored target is judged as it is: resolving a link whose target moved would
    // search the disks and the network for it, and may rewrite the shortcut file.
    if (FAILED(file->Load(Widen(linkPath).c_str(), STGM_READ))) {
        return {};
    }
    wchar_t wideTarget[MAX_PATH] = {};
    WIN32_FIND_DATAW found{};
    link_->GetPath(wideTarget, MAX_PATH, &found, SLGP_SHORTPATH);
    const std::optional<std::string> target = ExactNarrow(wideTarget, wcslen(wideTarget));
    if (!target || HoldsSubstitutes(*target)) {
        NoteOutsideCodePage();
        return {};
    }
    // A link without a file-system target has an empty path: nothing to report.
    if (target->empty() || TargetIsPresent(*target, Looked())) {
        return {};
    }
    return *target;
}
