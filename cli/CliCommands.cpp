#include "cli/CliCommands.h"

#include "cli/ConsoleText.h"
#include "cli/ScanRun.h"
#include "engine/Evidence.h"
#include "engine/IgnoreList.h"
#include "engine/IssueDetails.h"
#include "engine/RegistryScanner.h"
#include "engine/RepairAction.h"
#include "engine/ScanSession.h"
#include "engine/ScannerList.h"
#include "repair/RepairRuns.h"
#include "repair/RollbackFiles.h"
#include "settings/SettingsStore.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <memory>
#include <new>
#include <optional>
#include <set>

namespace {

const char* const MainHelp =
    "Usage: corvadin-cli <command> [options]\n"
    "\n"
    "Commands:\n"
    "  scan      look for registry entries that point at things that no longer exist\n"
    "  fix       scan, then repair the issues found (needs --yes)\n"
    "  restore   import a rollback file written by a repair back into the registry\n"
    "  ignore    keep entries out of every scan, or let them back in\n"
    "\n"
    "Run 'corvadin-cli <command> --help' for the options of a command.\n"
    "Exit code 3: the command was stopped by an error such as running out of memory.\n"
    "Exit code 4 (scan, fix): a place that exists could not be read, most often for want of\n"
    "administrator rights, so the scan is incomplete; it is named on standard error.\n";

const char* const ScanHelp =
    "Usage: corvadin-cli scan [--category NAME]... [--grade GRADE]... [--details] [--json] [--quiet]\n"
    "\n"
    "Scans every category (or only those named) and lists the issues found, each with its\n"
    "grade: Safe (nothing reads the entry any more), Review (a program may still rely on\n"
    "it) or Expert (deleting it can stop Windows or a program from working or being\n"
    "repaired).\n"
    "  --category NAME  scan this category only (its name or its tag: apppath, sound, service,\n"
    "                   ...); may be given several times\n"
    "  --grade GRADE    list issues of this grade only (safe, review, expert); may be repeated\n"
    "  --details        list with each issue what was looked for and what Windows answered\n"
    "  --json           print the issues as JSON instead of a table, with grade and evidence\n"
    "  --quiet          no progress line on standard error\n"
    "Every issue carries an id derived from what it is; 'fix --issue ID' takes it.\n"
    "Exit code: 0 nothing found, 1 issues found, 2 bad usage, 4 incomplete scan (also when\n"
    "issues were found: 4 wins over 1; the JSON's count says whether there are any).\n";

const char* const FixHelp =
    "Usage: corvadin-cli fix --yes [--category NAME]... [--grade GRADE]... [--issue ID]... [--from FILE]\n"
    "                   [--json] [--quiet]\n"
    "\n"
    "Scans, then repairs the issues found: all of them, those of the named categories or\n"
    "grades, or only those with the given ids. Expert issues are repaired only when named\n"
    "with --issue or chosen with --grade expert. An issue is repaired only while its entry still\n"
    "fails as it did; ids this scan did not find are named and left alone. Every repair\n"
    "first writes a rollback (.reg) or backup (.fso) file into the current folder.\n"
    "  --yes            required: confirms that the issues may be deleted\n"
    "  --category NAME  repair issues of this category only; may be given several times\n"
    "  --grade GRADE    repair issues of this grade only (safe, review, expert); may be repeated\n"
    "  --issue ID       repair the issue with this id (from 'scan'); may be given several times\n"
    "  --from FILE      repair the issues listed in FILE, a saved 'scan --json' output\n"
    "  --json           report as JSON: machine, user, version, times, categories, results\n"
    "  --quiet          no progress line on standard error\n"
    "Exit code: 0 all repaired, 1 some repairs failed, ids not found or the run's record\n"
    "could not be written in full, 2 bad usage or no --yes, 4 all repaired but the scan\n"
    "was incomplete (1 wins over 4).\n";

const char* const RestoreHelp =
    "Usage: corvadin-cli restore FILE...\n"
    "       corvadin-cli restore --run ID\n"
    "       corvadin-cli restore --list\n"
    "\n"
    "Writes back what repairs deleted: rollback files (.reg) into the registry, and copies\n"
    "of shortcuts (.fso) to the place the run's record gives, never over an existing file.\n"
    "Every file is checked first; a damaged file is refused with its line number, and then\n"
    "nothing at all is changed.\n"
    "  --run ID   restore every file of the repair run ID (see --list), from the current folder\n"
    "  --list     list the repair runs recorded in the current folder, newest first, each\n"
    "             file with the registry view it goes to or the place a copy goes back to\n"
    "Exit code: 0 restored, 1 refused or not fully restored, 2 bad usage.\n";

const char* const IgnoreHelp =
    "Usage: corvadin-cli ignore list\n"
    "       corvadin-cli ignore add [--category NAME]... ID...\n"
    "       corvadin-cli ignore remove KEY...\n"
    "\n"
    "Keeps entries out of every scan, the window's and this program's: they are neither\n"
    "listed nor counted. 'add' takes issue ids from 'corvadin-cli scan' (it scans every\n"
    "category, or those named, to find them); 'list' shows each ignored entry's key,\n"
    "category and target;\n"
    "'remove' takes those keys. The list is kept under the settings key in\n"
    "HKEY_LOCAL_MACHINE, so changing it needs administrator rights.\n"
    "Exit code: 0 done, 1 an id or key was not found or not written, 2 bad usage.\n";

struct Options {
    std::vector<std::string> categories;
    std::vector<std::string> issues;
    std::set<Grade> grades;
    std::string from;
    std::string run;
    std::vector<std::string> files;
    bool list = false;
    bool details = false;
    bool json = false;
    bool quiet = false;
    bool confirmed = false;
    bool help = false;
};

constexpr size_t IssueIdLength = 16;

bool IsIssueId(const std::string& text)
{
    return text.size() == IssueIdLength && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

std::string Lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return text;
}

// Parses the options a command accepts; false (with a message) on anything else.
bool ParseOptions(const std::vector<std::string>& args, const std::set<std::string>& allowed, Options& options,
                  std::ostream& err)
{
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue =
            arg == "--category" || arg == "--issue" || arg == "--from" || arg == "--run" || arg == "--grade";
        if (arg.rfind("--", 0) == 0 && !allowed.count(arg)) {
            err << "corvadin-cli " << args[0] << ": unknown option '" << arg << "'\n";
            return false;
        }
        if (takesValue && i + 1 >= args.size()) {
            err << "corvadin-cli " << args[0] << ": " << arg << " needs a value\n";
            return false;
        }
        if (arg == "--help") {
            options.help = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--yes") {
            options.confirmed = true;
        } else if (arg == "--category") {
            options.categories.push_back(args[++i]);
        } else if (arg == "--issue") {
            const std::string& id = args[++i];
            if (!IsIssueId(id)) {
                err << "corvadin-cli " << args[0] << ": --issue takes an issue id from 'corvadin-cli scan' ("
                    << IssueIdLength << " hex digits), not '" << id << "'\n";
                return false;
            }
            options.issues.push_back(Lowered(id));
        } else if (arg == "--grade") {
            const std::optional<Grade> grade = GradeNamed(args[++i]);
            if (!grade) {
                err << "corvadin-cli " << args[0] << ": --grade takes safe, review or expert, not '" << args[i]
                    << "'\n";
                return false;
            }
            options.grades.insert(*grade);
        } else if (arg == "--details") {
            options.details = true;
        } else if (arg == "--from") {
            options.from = args[++i];
        } else if (arg == "--run") {
            options.run = args[++i];
        } else if (arg == "--list") {
            options.list = true;
        } else if (allowed.count("FILE")) {
            options.files.push_back(arg);
        } else {
            err << "corvadin-cli " << args[0] << ": unexpected argument '" << arg << "'\n";
            return false;
        }
    }
    return true;
}

