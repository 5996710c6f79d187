// The scan worker against scanners of the test's own making: what reaches the window, in which order, how a stop
// ends the scan, and that waiting for the worker lets it finish its calls into this thread's windows.
#include "app/ScanWorker.h"
#include "app/WindowProgressSink.h"
#include "engine/RegistryScanner.h"
#include "engine/ScannerList.h"
#include "registry/RegistryKey.h"
#include "tests/support/WindowTesting.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <new>
#include <thread>

namespace {

// Finds `found` issues; a scanner that waits keeps scanning until it is asked to stop.
class FakeScanner : public RegistryScanner {
public:
    FakeScanner(std::string name, int found, bool waitForStop = false)
        : name_(std::move(name)), found_(found), waitForStop_(waitForStop)
    {
    }
    int Scan(IssueList* list) override
    {
        scanned = true;
        for (int i = 0; i < found_; ++i) {
            list->Add(new ScanIssue(KeyIssue, new RegistryKey(HKEY_CURRENT_USER, "Software", name_), "d", "t"));
        }
        while (waitForStop_ && !IsStopRequested()) {
            Sleep(5);
        }
        return found_;
    }
    std::string Name() const override { return name_; }
    std::atomic<bool> scanned{false};

private:
    std::string name_;
    int found_;
    bool waitForStop_;
};

// Finds one issue, then fails the way a scanner that runs out of memory does.
class ThrowingScanner : public FakeScanner {
public:
    ThrowingScanner() : FakeScanner("throwing", 1) {}
    int Scan(IssueList* list) override
    {
        FakeScanner::Scan(list);
        throw std::bad_alloc();
    }
};

struct Report {
    UINT message;
    WPARAM index;
    int issues;
};

// The main window as the worker sees it: records what arrives.
class Receiver : public CWnd {
public:
    Receiver()
    {
        CreateEx(0, RegisterWndClass(0, nullptr, nullptr, nullptr), "receiver", WS_POPUP, RECT{0, 0, 10, 10},
                 nullptr, 0);
    }
    std::vector<Report> reports;

protected:
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == ScannerFinishedMessage) {
            const auto* entry = reinterpret_cast<const ScanEntry*>(lParam);
            reports.push_back({message, wParam, entry->issues->Count()});
            return 1;
        }
        if (message == ScanFinishedMessage) {
            reports.push_back({message, 0, 0});
            return 1;
        }
        return CWnd::HandleMessage(message, wParam, lParam);
    }
};

// A control that counts the changes a sink shows on it, as the bar or the line would take them.
class ShownChanges : public CWnd {
public:
    ShownChanges()
    {
        CreateEx(0, RegisterWndClass(0, nullptr, nullptr, nullptr), "", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0);
    }
    int shown = 0;
    WPARAM position = 0;

protected:
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == PBM_SETPOS || message == WM_SETTEXT) {
            ++shown;
            position = wParam;
        }
        return CWnd::HandleMessage(message, wParam, lParam);
    }
};

// Runs work on a second thread while this one handles what it sends.
void OnWorker(const std::function<void()>& work)
{
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 30000);
    worker.join();
}

class ScanWorkerTest : public testing::Test {
protected:
    void SetUp() override { observer.SetWindow(receiver.GetSafeHwnd()); }
    void TearDown() override
    {
        session.Wait();
        observer.SetWindow(nullptr);
    }

    FakeScanner& Add(std::string name, int found, bool waitForStop = false)
    {
        auto scanner = std::make_unique<FakeScanner>(std::move(name), found, waitForStop);
        FakeScanner& added = *scanner;
        scanners.Append(std::move(scanner));
        return added;
    }
    bool Start()
    {
        session.Prepare(&scanners, nullptr);
        return session.Start(observer);
    }

    Receiver receiver;
    ScannerList scanners;
    ScanResults results;
    ScanSession session{results};
    WindowScanObserver observer;
};

}  // namespace

TEST_F(ScanWorkerTest, EachScannerIsReportedInTurnWithItsIssuesThenTheEnd)
{
    Add("first", 2);
    scanners.Append(nullptr);  // a scanner that could not be made
    Add("second", 0);
    Add("third", 3);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PumpUntil([&] { return !session.IsRunning(); }, 10000));

    ASSERT_EQ(receiver.reports.size(), 4u);
    EXPECT_EQ(receiver.reports[0].index, 0u);
    EXPECT_EQ(receiver.reports[0].issues, 2);
    EXPECT_EQ(receiver.reports[1].index, 2u);
    EXPECT_EQ(receiver.reports[1].issues, 0);
    EXPECT_EQ(receiver.reports[2].index, 3u);
    EXPECT_EQ(receiver.reports[2].issues, 3);
    EXPECT_EQ(receiver.reports[3].message, ScanFinishedMessage);
    EXPECT_TRUE(session.ReleaseEnded());
    EXPECT_FALSE(session.ReleaseEnded());
}

