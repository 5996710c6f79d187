#include "cli/CliCommands.h"

#include "cli/ConsoleText.h"
#include "engine/RegistryScanner.h"
#include "engine/RepairAction.h"
#include "engine/ScanSession.h"
#include "engine/ScannerList.h"
#include "repair/RollbackFiles.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <new>
#include <set>

namespace {

const char* const MainHelp =
    "Usage: corvadin-cli <command> [options]\n"
    "\n"
    "Commands:\n"
    "  scan      look for registry entries that point at things that no longer exist\n"
    "  fix       scan, then repair the issues found (needs --yes)\n"
    "  restore   import a rollback file written by a repair back into the registry\n"
    "\n"
    "Run 'corvadin-cli <command> --help' for the options of a command.\n"
    "Exit code 3: the command was stopped by an error such as running out of memory.\n";

const char* const ScanHelp =
    "Usage: corvadin-cli scan [--category NAME]... [--json] [--quiet]\n"
    "\n"
    "Scans every category (or only those named) and lists the issues found.\n"
    "  --category NAME  scan this category only; may be given several times\n"
    "  --json           print the issues as JSON instead of a table\n"
    "  --quiet          no progress line on standard error\n"
    "Exit code: 0 nothing found, 1 issues found, 2 bad usage.\n";

const char* const FixHelp =
    "Usage: corvadin-cli fix --yes [--category NAME]... [--issue N]... [--quiet]\n"
    "\n"
    "Scans, then repairs the issues found: all of them, those of the named categories,\n"
    "or those with the given numbers of the scan's listing. Every repair first writes\n"
    "a rollback (.reg) or backup (.fso) file into the current folder.\n"
    "  --yes            required: confirms that the issues may be deleted\n"
    "  --category NAME  repair issues of this category only; may be given several times\n"
    "  --issue N        repair issue number N of the listing; may be given several times\n"
    "  --quiet          no progress line on standard error\n"
    "Exit code: 0 all repaired, 1 some repairs failed, 2 bad usage or no --yes.\n";

const char* const RestoreHelp =
    "Usage: corvadin-cli restore FILE.reg\n"
    "\n"
    "Imports a rollback file written by Corvadin back into the registry. The whole file\n"
    "is checked first; a damaged file is refused with its line number and changes nothing.\n"
    "Exit code: 0 restored, 1 refused or not fully restored, 2 bad usage.\n";

struct Options {
    std::vector<std::string> categories;
    std::vector<int> issues;
    std::vector<std::string> files;
    bool json = false;
    bool quiet = false;
    bool confirmed = false;
    bool help = false;
};

// Parses the options a command accepts; false (with a message) on anything else.
bool ParseOptions(const std::vector<std::string>& args, const std::set<std::string>& allowed, Options& options,
                  std::ostream& err)
{
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--category" || arg == "--issue";
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
            const std::string& number = args[++i];
            if (number.empty() || number.size() > 9 || number.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(number) < 1) {
                err << "corvadin-cli " << args[0] << ": --issue takes a number from the listing, not '" << number
                    << "'\n";
                return false;
            }
            options.issues.push_back(std::stoi(number));
        } else if (allowed.count("FILE")) {
            options.files.push_back(arg);
        } else {
            err << "corvadin-cli " << args[0] << ": unexpected argument '" << arg << "'\n";
            return false;
        }
    }
    return true;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(),
                                                  static_cast<int>(a.size()), b.data(),
                                                  static_cast<int>(b.size())) == CSTR_EQUAL;
}

// One scan over the chosen scanners, run on this thread, with every issue numbered in listing order.
class ScanRun : private ScanObserver {
public:
    struct Row {
        int number;
        std::string category;
        ScanIssue* issue;
    };

    explicit ScanRun(bool showProgress) : progress_(showProgress) {}

    // False (with a message) when a category name is unknown.
    bool SelectCategories(const std::vector<std::string>& names, std::ostream& err)
    {
        scanners_ = CreateScannerList();
        for (const std::string& name : names) {
            if (!Find(name)) {
                err << "corvadin-cli: unknown category '" << name << "'. Categories:";
                for (int i = 0; i < scanners_->Count(); ++i) {
                    err << (i ? ", " : " ") << "\"" << scanners_->At(i)->Name() << "\"";
                }
                err << "\n";
                return false;
            }
        }
        names_ = names;
        return true;
    }

    void Run()
    {
        session_.Prepare(scanners_, &progress_,
                         [this](const RegistryScanner& scanner) { return Selected(scanner.Name()); });
        session_.Run(*this);
        progress_.Clear();
    }

