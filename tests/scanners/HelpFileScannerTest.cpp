#include "scanners/HelpFileScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string Help = "SOFTWARE\\Microsoft\\Windows\\Help";
const std::string HtmlHelp = "SOFTWARE\\Microsoft\\Windows\\HTML Help";
const std::string HelpValues = "HKEY_LOCAL_MACHINE\\" + Help + "\\";
const std::string HtmlHelpValues = "HKEY_LOCAL_MACHINE\\" + HtmlHelp + "\\";

}  // namespace

TEST(HelpFileScannerTest, ReportsHelpFilesThatAreGone)
{
    ScratchFolder folder("help");
    folder.AddFile("corvadintest.hlp");
    folder.AddFile("corvadintest-joined.hlp");
    const std::string dir = folder.Path() + "\\";

    PlantedRegistry planted;
    // The HTML Help values are judged after the Help values.
    planted.SetString(HKEY_LOCAL_MACHINE, HtmlHelp, "corvadintest-gone.chm", dir);
    planted.SetString(HKEY_LOCAL_MACHINE, Help, "corvadintest.hlp", dir);
    planted.SetString(HKEY_LOCAL_MACHINE, Help, "corvadintest-gone.hlp", dir);
    planted.SetString(HKEY_LOCAL_MACHINE, Help, "corvadintest-joined.hlp", folder.Path());
    planted.SetString(HKEY_LOCAL_MACHINE, Help, "corvadintest-joinedGone.hlp", folder.Path());
    planted.SetString(HKEY_LOCAL_MACHINE, Help, "corvadintest-away.hlp", AbsentDrive() + "\\Help\\");
    planted.SetDword(HKEY_LOCAL_MACHINE, Help, "corvadintest-number.hlp", 1);

    HelpFileScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);

    EXPECT_EQ(Reported(list, "corvadintest"),
              (std::vector<std::string>{
                  HelpValues + "corvadintest-gone.hlp| missing file:" + dir + "corvadintest-gone.hlp",
                  HelpValues + "corvadintest-joinedGone.hlp| missing file:" + folder.Path() +
                      "corvadintest-joinedGone.hlp",
                  HelpValues + "corvadintest-number.hlp| missing file:corvadintest-number.hlp",
                  HtmlHelpValues + "corvadintest-gone.chm| missing file:" + dir + "corvadintest-gone.chm",
              }));
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->Kind(), ValueIssue);
        EXPECT_EQ(list.At(i)->Source(), "HelpFile");
    }
}

TEST(HelpFileScannerTest, LogsItsStartAndEachIssue)
{
    ScratchFolder folder("help-log");
    const std::string dir = folder.Path() + "\\";
    PlantedRegistry planted;
    planted.SetString(HKEY_LOCAL_MACHINE, Help, "corvadintest-gone.hlp", dir);
    HelpFileScanner scanner(nullptr);
    const std::vector<std::string> lines = LoggedScan(scanner, folder.Path() + "\\scan.log");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], "HelpFile:start");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "HelpFile: missing file:" + dir + "corvadintest-gone.hlp"),
              lines.end());
}

// After a stop, the HTML Help walk ends at its first entry too.
TEST(HelpFileScannerTest, AStopRequestEndsEveryWalkAndKeepsWhatWasFound)
{
    PlantedRegistry planted;
    planted.SetString(HKEY_LOCAL_MACHINE, Help, "corvadintest-stop1.hlp", "C:\\corvadin-gone\\");
    planted.SetString(HKEY_LOCAL_MACHINE, Help, "corvadintest-stop2.hlp", "C:\\corvadin-gone\\");
    planted.SetString(HKEY_LOCAL_MACHINE, HtmlHelp, "corvadintest-stop3.chm", "C:\\corvadin-gone\\");
    HelpFileScanner scanner(nullptr);
    StopSink stop(scanner, "corvadintest-stop1");
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "corvadintest"),
              (std::vector<std::string>{HelpValues +
                                        "corvadintest-stop1.hlp| missing file:C:\\corvadin-gone\\corvadintest-stop1.hlp"}));
}
