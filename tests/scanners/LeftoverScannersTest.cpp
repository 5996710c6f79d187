#include "scanners/FileChecks.h"
#include "scanners/ServiceImagePath.h"
#include "scanners/ServiceScanner.h"
#include "scanners/SoundEventScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

namespace {

const std::string Services = "SYSTEM\\CurrentControlSet\\Services";

std::vector<std::string> ScanWith(CategoryScanner&& scanner, Grade grade)
{
    IssueList list;
    scanner.Scan(&list);
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->GetGrade(), grade) << list.At(i)->Name();
        EXPECT_FALSE(list.At(i)->Looks().empty()) << list.At(i)->Name();
    }
    return ReportedInAnyOrder(list, "CorvadinTest");
}

}  // namespace

TEST(ServiceImagePathTest, ReadsThePathAsWindowsDoes)
{
    const std::string w = "C:\\windows";
    using List = std::vector<std::string>;
    EXPECT_EQ(ParseImagePath("\"C:\\A B\\s.exe\" -run", w).candidates, List{"C:\\A B\\s.exe"});
    EXPECT_EQ(ParseImagePath("C:\\A B\\s.exe -run", w).candidates,
              (List{"C:\\A", "C:\\A.exe", "C:\\A B\\s.exe", "C:\\A B\\s.exe -run"}));
    EXPECT_EQ(ParseImagePath("system32\\DRIVERS\\x.sys", w).candidates, List{"C:\\windows\\system32\\DRIVERS\\x.sys"});
    EXPECT_EQ(ParseImagePath("\\??\\D:\\x.sys", w).candidates, List{"D:\\x.sys"});
    EXPECT_TRUE(ParseImagePath("x.exe", w).candidates.empty());
    EXPECT_TRUE(ParseImagePath("C:\\windows\\system32\\svchost.exe -k netsvcs", w).sharedProcess);
}

TEST(SoundEventScannerTest, ReportsSchemesWhoseSoundIsMissing)
{
    ScratchFolder folder("sounds");
    const std::string present = folder.AddFile("ding.wav");
    const std::string event = "AppEvents\\Schemes\\Apps\\CorvadinTest\\Open\\";
    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, event + ".Current", "", folder.Path() + "\\gone.wav");
    planted.SetString(HKEY_CURRENT_USER, event + ".Default", "", "corvadintest-gone.wav");
    planted.SetString(HKEY_CURRENT_USER, event + "Mine", "", present);
    planted.SetString(HKEY_CURRENT_USER, event + "Silent", "", "");
    planted.SetString(HKEY_CURRENT_USER, event + "Unknown", "", "%CORVADINTEST_NONE%\\x.wav", REG_EXPAND_SZ);

    const std::string values = "HKEY_CURRENT_USER\\" + event;
    EXPECT_EQ(ScanWith(SoundEventScanner(nullptr), Grade::Safe),
              (std::vector<std::string>{
                  values + ".Current\\| missing file:" + folder.Path() + "\\gone.wav",
                  values + ".Default\\| missing file:" + SystemWindowsFolder() + "\\Media\\corvadintest-gone.wav",
              }));
}

TEST(ServiceScannerTest, ReportsServicesAndDriversWhoseProgramIsMissing)
{
    ScratchFolder folder("services");
    const std::string present = folder.AddFile("CorvadinTest.exe");
    const std::string gone = folder.Path() + "\\gone dir\\CorvadinTest.exe";
    PlantedRegistry planted;
    // A type of 0 and an empty path are left out.
    const auto plant = [&](const std::string& name, DWORD type, const std::string& imagePath) {
        planted.SetDword(HKEY_LOCAL_MACHINE, Services + "\\" + name, type ? "Type" : "Start", type);
        if (!imagePath.empty()) {
            planted.SetString(HKEY_LOCAL_MACHINE, Services + "\\" + name, "ImagePath", imagePath, REG_EXPAND_SZ);
        }
    };
    plant("CorvadinTestGone", SERVICE_WIN32_OWN_PROCESS, "\"" + gone + "\" -service");
    plant("CorvadinTestPresent", SERVICE_WIN32_OWN_PROCESS, present + " -service");
    plant("CorvadinTestDriverGone", SERVICE_KERNEL_DRIVER, "");
    plant("CorvadinTestDriverPresent", SERVICE_KERNEL_DRIVER, "\\SystemRoot\\System32\\ntdll.dll");
    plant("CorvadinTestNoType", 0, "\"" + gone + "\"");
    plant("CorvadinTestNoProgram", SERVICE_WIN32_OWN_PROCESS, "");
    plant("CorvadinTestShared", SERVICE_WIN32_SHARE_PROCESS, "%SystemRoot%\\system32\\svchost.exe -k CorvadinTest");
    planted.SetString(HKEY_LOCAL_MACHINE, Services + "\\CorvadinTestShared\\Parameters", "ServiceDll",
                      folder.Path() + "\\CorvadinTest.dll", REG_EXPAND_SZ);

    const std::string keys = "HKEY_LOCAL_MACHINE\\" + Services + "\\CorvadinTest";
    EXPECT_EQ(ScanWith(ServiceScanner(nullptr), Grade::Expert),
              (std::vector<std::string>{
                  keys + "DriverGone| missing file:" + SystemWindowsFolder() +
                      "\\System32\\drivers\\CorvadinTestDriverGone.sys",
                  keys + "Gone| missing file:" + gone,
                  keys + "Shared| missing file:" + folder.Path() + "\\CorvadinTest.dll",
              }));
}
