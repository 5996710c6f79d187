// The hidden owner window run as the program runs it (modally, with the main window inside), driven by a script
// of steps that a thread timer plays from within whatever modal loop runs at the time.
#include "app/HiddenDlg.h"

#include "app/RegisteredMessages.h"
#include "resources/resource.h"
#include "settings/StartupOptions.h"
#include "tests/support/WindowTesting.h"
#include "tests/support/Scratch.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Plays its steps in order, each until it returns true; past the time limit it ends the program instead.
class Script {
public:
    using Step = std::function<bool()>;

    Script(CHiddenDlg& hidden, std::vector<std::pair<std::string, Step>> steps)
        : hidden_(hidden), steps_(std::move(steps))
    {
        current = this;
        started_ = GetTickCount();
        timer_ = SetTimer(nullptr, 0, 50, &Script::Tick);
    }
    ~Script()
    {
        KillTimer(nullptr, timer_);
        current = nullptr;
    }
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    bool Finished() const { return next_ == steps_.size(); }
    // True when the program had to be ended for it: its own last step did not end it.
    bool GaveUp() const { return gaveUp_; }
    // The step that was still waiting when the script gave up.
    std::string Stuck() const { return Finished() ? std::string() : steps_[next_].first; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (current && !current->busy_) {
            current->busy_ = true;
            current->Advance();
            current->busy_ = false;
        }
    }
    void Advance()
    {
        while (next_ < steps_.size() && steps_[next_].second()) {
            ++next_;
        }
        if (GetTickCount() - started_ > 30000 && !gaveUp_) {
            gaveUp_ = true;
            PostMessageA(hidden_.GetSafeHwnd(), WM_COMMAND, ID_TRAY_EXIT, 0);
        }
    }

    static inline Script* current = nullptr;
    CHiddenDlg& hidden_;
    std::vector<std::pair<std::string, Step>> steps_;
    size_t next_ = 0;
    DWORD started_ = 0;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
    bool gaveUp_ = false;
};

class HiddenDlgTest : public testing::Test {
protected:
    void SetUp() override { TheStartupFlags() = StartupFlags{}; }
    void TearDown() override { TheStartupFlags() = StartupFlags{}; }

    ForgottenMainWindow forgotten;

    HWND Main() { return hidden.MainWindow().GetSafeHwnd(); }
    bool MainShown() { return hidden.MainWindow().IsWindow() && IsWindowVisible(Main()); }
    bool MainHidden() { return hidden.MainWindow().IsWindow() && !IsWindowVisible(Main()); }
    void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        PostMessageA(hidden.GetSafeHwnd(), message, wParam, lParam);
    }
    void CloseMain() { PostMessageA(Main(), WM_CLOSE, 0, 0); }
    static Script::Step Do(std::function<void()> action)
    {
        return [action] {
            action();
            return true;
        };
    }

    ScratchFolder folder{"hidden-window"};
    CurrentFolder current{folder.Path()};
    CHiddenDlg hidden;
};

}  // namespace

