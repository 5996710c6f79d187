#include "engine/IssueList.h"
#include "scanners/ShellExtensionScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"

#include <gtest/gtest.h>

namespace {

const std::string ClassesKey = "Software\\Classes\\";
const std::string CurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";

std::string ShellClass(int n)
{
    return "{C0A1D300-0000-4000-8000-0000000000" + std::string(n < 10 ? "0" : "") + std::to_string(n) + "}";
}

}  // namespace

TEST(ShellExtensionScannerTest, ReportsHandlersWhoseClassIsUnregisteredOrWhoseServerIsGone)
{
    ScratchFolder folder("shellext");
    const std::string server = folder.AddFile("handler.dll");
    const std::string gone = folder.Path() + "\\gone\\handler.dll";
    PlantedRegistry planted;
    const auto registerClass = [&](int n, const std::string& file) {
        planted.SetString(HKEY_LOCAL_MACHINE, ClassesKey + "CLSID\\" + ShellClass(n) + "\\InprocServer32", "", file);
    };
    registerClass(1, server);
    registerClass(2, gone);
    planted.SetString(HKEY_CURRENT_USER, ClassesKey + "CLSID\\" + ShellClass(3), "", "served by a program of its own");
    const auto handler = [&](HKEY root, const std::string& path, const std::string& text) {
        planted.SetString(root, ClassesKey + path, "", text);
    };
    const std::string menus = "CorvadinTestClass\\shellex\\ContextMenuHandlers\\";
    handler(HKEY_CURRENT_USER, menus + "Good", ShellClass(1));
    handler(HKEY_CURRENT_USER, menus + "Own program", ShellClass(3));
    handler(HKEY_CURRENT_USER, menus + ShellClass(4), "");  // named by its class
    handler(HKEY_CURRENT_USER, menus + "Disabled", "--" + ShellClass(4));  // no class: not judged
    handler(HKEY_LOCAL_MACHINE, "CorvadinTestClass\\shellex\\IconHandler", ShellClass(2));
    handler(HKEY_LOCAL_MACHINE, "Directory\\Background\\shellex\\ContextMenuHandlers\\CorvadinTest", ShellClass(5));
    handler(HKEY_LOCAL_MACHINE, "CorvadinTestClass\\shellex\\PropertySheetHandlers\\CorvadinTest", ShellClass(4));
    const std::string overlays = CurrentVersion + "Explorer\\ShellIconOverlayIdentifiers\\ CorvadinTest";
    planted.SetString(HKEY_LOCAL_MACHINE, overlays, "", ShellClass(6));
    const std::string approved = CurrentVersion + "Shell Extensions\\Approved";
    planted.SetString(HKEY_LOCAL_MACHINE, approved, ShellClass(7), "CorvadinTest handler");
    planted.SetString(HKEY_LOCAL_MACHINE, approved, ShellClass(1), "CorvadinTest good handler");

    ShellExtensionScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    const std::string link = "| missing link:HKEY_CLASSES_ROOT\\CLSID\\";
    EXPECT_EQ(ReportedInAnyOrder(list, "CorvadinTest"), (std::vector<std::string>{
        "HKEY_CURRENT_USER\\" + ClassesKey + menus + ShellClass(4) + link + ShellClass(4),
        "HKEY_LOCAL_MACHINE\\" + overlays + link + ShellClass(6),
        "HKEY_LOCAL_MACHINE\\" + ClassesKey + "CorvadinTestClass\\shellex\\IconHandler| missing file:" + gone,
        "HKEY_LOCAL_MACHINE\\" + ClassesKey + "CorvadinTestClass\\shellex\\PropertySheetHandlers\\CorvadinTest" + link + ShellClass(4),
        "HKEY_LOCAL_MACHINE\\" + ClassesKey + "Directory\\Background\\shellex\\ContextMenuHandlers\\CorvadinTest" + link + ShellClass(5),
    }));
    EXPECT_EQ(Reported(list, ShellClass(7)), (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\" + approved + "\\" + ShellClass(7) + link + ShellClass(7)}));
    for (const char* marker : {"IconHandler", "Background"}) {
        const ScanIssue* issue = FirstIssue(list, marker);
        ASSERT_TRUE(issue) << marker;
        EXPECT_EQ(issue->GetGrade(), Grade::Review);
        EXPECT_TRUE(issue->StillFails()) << marker;
    }
}
