// corvadin-plant: plants valid and broken entries of every scan category in the
// registry and file system of the current Windows (or Wine prefix), and removes them.
#include "testsupport/PlantFixture.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: corvadin-plant [--folder DIR] [--ini FILE] plant <category|all> <valid> <broken> "
                 "[<category|all> <valid> <broken>]...\n"
                 "       corvadin-plant [--folder DIR] remove\n"
                 "       corvadin-plant [--folder DIR] status\n"
                 "       corvadin-plant categories\n"
                 "DIR defaults to %s; --ini adds the shortcut folder to the ini file's [Shortcut] section.\n"
                 "'plant all 4000 4000' plants %d entries: 8000 in each of the %d categories.\n",
                 PlantFixture::DefaultFolder().c_str(), 8000 * CategoryCount, CategoryCount);
    return 2;
}

bool ParseCount(const std::string& text, int& count)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 0 || value > 999999) {
        return false;
    }
    count = static_cast<int>(value);
    return true;
}

void PrintTiming(const PlantTiming& timing)
{
    const double rate = timing.seconds > 0 ? timing.entries / timing.seconds : 0;
    std::printf("%-34s %8d entries %9.3f s %10.0f entries/s\n", timing.what.c_str(), timing.entries, timing.seconds,
                rate);
}

struct Request {
    Category category;
    int valid;
    int broken;
};

int Plant(PlantFixture& fixture, const std::vector<Request>& requests, const std::string& ini)
{
    if (!ini.empty() && !fixture.AddShortcutFolderToIni(ini)) {
        std::fprintf(stderr, "corvadin-plant: %s\n", fixture.LastError().c_str());
        return 1;
    }
    int failures = 0;
    for (const Request& request : requests) {
        if (!fixture.Plant(request.category, request.valid, request.broken)) {
            std::fprintf(stderr, "corvadin-plant: %s: %s\n", InfoOf(request.category).name,
                         fixture.LastError().c_str());
            ++failures;
        }
        PrintTiming(fixture.Timings().back());
    }
    int entries = 0;
    double seconds = 0;
    for (const PlantTiming& timing : fixture.Timings()) {
        entries += timing.entries;
        seconds += timing.seconds;
    }
    PrintTiming({"total", entries, seconds});
    std::printf("folder %s, shortcuts in %s\n", fixture.Folder().c_str(), fixture.ShortcutFolder().c_str());
    return failures == 0 ? 0 : 1;
}

int Status(PlantFixture& fixture)
{
    if (!fixture.Open()) {
        std::fprintf(stderr, "corvadin-plant: %s\n", fixture.LastError().c_str());
        return 1;
    }
    for (int i = 0; i < CategoryCount; ++i) {
        const auto category = static_cast<Category>(i);
        std::printf("%-26s %8d valid %8d broken\n", InfoOf(category).name, fixture.Valid(category),
                    fixture.Broken(category));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string folder = PlantFixture::DefaultFolder();
    std::string ini;
    size_t next = 0;
    for (; next + 1 < args.size() && args[next].rfind("--", 0) == 0; next += 2) {
        if (args[next] == "--folder") {
            folder = args[next + 1];
        } else if (args[next] == "--ini") {
            ini = args[next + 1];
        } else {
            return Usage();
        }
    }
    if (next >= args.size()) {
        return Usage();
    }
    const std::string command = args[next++];
    if (command == "categories") {
        for (int i = 0; i < CategoryCount; ++i) {
            std::printf("%-12s %s\n", InfoOf(static_cast<Category>(i)).tag,
                        InfoOf(static_cast<Category>(i)).name);
        }
        return 0;
    }
    PlantFixture fixture(folder);
    if (command == "remove" && next == args.size()) {
        const bool removed = fixture.RemoveAll();
        for (const PlantTiming& timing : fixture.Timings()) {
            PrintTiming(timing);
        }
        if (!removed) {
            std::fprintf(stderr, "corvadin-plant: %s\n", fixture.LastError().c_str());
        }
        return removed ? 0 : 1;
    }
    if (command == "status" && next == args.size()) {
        return Status(fixture);
    }
    if (command != "plant" || next == args.size() || (args.size() - next) % 3 != 0) {
        return Usage();
    }
    std::vector<Request> requests;
    for (; next < args.size(); next += 3) {
        int valid = 0;
        int broken = 0;
        if (!ParseCount(args[next + 1], valid) || !ParseCount(args[next + 2], broken)) {
            return Usage();
        }
        if (args[next] == "all") {
            for (int i = 0; i < CategoryCount; ++i) {
                requests.push_back({static_cast<Category>(i), valid, broken});
            }
        } else if (const auto category = CategoryFromText(args[next])) {
            requests.push_back({*category, valid, broken});
        } else {
            std::fprintf(stderr, "corvadin-plant: unknown category '%s' (see: corvadin-plant categories)\n",
                         args[next].c_str());
            return 2;
        }
    }
    return Plant(fixture, requests, ini);
}
