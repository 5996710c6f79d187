#include "repair/DeleteAction.h"

#include "registry/FileItem.h"
#include "repair/BackupName.h"
#include "repair/RepairRuns.h"
#include "tests/repair/RepairTestSupport.h"
#include "tests/support/LockedKey.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

namespace {

const std::string Scratch = "Software\\CorvadinTest\\Repair";
const std::string ScratchPath = "HKEY_CURRENT_USER\\" + Scratch;
const std::string Signature = "REGEDIT4\n; registry view: shared\n\n";

void WINAPI FixedClock(LPSYSTEMTIME time)
{
    *time = SYSTEMTIME{2026, 3, 0, 14, 9, 5, 7, 0};
}

// Every repair of the test sees the same second.
class FixedClockScope {
public:
    FixedClockScope() : previous_(SetLocalTimeReader(FixedClock)) {}
    ~FixedClockScope() { SetLocalTimeReader(previous_); }

private:
    LocalTimeReader previous_;
};

std::string NameAfter(int kind, int repairs)
{
    SYSTEMTIME time;
    FixedClock(&time);
    return BackupFileName(kind, time, RepairCounter() + repairs);
}

class DeleteActionTest : public ::testing::Test {
protected:
    bool Fix(const Ref<ScanIssue>& issue)
    {
        RepairAction* action = CreateRepairAction();
        return action && action->Fix(issue.get());
    }
    Ref<ScanIssue> HostValue(const std::string& name)
    {
        return ValueIssueFor(HKEY_CURRENT_USER, Scratch, "Host", name);
    }
    void ExpectNothingHappened(const std::vector<std::string>& filesBefore)
    {
        EXPECT_EQ(FilesHere(), filesBefore);
        EXPECT_TRUE(log.FixLines().empty());
    }

    ScratchKey scratch{"Repair"};
    ScratchFolder folder{"repair"};
    CurrentFolder here{folder.Path()};
    ScratchFolder logFolder{"repair-log"};
    LogCapture log{logFolder.Path() + "\\repair.log"};
};

// Writes a few bytes, then reports what a full disk reports.
class FullDiskAction : public DeleteAction {
public:
    explicit FullDiskAction(bool failLoudly) : failLoudly_(failLoudly) {}

protected:
    bool WriteSome(HANDLE file, const char* data, DWORD size, DWORD* written) override
    {
        if (!failLoudly_) {
            *written = 0;  // a short write that claims success
            return true;
        }
        DeleteAction::WriteSome(file, data, std::min<DWORD>(size, 5), written);
        SetLastError(ERROR_DISK_FULL);
        return false;
    }

private:
    bool failLoudly_;
};

// While its backup is written, another program adds a subkey below the key being repaired.
class RacedAction : public DeleteAction {
public:
    explicit RacedAction(ScratchKey& scratch) : scratch_(scratch) {}

protected:
    bool WriteSome(HANDLE file, const char* data, DWORD size, DWORD* written) override
    {
        scratch_.SetString("Tree\\Sub\\Late", "v", "written after the backup");
        return DeleteAction::WriteSome(file, data, size, written);
    }

private:
    ScratchKey& scratch_;
};

}  // namespace

TEST_F(DeleteActionTest, AValueRepairBacksUpLogsAndRemovesOnlyThatValue)
{
    scratch.SetString("Host", "keep", "1");
    scratch.SetString("Host", "gone", "C:\\x");
    const long liveBefore = RefCounted::LiveObjects();
    {
        FixedClockScope clock;
        const std::string backup = NameAfter(ValueIssue, 0);
        EXPECT_TRUE(Fix(HostValue("gone")));
        EXPECT_EQ(FilesHere(), std::vector<std::string>{backup});
        EXPECT_EQ(ReadWholeFile(backup), Signature + "[" + ScratchPath + "\\Host]\n\"gone\"=\"C:\\\\x\"\n");
    }
    EXPECT_EQ(log.FixLines(), std::vector<std::string>{"Fix \"Round trip\":" + ScratchPath + "\\Host\\gone"});
    EXPECT_FALSE(scratch.HasValue("Host", "gone"));
    EXPECT_TRUE(scratch.HasValue("Host", "keep"));
    EXPECT_EQ(RefCounted::LiveObjects(), liveBefore);
}

