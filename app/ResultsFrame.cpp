#include "app/ResultsFrame.h"

#include "framework/Application.h"
#include "resources/resource.h"

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
    if (CScanView* view = View()) {
        view->SetMainWindow(commands);
    }
    return true;
}

void ResultsFrame::Destroy() noexcept
{
    document_.reset();
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
    MoveWindow(frame_->GetSafeHwnd(), place.left, place.top, place.right - place.left, place.bottom - place.top,
               TRUE);
    frame_->ShowWindow(SW_SHOW);
    UpdateWindow(frame_->GetSafeHwnd());
    ShowWindow(placeholder, SW_HIDE);
}

CScanView* ResultsFrame::View() const noexcept
{
    return frame_ ? static_cast<CScanView*>(frame_->GetActiveView()) : nullptr;
}
