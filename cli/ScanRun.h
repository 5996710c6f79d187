// One scan of the console program, run on this thread over the chosen categories: its issues in listing order,
// what each category looked at, and where and when it ran, so that results from many machines can be collected.
#pragma once

#include "cli/ConsoleText.h"
#include "engine/ScanResults.h"
#include "engine/ScanSession.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

class ScannerList;

struct CategoryReport {
    std::string name;
    bool scanned = false;  // false: left out by the options or the stored choice
    int entries = 0;       // entries its walks looked at
    int found = 0;
    int ignored = 0;  // found in entries the user ignores, and so neither listed nor counted as found
};

// Where and when a command ran.
struct RunFacts {
    std::string machine;
    std::string user;
    std::string version;
    int bitness = 0;
    std::string started;  // UTC, "2026-12-09T09:15:00Z"
    std::string ended;
};

class ScanRun : private ScanObserver {
public:
    struct Row {
        int number;
        std::string category;
        ScanIssue* issue;
    };

    explicit ScanRun(bool showProgress);

    // The categories named on the command line, or, without any, those the stored choice does not leave out.
    // False (with a message) when a name is unknown.
    bool SelectCategories(const std::vector<std::string>& names, std::ostream& err);
    // The categories named (every one without names), whatever the stored choice, and the entries the user
    // ignores too. False (with a message) when a name is unknown.
    bool SelectEverything(const std::vector<std::string>& names, std::ostream& err);
    void Run();

    const std::vector<Row>& Rows() const { return rows_; }
    // The start keys that exist but could not be read, as "path (error N)".
    const std::vector<std::string>& Unreadable() const { return unreadable_; }
    const std::vector<CategoryReport>& Categories() const { return categories_; }
    const RunFacts& Facts() const { return facts_; }

private:
    void ScannerStarting(size_t, const ScanEntry& entry) override;
    void ScannerFinished(size_t index, const ScanEntry& entry) override;
    void ScanFinished() override {}
    bool Selected(const RegistryScanner& scanner) const;

    ScannerList* scanners_ = nullptr;
    std::vector<std::string> names_;
    bool everything_ = false;
    std::string leftOut_;
    ConsoleProgress progress_;
    // Counters nobody shows: the console lists the rows instead.
    ScanResults results_;
    ScanSession session_{results_};
    std::vector<Row> rows_;
    // The ids of the issues earlier repairs in the current folder deleted: an issue found again came back.
    std::map<std::string, std::string> repaired_;
    std::vector<std::string> unreadable_;
    std::vector<CategoryReport> categories_;
    RunFacts facts_;
};

// The current time in UTC, as "2026-12-09T09:15:00Z".
std::string UtcNow();
// The facts of a run and its categories as JSON members ("machine": ... "categories": [...]), each line indented
// by two blanks and ended by a comma.
void WriteRunJson(const ScanRun& scan, int exitCode, std::ostream& out);
