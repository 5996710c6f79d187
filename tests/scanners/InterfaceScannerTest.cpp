#include "engine/IssueList.h"
#include "scanners/InterfaceScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"

#include <gtest/gtest.h>

TEST(InterfaceScannerTest, ReportsInterfacesWhoseProxyClassOrTypeLibraryIsRegisteredNowhere)
{
    const std::string classes = "Software\\Classes\\";
    const auto id = [](int n) { return TestId("200", n); };
    PlantedRegistry planted;
    const auto plant = [&](HKEY root, int n, const std::string& subkey, const std::string& text) {
        planted.SetString(root, classes + "Interface\\" + id(n) + "\\" + subkey, "", text);
    };
    planted.SetString(HKEY_CURRENT_USER, classes + "CLSID\\" + id(90), "", "a user's proxy class");
    planted.SetString(HKEY_LOCAL_MACHINE, classes + "TypeLib\\" + id(91) + "\\1.0", "", "a library");
    plant(HKEY_LOCAL_MACHINE, 1, "ProxyStubClsid32", id(90));  // registered in the user's half only
    plant(HKEY_LOCAL_MACHINE, 2, "ProxyStubClsid32", id(80));
    plant(HKEY_LOCAL_MACHINE, 3, "ProxyStubClsid", id(81));  // the older name
    plant(HKEY_LOCAL_MACHINE, 4, "TypeLib", id(82));
    plant(HKEY_LOCAL_MACHINE, 5, "TypeLib", id(91));
    plant(HKEY_LOCAL_MACHINE, 6, "ProxyStubClsid32", "not an id");
    plant(HKEY_CURRENT_USER, 7, "ProxyStubClsid32", id(83));
    planted.SetString(HKEY_LOCAL_MACHINE, classes + "Interface\\" + id(8), "", "names nothing");
    // Many interfaces share one marshaler: each is judged, the class looked up once.
    plant(HKEY_LOCAL_MACHINE, 9, "ProxyStubClsid32", id(80));

    InterfaceScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    const std::string link = "| missing link:HKEY_CLASSES_ROOT\\";
    EXPECT_EQ(ReportedInAnyOrder(list, "{C0A1D200-"), (std::vector<std::string>{
                                                          "HKEY_CURRENT_USER\\" + classes + "Interface\\" + id(7) + link + "CLSID\\" + id(83),
                                                          "HKEY_LOCAL_MACHINE\\" + classes + "Interface\\" + id(2) + link + "CLSID\\" + id(80),
                                                          "HKEY_LOCAL_MACHINE\\" + classes + "Interface\\" + id(3) + link + "CLSID\\" + id(81),
                                                          "HKEY_LOCAL_MACHINE\\" + classes + "Interface\\" + id(4) + link + "TypeLib\\" + id(82),
                                                          "HKEY_LOCAL_MACHINE\\" + classes + "Interface\\" + id(9) + link + "CLSID\\" + id(80),
                                                      }));
    const ScanIssue* shared = FirstIssue(list, id(9));
    ASSERT_TRUE(shared);
    // The remembered verdict still carries what was looked at.
    EXPECT_NE(LooksText(*shared).find("CLSID\\" + id(80) + ": key absent"), std::string::npos) << LooksText(*shared);
    EXPECT_EQ(shared->Rejudge(), Rejudged::StillFails);
}
