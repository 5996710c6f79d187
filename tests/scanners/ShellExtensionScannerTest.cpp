#include "engine/IssueList.h"
#include "scanners/ShellExtensionScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"

#include <gtest/gtest.h>

TEST(ShellExtensionScannerTest, ReportsHandlersWhoseClassIsUnregisteredOrWhoseServerIsGone)
{
    const std::string classes = "Software\\Classes\\";
    const std::string currentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
    const auto id = [](int n) { return TestId("300", n); };
    ScratchFolder folder("shellext");
    const std::string server = folder.AddFile("handler.dll");
    const std::string gone = folder.Path() + "\\gone\\handler.dll";
    PlantedRegistry planted;
    const auto registerClass = [&](int n, const std::string& file) {
        planted.SetString(HKEY_LOCAL_MACHINE, classes + "CLSID\\" + id(n) + "\\InprocServer32", "", file);
    };
    registerClass(1, server);
    registerClass(2, gone);
    planted.SetString(HKEY_CURRENT_USER, classes + "CLSID\\" + id(3), "", "served by a program of its own");
    const auto handler = [&](HKEY root, const std::string& path, const std::string& text) {
        planted.SetString(root, classes + path, "", text);
    };
    const std::string menus = "CorvadinTestClass\\shellex\\ContextMenuHandlers\\";
    handler(HKEY_CURRENT_USER, menus + "Good", id(1));
    handler(HKEY_CURRENT_USER, menus + "Own program", id(3));
    handler(HKEY_CURRENT_USER, menus + id(4), "");  // named by its class
    handler(HKEY_CURRENT_USER, menus + "Disabled", "--" + id(4));  // no class: not judged
    handler(HKEY_LOCAL_MACHINE, "CorvadinTestClass\\shellex\\IconHandler", id(2));
    handler(HKEY_LOCAL_MACHINE, "Directory\\Background\\shellex\\ContextMenuHandlers\\CorvadinTest", id(5));
    handler(HKEY_LOCAL_MACHINE, "CorvadinTestClass\\shellex\\PropertySheetHandlers\\CorvadinTest", id(4));
    const std::string overlays = currentVersion + "Explorer\\ShellIconOverlayIdentifiers\\ CorvadinTest";
    planted.SetString(HKEY_LOCAL_MACHINE, overlays, "", id(6));
    const std::string approved = currentVersion + "Shell Extensions\\Approved";
    planted.SetString(HKEY_LOCAL_MACHINE, approved, id(7), "CorvadinTest handler");
    planted.SetString(HKEY_LOCAL_MACHINE, approved, id(1), "CorvadinTest good handler");

    ShellExtensionScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    const std::string link = "| missing link:HKEY_CLASSES_ROOT\\CLSID\\";
    EXPECT_EQ(ReportedInAnyOrder(list, "CorvadinTest"), (std::vector<std::string>{
        "HKEY_CURRENT_USER\\" + classes + menus + id(4) + link + id(4),
        "HKEY_LOCAL_MACHINE\\" + overlays + link + id(6),
        "HKEY_LOCAL_MACHINE\\" + classes + "CorvadinTestClass\\shellex\\IconHandler| missing file:" + gone,
        "HKEY_LOCAL_MACHINE\\" + classes + "CorvadinTestClass\\shellex\\PropertySheetHandlers\\CorvadinTest" + link + id(4),
        "HKEY_LOCAL_MACHINE\\" + classes + "Directory\\Background\\shellex\\ContextMenuHandlers\\CorvadinTest" + link + id(5),
    }));
    EXPECT_EQ(Reported(list, id(7)), (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\" + approved + "\\" + id(7) + link + id(7)}));
    for (const char* marker : {"IconHandler", "Background"}) {
        const ScanIssue* issue = FirstIssue(list, marker);
        ASSERT_TRUE(issue) << marker;
        EXPECT_EQ(issue->GetGrade(), Grade::Review);
        EXPECT_EQ(issue->Rejudge(), Rejudged::StillFails) << marker;
    }
}