TEST_F(DeleteActionTest, AKeyRepairRemovesEveryLevelOfAWideTree)
{
    for (int i = 0; i < 40; ++i) {
        const std::string sub = "Tree\\k" + std::to_string(i);
        scratch.SetDword(sub, "n", i);
        for (const char* child : {"\\a", "\\b", "\\c\\d"}) {
            scratch.SetString(sub + child, "v", sub);
        }
    }
    EXPECT_TRUE(Fix(KeyIssueFor(HKEY_CURRENT_USER, Scratch, "Tree")));
    EXPECT_FALSE(scratch.HasSubkey("Tree"));
    ASSERT_EQ(FilesHere().size(), 1u);
    const std::string text = ReadWholeFile(FilesHere()[0]);
    EXPECT_EQ(std::count(text.begin(), text.end(), '['), 1 + 40 * 5);
    EXPECT_EQ(log.FixLines(), std::vector<std::string>{"Fix \"Round trip\":" + ScratchPath + "\\Tree"});
}

TEST_F(DeleteActionTest, AKeyDirectlyUnderItsRootIsRemovedByItsName)
{
    const std::string name = "CorvadinTestTop" + std::to_string(GetCurrentProcessId());
    struct Cleanup {
        std::string name;
        ~Cleanup() { RegDeleteTreeA(HKEY_CURRENT_USER, name.c_str()); }
    } cleanup{name};
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, (name + "\\Sub").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
    RegCloseKey(key);

    EXPECT_TRUE(Fix(KeyIssueFor(HKEY_CURRENT_USER, "", name)));
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    ASSERT_EQ(FilesHere().size(), 1u);
    EXPECT_EQ(ReadWholeFile(FilesHere()[0]), Signature + "[HKEY_CURRENT_USER\\" + name + "]\n\n[HKEY_CURRENT_USER\\" +
                                                 name + "\\Sub]\n\"v\"=\"x\"\n\n\n\n");
    EXPECT_EQ(log.FixLines(), std::vector<std::string>{"Fix \"Round trip\":HKEY_CURRENT_USER\\" + name});
}

TEST_F(DeleteActionTest, AFileRepairLeavesAByteIdenticalCopy)
{
    std::string bytes;
    for (int i = 0; i < 3000; ++i) {
        bytes += static_cast<char>(i * 31);
    }
    ScratchFolder links("repair-links");
    const std::string path = links.AddFile("Old Tool.lnk", bytes);
    FixedClockScope clock;
    const std::string backup = NameAfter(FileIssue, 0);

    EXPECT_TRUE(Fix(MakeIssue(FileIssue, new FileItem("Old Tool.lnk", links.Path()), "Shortcut")));
    EXPECT_FALSE(PathExists(path));
    EXPECT_EQ(backup.substr(0, 4) + backup.substr(backup.size() - 4), "file.fso");
    EXPECT_EQ(FilesHere(), std::vector<std::string>{backup});
    EXPECT_EQ(ReadWholeFile(backup), bytes);
    EXPECT_EQ(log.FixLines(), std::vector<std::string>{"Fix \"Shortcut\":" + path});
}

TEST_F(DeleteActionTest, ABackupNameAlreadyTakenRefusesTheRepair)
{
    scratch.SetString("Host", "v", "x");
    ScratchFolder links("repair-links");
    const std::string path = links.AddFile("a.lnk", "link");
    FixedClockScope clock;
    // An earlier run in the same second left these; they must survive untouched.
    folder.AddFile(NameAfter(ValueIssue, 0), "earlier rollback");
    folder.AddFile(NameAfter(FileIssue, 1), "earlier copy");
    const std::vector<std::string> before = FilesHere();

    EXPECT_FALSE(Fix(HostValue("v")));
    EXPECT_FALSE(Fix(MakeIssue(FileIssue, new FileItem("a.lnk", links.Path()))));

    ExpectNothingHappened(before);
    EXPECT_EQ(ReadWholeFile(NameAfter(ValueIssue, -2)), "earlier rollback");
    EXPECT_EQ(ReadWholeFile(NameAfter(FileIssue, -1)), "earlier copy");
    EXPECT_TRUE(scratch.HasValue("Host", "v"));
    EXPECT_TRUE(PathExists(path));
}