TEST_F(ScanWorkerTest, StopEndsTheScanAfterTheScannerInHandWithItsPartialResults)
{
    FakeScanner& busy = Add("busy", 1, true);
    FakeScanner& later = Add("later", 5);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PumpUntil([&] { return busy.scanned.load(); }));
    session.RequestStop();
    ASSERT_TRUE(PumpUntil([&] { return !session.IsRunning(); }, 10000));

    EXPECT_FALSE(later.scanned);
    ASSERT_EQ(receiver.reports.size(), 2u);
    EXPECT_EQ(receiver.reports[0].issues, 1);
    EXPECT_EQ(receiver.reports[1].message, ScanFinishedMessage);
}

TEST_F(ScanWorkerTest, AScannerThatThrowsEndsWithWhatItFoundAndTheScanGoesOn)
{
    scanners.Append(std::make_unique<ThrowingScanner>());
    FakeScanner& after = Add("after", 2);
    ASSERT_TRUE(Start());
    session.Wait();

    EXPECT_TRUE(after.scanned);
    ASSERT_EQ(receiver.reports.size(), 3u);
    EXPECT_EQ(receiver.reports[0].issues, 1);
    EXPECT_EQ(receiver.reports[1].issues, 2);
    EXPECT_EQ(receiver.reports[2].message, ScanFinishedMessage);
}

TEST_F(ScanWorkerTest, WaitHandlesTheWorkersMessagesSoThatItCanFinish)
{
    Add("first", 1);
    Add("second", 1);
    ASSERT_TRUE(Start());
    // No pumping here: only Wait lets the worker's SendMessage calls through.
    session.Wait();
    EXPECT_FALSE(session.IsRunning());
    EXPECT_EQ(receiver.reports.size(), 3u);
}

TEST_F(ScanWorkerTest, WithoutAWindowTheScanRunsAndNothingIsSent)
{
    observer.SetWindow(nullptr);
    FakeScanner& only = Add("only", 2);
    ASSERT_TRUE(Start());
    session.Wait();
    EXPECT_TRUE(only.scanned);
    EXPECT_EQ(session.Table()[0].issues->Count(), 2);
    PumpFor(20);
    EXPECT_TRUE(receiver.reports.empty());
}

TEST(WindowProgressSinkTest, DrivesTheBarAndTheCurrentItemLine)
{
    HostWindow host;
    const HWND line = host.AddControl("Static", "", 0, {10, 10, 300, 30}, 1015);
    const HWND bar = host.AddControl(PROGRESS_CLASS, "", 0, {10, 40, 300, 60}, 1009);
    WindowProgressSink sink(line, bar);
    EXPECT_EQ(sink.Range(), 0);
    EXPECT_EQ(sink.Position(), 0);

    sink.SetRange(200);
    EXPECT_EQ(sink.Range(), 200);
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 200);
    EXPECT_EQ(sink.Step(30), 30);
    EXPECT_EQ(sink.Step(20), 50);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 50);
    sink.SetPosition(7);
    EXPECT_EQ(sink.Position(), 7);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 7);

    sink.SetText("HKEY_CURRENT_USER\\Software\\Item");
    char text[64] = "";
    GetWindowTextA(line, text, sizeof text);
    EXPECT_STREQ(text, "HKEY_CURRENT_USER\\Software\\Item");
}

TEST(WindowProgressSinkTest, OnlyTheLow16BitsOfTheRangeReachTheBar)
{
    HostWindow host;
    const HWND bar = host.AddControl(PROGRESS_CLASS, "", 0, {10, 40, 300, 60}, 1009);
    WindowProgressSink sink(nullptr, bar);
    sink.SetRange(0x10005);
    EXPECT_EQ(sink.Range(), 0x10005);
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 5);
    // A sink whose line is gone ignores text.
    sink.SetText("nothing to show it");
}

TEST(WindowProgressSinkTest, AWorkersChangesWaitForTheWindowsThreadWhichShowsTheLatest)
{
    ShownChanges line;
    ShownChanges bar;
    WindowProgressSink sink(line.GetSafeHwnd(), bar.GetSafeHwnd());
    OnWorker([&] {
        for (int i = 1; i <= 20000; ++i) {
            sink.Step(1);
            sink.SetText("entry " + std::to_string(i));
        }
    });
    EXPECT_EQ(bar.shown + line.shown, 0) << "the worker never waits for the window";
    EXPECT_EQ(sink.Position(), 20000);

    sink.ShowNoted();
    EXPECT_EQ(bar.shown, 1);
    EXPECT_EQ(bar.position, 20000u);
    EXPECT_EQ(WindowText(line.GetSafeHwnd()), "entry 20000");
    sink.ShowNoted();
    EXPECT_EQ(bar.shown + line.shown, 2) << "nothing new, nothing shown";
}