// Names on standard error what the scan could not read; true when that was anything.
bool ReportIncomplete(const ScanRun& scan, const std::string& command, std::ostream& err)
{
    for (const std::string& key : scan.Unreadable()) {
        err << "corvadin-cli " << command << ": could not read " << key << "; the scan is incomplete\n";
    }
    return !scan.Unreadable().empty();
}

const char* KindName(int kind)
{
    switch (kind) {
    case KeyIssue:
        return "key";
    case ValueIssue:
        return "value";
    case FileIssue:
        return "file";
    case FolderIssue:
        return "folder";
    default:
        return "other";
    }
}

// What a repair of the issue would delete, as a full path.
std::string TargetPath(const ScanIssue& issue)
{
    return issue.Target() ? issue.Target()->FullPath() : std::string();
}

void PrintTable(const std::vector<const ScanRun::Row*>& rows, bool details, std::ostream& out)
{
    size_t categoryWidth = 8;
    for (const ScanRun::Row* row : rows) {
        categoryWidth = std::max(categoryWidth, row->category.size());
    }
    char line[64];
    for (const ScanRun::Row* row : rows) {
        const ScanIssue& issue = *row->issue;
        snprintf(line, sizeof line, "%5d  ", row->number);
        const std::string indent(7 + categoryWidth + 2, ' ');
        out << line << row->category << std::string(categoryWidth - row->category.size() + 2, ' ') << issue.Name()
            << "\n" << indent << issue.Description() << "\n"
            << indent << "id " << issue.Id() << "  grade " << GradeName(issue.GetGrade()) << "\n";
        if (details) {
            const std::string lines = IssueDetails(issue);
            for (size_t at = 0, end; (end = lines.find("\r\n", at)) != std::string::npos; at = end + 2) {
                out << indent << lines.substr(at, end - at) << "\n";
            }
        }
    }
    out << rows.size() << (rows.size() == 1 ? " issue" : " issues") << " found.\n";
}

