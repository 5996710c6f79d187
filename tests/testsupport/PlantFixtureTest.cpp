#include "engine/IniStore.h"
#include "engine/IssueList.h"
#include "engine/ScannerList.h"
#include "testsupport/PlantFixture.h"
#include "testsupport/PlantManifest.h"
#include "tests/support/Scratch.h"

#include <map>

#include <gtest/gtest.h>

namespace {

std::string ValueOfIni(const std::string& ini)
{
    char value[MAX_PATH] = {};
    GetPrivateProfileStringA("Shortcut", "CorvadinPlant", "", value, MAX_PATH, ini.c_str());
    return value;
}

// What every scanner of the scan list reports about planted entries, by category name.
std::map<std::string, std::vector<std::string>> ScanPlanted()
{
    std::map<std::string, std::vector<std::string>> found;
    ScannerList* scanners = CreateScannerList();
    for (int index = 0; index < scanners->Count(); ++index) {
        RegistryScanner* scanner = scanners->At(index);
        IssueList issues;
        scanner->Scan(&issues);
        std::vector<std::string>& mine = found[scanner->Name()];
        for (int i = 0; i < issues.Count(); ++i) {
            const std::string text = issues.At(i)->Name() + "|" + issues.At(i)->Description();
            if (NamesPlantedEntry(text)) {
                mine.push_back(text);
            }
        }
    }
    return found;
}

}  // namespace

TEST(PlantFixtureTest, EachBrokenEntryGivesOneIssueOfItsCategoryAndRemovalLeavesNothing)
{
    ScratchFolder scratch("plant");
    const std::string ini = scratch.Path() + "\\Corvadin.ini";
    const bool helperObjectsExisted = KeyExists(
        HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects");

    PlantFixture fixture(scratch.Path() + "\\fixture");
    ASSERT_TRUE(fixture.AddShortcutFolderToIni(ini)) << fixture.LastError();
    for (int i = 0; i < CategoryCount; ++i) {
        ASSERT_TRUE(fixture.Plant(static_cast<Category>(i), 2, 3)) << fixture.LastError();
    }
    EXPECT_EQ(fixture.Timings().size(), static_cast<size_t>(CategoryCount));
    const std::vector<ManifestEntry> manifest =
        PlantManifest(fixture.Folder() + "\\corvadin-plant.manifest").Read();

    LoadIniStore(ini);
    const std::map<std::string, std::vector<std::string>> found = ScanPlanted();
    for (const auto& [category, issues] : found) {
        const auto planted = CategoryFromText(category);
        ASSERT_TRUE(planted) << category;
        EXPECT_EQ(static_cast<int>(issues.size()), fixture.Broken(*planted)) << category;
        for (const std::string& issue : issues) {
            EXPECT_FALSE(NamesValidPlantedEntry(issue)) << category << ": " << issue;
        }
    }
    EXPECT_EQ(ValueOfIni(ini), fixture.ShortcutFolder());

    ASSERT_TRUE(fixture.RemoveAll()) << fixture.LastError();
    for (const ManifestEntry& entry : manifest) {
        if (entry.kind == ManifestEntry::Key) {
            EXPECT_FALSE(KeyExists(entry.root, entry.path)) << entry.path;
        } else if (entry.kind == ManifestEntry::Value) {
            EXPECT_FALSE(ValueExists(entry.root, entry.path, entry.name)) << entry.path << "\\" << entry.name;
        }
    }
    EXPECT_EQ(GetFileAttributesA(fixture.Folder().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"));
    EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE,
                        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects"),
              helperObjectsExisted);
    EXPECT_EQ(GetFileAttributesA(ini.c_str()), INVALID_FILE_ATTRIBUTES) << "the ini file was made by the fixture";
    LoadIniStore("");
}

TEST(PlantFixtureTest, NumberingGoesOnAcrossRunsAndRemovalToleratesWhatWasNeverMade)
{
    ScratchFolder scratch("plant-runs");
    const std::string uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    {
        PlantFixture first(scratch.Path() + "\\fixture");
        ASSERT_TRUE(first.Plant(Category::Uninstall, 1, 0)) << first.LastError();
    }
    PlantFixture second(scratch.Path() + "\\fixture");
    ASSERT_TRUE(second.Plant(Category::Uninstall, 1, 1)) << second.LastError();
    EXPECT_EQ(second.Valid(Category::Uninstall), 2);
    EXPECT_EQ(second.Broken(Category::Uninstall), 1);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, uninstall + "CorvadinPlant-V000001"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, uninstall + "CorvadinPlant-V000002"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, uninstall + "CorvadinPlant-B000001"));

    // A run that ended between recording and making leaves entries that do not exist.
    PlantManifest manifest(second.Folder() + "\\corvadin-plant.manifest");
    ASSERT_TRUE(manifest.Append({{ManifestEntry::Key, HKEY_LOCAL_MACHINE, uninstall + "CorvadinPlant-V000099"},
                                 {ManifestEntry::Value, HKEY_CURRENT_USER, "Software\\CorvadinTest\\none",
                                  "CorvadinPlant-V000099"}}));
    manifest.Close();

    ASSERT_TRUE(second.RemoveAll()) << second.LastError();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, uninstall + "CorvadinPlant-V000001"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, uninstall + "CorvadinPlant-V000002"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, uninstall + "CorvadinPlant-B000001"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
}

TEST(PlantFixtureTest, TouchesNeitherForeignFoldersNorUnmarkedEntries)
{
    ScratchFolder scratch("plant-refuses");
    const std::string foreign = scratch.AddFile("own\\notes.txt");
    PlantFixture refused(scratch.Path() + "\\own");
    EXPECT_FALSE(refused.Plant(Category::SharedDll, 1, 1));
    EXPECT_NE(refused.LastError().find("no plant manifest"), std::string::npos) << refused.LastError();
    EXPECT_FALSE(refused.RemoveAll());
    EXPECT_EQ(GetFileAttributesA(foreign.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    // An entry without the marker in a damaged manifest is left where it is, and so
    // is the manifest, for a look by hand.
    const ScratchKey key("plant-refuses");
    key.SetString("", "KeepMe", "x");
    PlantFixture fixture(scratch.Path() + "\\fixture");
    ASSERT_TRUE(fixture.Plant(Category::StartupProgram, 0, 1)) << fixture.LastError();
    PlantManifest manifest(fixture.Folder() + "\\corvadin-plant.manifest");
    ASSERT_TRUE(manifest.Append({{ManifestEntry::Value, HKEY_CURRENT_USER, key.Path(), "KeepMe"}}));
    manifest.Close();
    EXPECT_FALSE(fixture.RemoveAll());
    EXPECT_NE(fixture.LastError().find("KeepMe"), std::string::npos) << fixture.LastError();
    EXPECT_TRUE(key.HasValue("", "KeepMe"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                             "CorvadinPlant-B000001"));
    EXPECT_NE(GetFileAttributesA((fixture.Folder() + "\\corvadin-plant.manifest").c_str()), INVALID_FILE_ATTRIBUTES);
}
