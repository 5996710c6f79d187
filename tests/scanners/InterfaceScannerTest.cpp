#include "engine/IssueList.h"
#include "scanners/InterfaceScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"

#include <gtest/gtest.h>

namespace {

const std::string Classes = "Software\\Classes\\";

std::string Id(int n)
{
    return "{C0A1D200-0000-4000-8000-0000000000" + std::string(n < 10 ? "0" : "") + std::to_string(n) + "}";
}

}  // namespace

TEST(InterfaceScannerTest, ReportsInterfacesWhoseProxyClassOrTypeLibraryIsRegisteredNowhere)
{
    PlantedRegistry planted;
    const auto plant = [&](HKEY root, int n, const std::string& subkey, const std::string& text) {
        planted.SetString(root, Classes + "Interface\\" + Id(n) + "\\" + subkey, "", text);
    };
    planted.SetString(HKEY_CURRENT_USER, Classes + "CLSID\\" + Id(90), "", "a user's proxy class");
    planted.SetString(HKEY_LOCAL_MACHINE, Classes + "TypeLib\\" + Id(91) + "\\1.0", "", "a library");
    plant(HKEY_LOCAL_MACHINE, 1, "ProxyStubClsid32", Id(90));  // registered in the user's half only
    plant(HKEY_LOCAL_MACHINE, 2, "ProxyStubClsid32", Id(80));
    plant(HKEY_LOCAL_MACHINE, 3, "ProxyStubClsid", Id(81));  // the older name
    plant(HKEY_LOCAL_MACHINE, 4, "TypeLib", Id(82));
    plant(HKEY_LOCAL_MACHINE, 5, "TypeLib", Id(91));
    plant(HKEY_LOCAL_MACHINE, 6, "ProxyStubClsid32", "not an id");
    plant(HKEY_CURRENT_USER, 7, "ProxyStubClsid32", Id(83));
    planted.SetString(HKEY_LOCAL_MACHINE, Classes + "Interface\\" + Id(8), "", "names nothing");
    // Many interfaces share one marshaler: each is judged, the class looked up once.
    plant(HKEY_LOCAL_MACHINE, 9, "ProxyStubClsid32", Id(80));

    InterfaceScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);
    const std::string link = "| missing link:HKEY_CLASSES_ROOT\\";
    EXPECT_EQ(ReportedInAnyOrder(list, "{C0A1D200-"), (std::vector<std::string>{
                                                          "HKEY_CURRENT_USER\\" + Classes + "Interface\\" + Id(7) + link + "CLSID\\" + Id(83),
                                                          "HKEY_LOCAL_MACHINE\\" + Classes + "Interface\\" + Id(2) + link + "CLSID\\" + Id(80),
                                                          "HKEY_LOCAL_MACHINE\\" + Classes + "Interface\\" + Id(3) + link + "CLSID\\" + Id(81),
                                                          "HKEY_LOCAL_MACHINE\\" + Classes + "Interface\\" + Id(4) + link + "TypeLib\\" + Id(82),
                                                          "HKEY_LOCAL_MACHINE\\" + Classes + "Interface\\" + Id(9) + link + "CLSID\\" + Id(80),
                                                      }));
    const ScanIssue* shared = FirstIssue(list, Id(9));
    ASSERT_TRUE(shared);
    // The remembered verdict still carries what was looked at.
    EXPECT_NE(LooksText(*shared).find("CLSID\\" + Id(80) + ": key absent"), std::string::npos) << LooksText(*shared);
    EXPECT_TRUE(shared->StillFails());
}
