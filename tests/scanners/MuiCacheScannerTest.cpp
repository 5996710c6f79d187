#include "engine/IssueList.h"
#include "scanners/MuiCacheScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"

#include <gtest/gtest.h>

TEST(MuiCacheScannerTest, NamesStandForTheirFileOrForNothing)
{
    EXPECT_EQ(MuiCacheFile("C:\\Tools\\a.exe.FriendlyAppName"), "C:\\Tools\\a.exe");
    EXPECT_EQ(MuiCacheFile("C:\\Tools\\a.exe.applicationcompany"), "C:\\Tools\\a.exe");
    EXPECT_EQ(MuiCacheFile("C:\\Tools\\a.exe"), "C:\\Tools\\a.exe");
    EXPECT_EQ(MuiCacheFile("@C:\\Tools\\res.dll,-101"), "C:\\Tools\\res.dll");
    EXPECT_EQ(MuiCacheFile("\\\\127.0.0.1\\share\\a.exe"), "\\\\127.0.0.1\\share\\a.exe");
    for (const char* name : {"LangID", "@shell32.dll,-123", "a.exe.FriendlyAppName", "", "@", "C:",
                             "@{Microsoft.App?ms-resource://x}", ".FriendlyAppName"}) {
        EXPECT_EQ(MuiCacheFile(name), "") << name;
    }
}

TEST(MuiCacheScannerTest, ReportsCachedNamesOfProgramsThatAreGone)
{
    ScratchFolder folder("muicache");
    const std::string program = folder.AddFile("tool.exe");
    const std::string gone = folder.Path() + "\\gone\\tool.exe";
    const std::string key = "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache";
    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, key, program + ".FriendlyAppName", "Tool");
    planted.SetString(HKEY_CURRENT_USER, key, gone + ".FriendlyAppName", "Gone tool");
    planted.SetString(HKEY_CURRENT_USER, key, "@" + gone + ",-5", "text");
    planted.SetString(HKEY_CURRENT_USER, key, AbsentDrive() + "\\Gone\\tool.exe", "away");
    planted.SetString(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache", gone, "old");

    MuiCacheScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    const std::string where = "HKEY_CURRENT_USER\\" + key + "\\";
    EXPECT_EQ(ReportedInAnyOrder(list, folder.Path()), (std::vector<std::string>{
                                                            where + "@" + gone + ",-5| missing file:" + gone,
                                                            where + gone + ".FriendlyAppName| missing file:" + gone,
                                                            "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache\\" + gone +
                                                                "| missing file:" + gone,
                                                        }));
    const ScanIssue* issue = FirstIssue(list, folder.Path());
    ASSERT_TRUE(issue);
    EXPECT_EQ(issue->Kind(), ValueIssue);
    EXPECT_EQ(issue->GetGrade(), Grade::Safe);
}
