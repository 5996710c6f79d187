#include "scanners/CommandVerdicts.h"
#include "scanners/FileChecks.h"
#include "tests/scanners/QuietChecks.h"
#include "scanners/TargetChecks.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

namespace {

// A verdict from verdicts of its own, as the first entry of a scan to name the command gets it.
bool CommandIsGone(const std::string& commandLine)
{
    CommandVerdicts verdicts;
    return IsGone(verdicts, commandLine);
}

}  // namespace

TEST(TargetChecksTest, VariablesExpandAtAnyLength)
{
    const std::string windows = WindowsFolder();
    EXPECT_EQ(ExpandVariables("%SystemRoot%\\Fonts"), windows + "\\Fonts");
    EXPECT_EQ(ExpandVariables("%CORVADIN_NO_SUCH_VARIABLE%\\x"), "%CORVADIN_NO_SUCH_VARIABLE%\\x");
    EXPECT_EQ(ExpandVariables(""), "");
    const std::string longText = "%SystemRoot%\\" + std::string(5000, 'v');
    EXPECT_EQ(ExpandVariables(longText), windows + "\\" + std::string(5000, 'v'));
}

TEST(TargetChecksTest, ExistingPathsAndPrograms)
{
    ScratchFolder folder("targets");
    const std::string document = folder.AddFile("My Docs\\report.txt");

    EXPECT_TRUE(NamesExistingPath(document));
    EXPECT_TRUE(NamesExistingPath("\"" + document + "\""));
    EXPECT_TRUE(NamesExistingPath(folder.Path() + "\\My Docs"));
    EXPECT_TRUE(NamesExistingPath("%SystemRoot%"));
    EXPECT_FALSE(NamesExistingPath(folder.Path() + "\\My Docs\\*.txt"));
    EXPECT_FALSE(NamesExistingPath(folder.Path() + "\\gone.txt"));
    EXPECT_FALSE(NamesExistingPath(""));

    EXPECT_TRUE(ProgramFileExists("\"" + document + "\" /x"));
    EXPECT_TRUE(ProgramFileExists("%SystemRoot%\\system32\\notepad.exe /p %1"));
    EXPECT_TRUE(ProgramFileExists("%SystemRoot%\\system32\\shell32.dll,-152"));
    EXPECT_FALSE(ProgramFileExists(folder.Path() + "\\gone.exe /x"));
    EXPECT_FALSE(ProgramFileExists(folder.Path() + "\\*.txt"));
    EXPECT_FALSE(ProgramFileExists(""));
}

TEST(TargetChecksTest, ACommandIsGoneOnlyWhenNothingSpeaksForIt)
{
    ScratchFolder folder("commands");
    const std::string notAProgram = folder.AddFile("tool.exe", "not a program");

    EXPECT_FALSE(CommandIsGone("notepad.exe \"%1\""));
    EXPECT_FALSE(CommandIsGone("rundll32.exe shell32.dll,Control_RunDLL"));
    EXPECT_FALSE(CommandIsGone("\"" + notAProgram + "\" /x"));
    EXPECT_FALSE(CommandIsGone(AbsentDrive() + "\\Tools\\tool.exe /x"));
    EXPECT_FALSE(CommandIsGone("\"" + AbsentDrive() + "\\My Tools\\tool.exe\" /x"));
    EXPECT_FALSE(CommandIsGone("\\\\corvadin-no-such-server.invalid\\share\\tool.exe"));

    EXPECT_TRUE(CommandIsGone("\"" + folder.Path() + "\\gone.exe\" /x"));
    EXPECT_TRUE(CommandIsGone(folder.Path() + "\\My Tools\\gone.exe /x"));
    EXPECT_TRUE(CommandIsGone(""));
    EXPECT_TRUE(CommandIsGone(std::string(40000, 'c')));
}

// A dead server would hold every probe for the network's timeout: none is made, and nothing on a share is reported.
TEST(TargetChecksTest, NetworkPathsAreNeitherProbedNorReported)
{
    const DWORD start = GetTickCount();
    for (const std::string path : {"\\\\corvadin-dead.invalid\\share\\x.exe", "//127.0.0.1/share/x.exe"}) {
        EXPECT_TRUE(IsNetworkPath(path) && !IsOnAvailableDrive(path)) << path;
        EXPECT_FALSE(NamesExistingPath(path) || FindOnSearchPath(path) || CommandIsGone(path)) << path;
    }
    EXPECT_FALSE(IsNetworkPath("C:\\Windows") || IsNetworkPath("\\\\?\\C:\\Windows") || IsNetworkPath("x.exe"));
    EXPECT_LT(GetTickCount() - start, 1000u);
}

// A verdict stands for the rest of the scan, so that entries sharing a command cost
// one decision; the next scan decides afresh.
TEST(TargetChecksTest, CommandVerdictsAreRememberedUntilForgotten)
{
    ScratchFolder folder("verdicts");
    const std::string program = PlantProgram(folder.Path() + "\\tool.exe");
    const std::string command = "\"" + program + "\" /x";
    CommandVerdicts verdicts;
    EXPECT_FALSE(IsGone(verdicts, command));
    ASSERT_TRUE(DeleteFileA(program.c_str()));
    EXPECT_FALSE(IsGone(verdicts, command));
    EXPECT_TRUE(IsGone(verdicts, command + " /y"));
    verdicts.ForgetChecked();
    EXPECT_TRUE(IsGone(verdicts, command));
}

// The shell finds a program named without a folder through its App Paths
// registration; such a command works although no process can be made of it here.
TEST(TargetChecksTest, ProgramsFoundThroughTheirAppPathsAreNotGone)
{
    ScratchFolder folder("registered");
    const std::string program = PlantProgram(folder.Path() + "\\My App\\corvadintest-app.exe");
    const std::string appPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
    PlantedRegistry planted;
    planted.SetString(HKEY_LOCAL_MACHINE, appPaths + "corvadintest-app.exe", "", "\"" + program + "\"");
    planted.SetString(HKEY_CURRENT_USER, appPaths + "corvadintest-user.exe", "", program);
    planted.SetString(HKEY_LOCAL_MACHINE, appPaths + "corvadintest-gone.exe", "", folder.Path() + "\\gone.exe");

    EXPECT_FALSE(CommandIsGone("corvadintest-app"));
    EXPECT_FALSE(CommandIsGone("corvadintest-app.exe /n \"%1\""));
    EXPECT_FALSE(CommandIsGone("corvadintest-user /x"));
    EXPECT_TRUE(CommandIsGone("corvadintest-gone /x"));
    EXPECT_TRUE(CommandIsGone("corvadintest-unregistered /x"));
    EXPECT_TRUE(CommandIsGone("C:\\corvadin-gone\\corvadintest-app.exe"));
}