TEST_F(HiddenDlgTest, TrayIconAndItsCommandsBringTheMainWindowBackAndExitEndsTheRun)
{
    bool answeredAtOnce = false;
    Script script(hidden, {
        {"main window shown", [&] { return MainShown(); }},
        {"icon in the tray", [&] {
             EXPECT_FALSE(IsWindowVisible(hidden.GetSafeHwnd()));
             EXPECT_EQ(FindWindowA(nullptr, CHiddenDlg::kCaption), hidden.GetSafeHwnd());
             EXPECT_EQ(hidden.TrayIcon()->Tip(), "Corvadin");
             EXPECT_EQ(hidden.TrayIcon()->CallbackMessage(), NotifyIconMessage());
             return hidden.TrayIcon()->IsAdded();
         }},
        {"taskbar made again", Do([&] {
             // The new shell knows nothing of the icon until the window answers its broadcast.
             NOTIFYICONDATAA data{};
             data.cbSize = NOTIFYICONDATAA_V1_SIZE;
             data.hWnd = hidden.GetSafeHwnd();
             data.uID = IDI_TRAY;
             EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
             SendMessageA(hidden.GetSafeHwnd(), CNotifyIcon::TaskbarCreatedMessage(), 0, 0);
             EXPECT_TRUE(hidden.TrayIcon()->IsAdded());
             EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
             SendMessageA(hidden.GetSafeHwnd(), CNotifyIcon::TaskbarCreatedMessage(), 0, 0);
         })},
        {"close to the tray", Do([&] { CloseMain(); })},
        {"main window hidden", [&] { return MainHidden(); }},
        {"double-click", Do([&] { Post(NotifyIconMessage(), IDI_TRAY, WM_LBUTTONDBLCLK); })},
        {"shown by the double-click", [&] { return MainShown(); }},
        {"close again", Do([&] { CloseMain(); })},
        {"hidden again", [&] { return MainHidden(); }},
        {"Show Corvadin", Do([&] { Post(WM_COMMAND, ID_TRAY_SHOW); })},
        {"shown by the menu command", [&] { return MainShown(); }},
        {"close once more", Do([&] { CloseMain(); })},
        {"hidden once more", [&] { return MainHidden(); }},
        {"a second copy asks", Do([&] {
             DWORD_PTR answer = 0;
             answeredAtOnce = SendMessageTimeoutA(hidden.GetSafeHwnd(), NotifyViewSchedulerMessage(), 0, 0,
                                                  SMTO_NORMAL, 1000, &answer) &&
                              answer == 1;
         })},
        {"shown for the second copy", [&] { return MainShown(); }},
        {"scan", Do([&] { hidden.MainWindow().StartScan(); })},
        {"Exit", Do([&] { Post(WM_COMMAND, ID_TRAY_EXIT); })},
    });
    hidden.DoModal();

    EXPECT_TRUE(script.Finished()) << script.Stuck();
    EXPECT_FALSE(script.GaveUp());
    EXPECT_TRUE(answeredAtOnce);
    EXPECT_FALSE(hidden.IsWindow());
    EXPECT_FALSE(hidden.MainWindow().IsWindow());
    // Exit during the scan waited for the worker.
    EXPECT_FALSE(hidden.MainWindow().IsWorkerRunning());
    EXPECT_EQ(hidden.MainWindow().State(), CMainDialog::kIdle);
}

TEST_F(HiddenDlgTest, MainWindowEndedAndOpenedAgainFromTheTray)
{
    Script script(hidden, {
        {"main window shown", [&] { return MainShown(); }},
        // Ctrl+X in the list ends the main window's run; the program stays in the tray.
        {"end the main window", Do([&] { hidden.MainWindow().EndMainWindow(); })},
        {"main window gone", [&] { return !hidden.MainWindow().IsWindow(); }},
        {"double-click", Do([&] { Post(NotifyIconMessage(), IDI_TRAY, WM_LBUTTONDBLCLK); })},
        {"made again", [&] { return MainShown(); }},
        {"idle and empty", [&] {
             EXPECT_EQ(hidden.MainWindow().State(), CMainDialog::kIdle);
             EXPECT_EQ(hidden.MainWindow().View()->RowCount(), 0);
             return true;
         }},
        {"Exit", Do([&] { Post(WM_COMMAND, ID_TRAY_EXIT); })},
    });
    hidden.DoModal();
    EXPECT_TRUE(script.Finished()) << script.Stuck();
    EXPECT_FALSE(script.GaveUp());
    EXPECT_FALSE(hidden.MainWindow().IsWindow());
}

TEST_F(HiddenDlgTest, TrayMenuChoiceReachesItsHandler)
{
    // Up from no selection picks the menu's last item, "Exit".
    const auto press = [](WORD key) {
        INPUT input[2]{};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = key;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    };
    Script script(hidden, {
        {"main window shown", [&] { return MainShown(); }},
        {"right click", Do([&] { Post(NotifyIconMessage(), IDI_TRAY, WM_RBUTTONUP); })},
        {"menu open", [&] { return IsWindowVisible(FindWindowA("#32768", nullptr)) != FALSE; }},
        {"choose Exit", Do([&] {
             press(VK_UP);
             press(VK_RETURN);
         })},
    });
    hidden.DoModal();
    EXPECT_TRUE(script.Finished()) << script.Stuck();
    EXPECT_FALSE(script.GaveUp());
    EXPECT_FALSE(hidden.IsWindow());
}

TEST_F(HiddenDlgTest, ClosingTheMainWindowInExitOnCloseModeEndsTheProgram)
{
    hidden.SetExitOnClose(true);
    Script script(hidden, {
        {"main window shown", [&] { return MainShown(); }},
        {"scan", Do([&] { hidden.MainWindow().StartScan(); })},
        {"close", Do([&] { CloseMain(); })},
    });
    hidden.DoModal();
    EXPECT_TRUE(script.Finished()) << script.Stuck();
    EXPECT_FALSE(script.GaveUp());
    EXPECT_FALSE(hidden.IsWindow());
    EXPECT_FALSE(hidden.MainWindow().IsWorkerRunning());
}
