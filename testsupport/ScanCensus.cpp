// corvadin-census: runs every scanner of the scan list over the registry and file
// system of the current Windows (or Wine prefix) and prints what each one reports,
// with timings. Reads ".\Corvadin.ini" like a scan does (its [Shortcut] folders).
#include "engine/IniStore.h"
#include "engine/IssueList.h"
#include "engine/ScannerList.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: corvadin-census [--issues] [--match TEXT]\n"
                         "  --issues      print every issue: category, name column, description\n"
                         "  --match TEXT  count only issues whose name or description contains TEXT\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    bool listIssues = false;
    std::string match;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--issues") {
            listIssues = true;
        } else if (arg == "--match" && i + 1 < argc) {
            match = argv[++i];
        } else {
            return Usage();
        }
    }
    LoadIniStore(".\\Corvadin.ini");
    ScannerList* scanners = CreateScannerList();
    if (!scanners) {
        return 1;
    }
    int total = 0;
    double totalSeconds = 0;
    for (int index = 0; index < scanners->Count(); ++index) {
        RegistryScanner* scanner = scanners->At(index);
        if (!scanner) {
            continue;
        }
        IssueList issues;
        scanner->ClearStop();
        const auto start = std::chrono::steady_clock::now();
        scanner->Scan(&issues);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        int count = 0;
        std::vector<std::string> lines;
        for (int i = 0; i < issues.Count(); ++i) {
            const ScanIssue* issue = issues.At(i);
            const std::string name = issue->Name();
            const std::string description = issue->Description();
            if (!match.empty() && name.find(match) == std::string::npos &&
                description.find(match) == std::string::npos) {
                continue;
            }
            ++count;
            lines.push_back("    " + name + "\t" + description);
        }
        std::printf("%2d %-26s %7d issues %9.3f s\n", index, scanner->Name().c_str(), count, seconds);
        if (listIssues) {
            for (const std::string& line : lines) {
                std::printf("%s\n", line.c_str());
            }
        }
        std::fflush(stdout);
        total += count;
        totalSeconds += seconds;
    }
    std::printf("   %-26s %7d issues %9.3f s\n", "all", total, totalSeconds);
    return 0;
}
