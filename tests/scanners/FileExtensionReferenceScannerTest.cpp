#include "scanners/FileExtensionReferenceScanner.h"
#include "tests/scanners/ReportedIssues.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Classes are judged where they lie; these are the machine's.
const std::string Machine = "Software\\Classes\\";
const std::string Classes = "HKEY_LOCAL_MACHINE\\" + Machine;

void PlantIcon(PlantedRegistry& planted, const std::string& className, const std::string& text,
               DWORD type = REG_SZ)
{
    planted.SetString(HKEY_LOCAL_MACHINE, Machine + className + "\\DefaultIcon", "", text, type);
}

void PlantVerb(PlantedRegistry& planted, const std::string& className, const std::string& verb,
               const std::string& command, DWORD type = REG_SZ)
{
    planted.SetString(HKEY_LOCAL_MACHINE, Machine + className + "\\shell\\" + verb + "\\command", "", command, type);
}

}  // namespace

TEST(FileExtensionReferenceScannerTest, ReportsClassesWhoseIconFileIsGone)
{
    ScratchFolder folder("classes");
    const std::string program = PlantProgram(folder.Path() + "\\app.exe");
    const std::string library = folder.AddFile("icons.icl");
    const std::string gone = folder.Path() + "\\Gone\\app.exe,0";

    PlantedRegistry planted;
    PlantIcon(planted, "CorvadinTest.IconGone", gone);
    PlantIcon(planted, "CorvadinTest.IconPresent", program + ",0");
    PlantIcon(planted, "CorvadinTest.IconQuoted", "\"" + program + "\",1");
    PlantIcon(planted, "CorvadinTest.IconExpanded", "%SystemRoot%\\system32\\notepad.exe,-152", REG_EXPAND_SZ);
    PlantIcon(planted, "CorvadinTest.IconVariable", "%SystemRoot%\\corvadin-gone\\x.dll,1");
    PlantIcon(planted, "CorvadinTest.IconLibrary", library + ",3");
    PlantIcon(planted, "CorvadinTest.IconLibraryGone", folder.Path() + "\\gone.icl,3");
    PlantIcon(planted, "CorvadinTest.IconAbsentDrive", AbsentDrive() + "\\Icons\\app.ico");
    PlantIcon(planted, "CorvadinTest.IconPackage",
              "@{Corvadin.Test_1.0.0.0_x64__c0d4d1a5c0d4e?ms-resource://Corvadin.Test/Files/Assets/Icon.png}");
    planted.SetDword(HKEY_LOCAL_MACHINE, Machine + "CorvadinTest.IconNumber\\DefaultIcon", "", 1);
    planted.CreateKey(HKEY_LOCAL_MACHINE, Machine + "CorvadinTest.IconNone");

    FileExtensionReferenceScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);

    EXPECT_EQ(Reported(list, "CorvadinTest"),
              (std::vector<std::string>{
                  Classes + "CorvadinTest.IconGone| missing file with icon:" + gone,
                  Classes + "CorvadinTest.IconLibraryGone| missing file with icon:" + folder.Path() + "\\gone.icl,3",
                  Classes + "CorvadinTest.IconNumber| missing file with icon:",
              }));
    for (int i = 0; i < list.Count(); ++i) {
        if (list.At(i)->Description().rfind(" missing file with icon:", 0) == 0) {
            EXPECT_EQ(list.At(i)->Kind(), KeyIssue);
            EXPECT_EQ(list.At(i)->Source(), "File Extension-reference");
        }
    }
}

