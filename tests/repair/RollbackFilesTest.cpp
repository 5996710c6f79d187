#include "repair/RollbackFiles.h"
#include "repair/RollbackReader.h"

#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace {

const std::string Key = "[HKEY_CURRENT_USER\\Software\\CorvadinTest\\RollbackFiles]\n";

// Makes a file in folder whose last-write time lies minutesAgo in the past.
void AddFile(const ScratchFolder& folder, const std::string& name, const std::string& text, int minutesAgo)
{
    const std::string path = folder.AddFile(name, text);
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::minutes(minutesAgo));
}

}  // namespace

TEST(RollbackFilesTest, ListsOnlyRollbackFilesNewestFirstWithTheirCounts)
{
    ScratchFolder folder("rollback-list");
    AddFile(folder, "rollback20260101120000_00.reg", "REGEDIT4\n\n" + Key + "\"a\"=\"1\"\n", 30);
    AddFile(folder, "rollback20260101120000_01.reg",
            "REGEDIT4\n\n" + Key + "\"a\"=\"1\"\n@=dword:00000002\n\n" + Key + "\n\n\n", 10);
    AddFile(folder, "rollback20260101120000_02.reg", "REGEDIT4\n\n" + Key + "\"a\"=hex:0\n", 20);
    AddFile(folder, "file20260101120000_03.fso", "not a rollback file", 0);
    AddFile(folder, "other.reg", "REGEDIT4\n\n", 0);

    std::vector<RollbackFileInfo> files = ListRollbackFiles(folder.Path());
    ASSERT_EQ(files.size(), 3u);
    EXPECT_FALSE(files[0].checked) << "listed unread";
    for (RollbackFileInfo& file : files) {
        CheckRollbackFile(folder.Path(), file);
    }
    EXPECT_EQ(files[0].name, "rollback20260101120000_01.reg");
    EXPECT_TRUE(files[0].readable);
    EXPECT_EQ(files[0].keys, 2);
    EXPECT_EQ(files[0].values, 2);
    EXPECT_EQ(files[0].date.size(), 19u) << files[0].date;
    EXPECT_EQ(files[1].name, "rollback20260101120000_02.reg");
    EXPECT_FALSE(files[1].readable);
    EXPECT_EQ(files[1].errorLine, 4);
    EXPECT_EQ(files[1].values, 0);
    EXPECT_EQ(files[2].name, "rollback20260101120000_00.reg");
    EXPECT_EQ(files[2].values, 1);

    EXPECT_TRUE(ListRollbackFiles(folder.Path() + "\\missing").empty());
}

TEST(RollbackFilesTest, RestoreWritesOnlyASoundFileAndSaysWhatItDid)
{
    ScratchFolder folder("rollback-restore");
    ScratchKey scratch("RollbackFiles");
    const std::string damaged = folder.AddFile("damaged.reg", "REGEDIT4\n\n" + Key + "\"a\"=\"1\"\n\"b\"=hex(");
    const RestoreOutcome refused = RestoreRollbackFile(damaged);
    EXPECT_FALSE(refused.parsed);
    EXPECT_FALSE(refused.Complete());
    EXPECT_FALSE(scratch.HasValue("", "a"));
    EXPECT_EQ(DescribeRestore("damaged.reg", refused),
              "damaged.reg, line 5: bad type in hex(...). Nothing was changed.");

    const std::string sound = folder.AddFile("sound.reg", "REGEDIT4\n\n" + Key + "\"a\"=\"1\"\n\"b\"=hex(7):00\n");
    const RestoreOutcome restored = RestoreRollbackFile(sound);
    EXPECT_TRUE(restored.Complete());
    EXPECT_TRUE(scratch.HasValue("", "a"));
    EXPECT_TRUE(scratch.HasValue("", "b"));
    EXPECT_EQ(DescribeRestore("sound.reg", restored), "Restored 1 key(s) and 2 value(s) from sound.reg.");

    // Refused on its size before a byte is read.
    const std::string large = folder.AddFile("large.reg", "REGEDIT4\n\n" + Key + "\"c\"=\"x\"\n");
    std::filesystem::resize_file(large, MaxRollbackFileSize + 1);
    EXPECT_EQ(DescribeRestore("large.reg", RestoreRollbackFile(large)),
              "large.reg: the file is larger than 32 MB, too large for a rollback file. Nothing was changed.");

    const RestoreOutcome missing = RestoreRollbackFile(folder.Path() + "\\none.reg");
    EXPECT_EQ(DescribeRestore("none.reg", missing), "none.reg: cannot read the file. Nothing was changed.");
    RestoreOutcome partial = restored;
    partial.failedWrites = 1;
    EXPECT_FALSE(partial.Complete());
    EXPECT_EQ(DescribeRestore("x.reg", partial),
              "Restored 1 key(s) and 2 value(s) from x.reg, but 1 registry write(s) failed.");
}
