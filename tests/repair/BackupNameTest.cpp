#include "repair/BackupName.h"

#include "engine/ScanIssue.h"

#include <gtest/gtest.h>

namespace {

void WINAPI NewYear(LPSYSTEMTIME time)
{
    *time = SYSTEMTIME{2027, 1, 5, 1, 0, 0, 9, 0};
}

}  // namespace

TEST(BackupNameTest, PatternsByKindWithACounterOfAtLeastTwoDigits)
{
    const SYSTEMTIME time{2026, 3, 0, 14, 9, 5, 7, 0};
    EXPECT_EQ(BackupFileName(KeyIssue, time, 0), "rollback20260314090507_00.reg");
    EXPECT_EQ(BackupFileName(ValueIssue, time, 7), "rollback20260314090507_07.reg");
    EXPECT_EQ(BackupFileName(FileIssue, time, 99), "file20260314090507_99.fso");
    EXPECT_EQ(BackupFileName(FolderIssue, time, 100), "20260314090507_100.fso");
    EXPECT_EQ(BackupFileName(-1, time, 1), "20260314090507_01.fso");
}

TEST(BackupNameTest, EachNameReadsTheClockAndMovesTheCounterOn)
{
    const LocalTimeReader previous = SetLocalTimeReader(NewYear);
    const int counter = RepairCounter();
    const std::string first = NextBackupName(KeyIssue);
    const std::string second = NextBackupName(FileIssue);
    SetLocalTimeReader(previous);

    EXPECT_EQ(first, BackupFileName(KeyIssue, SYSTEMTIME{2027, 1, 5, 1, 0, 0, 9, 0}, counter));
    EXPECT_EQ(second, BackupFileName(FileIssue, SYSTEMTIME{2027, 1, 5, 1, 0, 0, 9, 0}, counter + 1));
    EXPECT_EQ(RepairCounter(), counter + 2);
    EXPECT_EQ(RepairTime().wYear, 2027);
}
