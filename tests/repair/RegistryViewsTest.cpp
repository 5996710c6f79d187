// The two registry views of 64-bit Windows: an entry is judged, repaired and restored in the view it was found in,
// and a file of either system folder counts as present. Skipped on 32-bit Windows, which has one view.
#include "registry/RegistryView.h"
#include "registry/UniqueHandle.h"
#include "repair/DeleteAction.h"
#include "repair/RollbackFiles.h"
#include "scanners/FontFileScanner.h"
#include "scanners/StartupProgramScanner.h"
#include "tests/repair/RepairTestSupport.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

const std::string RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string FontsKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// A text value of one view of the machine's registry, removed again at the end.
class ViewValue {
public:
    ViewValue(std::string path, std::string name, RegistryView view, const std::string& text)
        : path_(std::move(path)), name_(std::move(name)), view_(view)
    {
        UniqueHkey key;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE | AccessOf(view), nullptr,
                        key.put(), nullptr);
        RegSetValueExA(key.get(), name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }
    ~ViewValue() { RegDeleteValueA(Open().get(), name_.c_str()); }

    // The text, or "<absent>".
    std::string Text() const
    {
        char text[512] = "<absent>";
        DWORD size = sizeof text;
        RegGetValueA(Open().get(), nullptr, name_.c_str(), RRF_RT_REG_SZ, nullptr, text, &size);
        return text;
    }

private:
    UniqueHkey Open() const
    {
        UniqueHkey key;
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_READ | KEY_SET_VALUE | AccessOf(view_), key.put());
        return key;
    }

    std::string path_;
    std::string name_;
    RegistryView view_;
};

}  // namespace

TEST(RegistryViewsTest, EachViewIsJudgedRepairedAndRestoredOnItsOwn)
{
    if (!IsWindows64()) {
        GTEST_SKIP() << "32-bit Windows has one registry view";
    }
    ScratchFolder folder("views");
    CurrentFolder here(folder.Path());
    ViewValue in64(RunKey, "CorvadinViewTest", RegistryView::Bits64, "C:\\corvadin-gone64\\x.exe");
    ViewValue in32(RunKey, "CorvadinViewTest", RegistryView::Bits32, "C:\\corvadin-gone32\\x.exe");
    ASSERT_EQ(in32.Text(), "C:\\corvadin-gone32\\x.exe");

    StartupProgramScanner scanner(nullptr);
    const auto found = ScanFor(scanner, "CorvadinViewTest");
    ASSERT_EQ(found.size(), 2u);
    const ScanIssue& issue32 = *found[found[0]->View() == RegistryView::Bits32 ? 0 : 1];
    const ScanIssue& issue64 = *found[found[0]->View() == RegistryView::Bits32 ? 1 : 0];
    EXPECT_EQ(issue32.View(), RegistryView::Bits32);
    EXPECT_EQ(issue64.View(), RegistryView::Bits64);
    EXPECT_NE(issue32.Id(), issue64.Id());
    EXPECT_NE(issue32.Name(), issue64.Name()) << "the view of the other bitness is marked";

    // Each view in turn: repaired there alone, its backup names the view, and the restore writes back there.
    for (const ScanIssue* issue : {&issue32, &issue64}) {
        ViewValue& repaired = issue == &issue32 ? in32 : in64;
        const ViewValue& other = issue == &issue32 ? in64 : in32;
        const std::string otherText = other.Text();
        const std::string text = repaired.Text();
        ASSERT_TRUE(DeleteAction().Fix(const_cast<ScanIssue*>(issue)));
        EXPECT_EQ(repaired.Text(), "<absent>");
        EXPECT_EQ(other.Text(), otherText);
        const std::vector<RollbackFileInfo> files = ListRollbackFiles(folder.Path());
        ASSERT_FALSE(files.empty());
        const std::string backup = folder.Path() + "\\" + files.back().name;
        std::stringstream written;
        written << std::ifstream(backup).rdbuf();
        EXPECT_NE(written.str().find(std::string("\n; registry view: ") + RollbackViewName(issue->View()) + "\n"),
                  std::string::npos)
            << written.str();
        const RestoreOutcome restored = RestoreRollbackFile(backup);
        EXPECT_TRUE(restored.parsed && restored.failedWrites == 0) << restored.error;
        EXPECT_EQ(repaired.Text(), text);
        EXPECT_EQ(other.Text(), otherText);
        DeleteFileA(backup.c_str());
    }

    // Earlier versions were 32-bit programs: a file without a view line goes back into the 32-bit view.
    const std::string old = folder.AddFile("rollback20250101120000_00.reg", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\" +
                                                                                RunKey + "]\n\"CorvadinViewTest\"=\"old\"\n");
    EXPECT_EQ(ListRollbackFiles(folder.Path()).at(0).view, "32-bit view (no view line: an earlier version's file)");
    EXPECT_TRUE(RestoreRollbackFile(old).Complete());
    EXPECT_EQ(in32.Text(), "old");
}

TEST(RegistryViewsTest, AFileOfEitherSystemFolderIsPresent)
{
    if (!IsWindows64()) {
        GTEST_SKIP() << "32-bit Windows has one system folder";
    }
    // The folder this build does not reach through "system32".
    const std::string other = WindowsFolder() + (sizeof(void*) == 8 ? "\\SysWOW64\\" : "\\Sysnative\\");
    const std::string name = "corvadin-view-only.dll";
    { std::ofstream(other + name) << "x"; }
    ASSERT_NE(GetFileAttributesA((other + name).c_str()), INVALID_FILE_ATTRIBUTES);
    const std::string named = WindowsFolder() + "\\system32\\" + name;
    ViewValue run64(RunKey, "CorvadinViewOnly", RegistryView::Bits64, named);
    ViewValue run32(RunKey, "CorvadinViewOnly", RegistryView::Bits32, named);
    ViewValue gone(RunKey, "CorvadinViewNone", RegistryView::Bits64, WindowsFolder() + "\\system32\\corvadin-no.dll");
    ViewValue font(FontsKey, "CorvadinViewOnly", RegistryView::Default, named);

    StartupProgramScanner run(nullptr);
    EXPECT_TRUE(ScanFor(run, "CorvadinViewOnly").empty());
    EXPECT_EQ(ScanFor(run, "CorvadinViewNone").size(), 1u) << "the scan looked there";
    FontFileScanner fonts(nullptr);
    EXPECT_TRUE(ScanFor(fonts, "CorvadinViewOnly").empty());
    DeleteFileA((other + name).c_str());
}
