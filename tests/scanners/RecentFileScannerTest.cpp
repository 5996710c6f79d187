#include "scanners/RecentFileScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string RunHistory = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const std::string UserHistory = "HKEY_CURRENT_USER\\" + RunHistory + "\\";
const std::string MachineHistory = "HKEY_LOCAL_MACHINE\\" + RunHistory + "\\";

}  // namespace

TEST(RecentFileScannerTest, ReportsRememberedCommandsThatCannotStart)
{
    ScratchFolder folder("recent");
    const std::string gone = folder.Path() + "\\Old\\tool.exe";
    PlantProgram(folder.Path() + "\\My Tools\\agent.exe");
    const std::string longText = folder.Path() + "\\" + std::string(3000, 'a') + ".exe\\1";

    PlantedRegistry planted;
    planted.SetString(HKEY_LOCAL_MACHINE, RunHistory, "CorvadinTest-machine", gone + "\\1");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-a", "notepad\\1");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-b", gone + "\\1");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-quoted", "\"" + gone + "\" /s\\1");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-spaces",
                      folder.Path() + "\\My Tools\\agent.exe /min\\1");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-spacesGone",
                      folder.Path() + "\\My Tools\\gone.exe /min\\1");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-rundll",
                      "rundll32.exe shell32.dll,Control_RunDLL\\1");
    planted.SetDword(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-number", 7);
    planted.SetMultiString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-multi", gone + "\\1" + '\0' + "notepad");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-empty", "");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-long", longText);
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "MRUList", "zyx");

    RecentFileScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);

    EXPECT_EQ(ReportedInAnyOrder(list, "CorvadinTest"),
              (std::vector<std::string>{
                  UserHistory + "CorvadinTest-b| missing file:" + gone + "\\1",
                  UserHistory + "CorvadinTest-empty| missing file:",
                  UserHistory + "CorvadinTest-multi| missing file:" + gone + "\\1",
                  UserHistory + "CorvadinTest-number| missing file:",
                  UserHistory + "CorvadinTest-quoted| missing file:\"" + gone + "\" /s\\1",
                  UserHistory + "CorvadinTest-spacesGone| missing file:" + folder.Path() +
                      "\\My Tools\\gone.exe /min\\1",
                  MachineHistory + "CorvadinTest-machine| missing file:" + gone + "\\1",
              }));
    // Windows cannot answer for a name that long: counted, not reported.
    EXPECT_EQ(scanner.ScanGaps().undecided, 1);
    // The machine's history is walked first.
    EXPECT_EQ(Reported(list, "CorvadinTest").front().rfind(MachineHistory, 0), 0u);
    EXPECT_TRUE(Reported(list, "MRUList").empty());
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->Kind(), ValueIssue);
        EXPECT_EQ(list.At(i)->Source(), "Recently used files");
    }
}

// Only MRUList itself orders the entries; a value of that name in another case is a
// command like any other.
TEST(RecentFileScannerTest, OnlyTheExactListNameIsSkipped)
{
    PlantedRegistry planted;
    planted.SetString(HKEY_LOCAL_MACHINE, RunHistory, "mrulist", "zz");
    RecentFileScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "\\mrulist"), (std::vector<std::string>{MachineHistory + "mrulist| missing file:zz"}));
}

// The Run dialog also opens documents, folders and addresses, takes variables, finds
// programs through App Paths, and remembers commands on drives that come and go:
// none of them is proof of a loss.
TEST(RecentFileScannerTest, EntriesThatStillWorkAreNotReported)
{
    ScratchFolder folder("recent-kept");
    const std::string document = folder.AddFile("report 2024.txt");
    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-document", document + "\\1");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-folder", folder.Path() + "\\1");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-address", "http://example.com/\\1");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-variable",
                      "%SystemRoot%\\system32\\notepad.exe\\1");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-absentDrive", AbsentDrive() + "\\setup.exe\\1");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-unmarked", "regedit");
    const std::string registered = PlantProgram(folder.Path() + "\\App\\corvadintest-registered.exe");
    planted.SetString(HKEY_LOCAL_MACHINE,
                      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\corvadintest-registered.exe", "",
                      registered);
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-appPath", "corvadintest-registered\\1");

    RecentFileScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "CorvadinTest"), std::vector<std::string>{});
}

TEST(RecentFileScannerTest, LogsItsStartAndEachIssue)
{
    ScratchFolder folder("recent-log");
    const std::string gone = folder.Path() + "\\Old\\tool.exe\\1";
    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-b", gone);
    RecentFileScanner scanner(nullptr);
    const std::vector<std::string> lines = LoggedScan(scanner, folder.Path() + "\\scan.log");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], "Recently used files:start");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Recently used files: missing file:" + gone), lines.end());
}

TEST(RecentFileScannerTest, AStopRequestEndsTheWalkAtTheNextEntryAndKeepsWhatWasFound)
{
    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-stop1", "C:\\corvadin-gone\\one.exe\\1");
    planted.SetString(HKEY_CURRENT_USER, RunHistory, "CorvadinTest-stop2", "C:\\corvadin-gone\\two.exe\\1");
    RecentFileScanner scanner(nullptr);
    StopSink stop(scanner, "CorvadinTest-stop1");
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "CorvadinTest"),
              (std::vector<std::string>{UserHistory + "CorvadinTest-stop1| missing file:C:\\corvadin-gone\\one.exe\\1"}));
}
