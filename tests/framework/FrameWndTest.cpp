#include "framework/FrameWnd.h"

#include "framework/Dialog.h"
#include "resources/resource.h"
#include "tests/support/WindowTesting.h"

#include <gtest/gtest.h>

namespace {

std::vector<UINT>* viewCommands = nullptr;
bool refuseView = false;

// A plain view that records the commands routed to it and takes only the list's commands.
class RecordingView : public CView {
public:
    bool CreateView(HWND frame, const RECT& rect, UINT id) override
    {
        return !refuseView && CreateEx(0, RegisterWndClass(0, nullptr, nullptr, nullptr), "", WS_CHILD | WS_VISIBLE,
                                       rect, frame, id);
    }
    void OnInitialUpdate() override { initialised = true; }
    bool OnCommand(UINT id, UINT, HWND) override
    {
        if (viewCommands) {
            viewCommands->push_back(id);
        }
        return id >= ID_LIST_TOGGLE_TICK;
    }
    bool initialised = false;
};

class FrameWndTest : public testing::Test {
protected:
    void SetUp() override
    {
        viewCommands = &commands;
        refuseView = false;
    }
    void TearDown() override { viewCommands = nullptr; }

    bool CreateFrame(CFrameWnd& frame, HWND parent, const std::string& className = "")
    {
        return frame.Create(className, "", WS_CHILD | WS_VISIBLE, RECT{10, 10, 310, 210}, parent,
                            CCreateContext{&NewView<RecordingView>});
    }
    static HWND ViewOf(const CFrameWnd& frame) { return frame.GetActiveView()->GetSafeHwnd(); }

    std::vector<UINT> commands;
};

}  // namespace

TEST_F(FrameWndTest, ViewIsMadeFromTheContextAndFollowsTheFramesSize)
{
    HostWindow host;
    CFrameWnd frame;
    ASSERT_TRUE(CreateFrame(frame, host.GetSafeHwnd()));
    auto* view = static_cast<RecordingView*>(frame.GetActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->initialised);
    EXPECT_EQ(GetDlgCtrlID(view->GetSafeHwnd()), static_cast<int>(CFrameWnd::kViewId));

    MoveWindow(frame.GetSafeHwnd(), 0, 0, 123, 77, TRUE);
    const RECT client = view->GetClientRect();
    EXPECT_EQ(client.right, 123);
    EXPECT_EQ(client.bottom, 77);

    HWND viewWindow = view->GetSafeHwnd();
    frame.DestroyWindow();
    EXPECT_FALSE(IsWindow(viewWindow));
}

TEST_F(FrameWndTest, CommandsGoToTheViewFirst)
{
    HostWindow host;
    CFrameWnd frame;
    ASSERT_TRUE(CreateFrame(frame, host.GetSafeHwnd(), RegisterWndClass(CS_HREDRAW, nullptr, nullptr, nullptr)));
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(ID_LIST_HELP, 1), 0);
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(5, 0), 0);
    EXPECT_EQ(commands, (std::vector<UINT>{ID_LIST_HELP, 5}));
}

TEST_F(FrameWndTest, ViewThatCannotBeMadeFailsTheFrame)
{
    HostWindow host;
    CFrameWnd frame;
    refuseView = true;
    EXPECT_FALSE(CreateFrame(frame, host.GetSafeHwnd()));
    EXPECT_EQ(frame.GetSafeHwnd(), nullptr);
    EXPECT_EQ(frame.GetActiveView(), nullptr);
}

TEST_F(FrameWndTest, AcceleratorsTranslateOnlyKeysMeantForTheFrameOrItsView)
{
    HostWindow host;
    HWND outside = host.AddControl("STATIC", "", 0, RECT{400, 10, 450, 40}, 77);
    CFrameWnd frame;
    ASSERT_TRUE(CreateFrame(frame, host.GetSafeHwnd()));

    // Without a table nothing is translated.
    PostMessageA(ViewOf(frame), WM_KEYDOWN, VK_F1, 0);
    PumpFor();
    EXPECT_TRUE(commands.empty());

    ASSERT_TRUE(frame.LoadAccelTable(IDR_RESULTS_ACCEL));
    PostMessageA(ViewOf(frame), WM_KEYDOWN, VK_F1, 0);
    PostMessageA(frame.GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(outside, WM_KEYDOWN, VK_F1, 0);
    PumpFor();
    EXPECT_EQ(commands, (std::vector<UINT>{ID_LIST_HELP, ID_LIST_STOP_SCAN}));
    EXPECT_FALSE(frame.LoadAccelTable(4321));
}

TEST_F(FrameWndTest, InsideAModalDialogTheFrameTakesEscapeBeforeTheDialogDoes)
{
    // The frame lives in a modal dialog, as the results list does in the main window.
    class Host : public CDialog {
    public:
        Host() : CDialog(IDD_POPUP) {}
        CFrameWnd frame;
        bool stillOpen = false;

    protected:
        BOOL OnInitDialog() override
        {
            frame.Create("", "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 100}, GetSafeHwnd(),
                         CCreateContext{&NewView<RecordingView>});
            frame.LoadAccelTable(IDR_RESULTS_ACCEL);
            PostMessageA(frame.GetActiveView()->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageA(GetSafeHwnd(), WM_APP, 0, 0);
            return TRUE;
        }
        std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_APP) {
                stillOpen = IsWindowVisible(GetSafeHwnd()) || IsWindow();
                EndDialog(IDOK);
                return 0;
            }
            return CDialog::HandleMessage(message, wParam, lParam);
        }
    };

    Host dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK) << "Escape in the list did not cancel the dialog";
    EXPECT_TRUE(dialog.stillOpen);
    EXPECT_EQ(commands, (std::vector<UINT>{ID_LIST_STOP_SCAN}));
}