// One issue as a JSON object, without a line end.
void PrintIssueJson(const ScanRun::Row& row, std::ostream& out)
{
    const ScanIssue& issue = *row.issue;
    out << "{\"number\": " << row.number << ", \"id\": \"" << issue.Id() << "\", \"category\": "
        << JsonString(row.category) << ", \"kind\": \"" << KindName(issue.Kind()) << "\", \"name\": "
        << JsonString(issue.Name()) << ", \"description\": " << JsonString(issue.Description())
        << ", \"target\": " << JsonString(TargetPath(issue)) << ", \"view\": " << JsonString(ViewName(issue.View()))
        << ", \"grade\": \"" << GradeName(issue.GetGrade()) << "\", \"evidence\": [";
    for (size_t i = 0; i < issue.Looks().size(); ++i) {
        const Look& look = issue.Looks()[i];
        out << (i ? ", " : "") << "{\"looked\": " << JsonString(look.looked) << ", \"answer\": "
            << JsonString(look.answer) << "}";
    }
    out << "]}";
}

// The rows of the chosen grades (every grade when none is chosen).
std::vector<const ScanRun::Row*> RowsOfGrades(const ScanRun& scan, const std::set<Grade>& grades)
{
    std::vector<const ScanRun::Row*> rows;
    for (const ScanRun::Row& row : scan.Rows()) {
        if (grades.empty() || grades.count(row.issue->GetGrade())) {
            rows.push_back(&row);
        }
    }
    return rows;
}

