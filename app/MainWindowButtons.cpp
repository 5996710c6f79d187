#include "app/MainWindowButtons.h"

#include "resources/resource.h"

namespace {

struct ButtonLayout {
    UINT id;
    UINT normal, pressed, hover, disabled;
    RECT place;  // pixels in the client area
};

constexpr ButtonLayout kLayouts[kMainWindowButtonCount] = {
    {IDC_START_SCAN, IDB_START_NORMAL, IDB_START_PRESSED, IDB_START_HOVER, IDB_START_DISABLED, {0, 20, 141, 61}},
    {IDC_STOP_SCAN, IDB_STOP_NORMAL, IDB_STOP_PRESSED, IDB_STOP_HOVER, IDB_STOP_DISABLED, {142, 20, 286, 61}},
    {IDC_REPAIR_ERRORS, IDB_REPAIR_NORMAL, IDB_REPAIR_PRESSED, IDB_REPAIR_HOVER, IDB_REPAIR_DISABLED,
     {287, 20, 440, 61}},
    {IDC_SELECT_ALL, IDB_SELECT_ALL_NORMAL, IDB_SELECT_ALL_PRESSED, IDB_SELECT_ALL_HOVER, IDB_SELECT_ALL_DISABLED,
     {311, 372, 450, 400}},
    {IDC_REPAIR_SELECTED, IDB_REPAIR_SELECTED_NORMAL, IDB_REPAIR_SELECTED_PRESSED, IDB_REPAIR_SELECTED_HOVER,
     IDB_REPAIR_SELECTED_DISABLED, {467, 372, 606, 400}},
    {IDC_REPAIR_LOWER, IDB_REPAIR_SMALL_NORMAL, IDB_REPAIR_SMALL_PRESSED, IDB_REPAIR_SMALL_HOVER,
     IDB_REPAIR_SMALL_DISABLED, {31, 357, 155, 385}},
};

}  // namespace

void BindMainWindowButtons(HWND dialog, MainWindowButtons& buttons, CSkinButton& busy)
{
    for (size_t i = 0; i < buttons.size(); ++i) {
        const ButtonLayout& layout = kLayouts[i];
        buttons[i].SubclassDlgItem(layout.id, dialog);
        buttons[i].SetBitmaps(layout.normal, layout.pressed, layout.hover, layout.disabled);
        MoveWindow(buttons[i].GetSafeHwnd(), layout.place.left, layout.place.top,
                   layout.place.right - layout.place.left, layout.place.bottom - layout.place.top, FALSE);
    }
    busy.SubclassDlgItem(IDC_BUSY, dialog);
    busy.SetBitmaps(IDB_BUSY, IDB_BUSY, IDB_BUSY, IDB_BUSY);
    for (UINT frame = IDB_BUSY_FRAME1; frame <= IDB_BUSY_FRAME6; ++frame) {
        busy.AddFrame(frame);
    }
}
