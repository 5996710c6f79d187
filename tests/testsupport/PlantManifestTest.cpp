#include "testsupport/PlantManifest.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

TEST(PlantManifestTest, EveryKindOfEntryReadsBackAsWritten)
{
    ScratchFolder folder("manifest");
    std::vector<ManifestEntry> written = {
        {ManifestEntry::Key, HKEY_CLASSES_ROOT, "CLSID\\{C0DAD1A5-000A-0000-8000-000000000001}"},
        {ManifestEntry::Parent, HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\lanmanserver"},
        {ManifestEntry::Value, HKEY_CURRENT_USER, "Software\\Run", "C:\\Corvadin Plant\\a b.dll"},
        {ManifestEntry::Ini, nullptr, "C:\\x\\Corvadin.ini", "CorvadinPlant"},
        {ManifestEntry::Count, nullptr, "", "apppath"},
        {ManifestEntry::IniFile, nullptr, "C:\\x\\Corvadin.ini"},
    };
    written[3].section = "Shortcut";
    written[4].valid = 12;
    written[4].broken = 3;
    {
        PlantManifest manifest(folder.Path() + "\\m");
        ASSERT_TRUE(manifest.Append({written[0], written[1]}));
        ASSERT_TRUE(manifest.Append({written[2], written[3], written[4], written[5]}));
    }
    // Lines that are not entries (a torn last line, a stray edit) are passed over.
    FILE* file = fopen((folder.Path() + "\\m").c_str(), "ab");
    fputs("value\tHKXX\tpath\tname\nkey\tHKLM\t\ncount\tx\t-1\t2\nrubbish\nkey\tHKCU", file);
    fclose(file);

    const std::vector<ManifestEntry> read = PlantManifest(folder.Path() + "\\m").Read();
    ASSERT_EQ(read.size(), written.size());
    for (size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(FormatManifestEntry(read[i]), FormatManifestEntry(written[i]));
    }
    EXPECT_EQ(read[2].name, "C:\\Corvadin Plant\\a b.dll");
    EXPECT_EQ(read[4].valid, 12);
    EXPECT_EQ(read[4].broken, 3);
}

TEST(PlantManifestTest, OnlyMarkedNamesMayBeRemoved)
{
    EXPECT_TRUE(CarriesPlantMarker("CorvadinPlant-V000001.exe"));
    EXPECT_TRUE(CarriesPlantMarker(".corvadinplant-b000002"));
    EXPECT_TRUE(CarriesPlantMarker("C:\\Temp\\x\\files\\shared\\CorvadinPlant-V000003.dll"));
    EXPECT_TRUE(CarriesPlantMarker("{C0DAD1A5-000A-0001-8000-000000000004}"));
    EXPECT_FALSE(CarriesPlantMarker("{00021401-0000-0000-C000-000000000046}"));
    EXPECT_FALSE(CarriesPlantMarker("Run"));
    EXPECT_FALSE(CarriesPlantMarker(""));
    EXPECT_FALSE(CarriesPlantMarker("Corvadin Plant"));
}
