#include "testsupport/PlantFixture.h"

#include "registry/UniqueHandle.h"
#include "testsupport/PlantManifest.h"
#include "testsupport/ShellLinkWriter.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <utility>

namespace {

const std::string CurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string Explorer = CurrentVersion + "\\Explorer";
const char* const ManifestName = "corvadin-plant.manifest";
// The folders below the scratch folder that hold planted files; removal deletes them.
const char* const PlantedFolders[] = {"bin", "files", "shortcuts"};

// ---- what one batch of entries consists of -------------------------------------

struct ValueData {
    std::string subkey;  // below the owning key; empty for the key itself
    std::string name;
    DWORD type;
    std::string data;
};

ValueData Sz(std::string name, const std::string& text, std::string subkey = {})
{
    return {std::move(subkey), std::move(name), REG_SZ, text + '\0'};
}

ValueData Dword(std::string name, DWORD number)
{
    return {{}, std::move(name), REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number)};
}

ValueData MultiSz(std::string name, const std::vector<std::string>& strings)
{
    std::string data;
    for (const std::string& text : strings) {
        data += text + '\0';
    }
    return {{}, std::move(name), REG_MULTI_SZ, data + '\0'};
}

// A key the fixture makes, removed with its tree.
struct OwnedKey {
    HKEY root;
    std::string parent;  // empty: directly under the root
    std::string name;
    std::vector<ValueData> values;
    std::string Path() const { return parent.empty() ? name : parent + "\\" + name; }
};

// A value the fixture sets in a key it does not own.
struct ForeignValue {
    HKEY root;
    std::string key;
    ValueData value;
};

struct Batch {
    std::vector<OwnedKey> keys;
    std::vector<ForeignValue> values;
    std::vector<std::string> files;
    std::vector<std::pair<std::string, std::string>> links;  // link file, target
    bool needsProgram = false;
};

struct Entry {
    Category category;
    int index;
    bool valid;
    std::string stem;   // CorvadinPlant-V000001
    std::string klass;  // {C0DAD1A5-...}
};

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// Turns entries into the keys, values and files of a batch.
class Planner {
public:
    Planner(const PlantFixture& fixture, Batch& batch) : fixture_(fixture), batch_(batch) {}

    std::string ProgramPath()
    {
        batch_.needsProgram = true;
        return fixture_.ProgramPath();
    }
    std::string Command(const std::string& arguments) { return Quoted(ProgramPath()) + " " + arguments; }
    std::string MissingCommand(const std::string& kind, const Entry& entry, const std::string& arguments)
    {
        return Quoted(Missing(kind, entry.stem + ".exe")) + " " + arguments;
    }

    // A file that the entry points at: made for a valid entry, missing for a broken one.
    std::string File(const std::string& kind, const Entry& entry, const std::string& extension)
    {
        if (!entry.valid) {
            return Missing(kind, entry.stem + extension);
        }
        const std::string path = Existing(kind) + "\\" + Bucket(entry) + "\\" + entry.stem + extension;
        batch_.files.push_back(path);
        return path;
    }
    std::string Folder(const std::string& kind, const Entry& entry)
    {
        if (!entry.valid) {
            return Missing(kind, entry.stem);
        }
        const std::string path = Existing(kind) + "\\" + Bucket(entry) + "\\" + entry.stem;
        batch_.files.push_back(path + "\\");
        return path;
    }
    std::string Existing(const std::string& kind) const { return fixture_.Folder() + "\\files\\" + kind; }
    // A hundred entries to a folder: making a file that is not there yet costs the
    // emulator a look at every name in its folder, so big folders make planting slow.
    static std::string Bucket(const Entry& entry)
    {
        char bucket[16];
        snprintf(bucket, sizeof bucket, "%c%04d", entry.valid ? 'V' : 'B', entry.index / 100);
        return bucket;
    }
    std::string Missing(const std::string& kind, const std::string& name) const
    {
        return fixture_.Folder() + "\\missing\\" + kind + "\\" + name;
    }

