#include "engine/IniStore.h"
#include "engine/IssueList.h"
#include "registry/CodePageText.h"
#include "registry/FileItem.h"
#include "scanners/FileChecks.h"
#include "tests/scanners/QuietChecks.h"
#include "scanners/ShortcutScanner.h"
#include "tests/scanners/ScannerTestSupport.h"
#include "tests/support/Scratch.h"
#include "tests/support/Shortcuts.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <thread>

#include <gtest/gtest.h>

namespace {

// Saves a shortcut to target through the system's own shell-link object.
void MakeShortcut(const std::string& linkPath, const std::string& target)
{
    EXPECT_TRUE(SaveShortcut(linkPath, target)) << linkPath;
}

// An IniStore whose "Shortcut" section holds the given lines.
void LoadShortcutSection(IniStore& ini, const ScratchFolder& folder, const std::string& lines)
{
    const std::string path = folder.AddFile("Corvadin.ini", "[Shortcut]\r\n" + lines);
    ini.Load(path);
}

// "Name column|description" of every issue, sorted: the file system decides the
// order in which a folder lists its entries.
std::vector<std::string> Reported(const IssueList& list)
{
    std::vector<std::string> found;
    for (int i = 0; i < list.Count(); ++i) {
        found.push_back(list.At(i)->Name() + "|" + list.At(i)->Description());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Remembers the folders a scan chooses instead of walking them.
class FolderChoice : public ShortcutScanner {
public:
    using ShortcutScanner::ShortcutScanner;
    int ScanFolder(const std::string& folder) override
    {
        folders.push_back(folder);
        return 0;
    }
    std::vector<std::string> folders;
};

}  // namespace

TEST(ShortcutScannerTest, ReportsShortcutsWhoseTargetIsGone)
{
    ScratchFolder folder("shortcut");
    const std::string root = folder.Path() + "\\links";
    const std::string present = folder.AddFile("links\\target.txt");
    folder.AddFile("links\\sub\\keep.txt");
    const std::string gone = root + "\\Old\\gone.exe";
    MakeShortcut(root + "\\Present.lnk", present);
    MakeShortcut(root + "\\Gone.lnk", gone);
    MakeShortcut(root + "\\readme.LNK", root + "\\readme.txt");
    MakeShortcut(root + "\\ToFolder.lnk", root + "\\sub");
    MakeShortcut(root + "\\sub\\Nested.lnk", root + "\\sub\\gone.doc");
    CreateDirectoryA((root + "\\folder.lnk").c_str(), nullptr);
    MakeShortcut(root + "\\folder.lnk\\Inner.lnk", root + "\\inner.exe");
    MakeShortcut(root + "\\.hidden.lnk", gone);
    CreateDirectoryA((root + "\\.cache").c_str(), nullptr);
    MakeShortcut(root + "\\.cache\\Cached.lnk", gone);
    folder.AddFile("links\\NotALink.lnk", "no shortcut in here");
    folder.AddFile("links\\notes.txt");
    // A drive root is a folder the folder test cannot see; a drive that is not
    // there right now may come back with the target on it.
    MakeShortcut(root + "\\Drive.lnk", "C:\\");
    MakeShortcut(root + "\\Absent.lnk", "Q:\\Tools\\tool.exe");

    IniStore ini;
    LoadShortcutSection(ini, folder, "a=" + root + "\r\n");
    ShortcutScanner scanner(&ini);
    IssueList list;
    std::vector<std::string> lines;
    int subfolders = 0;
    {
        const LogCapture log(folder.Path() + "\\scan.log");
        subfolders = scanner.Scan(&list);
        lines = log.Lines();
    }

    EXPECT_EQ(Reported(list), (std::vector<std::string>{
                                  root + "Gone.lnk| missing target file:" + gone,
                                  root + "\\folder.lnkInner.lnk| missing target file:" + root + "\\inner.exe",
                                  root + "\\subNested.lnk| missing target file:" + root + "\\sub\\gone.doc",
                                  root + "readme.LNK| missing target file:" + root + "\\readme.txt",
                              }));
    EXPECT_EQ(subfolders, 2);
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.At(i)->Kind(), FileIssue);
        EXPECT_EQ(list.At(i)->Source(), "Shortcut");
        const auto* item = static_cast<FileItem*>(list.At(i)->Target());
        EXPECT_EQ(item->FullPath().rfind(root, 0), 0u);
        EXPECT_TRUE(FileExists(item->FullPath()));
    }
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Shortcut:start");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Shortcut: missing target file:" + gone), lines.end());
}

