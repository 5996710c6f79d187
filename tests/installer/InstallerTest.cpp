// A silent installation and removal with this build's installer, checked from outside as a user would find
// it: the program files, the Start-menu shortcuts and the registry entries; and that the uninstaller takes away
// what was installed and what the program wrote, and nothing of the user's.
#include "CorvadinVersion.h"
#include "registry/UniqueHandle.h"
#include "settings/FolderProtection.h"
#include "settings/SettingsStore.h"
#include "settings/StartTask.h"
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
constexpr const char* AppPathKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Corvadin.exe";

constexpr bool PacksWindowProgram = CORVADIN_GUI_EXE_PATH[0] != '\0';
constexpr bool PacksCliProgram = CORVADIN_CLI_EXE_PATH[0] != '\0';

// The setup installs the 64-bit programs wherever Windows runs them and it has them.
bool Installs64()
{
    BOOL wow64 = FALSE;
    return sizeof(void*) == 8 ||
           (IsWow64Process(GetCurrentProcess(), &wow64) && wow64 && CORVADIN_PACKED_X64_DIR[0] != '\0');
}

std::string PackedProgram(const std::string& program)
{
    return WindowsPath(Installs64() && sizeof(void*) == 4 ? CORVADIN_PACKED_X64_DIR : CORVADIN_PACKED_DIR) + "\\" +
           program;
}

std::string Environment(const char* name)
{
    char text[MAX_PATH] = {};
    return GetEnvironmentVariableA(name, text, MAX_PATH) ? text : "";
}

// One view of HKEY_LOCAL_MACHINE: every key is opened in it, so that this test sees what the setup wrote
// whatever its own bitness.
class MachineView {
public:
    explicit MachineView(REGSAM view) : view_(view) {}

    std::optional<std::string> Text(const std::string& path, const std::string& name) const
    {
        const UniqueHkey key = Open(path, KEY_READ);
        return key ? ReadText(key.get(), "", name) : std::nullopt;
    }
    bool Has(const std::string& path) const { return Open(path, KEY_READ).valid(); }
    bool Write(const std::string& path, const std::string& name, const std::string& text, DWORD type = REG_SZ) const
    {
        UniqueHkey key;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view_, nullptr, key.put(),
                        nullptr);
        return key && WriteText(key.get(), "", name, text, type);
    }
    // Takes one value away, or the whole key when no name is given.
    void Remove(const std::string& path, const std::string& name = "") const
    {
        const UniqueHkey key = Open(path, KEY_ALL_ACCESS);
        if (key && !name.empty()) {
            RegDeleteValueA(key.get(), name.c_str());
        } else if (key) {
            RegDeleteTreeA(key.get(), nullptr);
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), view_, 0);
        }
    }

private:
    UniqueHkey Open(const std::string& path, REGSAM access) const
    {
        UniqueHkey key;
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access | view_, key.put());
        return key;
    }

    REGSAM view_;
};

