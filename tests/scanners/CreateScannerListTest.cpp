#include "engine/IssueList.h"
#include "engine/ScannerList.h"
#include "tests/support/Programs.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The index of a scanner is its place in the scan and its counter on the main window.
TEST(CreateScannerListTest, HoldsEveryCategorysScannerInItsFixedOrder)
{
    ScannerList* list = CreateScannerList();
    ASSERT_NE(list, nullptr);
    std::vector<std::string> names;
    for (int i = 0; i < list->Count(); ++i) {
        ASSERT_NE(list->At(i), nullptr) << i;
        names.push_back(list->At(i)->Name());
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "App Path", "Uninstall", "HelpFile", "File Extension", "File Extension-reference",
                         "Font Files", "Recently used files", "Shared DLL", "Shared folder", "Startup program",
                         "COM/ActiveX", "Browser Helper object", "Shortcut", "Type Library", "Interface",
                         "Shell Extension", "MUI Cache", "Sound Event", "Compatibility Setting", "Installer Folder",
                         "Service"}));
    EXPECT_EQ(list->At(CategoryCount), nullptr);
    EXPECT_EQ(list->At(-1), nullptr);
}

// Every scan starts with fresh scanners: nothing of the last scan's stop requests survives.
TEST(CreateScannerListTest, EachScanGetsFreshScanners)
{
    ScannerList* first = CreateScannerList();
    ASSERT_NE(first, nullptr);
    for (int i = 0; i < first->Count(); ++i) {
        first->At(i)->RequestStop();
    }
    ScannerList* second = CreateScannerList();
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(second->Count(), CategoryCount);
    for (int i = 0; i < second->Count(); ++i) {
        EXPECT_FALSE(second->At(i)->IsStopRequested()) << second->At(i)->Name();
    }
}

namespace {

// Processes started by a scan of a fresh list's Uninstall and Startup program scanners.
DWORD StartsOfUninstallAndStartupScan()
{
    ScannerList* list = CreateScannerList();
    const DWORD before = ProcessesStartedByThisTest();
    for (const int index : {1, 9}) {
        IssueList issues;
        list->At(index)->Scan(&issues);
    }
    return ProcessesStartedByThisTest() - before;
}

}  // namespace

// A command only a start can judge, named by a Run value and an uninstall entry, is started once per scan.
TEST(CreateScannerListTest, AScanStartsEachCommandOnceWhicheverCategoriesNameIt)
{
    const DWORD others = StartsOfUninstallAndStartupScan();
    const std::string command = "cmd /c rem corvadin shared command";
    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "CorvadinTestShared",
                      command);
    planted.SetString(HKEY_LOCAL_MACHINE,
                      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\CorvadinTestShared",
                      "UninstallString", command);
    EXPECT_EQ(StartsOfUninstallAndStartupScan() - others, 1u);
}
