// A silent installation and removal with this build's installer, checked from outside as a user would find
// it: the program files, the Start-menu shortcuts and the registry entries; and that the uninstaller takes away
// what was installed and what the program wrote, and nothing of the user's.
#include "CorvadinVersion.h"
#include "tests/installer/ReleaseFiles.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
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

// ---- Registry, under HKEY_LOCAL_MACHINE as the installer writes it ----

std::optional<std::string> ReadText(const char* path, const char* name)
{
    char text[2048];
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, path, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(text);
}

void WriteText(const char* path, const char* name, const std::string& text)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

bool KeyExists(const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// ---- Processes and files ----

// A path in double quotes, as a command line needs it when the path holds blanks.
std::string Quoted(const std::string& path)
{
    std::string quoted(1, '"');
    quoted.append(path).push_back('"');
    return quoted;
}


// Runs a command line to its end; its exit code, or -1 when it cannot start or does not end in time.
long RunToEnd(std::string commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 180000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

bool WaitUntil(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return true;
}

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string CommonProgramsFolder()
{
    char folder[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

struct ReleaseCom {
    void operator()(IUnknown* object) const { object->Release(); }
};

struct Shortcut {
    std::string target;
    std::string folder;
};

std::optional<Shortcut> ReadShortcut(const fs::path& path)
{
    IShellLinkA* rawLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&rawLink)))) {
        return std::nullopt;
    }
    const std::unique_ptr<IShellLinkA, ReleaseCom> link(rawLink);
    IPersistFile* rawFile = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile)))) {
        return std::nullopt;
    }
    const std::unique_ptr<IPersistFile, ReleaseCom> file(rawFile);
    if (FAILED(file->Load(path.wstring().c_str(), STGM_READ))) {
        return std::nullopt;
    }
    char target[MAX_PATH] = {};
    char folder[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(folder, MAX_PATH);
    return Shortcut{target, folder};
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
        const std::optional<std::string> command = ReadText(UninstallKey, "QuietUninstallString");
        return command && RunToEnd(*command) == 0 && WaitUntil([] { return !KeyExists(UninstallKey); });
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
        const std::string packed = ReadFile(WindowsPath(CORVADIN_PACKED_DIR) + "\\" + program);
        ASSERT_FALSE(packed.empty()) << program;
        EXPECT_EQ(ReadFile(InFolder(program)), packed) << program << " is not this build's";
    }
    if (PacksWindowProgram) {
        const std::optional<Shortcut> program = ReadShortcut(StartMenu() / "Corvadin.lnk");
        ASSERT_TRUE(program);
        EXPECT_EQ(program->target, InFolder("Corvadin.exe"));
        EXPECT_EQ(program->folder, Folder()) << "rollback files and Corvadin.ini belong in the program's folder";
        EXPECT_EQ(ReadText(RunKey, "Corvadin"), RunCommand()) << "quoted, since the folder's name has a blank";
    }
    const std::optional<Shortcut> readme = ReadShortcut(StartMenu() / "Corvadin README.lnk");
    ASSERT_TRUE(readme);
    EXPECT_EQ(readme->target, InFolder("README.txt"));

    EXPECT_EQ(ReadText(UninstallKey, "DisplayName"), "Corvadin");
    EXPECT_EQ(ReadText(UninstallKey, "DisplayVersion"), CORVADIN_VERSION_TEXT);
    EXPECT_EQ(ReadText(UninstallKey, "InstallLocation"), Folder());
    EXPECT_EQ(ReadText(UninstallKey, "UninstallString"), Quoted(InFolder("uninstall.exe")));

    if (PacksCliProgram) {
        EXPECT_EQ(RunToEnd(Quoted(InFolder("corvadin-cli.exe")) + " --help"), 0) << "the installed program runs";
    }
    ASSERT_TRUE(Uninstall());
}

