#include "scanners/UninstallScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string Uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string Programs = "HKEY_LOCAL_MACHINE\\" + Uninstall + "\\";

void PlantCommand(PlantedRegistry& planted, const std::string& entry, const std::string& command,
                  DWORD type = REG_SZ)
{
    planted.SetString(HKEY_LOCAL_MACHINE, Uninstall + "\\" + entry, "UninstallString", command, type);
    planted.SetString(HKEY_LOCAL_MACHINE, Uninstall + "\\" + entry, "DisplayName", entry);
}

}  // namespace

TEST(UninstallScannerTest, ReportsEntriesWhoseUninstallerIsGone)
{
    ScratchFolder folder("uninstall");
    const std::string present = PlantProgram(folder.Path() + "\\App\\unins000.exe");
    const std::string gone = folder.Path() + "\\Old\\unins000.exe";
    const std::string longCommand = folder.Path() + "\\" + std::string(40000, 'u');

    PlantedRegistry planted;
    PlantCommand(planted, "CorvadinTest-Gone", gone);
    PlantCommand(planted, "CorvadinTest-Present", "\"" + present + "\" /SILENT");
    PlantCommand(planted, "CorvadinTest-Installer", "MsiExec.exe /X{00000000-0000-0000-0000-00000000C0DE}");
    PlantCommand(planted, "CorvadinTest-RunDll", "C:\\corvadin-gone\\rundll32.exe x.dll,Remove");
    PlantCommand(planted, "CorvadinTest-RunDllOtherCase", "C:\\corvadin-gone\\RunDll32.exe x.dll,Remove");
    PlantCommand(planted, "CorvadinTest-IsUninst", "C:\\corvadin-gone\\IsUninst.exe -f");
    PlantCommand(planted, "CorvadinTest-ExcludedIsUninst", "C:\\corvadin-gone\\ISUNINST.EXE -f");
    PlantCommand(planted, "CorvadinTest-Expand", gone, REG_EXPAND_SZ);
    planted.SetDword(HKEY_LOCAL_MACHINE, Uninstall + "\\CorvadinTest-Number", "UninstallString", 1);
    planted.SetString(HKEY_LOCAL_MACHINE, Uninstall + "\\CorvadinTest-NoCommand", "DisplayName", "x");
    PlantCommand(planted, "CorvadinTest-Empty", "");
    PlantCommand(planted, "CorvadinTest-Long", longCommand);

    UninstallScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);

    EXPECT_EQ(Reported(list, "CorvadinTest"),
              (std::vector<std::string>{
                  Programs + "CorvadinTest-Empty| missing file:",
                  Programs + "CorvadinTest-Gone| missing file:" + gone,
                  Programs + "CorvadinTest-IsUninst| missing file:C:\\corvadin-gone\\IsUninst.exe -f",
                  Programs + "CorvadinTest-RunDllOtherCase| missing file:C:\\corvadin-gone\\RunDll32.exe x.dll,Remove",
              }));
    // Windows cannot answer for a name that long: counted, not reported.
    EXPECT_EQ(scanner.ScanGaps().undecided, 1);
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->Kind(), KeyIssue);
        EXPECT_EQ(list.At(i)->Source(), "Uninstall");
    }
}

// An uninstaller that is there is never reported, even when it cannot be started
// from here (one that asks for elevation fails the same way as this non-program),
// nor one written with a variable, nor one on a drive that is away.
TEST(UninstallScannerTest, UninstallersThatAreThereAreNotReported)
{
    ScratchFolder folder("uninstall-kept");
    const std::string elevated = folder.AddFile("setup.exe", "needs elevation");
    PlantProgram(folder.Path() + "\\My App\\uninst.exe");

    PlantedRegistry planted;
    PlantCommand(planted, "CorvadinTest-Elevated", "\"" + elevated + "\" /uninstall");
    PlantCommand(planted, "CorvadinTest-Variable", "%SystemRoot%\\system32\\notepad.exe /uninstall");
    PlantCommand(planted, "CorvadinTest-Spaces", folder.Path() + "\\My App\\uninst.exe /x");
    PlantCommand(planted, "CorvadinTest-AbsentDrive", AbsentDrive() + "\\App\\uninst.exe");

    UninstallScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "CorvadinTest"), std::vector<std::string>{});
}

TEST(UninstallScannerTest, LogsItsStartAndEachIssue)
{
    ScratchFolder folder("uninstall-log");
    const std::string gone = folder.Path() + "\\Old\\unins000.exe";
    PlantedRegistry planted;
    PlantCommand(planted, "CorvadinTest-Gone", gone);
    UninstallScanner scanner(nullptr);
    const std::vector<std::string> lines = LoggedScan(scanner, folder.Path() + "\\scan.log");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], "Uninstall:start");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Uninstall: missing file:" + gone), lines.end());
}

TEST(UninstallScannerTest, AStopRequestEndsTheWalkAtTheNextEntryAndKeepsWhatWasFound)
{
    PlantedRegistry planted;
    PlantCommand(planted, "CorvadinTest-Stop1", "C:\\corvadin-gone\\one.exe");
    PlantCommand(planted, "CorvadinTest-Stop2", "C:\\corvadin-gone\\two.exe");
    UninstallScanner scanner(nullptr);
    StopSink stop(scanner, "CorvadinTest-Stop1");
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "CorvadinTest"),
              (std::vector<std::string>{Programs + "CorvadinTest-Stop1| missing file:C:\\corvadin-gone\\one.exe"}));
}
