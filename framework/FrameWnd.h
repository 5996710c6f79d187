// CFrameWnd: a window that holds one view filling its client area, routes its commands to that view first and
// translates its accelerator table while the focus is anywhere inside it. CView is the base of such views.
#pragma once

#include "framework/Window.h"

#include <memory>
#include <string>

class CView : public CWnd {
public:
    // Creates the view's window as child id of frame, covering rect.
    virtual bool CreateView(HWND frame, const RECT& rect, UINT id) = 0;
    // Once the window exists, before it is first shown.
    virtual void OnInitialUpdate() {}
};

// What the frame creates inside itself: the view's class, named by a function that makes one.
struct CCreateContext {
    std::unique_ptr<CView> (*newView)() = nullptr;
};

template <typename View>
std::unique_ptr<CView> NewView()
{
    return std::make_unique<View>();
}

class CFrameWnd : public CWnd {
public:
    // The id of the view inside its frame.
    static constexpr UINT kViewId = 0xE900;

    ~CFrameWnd() override;

    // With an empty class name the framework's plain frame class is used. The frame's WM_CREATE creates the view
    // of context; creation fails when the view cannot be made.
    bool Create(const std::string& className, const std::string& title, DWORD style, const RECT& rect,
                HWND parent, const CCreateContext& context);
    // Loads the accelerator table that PreTranslateMessage translates; false when there is no such table.
    bool LoadAccelTable(UINT id);
    CView* GetActiveView() const noexcept { return view_.get(); }

    bool PreTranslateMessage(MSG& message) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

protected:
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool CreateClient();

    CCreateContext context_;
    std::unique_ptr<CView> view_;
    HACCEL accelerators_ = nullptr;
};
