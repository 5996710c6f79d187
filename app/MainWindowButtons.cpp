#include "app/MainWindowButtons.h"

#include "resources/resource.h"

namespace {

struct ButtonFaces {
    UINT id;
    UINT normal, pressed, hover, disabled;
};

constexpr ButtonFaces kFaces[kMainWindowButtonCount] = {
    {IDC_START_SCAN, IDB_START_NORMAL, IDB_START_PRESSED, IDB_START_HOVER, IDB_START_DISABLED},
    {IDC_STOP_SCAN, IDB_STOP_NORMAL, IDB_STOP_PRESSED, IDB_STOP_HOVER, IDB_STOP_DISABLED},
    {IDC_REPAIR_ERRORS, IDB_REPAIR_NORMAL, IDB_REPAIR_PRESSED, IDB_REPAIR_HOVER, IDB_REPAIR_DISABLED},
    {IDC_SELECT_ALL, IDB_SELECT_ALL_NORMAL, IDB_SELECT_ALL_PRESSED, IDB_SELECT_ALL_HOVER, IDB_SELECT_ALL_DISABLED},
    {IDC_REPAIR_SELECTED, IDB_REPAIR_SELECTED_NORMAL, IDB_REPAIR_SELECTED_PRESSED, IDB_REPAIR_SELECTED_HOVER,
     IDB_REPAIR_SELECTED_DISABLED},
    {IDC_REPAIR_LOWER, IDB_REPAIR_SMALL_NORMAL, IDB_REPAIR_SMALL_PRESSED, IDB_REPAIR_SMALL_HOVER,
     IDB_REPAIR_SMALL_DISABLED},
};

}  // namespace

void BindMainWindowButtons(HWND dialog, MainWindowButtons& buttons, CSkinButton& busy)
{
    for (size_t i = 0; i < buttons.size(); ++i) {
        const ButtonFaces& faces = kFaces[i];
        buttons[i].SubclassDlgItem(faces.id, dialog);
        buttons[i].SetBitmaps(faces.normal, faces.pressed, faces.hover, faces.disabled);
    }
    busy.SubclassDlgItem(IDC_BUSY, dialog);
    busy.SetBitmaps(IDB_BUSY, IDB_BUSY, IDB_BUSY, IDB_BUSY);
    for (UINT frame = IDB_BUSY_FRAME1; frame <= IDB_BUSY_FRAME6; ++frame) {
        busy.AddFrame(frame);
    }
}
