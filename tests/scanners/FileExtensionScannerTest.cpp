#include "scanners/FileExtensionScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/LockedKey.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string FileExts = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
const std::string Entries = "HKEY_CURRENT_USER\\" + FileExts + "\\";

// An entry as the Explorer leaves it: a subkey with the user's choice of program.
void PlantEntry(PlantedRegistry& planted, const std::string& extension)
{
    planted.SetString(HKEY_CURRENT_USER, FileExts + "\\" + extension + "\\OpenWithList", "a", "notepad.exe");
}

}  // namespace

TEST(FileExtensionScannerTest, ReportsEntriesWhoseExtensionIsNotRegistered)
{
    PlantedRegistry planted;
    planted.CreateKey(HKEY_CLASSES_ROOT, ".corvadintest-known");
    PlantEntry(planted, ".corvadintest-known");
    PlantEntry(planted, ".corvadintest-unknown");
    PlantEntry(planted, "corvadintest-nodot");
    // Registered for this user only: Windows' merged view shows it, whether or not this system merges.
    planted.CreateKey(HKEY_CURRENT_USER, "Software\\Classes\\.corvadintest-user");
    PlantEntry(planted, ".corvadintest-user");

    FileExtensionScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);

    EXPECT_EQ(Reported(list, "corvadintest"),
              (std::vector<std::string>{Entries + ".corvadintest-unknown|missing link to:HKEY_CLASSES_ROOT\\"
                                                  ".corvadintest-unknown"}));
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->Kind(), KeyIssue);
        EXPECT_EQ(list.At(i)->Source(), "File Extension");
    }
    // Both halves were asked, and both answered that the key is absent.
    const ScanIssue* unknown = FirstIssue(list, ".corvadintest-unknown");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(LooksText(*unknown), "HKEY_CURRENT_USER\\Software\\Classes\\.corvadintest-unknown: key absent\n"
                                   "HKEY_LOCAL_MACHINE\\Software\\Classes\\.corvadintest-unknown: key absent\n");
    EXPECT_EQ(unknown->GetGrade(), Grade::Review);
}

// A registration this user may not read is still a registration.
TEST(FileExtensionScannerTest, AnExtensionThatCannotBeReadIsNotMissing)
{
    PlantedRegistry planted;
    planted.CreateKey(HKEY_CLASSES_ROOT, ".corvadintest-locked");
    PlantEntry(planted, ".corvadintest-locked");
    LockedKey locked(HKEY_CLASSES_ROOT, ".corvadintest-locked");
    HKEY probe = nullptr;
    const LONG opened = RegOpenKeyExA(HKEY_CLASSES_ROOT, ".corvadintest-locked", 0, KEY_QUERY_VALUE, &probe);
    if (opened == ERROR_SUCCESS) {
        RegCloseKey(probe);
        GTEST_SKIP() << "this system does not enforce key permissions";
    }
    ASSERT_EQ(opened, ERROR_ACCESS_DENIED);

    FileExtensionScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "corvadintest"), std::vector<std::string>{});
}

TEST(FileExtensionScannerTest, LogsItsStartAndEachIssue)
{
    ScratchFolder folder("extensions-log");
    PlantedRegistry planted;
    PlantEntry(planted, ".corvadintest-abc");
    FileExtensionScanner scanner(nullptr);
    const std::vector<std::string> lines = LoggedScan(scanner, folder.Path() + "\\scan.log");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], "File Extension: start");
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "File Extension:missing link to:HKEY_CLASSES_ROOT\\.corvadintest-abc"),
              lines.end());
}

TEST(FileExtensionScannerTest, AStopRequestEndsTheWalkAtTheNextEntryAndKeepsWhatWasFound)
{
    PlantedRegistry planted;
    PlantEntry(planted, ".corvadintest-stop1");
    PlantEntry(planted, ".corvadintest-stop2");
    FileExtensionScanner scanner(nullptr);
    StopSink stop(scanner, ".corvadintest-stop1");
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "corvadintest"),
              (std::vector<std::string>{Entries + ".corvadintest-stop1|missing link to:HKEY_CLASSES_ROOT\\"
                                                  ".corvadintest-stop1"}));
}
