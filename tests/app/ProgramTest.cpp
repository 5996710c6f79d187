// Corvadin.exe itself, started as a user starts it: one copy per desktop, the two switches, and an orderly end
// from the tray.
#include "resources/resource.h"
#include "settings/StartTask.h"
#include "tests/support/Files.h"
#include "tests/support/PlainRegistry.h"
#include "tests/support/Scratch.h"
#include "tests/support/WindowTesting.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD Patience = 30000;

// The process's top-level window with this caption, visible or not.
HWND WindowOf(DWORD process, const char* caption)
{
    return FindTopLevel([&](HWND window) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        return owner == process && WindowText(window) == caption;
    });
}

// One run of the program, ended by force if the test leaves it running.
class Program {
public:
    Program(const std::string& folder, const std::string& arguments = "", const std::string& exe = CORVADIN_EXE)
    {
        std::string commandLine = "\"" + WindowsPath(exe) + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                  &startup, &info_) != FALSE;
    }
    ~Program()
    {
        if (started_ && IsRunning()) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, Patience);
        }
        if (started_) {
            CloseHandle(info_.hThread);
            CloseHandle(info_.hProcess);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return started_; }
    bool IsRunning() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    bool Ends() const { return WaitForSingleObject(info_.hProcess, Patience) == WAIT_OBJECT_0; }
    DWORD ExitCode() const
    {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }
    HWND Hidden() const { return WindowOf(info_.dwProcessId, "zintavodlg"); }
    HWND Main() const { return WindowOf(info_.dwProcessId, "Corvadin"); }
    bool MainShown() const { return IsWindowVisible(Main()) != FALSE; }
    void Exit() const { PostMessageA(Hidden(), WM_COMMAND, ID_TRAY_EXIT, 0); }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

class ProgramTest : public testing::Test {
protected:
    ForgottenMainWindow forgotten;
    ScratchFolder folder{"program"};
};

}  // namespace

TEST_F(ProgramTest, SecondCopyBringsUpTheFirstsMainWindowAndEnds)
{
    Program first(folder.Path());
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(WaitUntil([&] { return first.MainShown(); }, Patience));
    PostMessageA(first.Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !first.MainShown(); }, Patience));

    Program second(folder.Path());
    ASSERT_TRUE(second.Started());
    ASSERT_TRUE(second.Ends());
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return first.MainShown(); }, Patience));
    EXPECT_TRUE(first.IsRunning());

    // Where User Account Control is off, the Run entry and the log-on task both start a copy at log-on.
    PostMessageA(first.Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !first.MainShown(); }, Patience));
    Program logon(folder.Path(), "/scanstartup");
    ASSERT_TRUE(logon.Ends());
    EXPECT_FALSE(WaitUntil([&] { return first.MainShown(); }, 2000)) << "a second log-on start shows nothing";

    first.Exit();
    ASSERT_TRUE(first.Ends());
    EXPECT_EQ(first.ExitCode(), 0u);
}

TEST_F(ProgramTest, ScanNowEndsTheRebootScheduleAndClosingTheMainWindowEndsTheProgram)
{
    constexpr const char* RunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
    ASSERT_TRUE(CreateStartTask(RebootScanTask(), WindowsPath(CORVADIN_EXE)).done);
    ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, RunOnceKey, "Fenwarder", WindowsPath(CORVADIN_EXE) + " /scannow"));
    Program program(folder.Path(), "/scannow");
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(WaitUntil([&] { return program.MainShown(); }, Patience));
    EXPECT_FALSE(StartTaskExists(RebootScanTask())) << "it would start the program at every log-on";
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, RunOnceKey, "Fenwarder"));
    PostMessageA(program.Main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.Ends());
}

// Started in a folder of Windows' choosing, and twice at once where User Account Control is off (value and task).
TEST_F(ProgramTest, ScanStartupWorksInTheProgramsFolderAsOneCopyAndExitFromTheTrayEndsItInOrder)
{
    const ScratchFolder home("program-home");
    const std::string exe = home.Path() + "\\Corvadin.exe";
    ASSERT_TRUE(CopyFileA(WindowsPath(CORVADIN_EXE).c_str(), exe.c_str(), FALSE));
    home.AddFile("Corvadin.ini", "[Common]\nLogName=corvadin.log\n");
    const std::string log = home.Path() + "\\corvadin.log";
    Program value(folder.Path(), "/scanstartup", exe);
    Program task(folder.Path(), "/scanstartup", exe);
    ASSERT_TRUE(WaitUntil([&] { return !value.IsRunning() || !task.IsRunning(); }, Patience)) << "one copy ends";
    const Program& program = value.IsRunning() ? value : task;
    ASSERT_TRUE(
        WaitUntil([&] { return ReadWholeFile(log, std::ios::in).find("start\n") != std::string::npos; }, Patience));
    EXPECT_TRUE(program.Main() != nullptr);
    // Shown as it is made, it hides at its first paint.
    EXPECT_TRUE(WaitUntil([&] { return !program.MainShown(); }, Patience));

    program.Exit();
    ASSERT_TRUE(program.Ends());
    const std::string written = ReadWholeFile(log, std::ios::in);
    EXPECT_NE(written.rfind("logging stopped\n"), std::string::npos);
}

// Users may write to the folder, as to one made at the root of C:, and so run what they like as an administrator.
TEST_F(ProgramTest, ScanStartupFromAFolderUsersMayChangeRefusesToScanLogsWhyAndSaysSo)
{
    const std::string copy = folder.Path() + "\\Corvadin.exe";
    ASSERT_TRUE(CopyFileA(WindowsPath(CORVADIN_EXE).c_str(), copy.c_str(), FALSE));
    folder.AddFile("Corvadin.ini", "[Common]\nLogName=corvadin.log\n");
    ASSERT_TRUE(LetEveryoneWrite(folder.Path()));
    Program program(folder.Path(), "/scanstartup", copy);
    const HWND box = WaitForDialog("Corvadin", Patience);
    EXPECT_NE(MessageText(box).find("did not scan at log-on"), std::string::npos) << MessageText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box) && program.Main(); }, Patience));
    program.Exit();
    ASSERT_TRUE(program.Ends());
    const std::string log = ReadWholeFile(folder.Path() + "\\corvadin.log", std::ios::in);
    EXPECT_NE(log.find("refused: Everyone may change files in it (" + folder.Path() + ": "), std::string::npos) << log;
    EXPECT_EQ(log.find("start\n"), std::string::npos) << "no scanner ran";
}
