// A silent installation and removal with this build's installer, checked from outside as a user would find
// it: the program files, the Start-menu shortcuts and the registry entries; and that the uninstaller takes away
// what was installed and what the program wrote, and nothing of the user's.
#include "CorvadinVersion.h"
#include "settings/SettingsStore.h"
#include "tests/installer/ReleaseFiles.h"
#include "tests/support/Files.h"
#include "tests/support/PlainRegistry.h"
#include "tests/support/Programs.h"
#include "tests/support/Shortcuts.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvadin";
constexpr const char* RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* RunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* SettingsKey = "Software\\Quenmark\\Corvadin";
constexpr const char* NeighbourKey = "Software\\Quenmark\\CorvadinTestNeighbour";
constexpr const char* NeighbourRunValue = "CorvadinTestNeighbour";

constexpr bool PacksWindowProgram = CORVADIN_GUI_EXE_PATH[0] != '\0';
constexpr bool PacksCliProgram = CORVADIN_CLI_EXE_PATH[0] != '\0';

// ---- Processes and files ----

// A path in double quotes, as a command line needs it when the path holds blanks.
std::string Quoted(const std::string& path)
{
    std::string quoted(1, '"');
    quoted.append(path).push_back('"');
    return quoted;
}

std::string CommonProgramsFolder()
{
    char folder[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

// A stand-in for a running Corvadin: a hidden top-level window with the caption of its owner window.
class RunningCopy {
public:
    RunningCopy()
        : window_(CreateWindowExA(0, "STATIC", "zintavodlg", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr))
    {
    }
    ~RunningCopy() { DestroyWindow(window_); }
    RunningCopy(const RunningCopy&) = delete;
    RunningCopy& operator=(const RunningCopy&) = delete;

    bool Started() const { return window_ != nullptr; }

private:
    HWND window_;
};

// ---- The fixture: one installation folder with a blank in its name, cleared before and after ----

class InstallerTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (CORVADIN_SETUP_PATH[0] == '\0') {
            GTEST_SKIP() << "this build makes no installer";
        }
        RemoveLeftovers();
    }

    void TearDown() override
    {
        if (CORVADIN_SETUP_PATH[0] != '\0') {
            RemoveLeftovers();
        }
    }

    static void RemoveLeftovers()
    {
        std::error_code ignored;
        fs::remove_all(Folder(), ignored);
        fs::remove_all(StartMenu(), ignored);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, UninstallKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, SettingsKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, NeighbourKey);
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, RunKey, "Corvadin");
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, RunKey, NeighbourRunValue);
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, RunOnceKey, "Fenwarder");
    }

    static std::string Folder() { return "C:\\Program Files\\Corvadin Install Test"; }
    static std::string InFolder(const std::string& file) { return Folder() + "\\" + file; }
    static fs::path StartMenu() { return fs::path(CommonProgramsFolder()) / "Corvadin"; }

    // The installer's exit code: 0 installed, 2 refused.
    static long Setup(const std::string& options)
    {
        // /D= comes last and unquoted, blanks and all.
        return RunToEnd(Quoted(WindowsPath(CORVADIN_SETUP_PATH)) + " /S " + options + " /D=" + Folder());
    }

    // Uninstalls the way the list of installed programs does, with the entry's own command. The uninstaller
    // hands over to a copy of itself and returns at once; it removes its entry last.
    static bool Uninstall()
    {
        const std::optional<std::string> command = ReadText(HKEY_LOCAL_MACHINE, UninstallKey, "QuietUninstallString");
        return command && RunToEnd(*command) == 0 &&
               WaitUntil([] { return !KeyExists(HKEY_LOCAL_MACHINE, UninstallKey); }, 180000);
    }

    static std::vector<std::string> InstalledPrograms()
    {
        std::vector<std::string> programs;
        if (PacksWindowProgram) {
            programs.push_back("Corvadin.exe");
        }
        if (PacksCliProgram) {
            programs.push_back("corvadin-cli.exe");
        }
        return programs;
    }

    static std::vector<std::string> InstalledFiles()
    {
        std::vector<std::string> files = InstalledPrograms();
        files.insert(files.end(), {"README.txt", "uninstall.exe", "Sound\\notify.wav"});
        // Every help page the program can open.
        for (const HelpPage& page : HelpPages()) {
            files.push_back(WindowsPath("Help" + std::string(page.path)));
        }
        return files;
    }

    static std::string RunCommand() { return Quoted(InFolder("Corvadin.exe")) + " /scanstartup"; }
};

TEST_F(InstallerTest, InstallsTheProgramsWithShortcutsAndAnUninstallEntry)
{
    ASSERT_EQ(Setup("/STARTATLOGON"), 0);

    for (const std::string& file : InstalledFiles()) {
        EXPECT_TRUE(fs::is_regular_file(InFolder(file))) << file;
    }
    for (const std::string& program : InstalledPrograms()) {
        const std::string packed = ReadWholeFile(WindowsPath(CORVADIN_PACKED_DIR) + "\\" + program);
        ASSERT_FALSE(packed.empty()) << program;
        EXPECT_EQ(ReadWholeFile(InFolder(program)), packed) << program << " is not this build's";
    }
    if (PacksWindowProgram) {
        const std::optional<Shortcut> program = ReadShortcut((StartMenu() / "Corvadin.lnk").string());
        ASSERT_TRUE(program);
        EXPECT_EQ(program->target, InFolder("Corvadin.exe"));
        EXPECT_EQ(program->folder, Folder()) << "rollback files and Corvadin.ini belong in the program's folder";
        EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, RunKey, "Corvadin"), RunCommand())
            << "quoted, since the folder's name has a blank";
    }
    const std::optional<Shortcut> readme = ReadShortcut((StartMenu() / "Corvadin README.lnk").string());
    ASSERT_TRUE(readme);
    EXPECT_EQ(readme->target, InFolder("README.txt"));

    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName"), "Corvadin");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayVersion"), CORVADIN_VERSION_TEXT);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation"), Folder());
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString"), Quoted(InFolder("uninstall.exe")));

    if (PacksCliProgram) {
        EXPECT_EQ(RunToEnd(Quoted(InFolder("corvadin-cli.exe")) + " --help"), 0) << "the installed program runs";
    }
    ASSERT_TRUE(Uninstall());
}