// Where the setup writes, and where an installation of the other bitness would be.
const MachineView Installed(Installs64() ? KEY_WOW64_64KEY : KEY_WOW64_32KEY);
const MachineView Other(Installs64() ? KEY_WOW64_32KEY : KEY_WOW64_64KEY);

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
        for (const std::string& folder :
             {Folder(), DefaultFolder(), OtherDefaultFolder(), RootFolder(), SharedFolder()}) {
            fs::remove_all(folder, ignored);
        }
        fs::remove_all(StartMenu(), ignored);
        for (const MachineView& view : {Installed, Other}) {
            for (const char* key : {UninstallKey, SettingsKey, NeighbourKey, AppPathKey}) {
                view.Remove(key);
            }
            view.Remove(RunKey, "Corvadin");
            view.Remove(RunKey, NeighbourRunValue);
            view.Remove(RunOnceKey, "Fenwarder");
        }
        (void)RemoveStartTask(LogonScanTask());
    }

    static std::string Folder() { return "C:\\Program Files\\Corvadin Install Test"; }
    static std::string RootFolder() { return "C:\\Corvadin Protection Test"; }
    // Where the setup installs without /D=, and where the other bitness's setup did.
    static std::string DefaultFolder()
    {
        return Environment(Installs64() ? "ProgramW6432" : "ProgramFiles") + "\\Corvadin";
    }
    static std::string OtherDefaultFolder() { return Environment("ProgramFiles(x86)") + "\\Corvadin"; }
    static std::string SharedFolder() { return "C:\\Corvadin Test Shared Tools"; }
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
        const std::optional<std::string> command = Installed.Text(UninstallKey, "QuietUninstallString");
        return command && RunToEnd(*command) == 0 && WaitUntil([] { return !Installed.Has(UninstallKey); }, 180000);
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
        const std::string packed = ReadWholeFile(PackedProgram(program));
        ASSERT_FALSE(packed.empty()) << program;
        EXPECT_EQ(ReadWholeFile(InFolder(program)), packed) << program << " is not this build's";
    }
    if (PacksWindowProgram) {
        const std::optional<Shortcut> program = ReadShortcut((StartMenu() / "Corvadin.lnk").string());
        ASSERT_TRUE(program);
        EXPECT_EQ(program->target, InFolder("Corvadin.exe"));
        EXPECT_EQ(program->folder, Folder()) << "rollback files and Corvadin.ini belong in the program's folder";
        EXPECT_EQ(Installed.Text(RunKey, "Corvadin"), RunCommand()) << "quoted, since the folder's name has a blank";
        EXPECT_TRUE(StartTaskExists(LogonScanTask())) << "the Run value alone does not start it under UAC";
        EXPECT_EQ(Installed.Text(AppPathKey, ""), InFolder("Corvadin.exe"));
    }
    const std::optional<Shortcut> readme = ReadShortcut((StartMenu() / "Corvadin README.lnk").string());
    ASSERT_TRUE(readme);
    EXPECT_EQ(readme->target, InFolder("README.txt"));

    EXPECT_EQ(Installed.Text(UninstallKey, "DisplayName"), "Corvadin");
    EXPECT_EQ(Installed.Text(UninstallKey, "DisplayVersion"), CORVADIN_VERSION_TEXT);
    EXPECT_EQ(Installed.Text(UninstallKey, "InstallLocation"), Folder());
    EXPECT_EQ(Installed.Text(UninstallKey, "UninstallString"), Quoted(InFolder("uninstall.exe")));

    if (PacksCliProgram) {
        EXPECT_EQ(RunToEnd(Quoted(InFolder("corvadin-cli.exe")) + " --help"), 0) << "the installed program runs";
    }
    ASSERT_TRUE(Uninstall());
}

TEST_F(InstallerTest, UninstallRemovesWhatWasInstalledAndWrittenButKeepsTheUsersFiles)
{
    ASSERT_EQ(Setup("/STARTATLOGON"), 0);
    // What the program writes while in use, and what belongs to others or to the user.
    EXPECT_TRUE(Installed.Write(RunOnceKey, "Fenwarder", InFolder("Corvadin.exe") + " /scannow"));
    EXPECT_TRUE(Installed.Write(SettingsKey, "KeepHistory", "1"));
    EXPECT_TRUE(Installed.Write(std::string(SettingsKey) + "\\Nested", "Value", "x"));
    EXPECT_TRUE(Installed.Write(NeighbourKey, "Value", "kept"));
    EXPECT_TRUE(Installed.Write(RunKey, NeighbourRunValue, "C:\\Windows\\notepad.exe"));
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
    EXPECT_FALSE(Installed.Text(RunKey, "Corvadin"));
    EXPECT_FALSE(Installed.Text(RunOnceKey, "Fenwarder"));
    EXPECT_FALSE(Installed.Has(SettingsKey));
    EXPECT_FALSE(Installed.Has(AppPathKey));
    EXPECT_FALSE(StartTaskExists(LogonScanTask()));

    for (const std::string& file : userFiles) {
        EXPECT_EQ(ReadWholeFile(InFolder(file)), "the user's") << file;
    }
    EXPECT_EQ(Installed.Text(NeighbourKey, "Value"), "kept");
    EXPECT_EQ(Installed.Text(RunKey, NeighbourRunValue), "C:\\Windows\\notepad.exe");
}