    void Key(HKEY root, std::string parent, std::string name, std::vector<ValueData> values)
    {
        batch_.keys.push_back({root, std::move(parent), std::move(name), std::move(values)});
    }
    void Value(HKEY root, std::string key, ValueData value)
    {
        batch_.values.push_back({root, std::move(key), std::move(value)});
    }
    std::string ShortcutFolder() const { return fixture_.ShortcutFolder(); }
    void Link(const std::string& linkPath, const std::string& target) { batch_.links.emplace_back(linkPath, target); }

    // A font name without a drive is taken relative to the font folder; this names a
    // font file elsewhere that way.
    std::string RelativeToFontFolder(const std::string& path) const
    {
        char fonts[MAX_PATH];
        const DWORD length = ExpandEnvironmentStringsA("%SystemRoot%\\Fonts\\", fonts, MAX_PATH);
        if (length == 0 || length > MAX_PATH) {
            return path;
        }
        const std::string folder = fonts;
        if (folder.size() < 3 || path.size() < 3 || CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, folder.c_str(),
                                                                   2, path.c_str(), 2) != CSTR_EQUAL) {
            return path;
        }
        std::string relative;
        for (size_t i = 3; i < folder.size(); ++i) {
            if (folder[i] == '\\') {
                relative += "..\\";
            }
        }
        return relative + path.substr(3);
    }

private:
    const PlantFixture& fixture_;
    Batch& batch_;
};

// ---- the categories -----------------------------------------------------------

void PlanAppPath(Planner& plan, const Entry& entry)
{
    plan.Key(HKEY_LOCAL_MACHINE, CurrentVersion + "\\App Paths", entry.stem + ".exe",
             {Sz("", plan.ProgramPath()), Sz("Path", plan.Folder("apppath", entry))});
}

void PlanUninstall(Planner& plan, const Entry& entry)
{
    const std::string command =
        entry.valid ? plan.Command("/uninstall") : plan.MissingCommand("uninstall", entry, "/uninstall");
    plan.Key(HKEY_LOCAL_MACHINE, CurrentVersion + "\\Uninstall", entry.stem,
             {Sz("DisplayName", entry.stem), Sz("UninstallString", command)});
}