TEST_F(InstallerTest, UninstallRemovesWhatWasInstalledAndWrittenButKeepsTheUsersFiles)
{
    ASSERT_EQ(Setup("/STARTATLOGON"), 0);
    // What the program writes while in use, and what belongs to others or to the user.
    EXPECT_TRUE(WriteText(HKEY_LOCAL_MACHINE, RunOnceKey, "Fenwarder", InFolder("Corvadin.exe") + " /scannow"));
    EXPECT_TRUE(WriteText(HKEY_LOCAL_MACHINE, SettingsKey, "KeepHistory", "1"));
    EXPECT_TRUE(WriteText(HKEY_LOCAL_MACHINE, (std::string(SettingsKey) + "\\Nested").c_str(), "Value", "x"));
    EXPECT_TRUE(WriteText(HKEY_LOCAL_MACHINE, NeighbourKey, "Value", "kept"));
    EXPECT_TRUE(WriteText(HKEY_LOCAL_MACHINE, RunKey, NeighbourRunValue, "C:\\Windows\\notepad.exe"));
    const std::vector<std::string> userFiles = {"rollback20260101120000_00.reg", "file20260101120000_01.fso",
                                                "Corvadin.ini", "corvadin.log"};
    for (const std::string& file : userFiles) {
        std::ofstream(InFolder(file), std::ios::binary) << "the user's";
    }

    ASSERT_TRUE(Uninstall());

    for (const std::string& file : InstalledFiles()) {
        EXPECT_FALSE(fs::exists(InFolder(file))) << file;
    }
    EXPECT_FALSE(fs::exists(InFolder("Sound")));
    EXPECT_FALSE(fs::exists(InFolder("Help")));
    EXPECT_FALSE(fs::exists(StartMenu()));
    EXPECT_FALSE(ReadText(HKEY_LOCAL_MACHINE, RunKey, "Corvadin"));
    EXPECT_FALSE(ReadText(HKEY_LOCAL_MACHINE, RunOnceKey, "Fenwarder"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, SettingsKey));

    for (const std::string& file : userFiles) {
        EXPECT_EQ(ReadWholeFile(InFolder(file)), "the user's") << file;
    }
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, NeighbourKey, "Value"), "kept");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, RunKey, NeighbourRunValue), "C:\\Windows\\notepad.exe");
}

TEST_F(InstallerTest, WithoutTheLogonOptionNothingStartsAtLogonAndNothingIsLeftBehind)
{
    ASSERT_EQ(Setup(""), 0);
    EXPECT_FALSE(ReadText(HKEY_LOCAL_MACHINE, RunKey, "Corvadin"));
    EXPECT_TRUE(WriteText(HKEY_LOCAL_MACHINE, SettingsKey, "ScanFolders", "0"));

    ASSERT_TRUE(Uninstall());
    EXPECT_FALSE(fs::exists(Folder()));
    EXPECT_FALSE(fs::exists(StartMenu()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, SettingsKey));
}

TEST_F(InstallerTest, AnUpdateKeepsTheLogonStartUnlessToldOtherwise)
{
    if (!PacksWindowProgram) {
        GTEST_SKIP() << "only Corvadin.exe starts at log-on";
    }
    ASSERT_EQ(Setup("/STARTATLOGON"), 0);
    ASSERT_EQ(Setup(""), 0);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, RunKey, "Corvadin"), RunCommand());

    ASSERT_EQ(Setup("/NOSTARTATLOGON"), 0);
    EXPECT_FALSE(ReadText(HKEY_LOCAL_MACHINE, RunKey, "Corvadin"));
    ASSERT_TRUE(Uninstall());
}

TEST_F(InstallerTest, ARunningCopyStopsASilentInstallOrUninstallBeforeAnythingChanges)
{
    ASSERT_EQ(Setup(""), 0);
    {
        const RunningCopy running;
        ASSERT_TRUE(running.Started());
        EXPECT_EQ(Setup("/STARTATLOGON"), 2);
        EXPECT_FALSE(ReadText(HKEY_LOCAL_MACHINE, RunKey, "Corvadin"));
        // _?= runs the uninstaller in place, so that its exit code is the one that counts.
        EXPECT_EQ(RunToEnd(Quoted(InFolder("uninstall.exe")) + " /S _?=" + Folder()), 2);
        for (const std::string& file : InstalledFiles()) {
            EXPECT_TRUE(fs::exists(InFolder(file))) << file;
        }
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
    }
    ASSERT_TRUE(Uninstall());
    EXPECT_FALSE(fs::exists(Folder()));
}

}  // namespace