TEST_F(InstallerTest, WithoutTheLogonOptionNothingStartsAtLogonAndNothingIsLeftBehind)
{
    ASSERT_EQ(Setup(""), 0);
    EXPECT_FALSE(Installed.Text(RunKey, "Corvadin"));
    EXPECT_TRUE(Installed.Write(SettingsKey, "ScanFolders", "0"));

    ASSERT_TRUE(Uninstall());
    EXPECT_FALSE(fs::exists(Folder()));
    EXPECT_FALSE(fs::exists(StartMenu()));
    EXPECT_FALSE(Installed.Has(SettingsKey));
}

TEST_F(InstallerTest, AnUpdateKeepsTheLogonStartUnlessToldOtherwise)
{
    if (!PacksWindowProgram) {
        GTEST_SKIP() << "only Corvadin.exe starts at log-on";
    }
    ASSERT_EQ(Setup("/STARTATLOGON"), 0);
    ASSERT_EQ(Setup(""), 0);
    EXPECT_EQ(Installed.Text(RunKey, "Corvadin"), RunCommand());

    ASSERT_EQ(Setup("/NOSTARTATLOGON"), 0);
    EXPECT_FALSE(Installed.Text(RunKey, "Corvadin"));
    EXPECT_FALSE(StartTaskExists(LogonScanTask()));
    ASSERT_TRUE(Uninstall());
}

// What the 32-bit setup of earlier versions left on 64-bit Windows: its folder in "Program Files (x86)" with the
// user's files beside the programs, and its entries in the 32-bit view. Without /D= the 64-bit programs go into
// the 64-bit Program Files folder.
TEST_F(InstallerTest, AnUpdateReplacesAnInstallationOfTheOtherBitnessAndKeepsWhatIsTheUsers)
{
    if (!Installs64()) {
        GTEST_SKIP() << "only 64-bit Windows has a view of the other bitness";
    }
    const std::string old = OtherDefaultFolder();
    const std::vector<std::string> usersFiles = {"Corvadin.ini", "rollback20260101120000_00.reg"};
    fs::create_directories(old);
    for (const std::string file : {"Corvadin.exe", "uninstall.exe", "Corvadin.ini", "rollback20260101120000_00.reg"}) {
        std::ofstream(old + "\\" + file, std::ios::binary) << "old " << file;
    }
    ASSERT_TRUE(Other.Write(UninstallKey, "InstallLocation", old));
    ASSERT_TRUE(Other.Write(RunKey, "Corvadin", Quoted(old + "\\Corvadin.exe") + " /scanstartup"));
    ASSERT_TRUE(Other.Write(RunOnceKey, "Fenwarder", old + "\\Corvadin.exe /scannow"));
    ASSERT_TRUE(Other.Write(SettingsKey, "KeepHistory", "1"));
    ASSERT_TRUE(Other.Write(std::string(SettingsKey) + "\\Ignored", "entry", std::string("a\0b\0c\0", 6),
                            REG_MULTI_SZ));

    ASSERT_EQ(RunToEnd(Quoted(WindowsPath(CORVADIN_SETUP_PATH)) + " /S"), 0);

    EXPECT_EQ(Installed.Text(UninstallKey, "InstallLocation"), DefaultFolder());
    EXPECT_EQ(DefaultFolder().find("(x86)"), std::string::npos) << DefaultFolder();
    for (const std::string& program : InstalledPrograms()) {
        EXPECT_EQ(ReadWholeFile(DefaultFolder() + "\\" + program), ReadWholeFile(PackedProgram(program))) << program;
    }
    EXPECT_EQ(Installed.Text(RunKey, "Corvadin"), Quoted(DefaultFolder() + "\\Corvadin.exe") + " /scanstartup");
    EXPECT_TRUE(StartTaskExists(LogonScanTask()));
    EXPECT_EQ(Installed.Text(SettingsKey, "KeepHistory"), "1") << "the settings move with the program";
    EXPECT_TRUE(Installed.Has(std::string(SettingsKey) + "\\Ignored"));
    EXPECT_FALSE(Other.Has(UninstallKey) || Other.Has(SettingsKey));
    EXPECT_FALSE(Other.Text(RunKey, "Corvadin") || Other.Text(RunOnceKey, "Fenwarder")) << "they start what is gone";
    EXPECT_FALSE(fs::exists(old));
    for (const std::string& file : usersFiles) {
        EXPECT_EQ(ReadWholeFile(DefaultFolder() + "\\" + file), "old " + file) << "moved with the program";
    }
    ASSERT_TRUE(Uninstall());
}