void PrintJson(const ScanRun& scan, const std::vector<const ScanRun::Row*>& rows, int exitCode, std::ostream& out)
{
    out << "{\n";
    WriteRunJson(scan, exitCode, out);
    out << "  \"count\": " << rows.size() << ",\n  \"issues\": [";
    for (size_t i = 0; i < rows.size(); ++i) {
        out << (i ? ",\n    " : "\n    ");
        PrintIssueJson(*rows[i], out);
    }
    out << (rows.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

struct FixResult {
    const ScanRun::Row* row;
    bool fixed;
};

struct FixReport {
    const std::vector<FixResult>& results;
    std::string run;  // empty when nothing was backed up
    bool recorded;    // the run's record names every backup
    const std::set<std::string>& unmatched;
};

void PrintFixJson(const ScanRun& scan, const FixReport& report, int exitCode, std::ostream& out)
{
    out << "{\n";
    WriteRunJson(scan, exitCode, out);
    out << "  \"run\": " << JsonString(report.run) << ",\n  \"runRecordComplete\": "
        << (report.recorded ? "true" : "false") << ",\n  \"notFound\": [";
    for (auto id = report.unmatched.begin(); id != report.unmatched.end(); ++id) {
        out << (id == report.unmatched.begin() ? "" : ", ") << "\"" << *id << "\"";
    }
    out << "],\n  \"results\": [";
    for (size_t i = 0; i < report.results.size(); ++i) {
        out << (i ? ",\n    " : "\n    ") << "{\"result\": \"" << (report.results[i].fixed ? "fixed" : "failed")
            << "\", \"issue\": ";
        PrintIssueJson(*report.results[i].row, out);
        out << "}";
    }
    out << (report.results.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

int ScanCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Options options;
    if (!ParseOptions(args, {"--help", "--category", "--grade", "--details", "--json", "--quiet"}, options, err)) {
        return ExitUsage;
    }
    if (options.help) {
        out << ScanHelp;
        return ExitClean;
    }
    ScanRun scan(!options.quiet);
    if (!scan.SelectCategories(options.categories, err)) {
        return ExitUsage;
    }
    scan.Run();
    const bool incomplete = ReportIncomplete(scan, "scan", err);
    const std::vector<const ScanRun::Row*> rows = RowsOfGrades(scan, options.grades);
    const int exitCode = incomplete ? ExitIncomplete : rows.empty() ? ExitClean : ExitIssues;
    if (options.json) {
        PrintJson(scan, rows, exitCode, out);
    } else {
        PrintTable(rows, options.details, out);
    }
    return exitCode;
}

// The ids of the issues a saved 'scan --json' output lists; false (with a message) when the file cannot be read
// or is not such an output.
bool ReadIssueIds(const std::string& file, std::vector<std::string>& ids, std::ostream& err)
{
    // A scan's output of even a million issues stays far below this; anything larger is not one.
    constexpr std::streamoff MaxSize = 256 << 20;
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    std::string text;
    if (size >= 0 && size <= MaxSize) {
        text.resize(static_cast<size_t>(size));
        in.seekg(0);
        in.read(text.data(), size);
    }
    if (!in) {
        err << "corvadin-cli fix: cannot read '" << file << "'. Nothing was deleted.\n";
        return false;
    }
    if (size > MaxSize || text.find("\"issues\"") == std::string::npos) {
        err << "corvadin-cli fix: '" << file << "' is not a saved 'corvadin-cli scan --json' output. "
               "Nothing was deleted.\n";
        return false;
    }
    const std::string key = "\"id\": \"";
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        const std::string id = text.substr(at + key.size(), IssueIdLength);
        if (IsIssueId(id) && text.compare(at + key.size() + IssueIdLength, 1, "\"") == 0) {
            ids.push_back(Lowered(id));
        }
    }
    return true;
}

int FixCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Options options;
    if (!ParseOptions(args, {"--help", "--category", "--grade", "--issue", "--from", "--yes", "--json", "--quiet"},
                      options, err)) {
        return ExitUsage;
    }
    if (options.help) {
        out << FixHelp;
        return ExitClean;
    }
    if (!options.confirmed) {
        err << "corvadin-cli fix: nothing was deleted. Add --yes to confirm the repair "
               "(run 'corvadin-cli scan' first to review the issues).\n";
        return ExitUsage;
    }
    std::set<std::string> wanted(options.issues.begin(), options.issues.end());
    if (!options.from.empty()) {
        std::vector<std::string> listed;
        if (!ReadIssueIds(options.from, listed, err)) {
            return ExitUsage;
        }
        if (listed.empty()) {
            out << options.from << " lists no issues; nothing was repaired.\n";
            return ExitClean;
        }
        wanted.insert(listed.begin(), listed.end());
    }
    ScanRun scan(!options.quiet);
    if (!scan.SelectCategories(options.categories, err)) {
        return ExitUsage;
    }
    scan.Run();
    const bool incomplete = ReportIncomplete(scan, "fix", err);
    // Issues are chosen by what they are, never by their place in a listing that may have changed.
    std::set<std::string> unmatched = wanted;
    const std::set<std::string> named(options.issues.begin(), options.issues.end());
    RepairRun run;
    std::vector<FixResult> results;
    for (const ScanRun::Row* chosen : RowsOfGrades(scan, options.grades)) {
        const ScanRun::Row& row = *chosen;
        const std::string id = row.issue->Id();
        if (!wanted.empty() && !wanted.count(id)) {
            continue;
        }
        unmatched.erase(id);
        if (row.issue->GetGrade() == Grade::Expert && !named.count(id) && !options.grades.count(Grade::Expert)) {
            err << "corvadin-cli fix: left alone Expert issue " << id << " (" << row.issue->GradeReason()
                << "); name it with --issue to repair it.\n";
            continue;
        }
        RepairAction* action = CreateRepairAction();
        if (action) {
            action->SetJournal(&run);
        }
        results.push_back({&row, action && action->Fix(row.issue)});
    }
    for (const std::string& id : unmatched) {
        err << "corvadin-cli fix: no issue " << id << " in this scan (mended, changed or not scanned); "
               "nothing was deleted for it.\n";
    }
    const bool recorded = run.Finish();
    if (!recorded) {
        err << "corvadin-cli fix: " << run.IncompleteText() << "\n";
    }
    const bool failed = std::any_of(results.begin(), results.end(), [](const FixResult& r) { return !r.fixed; });
    const int exitCode =
        failed || !unmatched.empty() || !recorded ? ExitIssues : incomplete ? ExitIncomplete : ExitClean;
    if (options.json) {
        PrintFixJson(scan, {results, run.Id(), recorded, unmatched}, exitCode, out);
        return exitCode;
    }
    for (const FixResult& result : results) {
        out << result.row->issue->Id() << "  " << (result.fixed ? "Fixed   " : "Failed  ") << result.row->category
            << "  " << result.row->issue->Name() << "\n";
    }
    if (!run.RecordName().empty() && recorded) {
        out << "Backups and their record: " << run.RecordName() << "; 'corvadin-cli restore --run "
            << run.Id() << "' undoes this repair.\n";
    }
    return exitCode;
}

// The folder part of a file's path, "." for a bare name.
std::string FolderOf(const std::string& file)
{
    const size_t slash = file.find_last_of("\\/");
    return slash == std::string::npos ? "." : file.substr(0, slash);
}

// A file named on the command line; a shortcut's copy goes where a run record of its folder says it was.
RestoreItem ItemOfFile(const std::string& file)
{
    const std::string name = file.substr(file.find_last_of("\\/") + 1);
    for (const RepairRunInfo& run : ListRepairRuns(FolderOf(file))) {
        for (const RunEntry& entry : run.entries) {
            if (entry.IsFileCopy() && lstrcmpiA(entry.file.c_str(), name.c_str()) == 0) {
                return {file, entry.path};
            }
        }
    }
    return {file, {}};
}

void ListRuns(std::ostream& out)
{
    const std::vector<RepairRunInfo> runs = ListRepairRuns(".");
    for (const RepairRunInfo& run : runs) {
        out << run.id << "  " << run.date << "  " << run.entries.size() << " file(s): " << run.Categories()
            << (run.complete ? "" : "  (incomplete record)") << "\n";
        for (const RunEntry& entry : run.entries) {
            out << "    " << entry.file << "  "
                << (!entry.deleted         ? std::string("not deleted, nothing to write back")
                    : entry.IsFileCopy() ? "to " + entry.path
                                         : RollbackViewText(PathInFolder(".", entry.file)))
                << "\n";
        }
    }
    out << runs.size() << (runs.size() == 1 ? " repair run" : " repair runs") << " recorded here.\n";
}

int RestoreCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Options options;
    if (!ParseOptions(args, {"--help", "--run", "--list", "FILE"}, options, err)) {
        return ExitUsage;
    }
    if (options.help) {
        out << RestoreHelp;
        return ExitClean;
    }
    const int chosen = !options.files.empty() + !options.run.empty() + options.list;
    if (chosen != 1) {
        err << "corvadin-cli restore: name rollback files, or --run ID, or --list\n";
        return ExitUsage;
    }
    if (options.list) {
        ListRuns(out);
        return ExitClean;
    }
    BatchRestoreOutcome outcome;
    if (!options.run.empty()) {
        const std::vector<RepairRunInfo> runs = ListRepairRuns(".");
        const auto run = std::find_if(runs.begin(), runs.end(), [&](const auto& r) { return r.id == options.run; });
        if (run == runs.end()) {
            err << "corvadin-cli restore: no repair run " << options.run << " is recorded here; see --list\n";
            return ExitUsage;
        }
        outcome = RestoreRun(".", *run);
    } else {
        std::vector<RestoreItem> items;
        for (const std::string& file : options.files) {
            items.push_back(ItemOfFile(file));
        }
        outcome = RestoreItems(items);
    }
    for (const std::string& line : outcome.lines) {
        (outcome.Complete() ? out : err) << (outcome.Complete() ? "" : "corvadin-cli restore: ") << line << "\n";
    }
    return outcome.Complete() ? ExitClean : ExitIssues;
}

