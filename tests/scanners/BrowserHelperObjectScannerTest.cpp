#include "engine/IssueList.h"
#include "registry/RegistryKey.h"
#include "scanners/BrowserHelperObjectScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/LockedKey.h"
#include "tests/support/Scratch.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

const std::string HelperObjects = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
const std::string Missing = "{0000AAAA-0000-0000-0000-000000000000}";
const std::string AlsoMissing = "{0000AAAB-0000-0000-0000-000000000000}";
const std::string Registered = "{0000AAAC-0000-0000-0000-000000000000}";
const std::string Unreadable = "{0000AAAD-0000-0000-0000-000000000000}";

}  // namespace

TEST(BrowserHelperObjectScannerTest, ReportsHelperObjectsWithoutAClassKey)
{
    ScratchFolder folder("bho");
    PlantedRegistry planted;
    planted.CreateKey(HKEY_LOCAL_MACHINE, HelperObjects + "\\" + Missing);
    planted.CreateKey(HKEY_LOCAL_MACHINE, HelperObjects + "\\" + Registered);
    planted.CreateKey(HKEY_CLASSES_ROOT, "CLSID\\" + Registered);
    // A class key that exists but may not be read is still a registration.
    planted.CreateKey(HKEY_LOCAL_MACHINE, HelperObjects + "\\" + Unreadable);
    planted.CreateKey(HKEY_CLASSES_ROOT, "CLSID\\" + Unreadable);
    const LockedKey locked(HKEY_CLASSES_ROOT, "CLSID\\" + Unreadable);
    HKEY probe = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, ("CLSID\\" + Unreadable).c_str(), 0, KEY_QUERY_VALUE, &probe),
              ERROR_ACCESS_DENIED);

    BrowserHelperObjectScanner scanner(nullptr);
    IssueList list;
    const std::vector<std::string> lines = LoggedScan(scanner, folder.Path() + "\\scan.log", &list);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Browser Helper object: start");
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Browser Helper object: missing link:HKEY_CLASSES_ROOT\\CLSID\\" + Missing),
              lines.end());

    EXPECT_EQ(Reported(list, "{0000AAA"),
              (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\" + HelperObjects + "\\" + Missing +
                                        "| missing link:HKEY_CLASSES_ROOT\\CLSID\\" + Missing}));
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->Kind(), KeyIssue);
        EXPECT_EQ(list.At(i)->Source(), "Browser Helper object");
    }
    EXPECT_EQ(scanner.Name(), "Browser Helper object");
}

TEST(BrowserHelperObjectScannerTest, AStopEndsTheWalkAfterTheEntryInHandAndKeepsItsIssue)
{
    PlantedRegistry planted;
    planted.CreateKey(HKEY_LOCAL_MACHINE, HelperObjects + "\\" + Missing);
    planted.CreateKey(HKEY_LOCAL_MACHINE, HelperObjects + "\\" + AlsoMissing);

    BrowserHelperObjectScanner scanner(nullptr);
    const StopSink stop(scanner, Missing);
    IssueList list;
    scanner.Scan(&list);
    ASSERT_EQ(Reported(list, "{0000AAA").size(), 1u);
    EXPECT_NE(Reported(list, "{0000AAA")[0].find(Missing), std::string::npos);
}
