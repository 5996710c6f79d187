#include "app/ResultsFrame.h"

#include "framework/Application.h"
#include "framework/Dpi.h"
#include "resources/resource.h"

#include <algorithm>

bool ResultsFrame::Create(HWND parent, ResultsCommands* commands)
{
    Destroy();
    document_ = std::make_unique<CScanDocument>();

    const std::string className =
        RegisterWndClass(CS_HREDRAW | CS_VREDRAW, LoadCursorA(nullptr, IDC_ARROW),
                         static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), LoadIconA(nullptr, IDI_APPLICATION));
    if (className.empty()) {
        MessageBoxA(parent, "Cannot register scan view window class.", "Corvadin", MB_OK | MB_ICONERROR);
    }

    frame_ = std::make_unique<CFrameWnd>();
    if (!frame_->Create(className, "", WS_CHILD, RECT{0, 0, 1, 1}, parent, CCreateContext{&NewView<CScanView>})) {
        frame_.reset();
        return false;
    }
    frame_->LoadAccelTable(IDR_RESULTS_ACCEL);
    // Read-only but scrollable and selectable: a verdict's evidence may run longer than the area. Its id is 0, so
    // its change notices reach no command of the window.
    details_.reset(CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                   WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 1, 1,
                                   parent, nullptr, GetModuleHandleA(nullptr), nullptr));
    if (details_) {
        SendMessageA(details_.get(), WM_SETFONT, SendMessageA(parent, WM_GETFONT, 0, 0), FALSE);
    }
    if (CScanView* view = View()) {
        view->SetMainWindow(commands);
        view->SetDetailsArea(details_.get());
    }
    return true;
}

void ResultsFrame::Destroy() noexcept
{
    document_.reset();
    details_.reset();
    frame_.reset();
}

void ResultsFrame::PlaceOver(HWND placeholder) const noexcept
{
    if (!frame_ || !frame_->IsWindow() || !placeholder) {
        return;
    }
    RECT place{};
    GetWindowRect(placeholder, &place);
    MapWindowPoints(nullptr, GetParent(placeholder), reinterpret_cast<POINT*>(&place), 2);
    // The list keeps three fifths at least, more as the window grows: enough rows to choose from, and room for a
    // verdict's evidence below.
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    const int detailsHeight = std::min(height * 2 / 5, Scaled(100, WindowDpi(placeholder)) + height / 8);
    const int listHeight = details_ ? height - detailsHeight : height;
    MoveWindow(frame_->GetSafeHwnd(), place.left, place.top, width, listHeight, TRUE);
    if (details_) {
        MoveWindow(details_.get(), place.left, place.top + listHeight, width, place.bottom - place.top - listHeight,
                   TRUE);
        ShowWindow(details_.get(), SW_SHOW);
    }
    frame_->ShowWindow(SW_SHOW);
    UpdateWindow(frame_->GetSafeHwnd());
    ShowWindow(placeholder, SW_HIDE);
}

CScanView* ResultsFrame::View() const noexcept
{
    return frame_ ? static_cast<CScanView*>(frame_->GetActiveView()) : nullptr;
}
