#include "scanners/AppPathScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string AppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const std::string AppEntries = "HKEY_LOCAL_MACHINE\\" + AppPaths + "\\";

void PlantPath(PlantedRegistry& planted, const std::string& program, const std::string& path, DWORD type = REG_SZ)
{
    planted.SetString(HKEY_LOCAL_MACHINE, AppPaths + "\\" + program, "Path", path, type);
}

}  // namespace

TEST(AppPathScannerTest, ReportsPathsThatNameNothing)
{
    ScratchFolder folder("apppaths");
    const std::string tool = folder.Path() + "\\Tool";
    const std::string file = folder.AddFile("Tool\\tool.exe");
    const std::string gone = folder.Path() + "\\Gone";

    PlantedRegistry planted;
    PlantPath(planted, "corvadintest-plain.exe", tool);
    PlantPath(planted, "corvadintest-semicolon.exe", tool + ";");
    PlantPath(planted, "corvadintest-backslash.exe", tool + "\\");
    PlantPath(planted, "corvadintest-quoted.exe", "\"" + tool + "\"");
    PlantPath(planted, "corvadintest-file.exe", file);
    PlantPath(planted, "corvadintest-gone.exe", gone + ";");
    PlantPath(planted, "corvadintest-goneList.exe", gone + ";" + gone + "\\Bin");
    PlantPath(planted, "corvadintest-empty.exe", "");
    PlantPath(planted, "corvadintest-expand.exe", gone, REG_EXPAND_SZ);
    planted.SetDword(HKEY_LOCAL_MACHINE, AppPaths + "\\corvadintest-number.exe", "Path", 1);
    planted.SetString(HKEY_LOCAL_MACHINE, AppPaths + "\\corvadintest-nopath.exe", "", file);

    AppPathScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);

    EXPECT_EQ(Reported(list, "corvadintest"),
              (std::vector<std::string>{
                  AppEntries + "corvadintest-empty.exe| missing folder:",
                  AppEntries + "corvadintest-gone.exe| missing folder:" + gone + ";",
                  AppEntries + "corvadintest-goneList.exe| missing folder:" + gone + ";" + gone + "\\Bin",
              }));
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->Kind(), KeyIssue);
        EXPECT_EQ(list.At(i)->Source(), "App Path");
    }
}

// A list of folders still serves the program while one of them is there; a folder
// written with a variable, or on a drive that is away, proves nothing gone.
TEST(AppPathScannerTest, PathsThatStillServeTheProgramAreNotReported)
{
    ScratchFolder folder("apppaths-kept");
    const std::string tool = folder.Path() + "\\Tool";
    folder.AddFile("Tool\\tool.exe");
    const std::string gone = folder.Path() + "\\Gone";

    PlantedRegistry planted;
    PlantPath(planted, "corvadintest-list.exe", gone + ";" + tool + ";");
    PlantPath(planted, "corvadintest-quotedList.exe", "\"" + tool + "\"; \"" + gone + "\"");
    PlantPath(planted, "corvadintest-variable.exe", "%SystemRoot%\\system32");
    PlantPath(planted, "corvadintest-away.exe", AbsentDrive() + "\\Tools");

    AppPathScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "corvadintest"), std::vector<std::string>{});
}

TEST(AppPathScannerTest, LogsItsStartAndEachIssue)
{
    ScratchFolder folder("apppaths-log");
    const std::string gone = folder.Path() + "\\Gone;";
    PlantedRegistry planted;
    PlantPath(planted, "corvadintest-gone.exe", gone);
    AppPathScanner scanner(nullptr);
    const std::vector<std::string> lines = LoggedScan(scanner, folder.Path() + "\\scan.log");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], "App Path: start");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "App Path: missing folder:" + gone), lines.end());
}

TEST(AppPathScannerTest, AStopRequestEndsTheWalkAtTheNextEntryAndKeepsWhatWasFound)
{
    PlantedRegistry planted;
    PlantPath(planted, "corvadintest-stop1.exe", "C:\\corvadin-gone\\one");
    PlantPath(planted, "corvadintest-stop2.exe", "C:\\corvadin-gone\\two");
    AppPathScanner scanner(nullptr);
    StopSink stop(scanner, "corvadintest-stop1");
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "corvadintest"),
              (std::vector<std::string>{AppEntries + "corvadintest-stop1.exe| missing folder:C:\\corvadin-gone\\one"}));
}
