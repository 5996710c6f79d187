#include "engine/IniStore.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

namespace {

class IniStoreTest : public ::testing::Test {
protected:
    std::string Ini(const std::string& text) { return folder.AddFile("Corvadin.ini", text); }

    ScratchFolder folder{"ini"};
    IniStore store;
};

}  // namespace

TEST_F(IniStoreTest, SectionsKeepTheirValuesInKeyOrder)
{
    const int lines = store.Load(Ini("[Common]\r\nLogName=scan.log\r\n[Shortcut]\r\nb=D:\\Two\r\na=D:\\One\r\n"));
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(store.Value("Common", "LogName"), "scan.log");
    EXPECT_EQ(store.SectionSize("Shortcut"), 2);
    EXPECT_EQ(store.ValueAt("Shortcut", 0), "D:\\One");
    EXPECT_EQ(store.ValueAt("Shortcut", 1), "D:\\Two");
    EXPECT_EQ(store.ValueAt("Shortcut", 2), "");
    EXPECT_EQ(store.ValueAt("Shortcut", -1), "");
}

TEST_F(IniStoreTest, LinesWithoutOrWithSeveralEqualsSigns)
{
    store.Load(Ini("[S]\r\nC:\\Data\r\nk=v=w\r\n"));
    EXPECT_EQ(store.Value("S", "C:\\Data"), "C:\\Data");
    EXPECT_EQ(store.Value("S", "k"), "v=w");
}

TEST_F(IniStoreTest, LookupsAreExactAndEmptySectionsArePresent)
{
    store.Load(Ini("[shortcut]\r\na=1\r\n[Empty]\r\n"));
    EXPECT_EQ(store.SectionSize("Shortcut"), 0);
    EXPECT_EQ(store.Value("shortcut", "A"), "");
    EXPECT_EQ(store.SectionSize("Empty"), 0);
    EXPECT_EQ(store.Value("Empty", "x"), "");
}

TEST_F(IniStoreTest, AMissingFileEmptiesTheStore)
{
    store.Load(Ini("[Common]\r\nLogName=x\r\n"));
    EXPECT_EQ(store.Load(folder.Path() + "\\absent.ini"), 0);
    EXPECT_EQ(store.Value("Common", "LogName"), "");
    EXPECT_EQ(store.Load(""), 0);
}

TEST_F(IniStoreTest, LongSectionsAreReadWhole)
{
    std::string text = "[Shortcut]\r\n";
    for (int i = 0; i < 3000; ++i) {
        text += "k" + std::to_string(10000 + i) + "=C:\\Some\\Rather\\Long\\Folder\\Name\\" + std::to_string(i) + "\r\n";
    }
    text += "[Common]\r\nLogName=last.log\r\n";
    EXPECT_EQ(store.Load(Ini(text)), 3001);
    EXPECT_EQ(store.SectionSize("Shortcut"), 3000);
    EXPECT_EQ(store.ValueAt("Shortcut", 2999), "C:\\Some\\Rather\\Long\\Folder\\Name\\2999");
    EXPECT_EQ(store.Value("Common", "LogName"), "last.log");
}

TEST_F(IniStoreTest, TheSharedStoreAndTheLogName)
{
    const std::string path = Ini("[Common]\r\nLogName=corvadin.log\r\n");
    EXPECT_TRUE(LoadIniStore(path));
    EXPECT_EQ(SharedIniStore().Value("Common", "LogName"), "corvadin.log");
    EXPECT_EQ(LogNameFromIni(path), "corvadin.log");
    EXPECT_FALSE(LoadIniStore(folder.Path() + "\\absent.ini"));
    EXPECT_EQ(SharedIniStore().SectionSize("Common"), 0);
}
