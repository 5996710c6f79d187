#include "framework/FrameWnd.h"

#include "framework/Application.h"
#include "framework/Resources.h"

CFrameWnd::~CFrameWnd()
{
    // Destroyed here, while the view object still exists to see its window go.
    DestroyWindow();
}

bool CFrameWnd::Create(const std::string& className, const std::string& title, DWORD style, const RECT& rect,
                       HWND parent, const CCreateContext& context)
{
    context_ = context;
    const std::string windowClass =
        className.empty() ? RegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr) : className;
    return !windowClass.empty() && CreateEx(0, windowClass, title, style, rect, parent, 0);
}

bool CFrameWnd::LoadAccelTable(UINT id)
{
    accelerators_ = LoadAcceleratorResource(id);
    return accelerators_ != nullptr;
}

bool CFrameWnd::PreTranslateMessage(MSG& message)
{
    return accelerators_ && message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST &&
           TranslateAcceleratorA(GetSafeHwnd(), accelerators_, &message);
}

bool CFrameWnd::OnCommand(UINT id, UINT code, HWND control)
{
    return view_ && view_->OnCommand(id, code, control);
}

std::optional<LRESULT> CFrameWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return CreateClient() ? 0 : -1;
    case WM_SIZE:
        if (view_ && view_->IsWindow()) {
            MoveWindow(view_->GetSafeHwnd(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        }
        return 0;
    case WM_SETFOCUS:
        if (view_ && view_->IsWindow()) {
            SetFocus(view_->GetSafeHwnd());
            return 0;
        }
        break;
    default:
        break;
    }
    return CWnd::HandleMessage(message, wParam, lParam);
}

bool CFrameWnd::CreateClient()
{
    if (!context_.newView) {
        return true;
    }
    view_ = context_.newView();
    if (!view_ || !view_->CreateView(GetSafeHwnd(), GetClientRect(), kViewId)) {
        view_.reset();
        return false;
    }
    view_->OnInitialUpdate();
    return true;
}
