#include "engine/IssueList.h"
#include "registry/RegistryValue.h"
#include "scanners/StartupProgramScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/Programs.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string UserRun = "HKEY_CURRENT_USER\\" + RunKey + "\\";
const std::string MachineRun = "HKEY_LOCAL_MACHINE\\" + RunKey + "\\";

}  // namespace

TEST(StartupProgramScannerTest, ReportsRunValuesThatCannotStart)
{
    ScratchFolder folder("startup");
    const std::string program = PlantProgram(folder.Path() + "\\agent.exe");
    const std::string gone = "\"" + folder.Path() + "\\gone.exe\" /min";

    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestValid", "\"" + program + "\" /min");
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestExpand", "%SystemRoot%\\system32\\notepad.exe",
                      REG_EXPAND_SZ);
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestSearchPath", "notepad.exe /p");
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestGone", gone);
    planted.SetDword(HKEY_CURRENT_USER, RunKey, "CorvadinTestNumber", 1);
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestEmpty", "");
    planted.SetString(HKEY_LOCAL_MACHINE, RunKey, "CorvadinTestMachine", gone);

    StartupProgramScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);

    const std::vector<std::string> found = Reported(list, "CorvadinTest");
    ASSERT_FALSE(found.empty());
    // The machine's entries come first.
    EXPECT_EQ(found.front(), MachineRun + "CorvadinTestMachine| missing file:" + gone);
    EXPECT_EQ(ReportedInAnyOrder(list, "CorvadinTest"), (std::vector<std::string>{
                                                             UserRun + "CorvadinTestEmpty| missing file:",
                                                             UserRun + "CorvadinTestGone| missing file:" + gone,
                                                             UserRun + "CorvadinTestNumber| missing file:",
                                                             MachineRun + "CorvadinTestMachine| missing file:" + gone,
                                                         }));
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->Kind(), ValueIssue);
        EXPECT_EQ(list.At(i)->Source(), "Startup program");
    }
}

// A program that is there is not gone because it cannot be started from here (one
// that asks for elevation fails like this non-program), nor is one on a drive that
// is away right now: a repair would delete the user's start-up settings.
TEST(StartupProgramScannerTest, ProgramsThatAreThereAreNotReported)
{
    ScratchFolder folder("startup-kept");
    const std::string elevated = folder.AddFile("My Tools\\setup.exe", "needs elevation");
    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestElevated", "\"" + elevated + "\" /tray");
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestElevatedUnquoted", elevated + " /tray");
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestAbsentDrive", AbsentDrive() + "\\Tools\\agent.exe");

    StartupProgramScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "CorvadinTest"), std::vector<std::string>{});
}

// Only "not found" proves a program gone, and text is judged as the programs that read it see it: a name too long
// for Windows to answer for, and machine-wide text that names a per-user variable, are counted, not reported; a
// long command of the 32-bit view names the 32-bit program folder.
TEST(StartupProgramScannerTest, JudgesOnlyWhatWindowsAnswersForAsItsProgramsSeeIt)
{
    const std::string programs32 = EnvironmentText("ProgramFiles(x86)");
    if (programs32.empty()) {
        GTEST_SKIP() << "not 64-bit Windows";
    }
    const std::string folder32 = programs32 + "\\CorvadinTest";
    const std::string program = PlantProgram(folder32 + "\\agent.exe");
    ScratchFolder folder("startup-answers");
    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestTooLong",
                      "\"" + folder.Path() + "\\" + std::string(300, 'x') + "\\agent.exe\" /min");
    planted.SetString(HKEY_LOCAL_MACHINE, RunKey, "CorvadinTestPerUser", "%APPDATA%\\CorvadinGone\\agent.exe",
                      REG_EXPAND_SZ);
    planted.SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
                      "CorvadinTestLong32", "\"%ProgramFiles%\\CorvadinTest\\agent.exe\" /" + std::string(300, 'a'),
                      REG_EXPAND_SZ);
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestGone", "\"" + folder.Path() + "\\gone.exe\"");

    StartupProgramScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    DeleteFileA(program.c_str());
    RemoveDirectoryA(folder32.c_str());

    EXPECT_EQ(Reported(list, "CorvadinTest"),
              std::vector<std::string>{UserRun + "CorvadinTestGone| missing file:\"" + folder.Path() + "\\gone.exe\""});
    EXPECT_EQ(scanner.ScanGaps().undecided, 1);
    EXPECT_EQ(scanner.ScanGaps().perUserText, 1);
    const ScanIssue* gone = FirstIssue(list, "CorvadinTestGone");
    ASSERT_TRUE(gone);
    EXPECT_EQ(LooksText(*gone).find(folder.Path() + "\\gone.exe: not found\n"), 0u) << LooksText(*gone);
    EXPECT_EQ(gone->GetGrade(), Grade::Review);
}

