#include "cli/ScanRun.h"

#include "CorvadinVersion.h"
#include "engine/IgnoreList.h"
#include "engine/RegistryScanner.h"
#include "engine/ScannerList.h"
#include "repair/RepairRuns.h"
#include "scanners/Categories.h"
#include "settings/SettingsStore.h"

#include <windows.h>

#include <algorithm>

namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(),
                                                  static_cast<int>(a.size()), b.data(),
                                                  static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::string MachineName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? name : "";
}

std::string UserName()
{
    char name[257] = "";
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? name : "";
}

}  // namespace

std::string UtcNow()
{
    SYSTEMTIME now{};
    GetSystemTime(&now);
    char text[32];
    snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", now.wYear, now.wMonth, now.wDay, now.wHour,
             now.wMinute, now.wSecond);
    return text;
}

ScanRun::ScanRun(bool showProgress) : progress_(showProgress)
{
    facts_ = {MachineName(), UserName(), CORVADIN_VERSION_TEXT, static_cast<int>(sizeof(void*) * 8), {}, {}};
}

bool ScanRun::SelectCategories(const std::vector<std::string>& names, std::ostream& err)
{
    scanners_ = CreateScannerList();
    names_.clear();
    for (const std::string& name : names) {
        // A category is named by its name ("MUI Cache") or its tag ("muicache").
        const auto known = std::find_if(::Categories().begin(), ::Categories().end(), [&](const CategoryInfo& info) {
            return SameNameIgnoringCase(info.name, name) || SameNameIgnoringCase(info.tag, name);
        });
        if (known == ::Categories().end()) {
            err << "corvadin-cli: unknown category '" << name << "'. Categories:";
            for (const CategoryInfo& info : ::Categories()) {
                err << (&info == &::Categories().front() ? " " : ", ") << "\"" << info.name << "\" (" << info.tag
                    << ")";
            }
            err << "\n";
            return false;
        }
        names_.push_back(known->name);
    }
    // The options decide alone; without them the choice stored by the window does.
    leftOut_ = names.empty() ? ReadSettingString(LeftOutCategoriesName, "") : "";
    return true;
}

bool ScanRun::SelectEverything(const std::vector<std::string>& names, std::ostream& err)
{
    everything_ = true;
    return SelectCategories(names, err);
}

bool ScanRun::Selected(const RegistryScanner& scanner) const
{
    if (!names_.empty()) {
        return std::any_of(names_.begin(), names_.end(),
                           [&](const std::string& n) { return SameNameIgnoringCase(n, scanner.Name()); });
    }
    return everything_ || std::none_of(::Categories().begin(), ::Categories().end(), [&](const CategoryInfo& info) {
        return scanner.Name() == info.name && LeavesOut(leftOut_, info);
    });
}

void ScanRun::Run()
{
    facts_.started = UtcNow();
    session_.SetIgnoreList(everything_ ? IgnoreList() : IgnoreList::Load(HKEY_LOCAL_MACHINE, IgnoreListKeyPath()));
    session_.Prepare(scanners_, &progress_, [this](const RegistryScanner& scanner) { return Selected(scanner); });
    categories_.clear();
    for (const CategoryInfo& info : ::Categories()) {
        categories_.push_back({info.name});
    }
    repaired_ = RepairedIssueDates(".");
    session_.Run(*this);
    progress_.Clear();
    facts_.ended = UtcNow();
}

void ScanRun::ScannerStarting(size_t, const ScanEntry& entry)
{
    progress_.SetLabel("Scanning " + entry.scanner->Name());
}

void ScanRun::ScannerFinished(size_t index, const ScanEntry& entry)
{
    const RegistryScanner& scanner = *entry.scanner;
    MarkCameBack(*entry.issues, repaired_);
    for (int j = 0; j < entry.issues->Count(); ++j) {
        rows_.push_back({static_cast<int>(rows_.size()) + 1, scanner.Name(), entry.issues->At(j)});
    }
    const RegistryScanner::Gaps& gaps = scanner.ScanGaps();
    for (const auto& [path, error] : gaps.unreadableKeys) {
        unreadable_.push_back(path + " (error " + std::to_string(error) + ")");
    }
    if (index < categories_.size()) {
        categories_[index] = {scanner.Name(), true, gaps.entries, entry.issues->Count(), gaps.ignored};
    }
}

void WriteRunJson(const ScanRun& scan, int exitCode, std::ostream& out)
{
    const RunFacts& facts = scan.Facts();
    out << "  \"machine\": " << JsonString(facts.machine) << ",\n  \"user\": " << JsonString(facts.user)
        << ",\n  \"version\": " << JsonString(facts.version) << ",\n  \"bitness\": " << facts.bitness
        << ",\n  \"started\": " << JsonString(facts.started) << ",\n  \"ended\": " << JsonString(facts.ended)
        << ",\n  \"exitCode\": " << exitCode << ",\n  \"unreadable\": [";
    for (size_t i = 0; i < scan.Unreadable().size(); ++i) {
        out << (i ? ", " : "") << JsonString(scan.Unreadable()[i]);
    }
    out << "],\n  \"categories\": [";
    for (size_t i = 0; i < scan.Categories().size(); ++i) {
        const CategoryReport& category = scan.Categories()[i];
        out << (i ? ",\n" : "\n") << "    {\"name\": " << JsonString(category.name) << ", \"state\": \""
            << (category.scanned ? "scanned" : "left out") << "\", \"entries\": " << category.entries
            << ", \"found\": " << category.found << ", \"ignored\": " << category.ignored << "}";
    }
    out << "\n  ],\n";
}