TEST_F(DeleteActionTest, AFolderThatCannotBeWrittenRefusesTheRepair)
{
    // A folder of the host system where nobody, not even an administrator, creates files.
    const std::string locked = "Z:\\proc";
    if (!PathExists(locked)) {
        GTEST_SKIP() << "no read-only folder on this system";
    }
    scratch.SetString("Host", "v", "x");
    const std::vector<std::string> before = FilesHere();
    {
        CurrentFolder readOnly(locked);
        EXPECT_FALSE(Fix(HostValue("v")));
    }
    ExpectNothingHappened(before);
    EXPECT_TRUE(scratch.HasValue("Host", "v"));
}

TEST_F(DeleteActionTest, AWriteThatFailsRemovesThePartialFileAndRefusesTheRepair)
{
    scratch.SetString("Host", "v", std::string(300, 'x'));
    scratch.SetDword("Tree", "n", 1);
    for (bool failLoudly : {true, false}) {
        FullDiskAction action(failLoudly);
        EXPECT_FALSE(action.Fix(HostValue("v").get()));
        EXPECT_FALSE(action.Fix(KeyIssueFor(HKEY_CURRENT_USER, Scratch, "Tree").get()));
    }
    ExpectNothingHappened({});
    EXPECT_TRUE(scratch.HasValue("Host", "v"));
    EXPECT_TRUE(scratch.HasValue("Tree", "n"));
}

TEST_F(DeleteActionTest, AnIncompleteExportRefusesTheRepair)
{
    // The walk skips value names of 1024 characters or more; the key would lose it.
    scratch.SetString("Tree\\Deep", std::string(1100, 'n'), "only here");
    scratch.SetString("Tree", "short", "x");
    scratch.SetString("Host", "line\nbreak", "x");

    EXPECT_FALSE(Fix(KeyIssueFor(HKEY_CURRENT_USER, Scratch, "Tree")));
    EXPECT_FALSE(Fix(HostValue("line\nbreak")));
    scratch.SetString("Locked", "v", "x");
    {
        const LockedKey locked(HKEY_CURRENT_USER, Scratch + "\\Locked");
        EXPECT_FALSE(Fix(ValueIssueFor(HKEY_CURRENT_USER, Scratch, "Locked", "v")));
    }
    ExpectNothingHappened({});
    EXPECT_TRUE(scratch.HasValue("Tree", "short"));
    EXPECT_TRUE(scratch.HasValue("Tree\\Deep", std::string(1100, 'n')));
    EXPECT_TRUE(scratch.HasValue("Host", "line\nbreak"));
}

TEST_F(DeleteActionTest, TheCounterMovesOnAcrossFailedRepairsAndWithinOneSecond)
{
    scratch.SetString("Host", "a", "1");
    scratch.SetString("Host", "b", "2");
    FixedClockScope clock;
    const int first = RepairCounter();
    const std::string taken = NameAfter(ValueIssue, 1);
    folder.AddFile(taken, "taken");

    EXPECT_TRUE(Fix(HostValue("a")));
    EXPECT_FALSE(Fix(HostValue("b")));
    EXPECT_TRUE(Fix(HostValue("b")));

    EXPECT_EQ(RepairCounter(), first + 3);
    EXPECT_NE(ReadWholeFile(NameAfter(ValueIssue, -3)).find("\"a\"=\"1\""), std::string::npos);
    EXPECT_EQ(ReadWholeFile(taken), "taken");
    EXPECT_NE(ReadWholeFile(NameAfter(ValueIssue, -1)).find("\"b\"=\"2\""), std::string::npos);
}

