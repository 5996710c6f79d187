// Entries a repair must leave alone, and backups that must restore exactly what was deleted: text the code page
// cannot hold, an entry rewritten between the scan and the repair, and a class both the user and the machine
// register.
#include "engine/IssueList.h"
#include "registry/CodePageText.h"
#include "repair/DeleteAction.h"
#include "repair/RollbackFiles.h"
#include "scanners/ComObjectScanner.h"
#include "scanners/StartupProgramScanner.h"
#include "scanners/UninstallScanner.h"
#include "tests/repair/RepairTestSupport.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string UserRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string ClassKey = "Software\\Classes\\CLSID\\{C0A1D000-0000-4000-8000-0000000000A1}";
const std::wstring Cyrillic = L"\u0422\u0435\u0441\u0442";

// Plants the value, then writes its text through the wide registry functions.
void PlantWide(PlantedRegistry& planted, HKEY root, const std::string& path, const std::string& name,
               const std::wstring& text)
{
    planted.SetString(root, path, name, "placeholder");
    RegSetKeyValueW(root, Widen(path).c_str(), Widen(name).c_str(), REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

TEST(InUseEntriesTest, TextOutsideTheCodePageIsPassedOverAndNeverBackedUp)
{
    if (GetACP() == CP_UTF8) {
        GTEST_SKIP() << "every character fits a UTF-8 code page";
    }
    ScratchFolder folder("codepage");
    CurrentFolder here(folder.Path());
    const std::wstring program = Widen(folder.Path()) + L"\\" + Cyrillic + L"\\app.exe";
    ASSERT_TRUE(CreateDirectoryW((Widen(folder.Path()) + L"\\" + Cyrillic).c_str(), nullptr));
    CloseHandle(CreateFileW(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    PlantedRegistry planted;
    PlantWide(planted, HKEY_CURRENT_USER, UserRunKey, "CorvadinTestCyrillic", L"\"" + program + L"\"");
    PlantWide(planted, HKEY_CURRENT_USER, ClassKey + "\\InprocServer32", "", program);

    StartupProgramScanner run(nullptr);
    EXPECT_TRUE(ScanFor(run, "CorvadinTestCyrillic").empty());
    EXPECT_GE(run.ScanGaps().outsideCodePage, 1);
    ComObjectScanner com(nullptr);
    EXPECT_TRUE(ScanFor(com, "{C0A1D000-").empty());

    // Judged on text that fits, yet its backup could not hold its name: the repair deletes nothing.
    planted.SetString(HKEY_LOCAL_MACHINE, UninstallKey + "\\CorvadinTestCyrillic", "UninstallString",
                      "C:\\corvadin-gone\\uninstall.exe");
    PlantWide(planted, HKEY_LOCAL_MACHINE, UninstallKey + "\\CorvadinTestCyrillic", "DisplayName", Cyrillic);
    UninstallScanner uninstall(nullptr);
    const auto found = ScanFor(uninstall, "CorvadinTestCyrillic");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_FALSE(DeleteAction().Fix(found[0].get()));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey + "\\CorvadinTestCyrillic"));
    EXPECT_TRUE(ListRollbackFiles(folder.Path()).empty());
}

TEST(InUseEntriesTest, AnEntryRewrittenSinceTheScanIsLeftAlone)
{
    ScratchFolder folder("rewritten");
    CurrentFolder here(folder.Path());
    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, UserRunKey, "CorvadinTestRewritten", "\"C:\\corvadin-gone\\agent.exe\"");
    StartupProgramScanner scanner(nullptr);
    const auto found = ScanFor(scanner, "CorvadinTestRewritten");
    ASSERT_EQ(found.size(), 1u);

    // The program was installed again meanwhile.
    planted.SetString(HKEY_CURRENT_USER, UserRunKey, "CorvadinTestRewritten", "notepad.exe");
    const LogCapture log(folder.Path() + ".log");
    EXPECT_FALSE(DeleteAction().Fix(found[0].get()));
    EXPECT_EQ(ValueText(HKEY_CURRENT_USER, UserRunKey, "CorvadinTestRewritten"), "notepad.exe");
    EXPECT_TRUE(ListRollbackFiles(folder.Path()).empty());
    const auto lines = log.FixLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("CorvadinTestRewritten changed since the scan; left alone"), std::string::npos);
}

TEST(InUseEntriesTest, AnEntryRemovedSinceTheScanCountsAsRepairedAndIsNotBackedUp)
{
    ScratchFolder folder("removed");
    CurrentFolder here(folder.Path());
    PlantedRegistry planted;
    planted.SetString(HKEY_LOCAL_MACHINE, UninstallKey + "\\CorvadinTestRemoved", "UninstallString",
                      "C:\\corvadin-gone\\uninstall.exe");
    UninstallScanner scanner(nullptr);
    const auto found = ScanFor(scanner, "CorvadinTestRemoved");
    ASSERT_EQ(found.size(), 1u);

    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (UninstallKey + "\\CorvadinTestRemoved").c_str());
    EXPECT_EQ(found[0]->Rejudge(), Rejudged::Gone);
    EXPECT_TRUE(DeleteAction().Fix(found[0].get()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey + "\\CorvadinTestRemoved"));
    EXPECT_TRUE(ListRollbackFiles(folder.Path()).empty());
}

TEST(InUseEntriesTest, AClassOfUserAndMachineIsRepairedAndRestoredWhereItLies)
{
    ScratchFolder folder("both-halves");
    CurrentFolder here(folder.Path());
    PlantedRegistry planted;
    planted.SetString(HKEY_CURRENT_USER, ClassKey + "\\InprocServer32", "", folder.AddFile("server.dll"));
    planted.SetString(HKEY_LOCAL_MACHINE, ClassKey + "\\InprocServer32", "", "C:\\corvadin-gone\\server.dll");
    planted.SetString(HKEY_LOCAL_MACHINE, ClassKey + "\\ProgID", "", "Corvadin.Test.1");
    const KeySnapshot user = Snapshot(HKEY_CURRENT_USER, ClassKey);
    const KeySnapshot machine = Snapshot(HKEY_LOCAL_MACHINE, ClassKey);

    ComObjectScanner scanner(nullptr);
    const auto found = ScanFor(scanner, "{C0A1D000-");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->Target()->FullPath(), "HKEY_LOCAL_MACHINE\\" + ClassKey);
    ASSERT_TRUE(DeleteAction().Fix(found[0].get()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ClassKey));
    EXPECT_EQ(Snapshot(HKEY_CURRENT_USER, ClassKey), user);

    const auto files = ListRollbackFiles(folder.Path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(RestoreRollbackFile(folder.Path() + "\\" + files[0].name).Complete());
    EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE, ClassKey), machine);
    EXPECT_EQ(Snapshot(HKEY_CURRENT_USER, ClassKey), user);
}
