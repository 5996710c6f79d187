#include "framework/Dialog.h"

#include "resources/resource.h"
#include "tests/support/WindowTesting.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr UINT_PTR kStepTimer = 99;

// A dialog whose steps the test scripts: what happens at initialisation, and what happens inside the modal loop
// (on a timer, which fires only once the queue has gone idle and the dialog has been shown).
class ScriptedDialog : public CDialog {
public:
    using CDialog::CDialog;
    std::function<void(ScriptedDialog&)> atInit;
    std::function<void(ScriptedDialog&)> inLoop;
    bool visibleInLoop = false;

protected:
    BOOL OnInitDialog() override
    {
        if (inLoop) {
            SetTimer(kStepTimer, 20);
        }
        if (atInit) {
            atInit(*this);
        }
        return TRUE;
    }
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == kStepTimer) {
            KillTimer(kStepTimer);
            visibleInLoop = IsWindowVisible(GetSafeHwnd()) != FALSE;
            inLoop(*this);
            return 0;
        }
        return CDialog::HandleMessage(message, wParam, lParam);
    }
};

}  // namespace

TEST(DialogTest, ModalRunDisablesItsOwnerAndReturnsTheResultItEndedWith)
{
    HostWindow owner;
    ScriptedDialog dialog(IDD_POPUP, &owner);
    bool ownerEnabledDuringRun = true;
    HWND window = nullptr;
    dialog.inLoop = [&](ScriptedDialog& self) {
        ownerEnabledDuringRun = IsWindowEnabled(owner.GetSafeHwnd()) != FALSE;
        window = self.GetSafeHwnd();
        self.EndDialog(42);
    };

    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_FALSE(ownerEnabledDuringRun);
    EXPECT_TRUE(dialog.visibleInLoop) << "a template without the visible style is shown once the queue is idle";
    EXPECT_TRUE(IsWindowEnabled(owner.GetSafeHwnd()));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(dialog.IsModal());
}

TEST(DialogTest, DialogEndedDuringItsInitialisationNeverEntersTheLoop)
{
    ScriptedDialog dialog(IDD_POPUP);
    dialog.atInit = [](ScriptedDialog& self) { self.EndDialog(7); };
    EXPECT_EQ(dialog.DoModal(), 7);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST(DialogTest, EscapeAndTheCloseBoxCancelAModalDialog)
{
    ScriptedDialog escaped(IDD_POPUP);
    escaped.inLoop = [](ScriptedDialog& self) {
        PostMessageA(self.GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    EXPECT_EQ(escaped.DoModal(), IDCANCEL);

    ScriptedDialog closed(IDD_POPUP);
    closed.inLoop = [](ScriptedDialog& self) { PostMessageA(self.GetSafeHwnd(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(closed.DoModal(), IDCANCEL);
}

TEST(DialogTest, InnerModalDialogRunsInsideTheOuterOnesInitialisationAndBothCanBeEndedTogether)
{
    // As the hidden owner window runs the main window: the outer dialog's initialisation runs the inner one, and
    // the command that ends the program ends both.
    ScriptedDialog outer(IDD_HIDDEN);
    ScriptedDialog inner(IDD_POPUP, &outer);
    INT_PTR innerResult = 0;
    inner.inLoop = [&](ScriptedDialog& self) {
        self.EndDialog(IDCANCEL);
        outer.EndDialog(IDCANCEL);
    };
    outer.atInit = [&](ScriptedDialog&) { innerResult = inner.DoModal(); };

    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_EQ(innerResult, IDCANCEL);
}

TEST(DialogTest, MissingTemplateFailsTheRunAndLeavesTheOwnerEnabled)
{
    HostWindow owner;
    ScriptedDialog dialog(4321, &owner);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(IsWindowEnabled(owner.GetSafeHwnd()));
    EXPECT_FALSE(dialog.Create());
}

TEST(DialogTest, ModelessDialogIsHiddenByCancelAndCanBeMadeAgainAfterItsWindowWasDestroyed)
{
    HWND first = nullptr;
    {
        ScriptedDialog dialog(IDD_POPUP);
        ASSERT_TRUE(dialog.Create());
        first = dialog.GetSafeHwnd();
        dialog.ShowWindow(SW_SHOW);
        PostMessageA(first, WM_KEYDOWN, VK_ESCAPE, 0);
        PumpFor();
        EXPECT_TRUE(IsWindow(first)) << "cancel only hides a modeless dialog";
        EXPECT_FALSE(IsWindowVisible(first));

        dialog.DestroyWindow();
        EXPECT_FALSE(IsWindow(first));
        ASSERT_TRUE(dialog.Create());
        first = dialog.GetSafeHwnd();
    }
    EXPECT_FALSE(IsWindow(first)) << "a modeless dialog goes with its object";
}

TEST(DialogTest, InitialisationDataFillsTheTemplatesListsInOrder)
{
    HostWindow host;
    CDialog page(IDD_AUTOUPDATE_TAB, &host);
    ASSERT_TRUE(page.Create());
    HWND interval = GetDlgItem(page.GetSafeHwnd(), IDC_UPDATE_INTERVAL);
    ASSERT_EQ(SendMessageA(interval, CB_GETCOUNT, 0, 0), 4);
    const char* expected[] = {"Every program start", "Daily", "Weekly", "Monthly"};
    for (int index = 0; index < 4; ++index) {
        char text[64] = "";
        SendMessageA(interval, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, expected[index]);
    }
}
