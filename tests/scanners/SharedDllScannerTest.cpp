#include "engine/IssueList.h"
#include "registry/RegistryValue.h"
#include "scanners/SharedDllScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/Scratch.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

const std::string SharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

}  // namespace

TEST(SharedDllScannerTest, ReportsCountedFilesThatAreGone)
{
    ScratchFolder folder("shareddll");
    const std::string present = folder.AddFile("Common\\present.dll");
    const std::string gone = folder.Path() + "\\Common\\Gone\\gone.dll";
    const std::string userGone = folder.Path() + "\\user.dll";

    PlantedRegistry planted;
    planted.SetDword(HKEY_CURRENT_USER, SharedDlls, userGone, 1);
    planted.SetDword(HKEY_LOCAL_MACHINE, SharedDlls, present, 2);
    planted.SetDword(HKEY_LOCAL_MACHINE, SharedDlls, gone, 1);
    // Installers count shared folders too; an existing one is not a missing file.
    planted.SetDword(HKEY_LOCAL_MACHINE, SharedDlls, folder.Path() + "\\Common\\", 1);
    planted.SetDword(HKEY_LOCAL_MACHINE, SharedDlls, folder.Path() + "\\Common\\Gone\\", 1);
    // A drive that is not there right now may come back with the file on it.
    planted.SetDword(HKEY_LOCAL_MACHINE, SharedDlls, "Q:\\" + folder.Path().substr(3) + "\\absent.dll", 1);

    SharedDllScanner scanner(nullptr);
    IssueList list;
    const std::vector<std::string> lines = LoggedScan(scanner, folder.Path() + "\\scan.log", &list);

    // The machine's values come first; within a key the registry decides the order.
    const std::string machine = "HKEY_LOCAL_MACHINE\\" + SharedDlls + "\\";
    std::vector<std::string> found = Named(list, "corvadin-shareddll\\");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[2], "HKEY_CURRENT_USER\\" + SharedDlls + "\\" + userGone + "| missing file:" + userGone);
    found.pop_back();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{
                         machine + gone + "| missing file:" + gone,
                         machine + folder.Path() + "\\Common\\Gone\\| missing file:" + folder.Path() +
                             "\\Common\\Gone\\",
                     }));
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->Kind(), ValueIssue);
        EXPECT_EQ(list.At(i)->Source(), "Shared DLL");
    }
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Shared DLL:start");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Shared DLL: missing file:" + gone), lines.end());
}

TEST(SharedDllScannerTest, AStopEndsBothWalksAfterTheEntryInHand)
{
    ScratchFolder folder("shareddll-stop");
    PlantedRegistry planted;
    planted.SetDword(HKEY_LOCAL_MACHINE, SharedDlls, folder.Path() + "\\first.dll", 1);
    planted.SetDword(HKEY_LOCAL_MACHINE, SharedDlls, folder.Path() + "\\second.dll", 1);
    planted.SetDword(HKEY_CURRENT_USER, SharedDlls, folder.Path() + "\\user.dll", 1);

    SharedDllScanner scanner(nullptr);
    const StopSink stop(scanner, "first.dll");
    IssueList list;
    scanner.Scan(&list);
    const std::vector<std::string> found = Named(list, "corvadin-shareddll-stop");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].find("first.dll"), std::string::npos);
}