    const std::vector<Row>& Rows() const { return rows_; }

private:
    void ScannerStarting(size_t, const ScanEntry& entry) override
    {
        progress_.SetLabel("Scanning " + entry.scanner->Name());
    }
    void ScannerFinished(size_t, const ScanEntry& entry) override
    {
        for (int j = 0; j < entry.issues->Count(); ++j) {
            rows_.push_back({static_cast<int>(rows_.size()) + 1, entry.scanner->Name(), entry.issues->At(j)});
        }
    }
    void ScanFinished() override {}

    RegistryScanner* Find(const std::string& name) const
    {
        for (int i = 0; i < scanners_->Count(); ++i) {
            if (scanners_->At(i) && SameNameIgnoringCase(scanners_->At(i)->Name(), name)) {
                return scanners_->At(i);
            }
        }
        return nullptr;
    }
    bool Selected(const std::string& name) const
    {
        return names_.empty() || std::any_of(names_.begin(), names_.end(),
                                             [&](const std::string& n) { return SameNameIgnoringCase(n, name); });
    }

    ScannerList* scanners_ = nullptr;
    std::vector<std::string> names_;
    ConsoleProgress progress_;
    // Counters nobody shows: the console lists the rows instead.
    ScanResults results_;
    ScanSession session_{results_};
    std::vector<Row> rows_;
};

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

void PrintTable(const std::vector<ScanRun::Row>& rows, std::ostream& out)
{
    size_t categoryWidth = 8;
    for (const ScanRun::Row& row : rows) {
        categoryWidth = std::max(categoryWidth, row.category.size());
    }
    char line[64];
    for (const ScanRun::Row& row : rows) {
        snprintf(line, sizeof line, "%5d  ", row.number);
        out << line << row.category << std::string(categoryWidth - row.category.size() + 2, ' ')
            << row.issue->Name() << "\n" << std::string(7 + categoryWidth + 2, ' ') << row.issue->Description()
            << "\n";
    }
    out << rows.size() << (rows.size() == 1 ? " issue" : " issues") << " found.\n";
}

void PrintJson(const std::vector<ScanRun::Row>& rows, std::ostream& out)
{
    out << "{\n  \"count\": " << rows.size() << ",\n  \"issues\": [";
    for (size_t i = 0; i < rows.size(); ++i) {
        const ScanIssue& issue = *rows[i].issue;
        out << (i ? ",\n" : "\n") << "    {\"number\": " << rows[i].number
            << ", \"category\": " << JsonString(rows[i].category) << ", \"kind\": \"" << KindName(issue.Kind())
            << "\", \"name\": " << JsonString(issue.Name()) << ", \"description\": " << JsonString(issue.Description())
            << ", \"target\": " << JsonString(TargetPath(issue)) << "}";
    }
    out << (rows.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

int ScanCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Options options;
    if (!ParseOptions(args, {"--help", "--category", "--json", "--quiet"}, options, err)) {
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
    if (options.json) {
        PrintJson(scan.Rows(), out);
    } else {
        PrintTable(scan.Rows(), out);
    }
    return scan.Rows().empty() ? ExitClean : ExitIssues;
}

int FixCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Options options;
    if (!ParseOptions(args, {"--help", "--category", "--issue", "--yes", "--quiet"}, options, err)) {
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
    ScanRun scan(!options.quiet);
    if (!scan.SelectCategories(options.categories, err)) {
        return ExitUsage;
    }
    scan.Run();
    for (const int number : options.issues) {
        if (number > static_cast<int>(scan.Rows().size())) {
            err << "corvadin-cli fix: there is no issue " << number << "; this scan found " << scan.Rows().size()
                << ". Nothing was deleted.\n";
            return ExitUsage;
        }
    }
    int failed = 0;
    for (const ScanRun::Row& row : scan.Rows()) {
        if (!options.issues.empty() &&
            std::find(options.issues.begin(), options.issues.end(), row.number) == options.issues.end()) {
            continue;
        }
        RepairAction* action = CreateRepairAction();
        const bool fixed = action && action->Fix(row.issue);
        failed += !fixed;
        char number[16];
        snprintf(number, sizeof number, "%5d  ", row.number);
        out << number << (fixed ? "Fixed   " : "Failed  ") << row.category << "  " << row.issue->Name() << "\n";
    }
    return failed == 0 ? ExitClean : ExitIssues;
}

int RestoreCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Options options;
    if (!ParseOptions(args, {"--help", "FILE"}, options, err)) {
        return ExitUsage;
    }
    if (options.help) {
        out << RestoreHelp;
        return ExitClean;
    }
    if (options.files.size() != 1) {
        err << "corvadin-cli restore: name exactly one rollback file\n";
        return ExitUsage;
    }
    const std::string& file = options.files[0];
    const RestoreOutcome outcome = RestoreRollbackFile(file);
    if (outcome.Complete()) {
        out << DescribeRestore(file, outcome) << "\n";
        return ExitClean;
    }
    err << "corvadin-cli restore: " << DescribeRestore(file, outcome) << "\n";
    return ExitIssues;
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