// Every user may change a folder made at the root of C:: the setup gives it the permissions of Program Files.
TEST_F(InstallerTest, ProtectsAFolderOutsideProgramFilesThatUsersMayChange)
{
    fs::create_directories(RootFolder());
    ASSERT_TRUE(LetEveryoneWrite(RootFolder()));
    ASSERT_EQ(RunToEnd(Quoted(WindowsPath(CORVADIN_SETUP_PATH)) + " /S /D=" + RootFolder()), 0);
    const FolderProtection protection = CheckFolderProtection(RootFolder());
    EXPECT_EQ(protection.state, FolderProtection::State::Protected) << protection.permissions;
    EXPECT_NE(protection.permissions.find("(A;OICI;0x1200a9;;;"), std::string::npos) << "users read and run";
}

// The other bitness's installation shares its folder with another program: only what its list names (inside the
// folder) and the user's Corvadin files leave it. The same folder spelled otherwise is not an installation elsewhere.
TEST_F(InstallerTest, AnUpdateTakesOnlyItsOwnFilesFromAFolderSharedWithAnotherProgram)
{
    if (!Installs64()) {
        GTEST_SKIP() << "only 64-bit Windows has a view of the other bitness";
    }
    const std::string shared = SharedFolder() + "\\";
    fs::create_directories(shared);
    std::ofstream("C:\\corvadin-test-outside.txt") << "x";
    for (const std::string file : {"tool.exe", "Corvadin.exe", "run20260101120000_00.txt", "my.log"}) {
        std::ofstream(shared + file) << file;
    }
    std::ofstream(shared + "Corvadin.ini") << "[Common]\nLogName=my.log\n";
    std::ofstream(shared + "Corvadin-files.txt") << "Corvadin.exe\r\n..\\corvadin-test-outside.txt\r\n";
    ASSERT_TRUE(Other.Write(UninstallKey, "InstallLocation", SharedFolder()));
    ASSERT_EQ(Setup(""), 0);
    EXPECT_EQ(ReadWholeFile(shared + "tool.exe"), "tool.exe") << "another program's";
    EXPECT_FALSE(fs::exists(shared + "Corvadin.exe"));
    EXPECT_TRUE(DeleteFileA("C:\\corvadin-test-outside.txt"));
    for (const std::string file : {"run20260101120000_00.txt", "my.log", "Corvadin.ini"}) {
        EXPECT_TRUE(fs::exists(InFolder(file)) && !fs::exists(shared + file)) << file << " moves with the program";
    }
    ASSERT_TRUE(Other.Write(UninstallKey, "InstallLocation", "C:\\PROGRAM FILES\\CORVADIN INSTALL TEST\\"));
    ASSERT_EQ(Setup(""), 0);
    EXPECT_TRUE(fs::is_regular_file(InFolder("uninstall.exe"))) << "the programs just installed stay";
    ASSERT_TRUE(Uninstall());
}

TEST_F(InstallerTest, ARunningCopyStopsASilentInstallOrUninstallBeforeAnythingChanges)
{
    ASSERT_EQ(Setup(""), 0);
    {
        const RunningCopy running;
        ASSERT_TRUE(running.Started());
        EXPECT_EQ(Setup("/STARTATLOGON"), 2);
        EXPECT_FALSE(Installed.Text(RunKey, "Corvadin"));
        // _?= runs the uninstaller in place, so that its exit code is the one that counts.
        EXPECT_EQ(RunToEnd(Quoted(InFolder("uninstall.exe")) + " /S _?=" + Folder()), 2);
        for (const std::string& file : InstalledFiles()) {
            EXPECT_TRUE(fs::exists(InFolder(file))) << file;
        }
        EXPECT_TRUE(Installed.Has(UninstallKey));
    }
    ASSERT_TRUE(Uninstall());
    EXPECT_FALSE(fs::exists(Folder()));
}

}  // namespace