#ifdef CORVADIN_KEYPATH_MSI
// Windows Installer puts a component's key path back when its product starts: a Run value an installed product
// owns is Expert, and its evidence names the component.
TEST(StartupProgramScannerTest, AValueAnInstalledProductOwnsIsExpert)
{
    const std::string msi = CORVADIN_KEYPATH_MSI;
    ASSERT_EQ(RunToEnd("msiexec /i \"" + msi + "\" /qn"), 0);
    StartupProgramScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(RunToEnd("msiexec /x \"" + msi + "\" /qn"), 0);

    const ScanIssue* owned = FirstIssue(list, "CorvadinTestMsi");
    ASSERT_TRUE(owned);
    EXPECT_EQ(owned->GetGrade(), Grade::Expert);
    EXPECT_NE(LooksText(*owned).find("\\Installer\\UserData\\S-1-5-18\\Components\\"), std::string::npos)
        << LooksText(*owned);
    EXPECT_NE(LooksText(*owned).find(": Windows Installer names it as this component's key path"), std::string::npos);
}
#endif

TEST(StartupProgramScannerTest, LogsItsStartAndEachIssue)
{
    ScratchFolder folder("startup-log");
    const std::string gone = folder.Path() + "\\gone.exe";
    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestGone", gone);
    StartupProgramScanner scanner(nullptr);
    const std::vector<std::string> lines = LoggedScan(scanner, folder.Path() + "\\scan.log");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], "Startup program:start");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Startup program: missing file:" + gone), lines.end());
}

// Verdicts on commands are kept for one scan only: a program removed since the last
// scan is reported by the next one of the same scanner.
TEST(StartupProgramScannerTest, EachScanJudgesCommandsAfresh)
{
    ScratchFolder folder("startup-rescan");
    const std::string program = PlantProgram(folder.Path() + "\\agent.exe");
    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestAgent", program);

    StartupProgramScanner scanner(nullptr);
    IssueList before;
    scanner.Scan(&before);
    EXPECT_EQ(Reported(before, "CorvadinTest"), std::vector<std::string>{});

    ASSERT_TRUE(DeleteFileA(program.c_str()));
    IssueList after;
    scanner.Scan(&after);
    EXPECT_EQ(Reported(after, "CorvadinTest"),
              std::vector<std::string>{UserRun + "CorvadinTestAgent| missing file:" + program});
}

TEST(StartupProgramScannerTest, AStopRequestEndsTheWalkAtTheNextEntryAndKeepsWhatWasFound)
{
    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestStop1", "C:\\corvadin-gone\\one.exe");
    planted.SetString(HKEY_CURRENT_USER, RunKey, "CorvadinTestStop2", "C:\\corvadin-gone\\two.exe");
    StartupProgramScanner scanner(nullptr);
    StopSink stop(scanner, "CorvadinTestStop1");
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "CorvadinTest"),
              std::vector<std::string>{UserRun + "CorvadinTestStop1| missing file:C:\\corvadin-gone\\one.exe"});
}
