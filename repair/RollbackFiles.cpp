#include "repair/RollbackFiles.h"

#include "registry/RegistryKey.h"
#include "registry/UniqueHandle.h"
#include "repair/RollbackReader.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>

namespace {

std::string LocalTimeText(time_t when)
{
    tm local{};
    if (localtime_s(&local, &when) != 0) {
        return {};
    }
    char text[32];
    strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace

std::string RollbackViewText(const std::string& path)
{
    // The view line comes before the first key, so the head up to it is a whole file by itself.
    constexpr std::streamsize HeadSize = 4096;
    std::ifstream in(path, std::ios::binary);
    std::string head(HeadSize, '\0');
    in.read(head.data(), HeadSize);
    head.resize(static_cast<size_t>(in.gcount()));
    const size_t firstKey = head.find("\n[");
    const RollbackParseResult parsed = ParseRollbackText(head.substr(0, firstKey));
    if (!parsed.ok) {
        return {};
    }
    return std::string(RollbackViewName(parsed.content.view)) + " view" +
           (parsed.content.viewNamed ? "" : " (no view line: an earlier version's file)");
}

void CheckRollbackFile(const std::string& folder, RollbackFileInfo& file)
{
    const RollbackParseResult parsed = ParseRollbackFile(folder + "\\" + file.name);
    file.checked = true;
    file.readable = parsed.ok;
    file.keys = static_cast<int>(parsed.content.keys.size());
    file.values = parsed.content.ValueCount();
    file.errorLine = parsed.errorLine;
    file.error = parsed.error;
}

std::vector<RollbackFileInfo> ListRollbackFiles(const std::string& folder)
{
    std::vector<std::pair<time_t, RollbackFileInfo>> found;
    _finddata_t entry{};
    UniqueFindHandle search(_findfirst((folder + "\\rollback*.reg").c_str(), &entry));
    for (bool more = search.valid(); more; more = _findnext(search.get(), &entry) == 0) {
        if (!(entry.attrib & _A_SUBDIR)) {
            RollbackFileInfo file;
            file.name = entry.name;
            file.date = LocalTimeText(entry.time_write);
            file.view = RollbackViewText(folder + "\\" + file.name);
            found.emplace_back(entry.time_write, std::move(file));
        }
    }
    // Newest first; files of the same second by name, whose counter orders them.
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second.name > b.second.name;
    });
    std::vector<RollbackFileInfo> files;
    for (auto& [when, info] : found) {
        files.push_back(std::move(info));
    }
    return files;
}

RestoreOutcome RestoreRollbackFile(const std::string& path)
{
    return RestoreParsed(ParseRollbackFile(path));
}

RestoreOutcome RestoreParsed(const RollbackParseResult& parsed)
{
    RestoreOutcome outcome;
    outcome.parsed = parsed.ok;
    outcome.errorLine = parsed.errorLine;
    outcome.error = parsed.error;
    if (parsed.ok) {
        outcome.keys = static_cast<int>(parsed.content.keys.size());
        outcome.values = parsed.content.ValueCount();
        outcome.failedWrites = ApplyRollback(parsed.content);
        const auto service = [](const RollbackKey& key) { return IsBelowServicesKey(key.root, key.path); };
        outcome.needsRestart = std::any_of(parsed.content.keys.begin(), parsed.content.keys.end(), service);
    }
    return outcome;
}

std::string DescribeRestore(const std::string& file, const RestoreOutcome& outcome)
{
    if (!outcome.parsed) {
        const std::string where = outcome.errorLine > 0 ? ", line " + std::to_string(outcome.errorLine) : "";
        return file + where + ": " + outcome.error + ". Nothing was changed.";
    }
    std::string text = "Restored " + std::to_string(outcome.keys) + " key(s) and " + std::to_string(outcome.values) +
                       " value(s) from " + file;
    if (outcome.failedWrites > 0) {
        text += ", but " + std::to_string(outcome.failedWrites) + " registry write(s) failed";
    }
    return text + (outcome.needsRestart ? ". Restart Windows before the restored service or driver can run." : ".");
}
