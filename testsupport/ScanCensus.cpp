// corvadin-census: runs every scanner of the scan list over the registry and file
// system of the current Windows (or Wine prefix) and prints what each one reports,
// with timings. Reads ".\Corvadin.ini" like a scan does (its [Shortcut] folders).
// With --check-plant it also checks a planting fixture's entries: every broken one
// must be reported by its own scanner, and no valid one by any.
#include "engine/IniStore.h"
#include "engine/IssueList.h"
#include "engine/ScannerList.h"
#include "testsupport/PlantFixture.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: corvadin-census [--issues] [--match TEXT] [--check-plant DIR]\n"
                         "  --issues           print every issue: category, name column, description\n"
                         "  --match TEXT       count only issues whose name or description contains TEXT\n"
                         "  --check-plant DIR  fail unless each scanner reports exactly the broken entries\n"
                         "                     the fixture in DIR planted for it, and no valid one\n");
    return 2;
}

struct Options {
    bool listIssues = false;
    std::string match;
    std::string plantFolder;
};

std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--issues") {
            options.listIssues = true;
        } else if (arg == "--match" && i + 1 < argc) {
            options.match = argv[++i];
        } else if (arg == "--check-plant" && i + 1 < argc) {
            options.plantFolder = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// What one scanner reported.
struct Census {
    std::vector<std::string> lines;  // "name column<TAB>description" of the counted issues
    int planted = 0;                 // issues about planted entries
    int plantedValid = 0;            // of those, about valid ones
    double seconds = 0;
};

Census TakeCensus(RegistryScanner& scanner, const std::string& match)
{
    Census census;
    IssueList issues;
    scanner.ClearStop();
    const auto start = std::chrono::steady_clock::now();
    scanner.Scan(&issues);
    census.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (int i = 0; i < issues.Count(); ++i) {
        const std::string text = issues.At(i)->Name() + "\t" + issues.At(i)->Description();
        census.planted += NamesPlantedEntry(text) ? 1 : 0;
        census.plantedValid += NamesValidPlantedEntry(text) ? 1 : 0;
        if (match.empty() || text.find(match) != std::string::npos) {
            census.lines.push_back(text);
        }
    }
    return census;
}

// True when the scanner reported exactly the fixture's broken entries of its category.
bool CheckPlanted(const PlantFixture& fixture, const std::string& name, const Census& census)
{
    const auto category = CategoryFromText(name);
    const int broken = category ? fixture.Broken(*category) : 0;
    const bool sound = census.planted == broken && census.plantedValid == 0;
    std::printf("   check %-26s %7d of %d broken entries reported, %d valid ones reported: %s\n", name.c_str(),
                census.planted - census.plantedValid, broken, census.plantedValid, sound ? "ok" : "WRONG");
    return sound;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        return Usage();
    }
    PlantFixture fixture(options->plantFolder.empty() ? PlantFixture::DefaultFolder() : options->plantFolder);
    if (!options->plantFolder.empty() && !fixture.Open()) {
        std::fprintf(stderr, "corvadin-census: %s\n", fixture.LastError().c_str());
        return 2;
    }
    LoadIniStore(".\\Corvadin.ini");
    ScannerList* scanners = CreateScannerList();
    if (!scanners) {
        return 1;
    }
    int total = 0;
    double totalSeconds = 0;
    bool sound = true;
    for (int index = 0; index < scanners->Count(); ++index) {
        RegistryScanner* scanner = scanners->At(index);
        if (!scanner) {
            continue;
        }
        const Census census = TakeCensus(*scanner, options->match);
        const int count = static_cast<int>(census.lines.size());
        std::printf("%2d %-26s %7d issues %9.3f s\n", index, scanner->Name().c_str(), count, census.seconds);
        for (const std::string& line : options->listIssues ? census.lines : std::vector<std::string>{}) {
            std::printf("    %s\n", line.c_str());
        }
        if (!options->plantFolder.empty()) {
            sound = CheckPlanted(fixture, scanner->Name(), census) && sound;
        }
        std::fflush(stdout);
        total += count;
        totalSeconds += census.seconds;
    }
    std::printf("   %-26s %7d issues %9.3f s\n", "all", total, totalSeconds);
    return sound ? 0 : 1;
}