TEST_F(DeleteActionTest, ADeletionThatFailsIsNotASuccessAndKeepsItsBackup)
{
    ScratchFolder links("repair-links");
    const std::string path = links.AddFile("busy.lnk", "busy");
    links.AddFile("full\\inside.txt");
    // Readable, so the backup can be made, but not deletable.
    UniqueFileHandle busy(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(busy);

    EXPECT_FALSE(Fix(MakeIssue(FileIssue, new FileItem("busy.lnk", links.Path()))));
    EXPECT_FALSE(Fix(MakeIssue(FolderIssue, new FileItem("full", links.Path()))));
    EXPECT_TRUE(PathExists(path));
    EXPECT_TRUE(PathExists(links.Path() + "\\full"));
    ASSERT_EQ(FilesHere().size(), 2u);
    EXPECT_EQ(log.FixLines().size(), 2u);

    busy.reset();
    std::filesystem::remove(links.Path() + "\\full\\inside.txt");
    EXPECT_TRUE(Fix(MakeIssue(FileIssue, new FileItem("busy.lnk", links.Path()))));
    EXPECT_TRUE(Fix(MakeIssue(FolderIssue, new FileItem("full", links.Path()))));
}

TEST_F(DeleteActionTest, ATargetAlreadyGoneCountsAsRepaired)
{
    scratch.SetString("Host", "v", "seen by the scan");
    Ref<ScanIssue> value = HostValue("v");
    scratch.SetString("Host", "other", "x");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, (Scratch + "\\Host").c_str(), "v");

    EXPECT_TRUE(Fix(value));
    EXPECT_TRUE(Fix(KeyIssueFor(HKEY_CURRENT_USER, Scratch, "Never there")));
    // Nothing was deleted, so no backup brings back what the scan saw.
    EXPECT_TRUE(FilesHere().empty());
}

TEST_F(DeleteActionTest, ASubkeyMadeAfterTheBackupIsNeitherDeletedNorOrphaned)
{
    scratch.SetString("Tree\\Sub\\Deep", "v", "x");
    scratch.SetString("Tree\\Other", "v", "x");
    RacedAction action(scratch);

    EXPECT_FALSE(action.Fix(KeyIssueFor(HKEY_CURRENT_USER, Scratch, "Tree").get()));
    // What the backup holds beside the new key's branch may go; the new key and the keys above it stay.
    EXPECT_TRUE(scratch.HasValue("Tree\\Sub\\Late", "v"));
    EXPECT_FALSE(scratch.HasSubkey("Tree\\Sub\\Deep"));
    EXPECT_TRUE(scratch.HasSubkey("Tree"));
    ASSERT_EQ(FilesHere().size(), 1u);
    EXPECT_EQ(ReadWholeFile(FilesHere()[0]).find("Late"), std::string::npos);
}

TEST_F(DeleteActionTest, KeysAScannerOpenedReadOnlyAreStillRepaired)
{
    scratch.SetString("Host", "v", "x");
    scratch.SetString("Tree\\Sub", "v", "x");
    Ref<RegistryKey> host(new RegistryKey(HKEY_CURRENT_USER, Scratch, "Host"));
    ASSERT_TRUE(host->Open(KEY_QUERY_VALUE));
    Ref<RegistryKey> tree(new RegistryKey(HKEY_CURRENT_USER, Scratch, "Tree"));
    ASSERT_TRUE(tree->Open(KEY_QUERY_VALUE));

    EXPECT_TRUE(Fix(MakeIssue(ValueIssue, host->QueryValue("v").get())));
    EXPECT_TRUE(Fix(MakeIssue(KeyIssue, tree.get())));
    EXPECT_FALSE(scratch.HasValue("Host", "v"));
    EXPECT_FALSE(scratch.HasSubkey("Tree"));
}

TEST_F(DeleteActionTest, ARunsRecordNamesEachBackupAsTheRunGoesAndEndsWhenItFinishes)
{
    const FixedClockScope clock;
    scratch.SetString("One", "v", "1");
    scratch.SetString("Two", "v", "2");
    RepairRun run;
    RepairAction* action = CreateRepairAction();
    action->SetJournal(&run);
    ASSERT_TRUE(action->Fix(KeyIssueFor(HKEY_CURRENT_USER, Scratch, "One").get()));
    ASSERT_TRUE(action->Fix(KeyIssueFor(HKEY_CURRENT_USER, Scratch, "Two").get()));

    // Read while the run still holds its record, as after a run cut short.
    std::vector<RepairRunInfo> runs = ListRepairRuns(".");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].entries.size(), 2u);
    EXPECT_FALSE(runs[0].complete);
    EXPECT_TRUE(run.Finish());
    runs = ListRepairRuns(".");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_TRUE(runs[0].complete);
    EXPECT_EQ(runs[0].entries[1].path, ScratchPath + "\\Two");
}