// Adds the entries of the issues with the given ids; false when one was not found or not written.
bool AddIgnored(IgnoreList& list, const std::vector<std::string>& categories, std::set<std::string> ids,
                std::ostream& out, std::ostream& err)
{
    ScanRun scan(false);
    if (!scan.SelectEverything(categories, err)) {
        return false;
    }
    scan.Run();
    bool complete = true;
    for (const ScanRun::Row& row : scan.Rows()) {
        if (ids.erase(row.issue->Id()) == 0) {
            continue;
        }
        const IgnoredEntry entry = IgnoreList::EntryFor(row.category, *row.issue);
        const bool added = list.Add(entry);
        complete = complete && added;
        (added ? out : err) << (added ? "Ignored " : "corvadin-cli ignore: could not write ") << entry.Key() << "  "
                            << entry.category << "  " << entry.ShownTarget() << "\n";
    }
    for (const std::string& id : ids) {
        err << "corvadin-cli ignore: no issue " << id << " in a scan of every category\n";
    }
    return complete && ids.empty();
}

bool RemoveIgnored(IgnoreList& list, std::set<std::string> keys, std::ostream& out, std::ostream& err)
{
    bool complete = true;
    // A copy: each removal changes the list's entries. Two values may hold the same entry; both go.
    const std::vector<IgnoredEntry> entries = list.Entries();
    std::set<std::string> found;
    for (const IgnoredEntry& entry : entries) {
        if (keys.count(entry.Key()) > 0) {
            found.insert(entry.Key());
            const bool removed = list.Remove(entry);
            complete = complete && removed;
            (removed ? out : err) << (removed ? "No longer ignored " : "corvadin-cli ignore: could not remove ")
                                  << entry.Key() << "  " << entry.category << "  " << entry.ShownTarget() << "\n";
        }
    }
    for (const std::string& key : keys) {
        if (!found.count(key)) {
            err << "corvadin-cli ignore: no ignored entry " << key << "\n";
        }
    }
    return complete && found.size() == keys.size();
}

int IgnoreCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::string action = args.size() > 1 ? args[1] : "";
    std::set<std::string> keys;
    std::vector<std::string> categories;
    for (size_t i = 2; i < args.size(); ++i) {
        if (action == "add" && args[i] == "--category" && i + 1 < args.size()) {
            categories.push_back(args[++i]);
            continue;
        }
        if (!IsIssueId(args[i])) {
            err << "corvadin-cli ignore: '" << args[i] << "' is not an id or key (" << IssueIdLength
                << " hex digits)\n";
            return ExitUsage;
        }
        keys.insert(Lowered(args[i]));
    }
    IgnoreList list = IgnoreList::Load(HKEY_LOCAL_MACHINE, IgnoreListKeyPath());
    if (action == "list" && keys.empty()) {
        for (const IgnoredEntry& entry : list.Entries()) {
            out << entry.Key() << "  " << entry.category << "  " << entry.ShownTarget() << "\n";
        }
        for (const std::string& damaged : list.Damaged()) {
            err << "corvadin-cli ignore: value \"" << damaged << "\" holds no entry and is passed over\n";
        }
        out << list.Entries().size() << " ignored " << (list.Entries().size() == 1 ? "entry" : "entries") << ".\n";
        return ExitClean;
    }
    if (action == "add" && !keys.empty()) {
        return AddIgnored(list, categories, keys, out, err) ? ExitClean : ExitIssues;
    }
    if (action == "remove" && !keys.empty()) {
        return RemoveIgnored(list, keys, out, err) ? ExitClean : ExitIssues;
    }
    (action == "--help" ? out : err) << IgnoreHelp;
    return action == "--help" ? ExitClean : ExitUsage;
}

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "help") {
        (args.empty() ? err : out) << MainHelp;
        return args.empty() ? ExitUsage : ExitClean;
    }
    const std::string& command = args[0];
    if (command == "scan") {
        return ScanCommand(args, out, err);
    }
    if (command == "fix") {
        return FixCommand(args, out, err);
    }
    if (command == "restore") {
        return RestoreCommand(args, out, err);
    }
    if (command == "ignore") {
        return IgnoreCommand(args, out, err);
    }
    err << "corvadin-cli: unknown command '" << command << "'\n\n" << MainHelp;
    return ExitUsage;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    // Running out of memory (a huge registry, a damaged file) ends the command with a message, not an abort.
    try {
        return RunCommand(args, out, err);
    } catch (const std::bad_alloc&) {
        err << "corvadin-cli: not enough memory; the command was stopped.\n";
    } catch (const std::exception& error) {
        err << "corvadin-cli: the command was stopped: " << error.what() << "\n";
    }
    return ExitStopped;
}
