#include "engine/IssueList.h"
#include "registry/RegistryKey.h"
#include "scanners/ComObjectScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/Scratch.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

// The machine's classes, where the scanner finds them.
const std::string Clsid = "Software\\Classes\\CLSID\\";

// Planted classes are {C0A1D000-0000-4000-8000-0000000000NN}.
std::string Class(int n)
{
    char name[64];
    snprintf(name, sizeof name, "{C0A1D000-0000-4000-8000-0000000000%02d}", n);
    return name;
}

void PlantServer(PlantedRegistry& planted, int n, const std::string& text, DWORD type = REG_SZ)
{
    planted.SetString(HKEY_LOCAL_MACHINE, Clsid + Class(n) + "\\InprocServer32", "", text, type);
}

}  // namespace

TEST(ComObjectScannerTest, ReportsClassesWhoseInProcessServerIsNotFound)
{
    ScratchFolder folder("com");
    const std::string server = folder.AddFile("server.dll");
    const std::string gone = folder.Path() + "\\Gone\\gone.dll";

    PlantedRegistry planted;
    PlantServer(planted, 1, "shell32.dll");
    PlantServer(planted, 2, gone);
    PlantServer(planted, 3, "\"" + server + "\"");
    PlantServer(planted, 4, "%SystemRoot%\\system32\\shell32.dll");
    PlantServer(planted, 5, "%SystemRoot%\\system32\\shell32.dll", REG_EXPAND_SZ);
    planted.SetString(HKEY_LOCAL_MACHINE, Clsid + Class(6) + "\\LocalServer32", "", gone);
    PlantServer(planted, 7, "");
    planted.SetString(HKEY_LOCAL_MACHINE, Clsid + Class(8) + "\\InprocServer32", "ThreadingModel", "Both");
    planted.SetDword(HKEY_LOCAL_MACHINE, Clsid + Class(9) + "\\InprocServer32", "", 7);
    // A server on a drive that is not there right now is not known to be gone.
    PlantServer(planted, 10, "Q:\\Gone\\gone.dll");

    ComObjectScanner scanner(nullptr);
    IssueList list;
    const std::vector<std::string> lines = LoggedScan(scanner, folder.Path() + "\\scan.log", &list);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "COM/ActiveX: start");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "COM/ActiveX: missing file:" + gone), lines.end());

    EXPECT_EQ(Named(list, "{C0A1D000-"), (std::vector<std::string>{
                                 Clsid + Class(2) + "| missing file:" + gone,
                                 Clsid + Class(4) + "| missing file:%SystemRoot%\\system32\\shell32.dll",
                                 Clsid + Class(7) + "| missing file:",
                                 Clsid + Class(9) + "| missing file:",
                             }));
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->Kind(), KeyIssue);
        EXPECT_EQ(list.At(i)->Source(), "COM/ActiveX");
    }
    // The whole registration is the target, so a repair removes the class key.
    for (int i = 0; i < list.Count(); ++i) {
        const auto* key = static_cast<RegistryKey*>(list.At(i)->Target());
        if (key->Name() == Class(2)) {
            EXPECT_EQ(key->FullPath(), "HKEY_LOCAL_MACHINE\\" + Clsid + Class(2));
        }
    }
}

TEST(ComObjectScannerTest, AStopEndsTheWalkAfterTheEntryInHandAndKeepsItsIssue)
{
    PlantedRegistry planted;
    PlantServer(planted, 1, "C:\\corvadin-gone\\one.dll");
    PlantServer(planted, 2, "C:\\corvadin-gone\\two.dll");

    ComObjectScanner scanner(nullptr);
    const StopSink stop(scanner, Class(1));
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Named(list, "{C0A1D000-"),
              (std::vector<std::string>{Clsid + Class(1) + "| missing file:C:\\corvadin-gone\\one.dll"}));
}
