#include "engine/IssueList.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "scanners/SharedFolderScanner.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/Scratch.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

const std::string Shares = "SYSTEM\\CurrentControlSet\\Services\\lanmanserver\\Shares";
const std::string LanMan = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Network\\LanMan";

// The issues about planted shares, as "kind|Name column|description".
std::vector<std::string> Planted(const IssueList& list)
{
    std::vector<std::string> found;
    for (int i = 0; i < list.Count(); ++i) {
        const ScanIssue& issue = *list.At(i);
        if (issue.Name().find("CorvadinTest") != std::string::npos) {
            found.push_back(std::to_string(issue.Kind()) + "|" + issue.Name() + "|" + issue.Description());
        }
    }
    return found;
}

}  // namespace

TEST(SharedFolderScannerTest, JudgesSharePathsByLength)
{
    ScratchFolder folder("share-paths");
    SharedFolderScanner scanner(nullptr);
    EXPECT_EQ(scanner.CheckSharePath(folder.Path()), "");
    EXPECT_EQ(scanner.CheckSharePath(folder.Path() + "\\"), "");
    EXPECT_EQ(scanner.CheckSharePath(folder.Path() + "\\gone"), " missing folder:" + folder.Path() + "\\gone");
    EXPECT_EQ(scanner.CheckSharePath("C:\\"), "");
    EXPECT_EQ(scanner.CheckSharePath("c:\\"), "");
    EXPECT_EQ(scanner.CheckSharePath("1:\\"), " missing partition:1:\\");
    EXPECT_EQ(scanner.CheckSharePath("C:"), " incorrect record about shared resource:C:");
    EXPECT_EQ(scanner.CheckSharePath(""), " incorrect record about shared resource:");
    // A drive letter that is not there right now (an unplugged disk, an unmapped
    // network letter) may come back with the share's folder on it.
    EXPECT_EQ(scanner.CheckSharePath("Q:\\"), "");
    EXPECT_EQ(scanner.CheckSharePath("Q:\\Shared"), "");
    EXPECT_EQ(scanner.CheckSharePath(std::string(5000, 'x')), " missing folder:" + std::string(5000, 'x'));
}

TEST(SharedFolderScannerTest, ReportsShareValuesAndSubkeysWithFaultyPaths)
{
    ScratchFolder folder("shares");
    const std::string present = folder.Path();
    const std::string gone = folder.Path() + "\\gone";

    PlantedRegistry planted;
    planted.SetMultiString(HKEY_LOCAL_MACHINE, Shares, "CorvadinTestPresent",
                           std::string("MaxUses=4294967295\0Path=", 24) + present + '\0' + "Type=0");
    planted.SetMultiString(HKEY_LOCAL_MACHINE, Shares, "CorvadinTestGone", "Path=" + gone);
    planted.SetMultiString(HKEY_LOCAL_MACHINE, Shares, "CorvadinTestUpper", "PATH=" + gone);
    planted.SetMultiString(HKEY_LOCAL_MACHINE, Shares, "CorvadinTestNoPath", std::string("Remark=x\0Type=0", 15));
    planted.Set(HKEY_LOCAL_MACHINE, Shares, "CorvadinTestBinary", REG_BINARY, "\x01\x02Path", 6);
    // A shared printer names its queue in "Path", not a folder.
    planted.SetMultiString(HKEY_LOCAL_MACHINE, Shares, "CorvadinTestPrinter",
                           std::string("Path=Office Laser,LocalsplOnly\0Type=1", 37));
    planted.SetMultiString(HKEY_LOCAL_MACHINE, Shares, "CorvadinTestHidden",
                           std::string("Path=", 5) + gone + '\0' + "Type=2147483648");

    planted.CreateKey(HKEY_LOCAL_MACHINE, LanMan + "\\CorvadinTestDocs");
    planted.SetString(HKEY_LOCAL_MACHINE, LanMan + "\\CorvadinTestKeyGone", "Path", gone);
    planted.SetString(HKEY_LOCAL_MACHINE, LanMan + "\\CorvadinTestKeyPresent", "Path", present);
    planted.SetDword(HKEY_LOCAL_MACHINE, LanMan + "\\CorvadinTestKeyNumber", "Path", 1);
    planted.SetString(HKEY_LOCAL_MACHINE, LanMan + "\\CorvadinTestKeyPrinter", "Path", "LASER");
    planted.SetDword(HKEY_LOCAL_MACHINE, LanMan + "\\CorvadinTestKeyPrinter", "Type", 1);

    SharedFolderScanner scanner(nullptr);
    IssueList list;
    const std::vector<std::string> lines = LoggedScan(scanner, folder.Path() + "\\scan.log", &list);

    const std::string values = "HKEY_LOCAL_MACHINE\\" + Shares + "\\";
    const std::string keys = LanMan + "\\";
    // Share values come before share subkeys; within a key the registry decides the order.
    std::vector<std::string> found = Planted(list);
    EXPECT_TRUE(std::is_sorted(found.begin(), found.end(),
                               [](const std::string& a, const std::string& b) { return a[0] > b[0]; }));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{
                                 "0|" + keys + "CorvadinTestDocs|missing parameter \"Path\"",
                                 "0|" + keys + "CorvadinTestKeyGone| missing folder:" + gone,
                                 "0|" + keys + "CorvadinTestKeyNumber| incorrect record about shared resource:",
                                 "1|" + values + "CorvadinTestBinary|key:Sharesvalue:CorvadinTestBinary missing "
                                                 "parameter:Path=",
                                 "1|" + values + "CorvadinTestGone| missing folder:" + gone,
                                 "1|" + values + "CorvadinTestHidden| missing folder:" + gone,
                                 "1|" + values + "CorvadinTestNoPath|key:Sharesvalue:CorvadinTestNoPath missing "
                                                 "parameter:Path=",
                                 "1|" + values + "CorvadinTestUpper| missing folder:" + gone,
                             }));
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->Source(), "Shared folder");
    }
    // Only the missing "Path" value of a subkey is logged.
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Shared folder:start");
    std::vector<std::string> planted_lines;
    for (const std::string& line : lines) {
        if (line.rfind("Shared folder:", 0) == 0 && line != "Shared folder:start") {
            planted_lines.push_back(line);
        }
    }
    EXPECT_EQ(planted_lines, std::vector<std::string>{"Shared folder:missing parameter \"Path\""});
}

TEST(SharedFolderScannerTest, AStopEndsBothWalksAfterTheEntryInHand)
{
    PlantedRegistry planted;
    planted.SetMultiString(HKEY_LOCAL_MACHINE, Shares, "CorvadinTestFirst", "Path=C:");
    planted.SetMultiString(HKEY_LOCAL_MACHINE, Shares, "CorvadinTestSecond", "Path=C:");
    planted.CreateKey(HKEY_LOCAL_MACHINE, LanMan + "\\CorvadinTestDocs");

    SharedFolderScanner scanner(nullptr);
    const StopSink stop(scanner, "CorvadinTestFirst");
    IssueList list;
    scanner.Scan(&list);
    ASSERT_EQ(Planted(list).size(), 1u);
    EXPECT_NE(Planted(list)[0].find("CorvadinTestFirst"), std::string::npos);
}
