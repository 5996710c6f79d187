#include "engine/IssueList.h"
#include "registry/RegistryValue.h"
#include "scanners/StartupProgramScanner.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

namespace {

// Plants values in the user's Run key and removes exactly those.
class RunValues {
public:
    RunValues() { RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr); }
    ~RunValues()
    {
        for (const std::string& name : names_) {
            RegDeleteValueA(key_, name.c_str());
        }
        RegCloseKey(key_);
    }
    void Set(const std::string& name, const std::string& text, DWORD type = REG_SZ)
    {
        names_.push_back(name);
        RegSetValueExA(key_, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }
    void SetDword(const std::string& name, DWORD number)
    {
        names_.push_back(name);
        RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    }

    static constexpr const char* path = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

private:
    HKEY key_ = nullptr;
    std::vector<std::string> names_;
};

// The issues whose value name starts with the test's prefix, as "name|description".
std::vector<std::string> Planted(const IssueList& list)
{
    std::vector<std::string> found;
    for (int i = 0; i < list.Count(); ++i) {
        auto* value = static_cast<RegistryValue*>(list.At(i)->Target());
        if (value->Name().rfind("CorvadinTest", 0) == 0) {
            found.push_back(value->Name() + "|" + list.At(i)->Description());
        }
    }
    return found;
}

}  // namespace

TEST(StartupProgramScannerTest, ReportsRunValuesThatCannotStart)
{
    ScratchFolder folder("startup");
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string program = folder.Path() + "\\agent.exe";
    CopyFileA((std::string(system) + "\\notepad.exe").c_str(), program.c_str(), FALSE);

    RunValues run;
    run.Set("CorvadinTestValid", "\"" + program + "\" /min");
    run.Set("CorvadinTestExpand", "%SystemRoot%\\system32\\notepad.exe", REG_EXPAND_SZ);
    run.Set("CorvadinTestGone", "\"" + folder.Path() + "\\gone.exe\" /min");
    run.SetDword("CorvadinTestNumber", 1);
    run.Set("CorvadinTestAbsentDrive", "Q:\\Tools\\agent.exe");

    StartupProgramScanner scanner(nullptr);
    IssueList list;
    scanner.Scan(&list);

    EXPECT_EQ(Planted(list), (std::vector<std::string>{
                                 "CorvadinTestGone| missing file:\"" + folder.Path() + "\\gone.exe\" /min",
                                 "CorvadinTestNumber| missing file:",
                             }));
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->Kind(), ValueIssue);
        EXPECT_EQ(list.At(i)->Source(), "Startup program");
    }
}

TEST(StartupProgramScannerTest, AStopRequestEndsTheWalkAtOnce)
{
    RunValues run;
    run.Set("CorvadinTestGone1", "C:\\gone1.exe");
    run.Set("CorvadinTestGone2", "C:\\gone2.exe");
    StartupProgramScanner scanner(nullptr);
    scanner.RequestStop();
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(list.Count(), 0);
}
