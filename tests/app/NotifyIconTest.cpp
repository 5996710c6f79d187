// The tray icon against the shell of the Wine desktop: what the shell answers, and what the icon does with the
// messages its owner passes on.
#include "app/NotifyIcon.h"

#include "resources/resource.h"
#include "tests/support/WindowTesting.h"

#include <shellapi.h>

#include <gtest/gtest.h>

namespace {

// Takes the icon out of the tray behind the object's back; true when the shell had it.
bool DeleteFromTray(HWND owner, UINT id)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = id;
    return Shell_NotifyIconA(NIM_DELETE, &data) != FALSE;
}

constexpr UINT kCallback = WM_APP + 7;

class NotifyIconTest : public testing::Test {
protected:
    HostWindow owner;
    int shown = 0;
    std::function<void()> show = [this] { ++shown; };
};

}  // namespace

TEST_F(NotifyIconTest, IsAddedAndRemovedAsTheShellAnswers)
{
    CNotifyIcon icon(owner.GetSafeHwnd(), IDI_TRAY, kCallback, nullptr, "Corvadin", show);
    EXPECT_TRUE(icon.IsAdded());
    EXPECT_EQ(icon.Tip(), "Corvadin");
    EXPECT_EQ(icon.CallbackMessage(), kCallback);
    EXPECT_TRUE(icon.RemoveIcon());
    EXPECT_FALSE(icon.IsAdded());
    EXPECT_FALSE(icon.RemoveIcon());
}

TEST_F(NotifyIconTest, DefaultsComeFromTheStringResourceAndAMessageOfItsOwn)
{
    CNotifyIcon icon(owner.GetSafeHwnd(), IDI_TRAY, 0, nullptr, nullptr, show);
    EXPECT_EQ(icon.Tip(), "Corvadin");
    EXPECT_EQ(icon.CallbackMessage(), RegisterWindowMessageA("CNotifyIcon_regMsg"));
    EXPECT_TRUE(icon.IsAdded());
}

TEST_F(NotifyIconTest, LongTipIsKeptWholeUpTo255Characters)
{
    const std::string tip(300, 't');
    CNotifyIcon icon(owner.GetSafeHwnd(), IDI_TRAY, kCallback, nullptr, tip.c_str(), show);
    EXPECT_TRUE(icon.IsAdded());
    EXPECT_EQ(icon.Tip(), std::string(255, 't'));
    // A given tip replaces the stored one, whatever the shell makes of adding the icon twice.
    icon.AddIcon(nullptr, "short");
    EXPECT_EQ(icon.Tip(), "short");
}

TEST_F(NotifyIconTest, MissingIconOrOwnerAddsNothing)
{
    CNotifyIcon missing(owner.GetSafeHwnd(), 9999, kCallback, nullptr, "Corvadin", show);
    EXPECT_FALSE(missing.IsAdded());
    missing.OnNotify(owner.GetSafeHwnd(), CNotifyIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_FALSE(DeleteFromTray(owner.GetSafeHwnd(), 9999));

    CNotifyIcon icon(owner.GetSafeHwnd(), IDI_TRAY, kCallback, nullptr, "Corvadin", show);
    owner.DestroyWindow();
    EXPECT_FALSE(icon.SetIcon(nullptr, IDI_TRAY, nullptr));
    EXPECT_FALSE(icon.AddIcon(nullptr, "Corvadin"));
}

TEST_F(NotifyIconTest, TaskbarCreatedAddsTheIconAgain)
{
    CNotifyIcon icon(owner.GetSafeHwnd(), IDI_TRAY, kCallback, nullptr, "Corvadin", show);
    ASSERT_TRUE(icon.IsAdded());
    // The shell restarted and knows nothing of the icon.
    ASSERT_TRUE(DeleteFromTray(owner.GetSafeHwnd(), IDI_TRAY));
    icon.OnNotify(owner.GetSafeHwnd(), CNotifyIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_TRUE(icon.IsAdded());
    EXPECT_EQ(icon.Tip(), "Corvadin");
    EXPECT_TRUE(DeleteFromTray(owner.GetSafeHwnd(), IDI_TRAY));
}

TEST_F(NotifyIconTest, DoubleClickShowsTheMainWindowAndOtherMouseEventsDoNothing)
{
    CNotifyIcon icon(owner.GetSafeHwnd(), IDI_TRAY, kCallback, nullptr, "Corvadin", show);
    const HWND window = owner.GetSafeHwnd();
    for (LPARAM event : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, WM_RBUTTONDOWN}) {
        EXPECT_EQ(icon.OnNotify(window, kCallback, IDI_TRAY, event), 1);
    }
    // Another icon's, another window's or another message's double-click is not this icon's.
    icon.OnNotify(window, kCallback, IDI_TRAY + 1, WM_LBUTTONDBLCLK);
    icon.OnNotify(GetDesktopWindow(), kCallback, IDI_TRAY, WM_LBUTTONDBLCLK);
    icon.OnNotify(window, kCallback + 1, IDI_TRAY, WM_LBUTTONDBLCLK);
    EXPECT_EQ(shown, 0);

    icon.OnNotify(window, kCallback, IDI_TRAY, WM_LBUTTONDBLCLK);
    EXPECT_EQ(shown, 1);
}
