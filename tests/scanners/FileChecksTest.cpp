#include "registry/UniqueHandle.h"
#include "scanners/FileChecks.h"
#include "tests/scanners/QuietChecks.h"
#include "tests/support/Files.h"
#include "tests/support/Scratch.h"

#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

namespace {

int ProcessesNamed(const std::string& exeName)
{
    UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        count += lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0;
    }
    return count;
}

}  // namespace

TEST(FileChecksTest, FilesAndFolders)
{
    ScratchFolder folder("checks");
    const std::string file = folder.AddFile("sub\\a.txt");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_TRUE(FolderExists(folder.Path() + "\\sub"));
    EXPECT_TRUE(FolderExists(folder.Path() + "\\sub\\"));
    EXPECT_FALSE(FileExists(folder.Path() + "\\sub"));
    EXPECT_FALSE(FileExists(folder.Path() + "\\sub\\gone.txt"));
    EXPECT_FALSE(FolderExists(folder.Path() + "\\gone"));
    EXPECT_TRUE(FileExists(folder.Path() + "\\sub\\*.txt"));
    EXPECT_TRUE(FileOrFolderExists(file));
    EXPECT_TRUE(FileOrFolderExists(folder.Path() + "\\sub\\"));
    EXPECT_FALSE(FileOrFolderExists(folder.Path() + "\\gone"));
    EXPECT_TRUE(FindOnSearchPath("\"" + file + "\""));
    EXPECT_TRUE(FindOnSearchPath(folder.Path() + "\\sub"));
    EXPECT_FALSE(FindOnSearchPath(folder.Path() + "\\sub\\gone.txt"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FolderExists(""));
    EXPECT_FALSE(FileExists(std::string(5000, 'x')));
}

TEST(FileChecksTest, SearchPathDropsOnePairOfQuotes)
{
    EXPECT_TRUE(FindOnSearchPath("\"notepad.exe\""));
    EXPECT_TRUE(FindOnSearchPath("notepad.exe"));
    EXPECT_FALSE(FindOnSearchPath("notepad"));
    EXPECT_FALSE(FindOnSearchPath("\""));
    EXPECT_FALSE(FindOnSearchPath("corvadin-no-such-file.dll"));
}

TEST(FileChecksTest, StartableCommandLinesLeaveNoProcessBehind)
{
    ScratchFolder folder("start");
    const std::string probe = folder.Path() + "\\corvadin probe.exe";
    ASSERT_TRUE(CopyFileA((SystemFolder() + "\\notepad.exe").c_str(), probe.c_str(), FALSE));

    EXPECT_TRUE(CanStartProcess("\"" + probe + "\" /min"));
    EXPECT_TRUE(CanStartProcess("notepad.exe C:\\x.txt"));
    EXPECT_EQ(ProcessesNamed("corvadin probe.exe"), 0);

    EXPECT_FALSE(CanStartProcess(folder.Path() + "\\no such folder\\tool.exe"));
    EXPECT_FALSE(CanStartProcess(""));
    EXPECT_FALSE(CanStartProcess(std::string(40000, 'a')));
}

TEST(FileChecksTest, ProgramPathsOutOfCommandLinesAndIconReferences)
{
    struct Case {
        const char* text;
        const char* path;
    };
    const Case cases[] = {
        {"\"C:\\Program Files\\Foo\\foo.exe\" \"%1\"", "C:\\Program Files\\Foo\\foo.exe"},
        {"\"C:\\Unclosed\\app.exe -x", "C:\\Unclosed\\app.exe -x"},
        {"C:\\Windows\\system32\\shell32.dll,-152", "C:\\Windows\\system32\\shell32.dll"},
        {"rundll32.exe shell32.dll,Control_RunDLL", "rundll32.exe"},
        {"C:\\Apps.exe\\tool.exe -q", "C:\\Apps.exe\\tool.exe"},
        {"C:\\Tools\\app.EXE -x", "C:\\Tools\\app.EXE"},
        {"C:\\Program Files\\My App\\app.exe /s", "C:\\Program Files\\My App\\app.exe"},
        {"%SystemRoot%\\system32\\imageres.dll,3", "%SystemRoot%\\system32\\imageres.dll"},
        {"C:\\Icons\\a.ico", "C:\\Icons\\a.ico"},
        {"C:\\Data\\x.icl,3", "C:\\Data\\x.icl,3"},
        {"\"\"", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractProgramPath(c.text), c.path) << c.text;
    }
    const std::string longText(100000, 'y');
    EXPECT_EQ(ExtractProgramPath(longText), longText);
}

TEST(FileChecksTest, OnlyReachableDrivesCanProveSomethingGone)
{
    EXPECT_TRUE(IsOnAvailableDrive("C:\\Windows\\gone.exe"));
    EXPECT_TRUE(IsOnAvailableDrive("relative\\tool.exe"));
    EXPECT_TRUE(IsOnAvailableDrive(""));

    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Q'; letter <= 'Y'; ++letter) {
        if (!(drives & (1u << (letter - 'A')))) {
            EXPECT_FALSE(IsOnAvailableDrive(std::string(1, letter) + ":\\Program Files\\tool.exe"));
            break;
        }
    }
    EXPECT_FALSE(IsOnAvailableDrive("\\\\no-such-server-corvadin.invalid\\share\\tool.exe"));
}
