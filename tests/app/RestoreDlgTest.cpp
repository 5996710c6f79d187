#include "app/RestoreDlg.h"

#include "engine/RepairAction.h"
#include "engine/ScanIssue.h"
#include "framework/ListView.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "resources/resource.h"
#include "tests/support/WindowTesting.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Answers the confirmation as told and keeps what the dialog said.
class ScriptedPrompt : public RestorePrompt {
public:
    bool Confirm(HWND, const std::string& question) override
    {
        questions.push_back(question);
        return agree;
    }
    void Tell(HWND, const std::string& message, bool failed) override
    {
        messages.push_back(message);
        lastFailed = failed;
    }

    bool agree = true;
    bool lastFailed = false;
    std::vector<std::string> questions;
    std::vector<std::string> messages;
};

// Rollback files made by real repairs in a scratch folder: one of a value, one of a key with two values, and a
// damaged one.
class RestoreDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scratch_.SetString("Single", "program", "\"C:\\gone\\a.exe\" /x");
        scratch_.SetString("Tree", "one", "1");
        scratch_.SetDword("Tree\\Below", "two", 2);
        Repair(ValueIssue, new RegistryValue("program", Key("Single").get()));
        Repair(KeyIssue, Key("Tree").get());
        folder_.AddFile("rollback20260101000000_99.reg", "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"x\"=hex:0\n");
        ASSERT_FALSE(scratch_.HasValue("Single", "program"));
        ASSERT_FALSE(scratch_.HasSubkey("Tree"));
    }

    Ref<RegistryKey> Key(const std::string& name) const
    {
        return Ref<RegistryKey>(new RegistryKey(HKEY_CURRENT_USER, scratch_.Path(), name));
    }

    void Repair(int kind, RepairTarget* target) const
    {
        Ref<RefCounted> held(target);
        Ref<ScanIssue> issue(new ScanIssue(kind, target, " test", "Restore dialog"));
        ASSERT_TRUE(CreateRepairAction()->Fix(issue.get()));
    }

    // Selects row alone (none for -1), as a click would.
    static void SelectOnly(const CListCtrl& list, int row)
    {
        LVITEMA none{};
        none.stateMask = LVIS_SELECTED;
        SendMessageA(list.GetSafeHwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
        if (row >= 0) {
            list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        }
    }

    // The row whose Keys and Values columns read as given once it has been chosen (and so its file checked).
    int RowWith(const CListCtrl& list, const std::string& keys, const std::string& values) const
    {
        for (int row = 0; row < list.GetItemCount(); ++row) {
            SelectOnly(list, row);
            if (list.GetItemText(row, 1) == keys && list.GetItemText(row, 2) == values) {
                return row;
            }
        }
        return -1;
    }

    // The dialog, modeless over a host window, on the scratch folder and with the scripted prompt.
    CRestoreDlg& OpenDialog()
    {
        dialog_ = std::make_unique<CRestoreDlg>(&host_, folder_.Path(), &prompt_);
        EXPECT_TRUE(dialog_->Create());
        return *dialog_;
    }

    ScratchKey scratch_{"RestoreDialog"};
    ScratchFolder folder_{"restore-dialog"};
    CurrentFolder here_{folder_.Path()};
    ScriptedPrompt prompt_;
    HostWindow host_;
    std::unique_ptr<CRestoreDlg> dialog_;
};

}  // namespace

TEST_F(RestoreDlgTest, ListsTheRollbackFilesAndRestoresTheChosenOne)
{
    CRestoreDlg& dialog = OpenDialog();
    CListCtrl list(GetDlgItem(dialog.GetSafeHwnd(), IDC_RESTORE_LIST));
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(ColumnHeader(list.GetSafeHwnd(), 0), "Date");
    EXPECT_EQ(ColumnHeader(list.GetSafeHwnd(), 1), "Keys");
    EXPECT_EQ(ColumnHeader(list.GetSafeHwnd(), 2), "Values");
    const int single = RowWith(list, "1", "1");
    const int tree = RowWith(list, "2", "2");
    const int damaged = RowWith(list, "-", "-");
    ASSERT_GE(single, 0);
    ASSERT_GE(tree, 0);
    ASSERT_GE(damaged, 0);
    EXPECT_EQ(list.GetItemText(damaged, 4), "line 4: bad hex byte");
    EXPECT_EQ(list.GetItemText(damaged, 0).size(), 19u) << "a date and time";
    // Shown for a moment, for a person watching the display.
    dialog.ShowWindow(SW_SHOW);
    PumpFor(1000);

    // Declining changes nothing; agreeing brings the key tree back.
    SelectOnly(list, tree);
    prompt_.agree = false;
    SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDC_RESTORE_RUN, 0);
    ASSERT_EQ(prompt_.questions.size(), 1u);
    EXPECT_NE(prompt_.questions[0].find("2 key(s) and 2 value(s)"), std::string::npos) << prompt_.questions[0];
    EXPECT_TRUE(prompt_.messages.empty());
    EXPECT_FALSE(scratch_.HasSubkey("Tree"));

    prompt_.agree = true;
    SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDC_RESTORE_RUN, 0);
    ASSERT_EQ(prompt_.messages.size(), 1u);
    EXPECT_FALSE(prompt_.lastFailed) << prompt_.messages[0];
    EXPECT_TRUE(scratch_.HasValue("Tree", "one"));
    EXPECT_TRUE(scratch_.HasValue("Tree\\Below", "two"));
    EXPECT_FALSE(scratch_.HasValue("Single", "program"));

    SelectOnly(list, single);
    SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDC_RESTORE_RUN, 0);
    EXPECT_TRUE(scratch_.HasValue("Single", "program"));
}

TEST(RestoreMenuTest, TheMainMenuOffersRestore)
{
    HMENU menu = LoadMenuA(ResourceInstance(), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(menu, nullptr);
    char text[64] = {};
    EXPECT_GT(GetMenuStringA(menu, ID_OPEN_RESTORE, text, sizeof text, MF_BYCOMMAND), 0);
    EXPECT_STREQ(text, "&Restore...");
    DestroyMenu(menu);
}

TEST_F(RestoreDlgTest, ADamagedFileIsRefusedAndWithoutASelectionNothingHappens)
{
    CRestoreDlg& dialog = OpenDialog();
    CListCtrl list(GetDlgItem(dialog.GetSafeHwnd(), IDC_RESTORE_LIST));
    const HWND restore = GetDlgItem(dialog.GetSafeHwnd(), IDC_RESTORE_RUN);
    EXPECT_TRUE(IsWindowEnabled(restore)) << "the newest file is chosen at the start";

    SelectOnly(list, -1);
    EXPECT_FALSE(IsWindowEnabled(restore));
    EXPECT_FALSE(dialog.RestoreSelected());
    EXPECT_TRUE(prompt_.questions.empty());

    const int damaged = RowWith(list, "-", "-");
    SelectOnly(list, damaged);
    EXPECT_TRUE(IsWindowEnabled(restore));
    EXPECT_FALSE(dialog.RestoreSelected());
    ASSERT_EQ(prompt_.messages.size(), 1u);
    EXPECT_TRUE(prompt_.lastFailed);
    EXPECT_NE(prompt_.messages[0].find("line 4"), std::string::npos) << prompt_.messages[0];
    EXPECT_NE(prompt_.messages[0].find("Nothing was changed"), std::string::npos);
}
