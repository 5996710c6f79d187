// Plants entries of every scan category, valid and broken, in the registry and file
// system of the machine it runs on (a Wine prefix in tests and benchmarks), and
// removes exactly what it planted.
//
// Every name it makes carries "CorvadinPlant" (class ids begin with {C0DAD1A5-), and
// a manifest in the scratch folder lists every planted registry entry before it is
// made (and every key made above them right after), so a later run or another
// process can remove everything even after a crash. Files live
// under the scratch folder only; broken entries point below its "missing" folder,
// which is never created.
//
// Each valid entry passes its scanner; each broken entry gives exactly one issue of
// its own category and none of any other. Valid commands (Run, RunMRU, uninstall,
// shell verbs) start a copy of a program that does nothing; note that Windows (and
// Wine, when its prefix boots) runs the Run entries, so remove before restarting.
#pragma once

#include "scanners/Categories.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The category by its name or its tag ("App Path" or "apppath"), without regard to case.
std::optional<Category> CategoryFromText(const std::string& text);

// Whether text (an issue's name column and description) names a planted entry, and
// whether it names a valid one: valid stems carry "-V", valid class ids a second
// group of 0000.
bool NamesPlantedEntry(const std::string& text);
bool NamesValidPlantedEntry(const std::string& text);

// How many entries of each category a plant makes, in the order of the categories.
using PlantCounts = std::array<int, CategoryCount>;

// size entries over the categories. Realistic: about what a well-used desktop holds (a third COM classes, a sixth
// file classes, a tenth interfaces, a fourteenth shared-DLL counters, the rest App Paths, uninstall entries, per-user
// extensions, help files, Run values, type libraries, shell extension handlers, the shell's program-name cache, sound
// events, services, installer folders and compatibility settings). Even: the same number of every category.
enum class PlantMix { Realistic, Even };
PlantCounts CountsOf(PlantMix mix, int size);

struct PlantTiming {
    std::string what;
    int entries = 0;
    double seconds = 0;
};

class PlantFixture {
public:
    static std::string DefaultFolder() { return "C:\\CorvadinPlant"; }

    // folder holds the manifest and every planted file. It must not exist, be empty,
    // or hold the manifest of an earlier plant (whose entries are then added to).
    explicit PlantFixture(std::string folder = DefaultFolder());
    ~PlantFixture();
    PlantFixture(const PlantFixture&) = delete;
    PlantFixture& operator=(const PlantFixture&) = delete;

    // Adds valid and broken entries of the category; false (see LastError) when
    // something could not be planted. What was planted is still removable.
    bool Plant(Category category, int valid, int broken);
    // Plants counts entries of each category, a tenth of them broken, in batches small enough that a million
    // entries need little memory.
    bool PlantAll(const PlantCounts& counts);
    // Adds the shortcut folder as key "CorvadinPlant" of section "Shortcut" of the
    // ini file, so that a scan walks it; removal takes the key out again.
    bool AddShortcutFolderToIni(const std::string& iniPath);
    // Removes every entry the manifest lists, the planted files and the scratch
    // folder. Only names that carry the marker are touched, and keys made above the
    // planted ones go only when they are empty. False when something stayed behind.
    bool RemoveAll();

    int Valid(Category category) const;
    int Broken(Category category) const;
    const std::string& Folder() const { return folder_; }
    // The folder that holds the planted shortcuts.
    std::string ShortcutFolder() const { return folder_ + "\\shortcuts"; }
    // The program valid commands name, as planted.
    std::string ProgramPath() const { return folder_ + "\\bin\\CorvadinPlant Program.exe"; }
    const std::string& LastError() const { return error_; }
    const std::vector<PlantTiming>& Timings() const { return timings_; }

    // The do-nothing program that valid commands start is copied from here. By
    // default "corvadin-plant-target.exe" is looked for beside the running program
    // and in the folders above it.
    void SetProgramSource(std::string path) { programSource_ = std::move(path); }

    // Reads the manifest of an earlier plant (or makes the folder); Plant and
    // AddShortcutFolderToIni call it themselves. False, see LastError, when the
    // folder cannot be used.
    bool Open();

private:
    bool Fail(const std::string& message);
    std::string FindProgramSource() const;

    std::string folder_;
    std::string programSource_;
    std::string error_;
    bool opened_ = false;
    std::map<std::string, std::pair<int, int>> counts_;
    std::vector<PlantTiming> timings_;
};