// A shortcut in a folder the code page cannot name, or to a target it cannot name, is passed over: through the
// code page it would be judged, and deleted, as another file.
TEST(ShortcutScannerTest, NamesOutsideTheCodePageArePassedOver)
{
    if (GetACP() == CP_UTF8) {
        GTEST_SKIP() << "every character fits a UTF-8 code page";
    }
    ScratchFolder folder("shortcut-codepage");
    const std::wstring cyrillic = Widen(folder.Path()) + L"\\\u0422\u0435\u0441\u0442";
    ASSERT_TRUE(CreateDirectoryW(cyrillic.c_str(), nullptr));
    const auto saveWide = [](const std::wstring& linkPath, const std::wstring& target) {
        IShellLinkW* link = nullptr;
        IPersistFile* file = nullptr;
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                                  reinterpret_cast<void**>(&link)));
        link->SetPath(target.c_str());
        ASSERT_HRESULT_SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
        EXPECT_HRESULT_SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
        file->Release();
        link->Release();
    };
    saveWide(cyrillic + L"\\gone.lnk", L"C:\\corvadin-gone\\a.txt");
    saveWide(Widen(folder.Path()) + L"\\cyrillic-target.lnk", cyrillic + L"\\gone.txt");
    IniStore ini;
    LoadShortcutSection(ini, folder, "1=" + folder.Path() + "\r\n");

    ShortcutScanner scanner(&ini);
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(Reported(list), std::vector<std::string>{});
    EXPECT_EQ(scanner.ScanGaps().outsideCodePage, 2);
}

TEST(ShortcutScannerTest, WalksTheConfiguredFoldersInKeyOrderOrElseDriveC)
{
    ScratchFolder folder("shortcut-folders");
    IniStore ini;
    {
        FolderChoice scanner(&ini);
        scanner.Scan(nullptr);
        EXPECT_EQ(scanner.folders, std::vector<std::string>{"C:"});
    }
    LoadShortcutSection(ini, folder, "");
    ASSERT_EQ(ini.SectionSize("Shortcut"), 0);
    {
        FolderChoice scanner(&ini);
        scanner.Scan(nullptr);
        EXPECT_EQ(scanner.folders, std::vector<std::string>{"C:"});
    }
    LoadShortcutSection(ini, folder, "b=D:\\Two\r\na=D:\\One\r\nc=\r\nd=\\\\127.0.0.1\\share\r\n");
    {
        FolderChoice scanner(&ini);
        scanner.Scan(nullptr);
        EXPECT_EQ(scanner.folders, (std::vector<std::string>{"D:\\One", "D:\\Two"}));
    }
}

TEST(ShortcutScannerTest, ScansOnAThreadOfItsOwnAndLeavesThatThreadsComAsItWas)
{
    ScratchFolder folder("shortcut-thread");
    MakeShortcut(folder.Path() + "\\Gone.lnk", folder.Path() + "\\gone.exe");
    IniStore ini;
    LoadShortcutSection(ini, folder, "a=" + folder.Path() + "\r\n");

    auto linkCanBeMade = [] {
        IShellLinkA* link = nullptr;
        const HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                                reinterpret_cast<void**>(&link));
        if (SUCCEEDED(result)) {
            link->Release();
        }
        return SUCCEEDED(result);
    };

    // A worker thread without COM: the scan brings COM up and takes it down again.
    int withoutCom = -1;
    bool comAfterwards = true;
    std::thread([&] {
        ShortcutScanner scanner(&ini);
        IssueList list;
        scanner.Scan(&list);
        withoutCom = list.Count();
        comAfterwards = linkCanBeMade();
    }).join();
    EXPECT_EQ(withoutCom, 1);
    EXPECT_FALSE(comAfterwards);

    // A thread already in the multithreaded apartment keeps its COM after the scan.
    bool keptCom = false;
    std::thread([&] {
        ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        ShortcutScanner scanner(&ini);
        IssueList list;
        scanner.Scan(&list);
        keptCom = linkCanBeMade();
        CoUninitialize();
    }).join();
    EXPECT_TRUE(keptCom);
}

TEST(ShortcutScannerTest, AStopEndsTheWalkAfterTheShortcutInHandAndKeepsItsIssue)
{
    ScratchFolder folder("shortcut-stop");
    MakeShortcut(folder.Path() + "\\One.lnk", folder.Path() + "\\one.exe");
    MakeShortcut(folder.Path() + "\\Two.lnk", folder.Path() + "\\two.exe");
    CreateDirectoryA((folder.Path() + "\\sub").c_str(), nullptr);
    MakeShortcut(folder.Path() + "\\sub\\Three.lnk", folder.Path() + "\\three.exe");
    IniStore ini;
    LoadShortcutSection(ini, folder, "a=" + folder.Path() + "\r\nb=" + folder.Path() + "\r\n");

    ShortcutScanner scanner(&ini);
    const StopSink stop(scanner, ".lnk");
    IssueList list;
    scanner.Scan(&list);
    EXPECT_EQ(list.Count(), 1);
}

// Wine keeps its drive letters as links in one folder of its prefix, z: among them: the whole Unix tree, which holds
// that folder again. The sink stops a walk that steps into a link, where it would go round for good.
TEST(ShortcutScannerTest, FolderLinksAreNotFollowedSoALinkLoopCannotHoldTheWalk)
{
    char prefix[MAX_PATH] = "";
    std::string links = "Z:" + std::string(prefix, GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH));
    std::replace(links.begin(), links.end(), '/', '\\');
    ScratchFolder folder("shortcut-loop");
    IniStore ini;
    LoadShortcutSection(ini, folder, "a=" + links + "\\dosdevices\r\n");
    ShortcutScanner scanner(&ini);
    const StopSink stop(scanner, links + "\\dosdevices\\");
    EXPECT_TRUE(links == "Z:" || scanner.Scan(nullptr) == 0) << links;
}