TEST(FileExtensionReferenceScannerTest, ReportsVerbsWhoseCommandCannotStart)
{
    ScratchFolder folder("verbs");
    const std::string program = PlantProgram(folder.Path() + "\\My App\\tool.exe");
    const std::string notAProgram = folder.AddFile("viewer.exe", "not a program");
    const std::string gone = "\"" + folder.Path() + "\\Gone\\app.exe\" \"%1\"";

    const std::string cls = "CorvadinTest.Verbs";
    PlantedRegistry planted;
    PlantVerb(planted, cls, "open", gone);
    PlantVerb(planted, cls, "edit", "notepad.exe \"%1\"");
    PlantVerb(planted, cls, "spaces", program + " %1");
    PlantVerb(planted, cls, "rundll", "rundll32.exe shell32.dll,Control_RunDLL \"%1\"");
    PlantVerb(planted, cls, "variable", "%SystemRoot%\\corvadin-gone\\x.exe %1");
    PlantVerb(planted, cls, "placeholder", "\"%1\" %*");
    PlantVerb(planted, cls, "empty", "");
    PlantVerb(planted, cls, "delegated", "");
    planted.SetString(HKEY_LOCAL_MACHINE, Machine + cls + "\\shell\\delegated\\command", "DelegateExecute",
                      "{00000000-0000-0000-0000-00000000C0DE}");
    PlantVerb(planted, cls, "elevated", notAProgram);
    planted.SetDword(HKEY_LOCAL_MACHINE, Machine + cls + "\\shell\\number\\command", "", 5);
    planted.CreateKey(HKEY_LOCAL_MACHINE, Machine + cls + "\\shell\\nocommand");

    FileExtensionReferenceScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);

    const std::string verbs = Classes + cls + "\\Shell\\";
    EXPECT_EQ(Reported(list, "CorvadinTest"), (std::vector<std::string>{
                                                   verbs + "empty| missing exe file :",
                                                   verbs + "number| missing exe file :",
                                                   verbs + "open| missing exe file :" + gone,
                                               }));
    for (int i = 0; i < list.Count(); ++i) {
        if (list.At(i)->Description().rfind(" missing exe file :", 0) == 0) {
            EXPECT_EQ(list.At(i)->Kind(), KeyIssue);
            EXPECT_EQ(list.At(i)->Source(), "File Extension Reference Scanner");
        }
    }
}

// Icon issues are logged; verb issues never are.
TEST(FileExtensionReferenceScannerTest, LogsItsStartAndIconIssuesOnly)
{
    ScratchFolder folder("classes-log");
    const std::string gone = folder.Path() + "\\Gone\\app.exe";
    PlantedRegistry planted;
    PlantIcon(planted, "CorvadinTest.Logged", gone + ",0");
    PlantVerb(planted, "CorvadinTest.Logged", "open", gone + " %1");
    FileExtensionReferenceScanner scanner(nullptr);
    IssueList list;
    const std::vector<std::string> lines = LoggedScan(scanner, folder.Path() + "\\scan.log", &list);
    ASSERT_EQ(Reported(list, "CorvadinTest").size(), 2u);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], "File Extension-reference:start");
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "File Extension-reference: missing file with icon:" + gone + ",0"),
              lines.end());
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.find("missing exe file") != std::string::npos; }),
              0);
}

// A stop asked for inside a class's verb walk ends that walk and the walk over the
// classes; what was found before stays.
TEST(FileExtensionReferenceScannerTest, AStopRequestEndsBothWalksAndKeepsWhatWasFound)
{
    PlantedRegistry planted;
    PlantIcon(planted, "CorvadinTest.Stop1", "C:\\corvadin-gone\\one.exe,0");
    PlantVerb(planted, "CorvadinTest.Stop1", "a", "C:\\corvadin-gone\\a.exe");
    PlantVerb(planted, "CorvadinTest.Stop1", "b", "C:\\corvadin-gone\\b.exe");
    PlantIcon(planted, "CorvadinTest.Stop2", "C:\\corvadin-gone\\two.exe,0");
    FileExtensionReferenceScanner scanner(nullptr);
    StopSink stop(scanner, "CorvadinTest.Stop1\\Shell\\a");
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list, "CorvadinTest"),
              (std::vector<std::string>{
                  Classes + "CorvadinTest.Stop1| missing file with icon:C:\\corvadin-gone\\one.exe,0",
                  Classes + "CorvadinTest.Stop1\\Shell\\a| missing exe file :C:\\corvadin-gone\\a.exe",
              }));
}