void PlanHelpFile(Planner& plan, const Entry& entry)
{
    const std::string file = plan.File("help", entry, ".hlp");
    const std::string folder = file.substr(0, file.rfind('\\') + 1);
    plan.Value(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\Help", Sz(entry.stem + ".hlp", folder));
}

void PlanFileExtension(Planner& plan, const Entry& entry)
{
    const std::string extension = "." + entry.stem;
    plan.Key(HKEY_CURRENT_USER, Explorer + "\\FileExts", extension, {});
    if (entry.valid) {
        plan.Key(HKEY_CLASSES_ROOT, "", extension, {});
    }
}

// A broken class has exactly one fault: odd ones a missing icon, even ones a verb
// whose program is missing.
void PlanFileExtensionReference(Planner& plan, const Entry& entry)
{
    const bool iconMissing = !entry.valid && entry.index % 2 == 1;
    const bool commandMissing = !entry.valid && !iconMissing;
    Entry iconEntry = entry;
    iconEntry.valid = !iconMissing;
    const std::string icon = plan.File("icons", iconEntry, ".ico") + ",0";
    const std::string command =
        commandMissing ? plan.MissingCommand("verbs", entry, "\"%1\"") : plan.Command("\"%1\"");
    plan.Key(HKEY_CLASSES_ROOT, "", entry.stem,
             {Sz("", entry.stem + " file"), Sz("", icon, "DefaultIcon"), Sz("", command, "shell\\open\\command")});
}

// Fonts are registered by a name relative to the font folder or, every other one,
// by a full path of their own.
void PlanFontFiles(Planner& plan, const Entry& entry)
{
    const std::string file = plan.File("fonts", entry, ".ttf");
    plan.Value(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
               Sz(entry.stem + " (TrueType)", entry.index % 2 == 0 ? file : plan.RelativeToFontFolder(file)));
}

void PlanRecentFiles(Planner& plan, const Entry& entry)
{
    const std::string command = entry.valid ? plan.Command("/mru") : plan.MissingCommand("mru", entry, "/mru");
    plan.Value(HKEY_CURRENT_USER, Explorer + "\\RunMRU", Sz(entry.stem, command + "\\1"));
}

void PlanSharedDll(Planner& plan, const Entry& entry)
{
    plan.Value(HKEY_LOCAL_MACHINE, CurrentVersion + "\\SharedDLLs", Dword(plan.File("shared", entry, ".dll"), 1));
}

void PlanSharedFolder(Planner& plan, const Entry& entry)
{
    plan.Value(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\lanmanserver\\Shares",
               MultiSz(entry.stem, {"MaxUses=4294967295", "Path=" + plan.Folder("shares", entry), "Permissions=0",
                                    "Remark=", "Type=0"}));
}

void PlanStartupProgram(Planner& plan, const Entry& entry)
{
    const std::string command = entry.valid ? plan.Command("/run") : plan.MissingCommand("run", entry, "/run");
    plan.Value(HKEY_CURRENT_USER, CurrentVersion + "\\Run", Sz(entry.stem, command));
}

void PlanComObject(Planner& plan, const Entry& entry)
{
    plan.Key(HKEY_CLASSES_ROOT, "CLSID", entry.klass,
             {Sz("", entry.stem), Sz("", plan.File("com", entry, ".dll"), "InprocServer32"),
              Sz("ThreadingModel", "Apartment", "InprocServer32")});
}

// A valid helper object has a class registration of its own, whose server exists.
void PlanBrowserHelperObject(Planner& plan, const Entry& entry)
{
    plan.Key(HKEY_LOCAL_MACHINE, Explorer + "\\Browser Helper Objects", entry.klass, {Sz("", entry.stem)});
    if (entry.valid) {
        plan.Key(HKEY_CLASSES_ROOT, "CLSID", entry.klass,
                 {Sz("", entry.stem), Sz("", plan.File("bho", entry, ".dll"), "InprocServer32")});
    }
}

void PlanShortcut(Planner& plan, const Entry& entry)
{
    plan.Link(plan.ShortcutFolder() + "\\" + Planner::Bucket(entry) + "\\" + entry.stem + ".lnk",
              plan.File("shortcut", entry, ".txt"));
}

void PlanTypeLibrary(Planner& plan, const Entry& entry)
{
    plan.Key(HKEY_CLASSES_ROOT, "TypeLib", entry.klass,
             {Sz("", entry.stem, "1.0"), Sz("", plan.File("typelib", entry, ".tlb"), "1.0\\0\\win32")});
}

// A valid interface's proxy/stub class is registered (without a server, so that no category judges the class).
void PlanInterface(Planner& plan, const Entry& entry)
{
    plan.Key(HKEY_CLASSES_ROOT, "Interface", entry.klass,
             {Sz("", entry.stem), Sz("", entry.klass, "ProxyStubClsid32")});
    if (entry.valid) {
        plan.Key(HKEY_CLASSES_ROOT, "CLSID", entry.klass, {Sz("", entry.stem)});
    }
}

// A context-menu handler for every file; a valid one's class and server file are there.
void PlanShellExtension(Planner& plan, const Entry& entry)
{
    plan.Key(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers", entry.stem, {Sz("", entry.klass)});
    if (entry.valid) {
        plan.Key(HKEY_CLASSES_ROOT, "CLSID", entry.klass,
                 {Sz("", entry.stem), Sz("", plan.File("shellext", entry, ".dll"), "InprocServer32")});
    }
}

void PlanMuiCache(Planner& plan, const Entry& entry)
{
    plan.Value(HKEY_CURRENT_USER, "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache",
               Sz(plan.File("muicache", entry, ".exe") + ".FriendlyAppName", entry.stem));
}

// An application with one event whose current scheme plays the file.
void PlanSoundEvent(Planner& plan, const Entry& entry)
{
    plan.Key(HKEY_CURRENT_USER, "AppEvents\\Schemes\\Apps", entry.stem,
             {Sz("", entry.stem), Sz("", plan.File("sounds", entry, ".wav"), "Open\\.Current")});
}

void PlanCompatibilitySetting(Planner& plan, const Entry& entry)
{
    plan.Value(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers",
               Sz(plan.File("compat", entry, ".exe"), "~ RUNASADMIN"));
}

void PlanInstallerFolder(Planner& plan, const Entry& entry)
{
    plan.Value(HKEY_LOCAL_MACHINE, CurrentVersion + "\\Installer\\Folders",
               Sz(plan.Folder("installer", entry) + "\\", ""));
}

// A disabled service of its own process: nothing ever starts it, should the prefix boot with it.
void PlanService(Planner& plan, const Entry& entry)
{
    plan.Key(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services", entry.stem,
             {Dword("Type", SERVICE_WIN32_OWN_PROCESS), Dword("Start", SERVICE_DISABLED), Dword("ErrorControl", 0),
              Sz("ImagePath", Quoted(plan.File("services", entry, ".exe")) + " /service")});
}

using PlanFunction = void (*)(Planner&, const Entry&);

// How each category's entries are planted, in the order of the categories.
constexpr PlanFunction Plans[CategoryCount] = {
    PlanAppPath,   PlanUninstall,           PlanHelpFile,  PlanFileExtension, PlanFileExtensionReference,
    PlanFontFiles, PlanRecentFiles,         PlanSharedDll, PlanSharedFolder,  PlanStartupProgram,
    PlanComObject, PlanBrowserHelperObject, PlanShortcut,  PlanTypeLibrary,   PlanInterface,
    PlanShellExtension, PlanMuiCache, PlanSoundEvent, PlanCompatibilitySetting, PlanInstallerFolder, PlanService,
};

Entry MakeEntry(Category category, int index, bool valid)
{
    char stem[64];
    snprintf(stem, sizeof stem, "%s-%c%06d", PlantMarker, valid ? 'V' : 'B', index);
    char klass[64];
    snprintf(klass, sizeof klass, "%s%04X-%04X-8000-%012X}", PlantClassPrefix, static_cast<unsigned>(category),
             valid ? 0u : 1u, static_cast<unsigned>(index));
    return {category, index, valid, stem, klass};
}

// ---- making a batch real -------------------------------------------------------

// Open keys by root and path, made (and their making recorded) when missing.
class KeyCache {
public:
    explicit KeyCache(PlantManifest& manifest) : manifest_(manifest) {}
    ~KeyCache()
    {
        for (auto& [where, key] : keys_) {
            RegCloseKey(key);
        }
    }
    KeyCache(const KeyCache&) = delete;
    KeyCache& operator=(const KeyCache&) = delete;

    // The key, made with every missing key above it; null on failure.
    HKEY Get(HKEY root, const std::string& path)
    {
        if (path.empty()) {
            return root;
        }
        const auto where = std::make_pair(root, path);
        if (const auto found = keys_.find(where); found != keys_.end()) {
            return found->second;
        }
        HKEY key = nullptr;
        for (size_t end = path.find('\\');; end = path.find('\\', end + 1)) {
            const std::string prefix = path.substr(0, end);
            DWORD disposition = 0;
            if (key) {
                RegCloseKey(key);
                key = nullptr;
            }
            if (RegCreateKeyExA(root, prefix.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition) !=
                ERROR_SUCCESS) {
                return nullptr;
            }
            // Made by us: removed again at the end, but only if it is empty then.
            if (disposition == REG_CREATED_NEW_KEY) {
                manifest_.Append({ManifestEntry(ManifestEntry::Parent, root, prefix)});
            }
            if (end == std::string::npos) {
                break;
            }
        }
        keys_[where] = key;
        return key;
    }

private:
    PlantManifest& manifest_;
    std::map<std::pair<HKEY, std::string>, HKEY> keys_;
};

bool SetValue(HKEY key, const ValueData& value)
{
    return RegSetValueExA(key, value.name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool MakeOwnedKey(KeyCache& cache, const OwnedKey& owned)
{
    const HKEY parent = cache.Get(owned.root, owned.parent);
    if (!parent) {
        return false;
    }
    UniqueHkey key;
    if (RegCreateKeyExA(parent, owned.name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    bool ok = true;
    for (const ValueData& value : owned.values) {
        if (value.subkey.empty()) {
            ok = SetValue(key.get(), value) && ok;
            continue;
        }
        UniqueHkey subkey;
        ok = RegCreateKeyExA(key.get(), value.subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, subkey.put(),
                             nullptr) == ERROR_SUCCESS &&
             SetValue(subkey.get(), value) && ok;
    }
    return ok;
}

// Makes every folder of path that is missing.
bool MakeFolders(const std::string& path, std::set<std::string>& made)
{
    if (path.size() <= 3 || made.count(path)) {
        return true;
    }
    const size_t slash = path.rfind('\\');
    if (slash != std::string::npos && !MakeFolders(path.substr(0, slash), made)) {
        return false;
    }
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    made.insert(path);
    return true;
}

bool MakeFile(const std::string& path)
{
    const UniqueFileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    static const char text[] = "CorvadinPlant\r\n";
    DWORD written = 0;
    return WriteFile(file.get(), text, sizeof text - 1, &written, nullptr) != 0;
}

// Deletes folder and everything in it, counting the files; false when anything stayed.
bool DeleteTree(const std::string& folder, int& files)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return RemoveDirectoryA(folder.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
               GetLastError() == ERROR_PATH_NOT_FOUND;
    }
    bool ok = true;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ok = DeleteTree(path, files) && ok;
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            const bool deleted = DeleteFileA(path.c_str());
            files += deleted;
            ok = deleted && ok;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return RemoveDirectoryA(folder.c_str()) && ok;
}

bool FolderIsEmpty(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return true;
    }
    bool empty = true;
    do {
        const std::string name = found.cFileName;
        empty = empty && (name == "." || name == "..");
    } while (empty && FindNextFileA(search, &found));
    FindClose(search);
    return empty;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string LastName(const std::string& path)
{
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Keeps the first problem met; the work goes on so that as much as possible is made.
void Note(std::string& problem, bool ok, const std::string& message)
{
    if (!ok && problem.empty()) {
        problem = message;
    }
}

void CopyProgram(const std::string& source, const std::string& destination, std::string& problem)
{
    if (Exists(destination)) {
        return;
    }
    if (source.empty() || !Exists(source)) {
        Note(problem, false, "the do-nothing program corvadin-plant-target.exe was not found (" + source + ")");
        return;
    }
    std::set<std::string> made;
    Note(problem,
         MakeFolders(destination.substr(0, destination.rfind('\\')), made) &&
             CopyFileA(source.c_str(), destination.c_str(), FALSE),
         "cannot copy " + source + " to " + destination);
}

void MakeFiles(const Batch& batch, std::string& problem)
{
    std::set<std::string> made;
    for (const std::string& file : batch.files) {
        if (file.back() == '\\') {
            Note(problem, MakeFolders(file.substr(0, file.size() - 1), made), "cannot create the folder " + file);
        } else {
            Note(problem, MakeFolders(file.substr(0, file.rfind('\\')), made) && MakeFile(file),
                 "cannot create the file " + file);
        }
    }
    for (const auto& [link, target] : batch.links) {
        Note(problem, MakeFolders(link.substr(0, link.rfind('\\')), made) && WriteShellLink(link, target),
             "cannot write the shortcut " + link);
    }
}

void MakeRegistry(const Batch& batch, PlantManifest& manifest, std::string& problem)
{
    KeyCache cache(manifest);
    for (const OwnedKey& key : batch.keys) {
        Note(problem, MakeOwnedKey(cache, key), "cannot create the key " + RootTag(key.root) + "\\" + key.Path());
    }
    for (const ForeignValue& value : batch.values) {
        const HKEY key = cache.Get(value.root, value.key);
        Note(problem, key && SetValue(key, value.value),
             "cannot set the value " + value.value.name + " of " + RootTag(value.root) + "\\" + value.key);
    }
}

}  // namespace

bool NamesPlantedEntry(const std::string& text)
{
    return text.find(PlantMarker) != std::string::npos || text.find(PlantClassPrefix) != std::string::npos;
}

bool NamesValidPlantedEntry(const std::string& text)
{
    return text.find(std::string(PlantMarker) + "-V") != std::string::npos ||
           (text.find(PlantClassPrefix) != std::string::npos && text.find("-0000-8000-") != std::string::npos);
}

std::optional<Category> CategoryFromText(const std::string& text)
{
    for (size_t i = 0; i < Categories().size(); ++i) {
        const CategoryInfo& info = Categories()[i];
        if (lstrcmpiA(text.c_str(), info.name) == 0 || lstrcmpiA(text.c_str(), info.tag) == 0) {
            return static_cast<Category>(i);
        }
    }
    return std::nullopt;
}

PlantCounts CountsOf(PlantMix mix, int size)
{
    PlantCounts counts{};
    if (mix == PlantMix::Even) {
        counts.fill(size / CategoryCount);
        return counts;
    }
    // Hundredths of the whole.
    const std::pair<Category, int> shares[] = {
        {Category::ComObject, 35},    {Category::FileExtensionReference, 16}, {Category::Interface, 10},
        {Category::SharedDll, 7},     {Category::AppPath, 4},                 {Category::Uninstall, 4},
        {Category::FileExtension, 4}, {Category::HelpFile, 4},                {Category::StartupProgram, 4},
        {Category::TypeLibrary, 3},   {Category::ShellExtension, 2},          {Category::MuiCache, 2},
        {Category::SoundEvent, 2},    {Category::Service, 1},                 {Category::InstallerFolder, 1},
        {Category::CompatibilitySetting, 1},
    };
    for (const auto& [category, hundredths] : shares) {
        counts[static_cast<size_t>(category)] = static_cast<int>(static_cast<long long>(size) * hundredths / 100);
    }
    return counts;
}

PlantFixture::PlantFixture(std::string folder)
{
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
    folder_ = length > 0 && length < MAX_PATH ? std::string(full) : folder;
    while (folder_.size() > 3 && folder_.back() == '\\') {
        folder_.pop_back();
    }
}

PlantFixture::~PlantFixture() = default;

bool PlantFixture::Fail(const std::string& message)
{
    if (error_.empty()) {
        error_ = message;
    }
    return false;
}

bool PlantFixture::Open()
{
    if (opened_) {
        return true;
    }
    // The folder's path becomes part of registry names and manifest lines.
    if (folder_.size() < 4 || folder_[1] != ':' || folder_.size() > 150 ||
        folder_.find_first_of("\t\r\n\"") != std::string::npos) {
        return Fail("the scratch folder must be a plain full path below a drive root: " + folder_);
    }
    const std::string manifest = folder_ + "\\" + ManifestName;
    if (Exists(manifest)) {
        PlantManifest(manifest).ForEach([this](const ManifestEntry& entry) {
            if (entry.kind == ManifestEntry::Count) {
                counts_[entry.name] = {entry.valid, entry.broken};
            }
        });
    } else if (Exists(folder_) && !FolderIsEmpty(folder_)) {
        return Fail("the scratch folder " + folder_ + " holds files but no plant manifest: choose a new or empty folder");
    } else {
        std::set<std::string> made;
        if (!MakeFolders(folder_, made)) {
            return Fail("cannot create the scratch folder " + folder_);
        }
    }
    opened_ = true;
    return true;
}

std::string PlantFixture::FindProgramSource() const
{
    char module[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    std::string folder = module;
    for (int level = 0; level < 5; ++level) {
        const size_t slash = folder.rfind('\\');
        if (slash == std::string::npos) {
            break;
        }
        folder.resize(slash);
        const std::string candidate = folder + "\\corvadin-plant-target.exe";
        if (Exists(candidate)) {
            return candidate;
        }
    }
    return {};
}

bool PlantFixture::Plant(Category category, int valid, int broken)
{
    const auto start = std::chrono::steady_clock::now();
    error_.clear();
    if (valid < 0 || broken < 0) {
        return Fail("the numbers of entries cannot be negative");
    }
    if (!Open()) {
        return false;
    }
    const CategoryInfo& info = InfoOf(category);
    const PlanFunction plan = Plans[static_cast<int>(category)];
    std::pair<int, int>& count = counts_[info.tag];
    if (count.first + valid > 999999 || count.second + broken > 999999) {
        return Fail("at most 999999 valid and 999999 broken entries per category");
    }

    Batch batch;
    Planner planner(*this, batch);
    for (int i = 1; i <= valid; ++i) {
        plan(planner, MakeEntry(category, count.first + i, true));
    }
    for (int i = 1; i <= broken; ++i) {
        plan(planner, MakeEntry(category, count.second + i, false));
    }

    // Every registry entry is on record before it is made.
    std::vector<ManifestEntry> ahead;
    for (const OwnedKey& key : batch.keys) {
        ahead.emplace_back(ManifestEntry::Key, key.root, key.Path());
    }
    for (const ForeignValue& value : batch.values) {
        ahead.emplace_back(ManifestEntry::Value, value.root, value.key, value.value.name);
    }
    ManifestEntry total(ManifestEntry::Count, nullptr, {}, info.tag);
    total.valid = count.first + valid;
    total.broken = count.second + broken;
    ahead.push_back(total);
    PlantManifest manifest(folder_ + "\\" + ManifestName);
    if (!manifest.Append(ahead)) {
        return Fail("cannot write the manifest " + manifest.Path());
    }
    count = {total.valid, total.broken};

    std::string problem;
    if (batch.needsProgram) {
        CopyProgram(programSource_.empty() ? FindProgramSource() : programSource_, ProgramPath(), problem);
    }
    MakeFiles(batch, problem);
    MakeRegistry(batch, manifest, problem);
    timings_.push_back({std::string("plant ") + info.name, valid + broken,
                        SecondsSince(start)});
    return problem.empty() || Fail(problem);
}

bool PlantFixture::PlantAll(const PlantCounts& counts)
{
    constexpr int BatchSize = 10000;
    for (size_t i = 0; i < counts.size(); ++i) {
        for (int done = 0; done < counts[i]; done += BatchSize) {
            const int batch = std::min(BatchSize, counts[i] - done);
            const int broken = batch / 10;
            if (!Plant(static_cast<Category>(i), batch - broken, broken)) {
                return false;
            }
        }
    }
    return true;
}

bool PlantFixture::AddShortcutFolderToIni(const std::string& iniPath)
{
    error_.clear();
    if (!Open()) {
        return false;
    }
    // The profile functions put a file named without a folder into the Windows folder.
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(iniPath.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) {
        return Fail("cannot make a full path of " + iniPath);
    }
    ManifestEntry entry(ManifestEntry::Ini, nullptr, full, PlantMarker);
    entry.section = InfoOf(Category::Shortcut).name;
    std::vector<ManifestEntry> ahead = {entry};
    // A file made here goes again at removal, if nothing else was put into it.
    if (!Exists(full)) {
        ahead.emplace_back(ManifestEntry::IniFile, nullptr, full);
    }
    PlantManifest manifest(folder_ + "\\" + ManifestName);
    std::set<std::string> made;
    if (!manifest.Append(ahead) || !MakeFolders(ShortcutFolder(), made)) {
        return Fail("cannot record or create the shortcut folder " + ShortcutFolder());
    }
    if (!WritePrivateProfileStringA(entry.section.c_str(), entry.name.c_str(), ShortcutFolder().c_str(), full)) {
        return Fail(std::string("cannot write ") + full);
    }
    return true;
}

namespace {

// Removes what one manifest lists, counting what it removed and what stayed.
class Remover {
public:
    ~Remover()
    {
        for (auto& [where, key] : open_) {
            RegCloseKey(key);
        }
    }
    void Value(const ManifestEntry& entry)
    {
        if (!Allowed(entry.name)) {
            return;
        }
        HKEY& key = open_[{entry.root, entry.path}];
        LONG result = ERROR_SUCCESS;
        if (!key) {
            result = RegOpenKeyExA(entry.root, entry.path.c_str(), 0, KEY_SET_VALUE, &key);
        }
        if (result == ERROR_SUCCESS) {
            result = RegDeleteValueA(key, entry.name.c_str());
        }
        Count(result, RootTag(entry.root) + "\\" + entry.path + "\\" + entry.name);
    }
    // Most planted keys have no subkeys and go with one call; the others with their tree.
    void Key(const ManifestEntry& entry)
    {
        if (!Allowed(LastName(entry.path))) {
            return;
        }
        LONG result = RegDeleteKeyA(entry.root, entry.path.c_str());
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
            result = RegDeleteTreeA(entry.root, entry.path.c_str());
        }
        Count(result, RootTag(entry.root) + "\\" + entry.path);
    }
    // A key made above planted ones goes only when nothing is left in it.
    void Parent(const ManifestEntry& entry)
    {
        UniqueHkey key;
        if (RegOpenKeyExA(entry.root, entry.path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
            return;
        }
        DWORD subkeys = 1;
        DWORD values = 1;
        RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        key.reset();
        if (subkeys == 0 && values == 0) {
            Count(RegDeleteKeyA(entry.root, entry.path.c_str()), RootTag(entry.root) + "\\" + entry.path);
        }
    }
    void Ini(const ManifestEntry& entry)
    {
        if (!Allowed(entry.name)) {
            return;
        }
        WritePrivateProfileStringA(entry.section.c_str(), entry.name.c_str(), nullptr, entry.path.c_str());
        // An empty section means the same as none; leave none behind.
        char keys[4] = {};
        if (GetPrivateProfileSectionA(entry.section.c_str(), keys, sizeof keys, entry.path.c_str()) == 0) {
            WritePrivateProfileStringA(entry.section.c_str(), nullptr, nullptr, entry.path.c_str());
        }
        ++removed;
    }
    void IniFile(const ManifestEntry& entry)
    {
        WIN32_FILE_ATTRIBUTE_DATA file;
        if (GetFileAttributesExA(entry.path.c_str(), GetFileExInfoStandard, &file) && file.nFileSizeLow == 0 &&
            file.nFileSizeHigh == 0 && DeleteFileA(entry.path.c_str())) {
            ++removed;
        }
    }

    int removed = 0;
    int failed = 0;
    std::string firstFailure;

private:
    bool Allowed(const std::string& name)
    {
        if (CarriesPlantMarker(name)) {
            return true;
        }
        Failed("refused to remove an entry without the plant marker: " + name);
        return false;
    }
    void Count(LONG result, const std::string& what)
    {
        if (result == ERROR_SUCCESS) {
            ++removed;
        } else if (result != ERROR_FILE_NOT_FOUND) {
            Failed("cannot remove " + what + " (error " + std::to_string(result) + ")");
        }
    }
    void Failed(const std::string& message)
    {
        if (failed++ == 0) {
            firstFailure = message;
        }
    }

    std::map<std::pair<HKEY, std::string>, HKEY> open_;
};

}  // namespace

bool PlantFixture::RemoveAll()
{
    const auto start = std::chrono::steady_clock::now();
    error_.clear();
    const std::string manifestPath = folder_ + "\\" + ManifestName;
    if (!Exists(manifestPath)) {
        if (Exists(folder_) && !FolderIsEmpty(folder_)) {
            return Fail("no plant manifest in " + folder_ + ": nothing removed");
        }
        RemoveDirectoryA(folder_.c_str());
        opened_ = false;  // the folder is gone: planting again makes it anew
        return true;
    }
    const std::vector<ManifestEntry> entries = PlantManifest(manifestPath).Read();
    Remover remover;
    for (const ManifestEntry& entry : entries) {
        if (entry.kind == ManifestEntry::Value) {
            remover.Value(entry);
        }
    }
    for (const ManifestEntry& entry : entries) {
        if (entry.kind == ManifestEntry::Key) {
            remover.Key(entry);
        } else if (entry.kind == ManifestEntry::Ini) {
            remover.Ini(entry);
        }
    }
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (entry->kind == ManifestEntry::Parent) {
            remover.Parent(*entry);
        } else if (entry->kind == ManifestEntry::IniFile) {
            remover.IniFile(*entry);
        }
    }

    timings_.push_back({"remove registry entries", remover.removed, SecondsSince(start)});

    const auto filesStart = std::chrono::steady_clock::now();
    bool filesGone = true;
    int files = 0;
    for (const char* planted : PlantedFolders) {
        filesGone = DeleteTree(folder_ + "\\" + planted, files) && filesGone;
    }
    timings_.push_back({"remove files", files, SecondsSince(filesStart)});
    if (remover.failed > 0) {
        // The manifest stays, so that another run can finish the work.
        return Fail(std::to_string(remover.failed) + " entries stayed; the first: " + remover.firstFailure);
    }
    DeleteFileA(manifestPath.c_str());
    counts_.clear();
    opened_ = false;
    if (!filesGone || !RemoveDirectoryA(folder_.c_str())) {
        return Fail("the scratch folder " + folder_ + " could not be removed completely");
    }
    return true;
}

int PlantFixture::Valid(Category category) const
{
    const auto found = counts_.find(InfoOf(category).tag);
    return found == counts_.end() ? 0 : found->second.first;
}

int PlantFixture::Broken(Category category) const
{
    const auto found = counts_.find(InfoOf(category).tag);
    return found == counts_.end() ? 0 : found->second.second;
}
