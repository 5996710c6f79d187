#include "engine/IssueList.h"
#include "scanners/TypeLibraryScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"

#include <gtest/gtest.h>

TEST(TypeLibraryScannerTest, ReportsVersionsWhoseFilesAreAllGoneAndWholeLibrariesWhenEveryVersionIs)
{
    const std::string typeLib = "Software\\Classes\\TypeLib\\";
    const auto library = [](int n) { return TestId("100", n); };
    ScratchFolder folder("typelib");
    const std::string tlb = folder.AddFile("lib.tlb");
    const std::string gone = folder.Path() + "\\gone\\lib.tlb";
    PlantedRegistry planted;
    const auto plant = [&](int n, const std::string& below, const std::string& file) {
        planted.SetString(HKEY_LOCAL_MACHINE, typeLib + library(n) + "\\" + below, "", file);
    };
    plant(1, "1.0\\0\\win32", tlb + "\\2");  // a resource number after the file
    plant(2, "1.0\\409\\win64", gone);
    plant(2, "2.0\\0\\win32", tlb);
    plant(3, "1.0\\0\\win32", gone);
    plant(3, "1.1\\0\\win64", gone + "\\3");
    plant(4, "1.0\\FLAGS", "0");  // names no file: not judged
    plant(5, "1.0\\0\\win32", gone);
    plant(5, "1.0\\9\\win64", tlb);
    plant(6, "1.0\\0\\win32", "%CorvadinTestUnset%\\lib.tlb");

    TypeLibraryScanner scanner(nullptr);
    IssueList list;
    const std::vector<std::string> lines = LoggedScan(scanner, folder.Path() + "\\scan.log", &list);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Type Library:start");
    EXPECT_EQ(Reported(list, "{C0A1D100-"), (std::vector<std::string>{
                                                "HKEY_LOCAL_MACHINE\\" + typeLib + library(2) + "\\1.0| missing file:" + gone,
                                                "HKEY_LOCAL_MACHINE\\" + typeLib + library(3) + "| missing file:" + gone,
                                            }));
    const ScanIssue* whole = FirstIssue(list, library(3));
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->GetGrade(), Grade::Review);
    // Both versions' files are in the evidence of the library's issue.
    EXPECT_NE(LooksText(*whole).find(gone + ": "), std::string::npos) << LooksText(*whole);
    EXPECT_NE(LooksText(*whole).find(gone + ": "), LooksText(*whole).rfind(gone + ": ")) << LooksText(*whole);
    EXPECT_EQ(whole->Rejudge(), Rejudged::StillFails);
}