TEST_F(InstallerTest, UninstallRemovesWhatWasInstalledAndWrittenButKeepsTheUsersFiles)
{
    ASSERT_EQ(Setup("/STARTATLOGON"), 0);
    // What the program writes while in use, and what belongs to others or to the user.
    WriteText(RunOnceKey, "Fenwarder", InFolder("Corvadin.exe") + " /scannow");
    WriteText(SettingsKey, "KeepHistory", "1");
    WriteText((std::string(SettingsKey) + "\\Nested").c_str(), "Value", "x");
    WriteText(NeighbourKey, "Value", "kept");
    WriteText(RunKey, NeighbourRunValue, "C:\\Windows\\notepad.exe");
    const std::vector<std::string> userFiles = {"rollback20260101120000_00.reg", "file20260101120000_01.fso",
                                                "Corvadin.ini", "corvadin.log"};
    for (const std::string& file : userFiles) {
        WriteFile(InFolder(file), "the user's");
    }

    ASSERT_TRUE(Uninstall());

    for (const std::string& file : InstalledFiles()) {
        EXPECT_FALSE(fs::exists(InFolder(file))) << file;
    }
    EXPECT_FALSE(fs::exists(InFolder("Sound")));
    EXPECT_FALSE(fs::exists(StartMenu()));
    EXPECT_FALSE(ReadText(RunKey, "Corvadin"));
    EXPECT_FALSE(ReadText(RunOnceKey, "Fenwarder"));
    EXPECT_FALSE(KeyExists(SettingsKey));

    for (const std::string& file : userFiles) {
        EXPECT_EQ(ReadFile(InFolder(file)), "the user's") << file;
    }
    EXPECT_EQ(ReadText(NeighbourKey, "Value"), "kept");
    EXPECT_EQ(ReadText(RunKey, NeighbourRunValue), "C:\\Windows\\notepad.exe");
}

TEST_F(InstallerTest, WithoutTheLogonOptionNothingStartsAtLogonAndNothingIsLeftBehind)
{
    ASSERT_EQ(Setup(""), 0);
    EXPECT_FALSE(ReadText(RunKey, "Corvadin"));
    WriteText(SettingsKey, "ScanFolders", "0");

    ASSERT_TRUE(Uninstall());
    EXPECT_FALSE(fs::exists(Folder()));
    EXPECT_FALSE(fs::exists(StartMenu()));
    EXPECT_FALSE(KeyExists(SettingsKey));
}

TEST_F(InstallerTest, AnUpdateKeepsTheLogonStartUnlessToldOtherwise)
{
    if (!PacksWindowProgram) {
        GTEST_SKIP() << "only Corvadin.exe starts at log-on";
    }
    ASSERT_EQ(Setup("/STARTATLOGON"), 0);
    ASSERT_EQ(Setup(""), 0);
    EXPECT_EQ(ReadText(RunKey, "Corvadin"), RunCommand());

    ASSERT_EQ(Setup("/NOSTARTATLOGON"), 0);
    EXPECT_FALSE(ReadText(RunKey, "Corvadin"));
    ASSERT_TRUE(Uninstall());
}

TEST_F(InstallerTest, ARunningCopyStopsASilentInstallOrUninstallBeforeAnythingChanges)
{
    ASSERT_EQ(Setup(""), 0);
    {
        const RunningCopy running;
        ASSERT_TRUE(running.Started());
        EXPECT_EQ(Setup("/STARTATLOGON"), 2);
        EXPECT_FALSE(ReadText(RunKey, "Corvadin"));
        // _?= runs the uninstaller in place, so that its exit code is the one that counts.
        EXPECT_EQ(RunToEnd(Quoted(InFolder("uninstall.exe")) + " /S _?=" + Folder()), 2);
        for (const std::string& file : InstalledFiles()) {
            EXPECT_TRUE(fs::exists(InFolder(file))) << file;
        }
        EXPECT_TRUE(KeyExists(UninstallKey));
    }
    ASSERT_TRUE(Uninstall());
    EXPECT_FALSE(fs::exists(Folder()));
}

}  // namespace
