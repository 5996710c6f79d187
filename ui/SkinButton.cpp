#include "ui/SkinButton.h"

#include "framework/Dpi.h"
#include "framework/Resources.h"
#include "resources/resource.h"

#include <windowsx.h>

namespace {

void DrawFace(HDC dc, const RECT& rect, HBITMAP bitmap)
{
    if (!bitmap) {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    SelectedObject selected(source.get(), bitmap);
    const SIZE size = BitmapSize(bitmap);
    BitBlt(dc, rect.left, rect.top, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
}

void DrawLabel(HDC dc, const std::string& text, RECT rect, COLORREF colour)
{
    SetTextColor(dc, colour);
    DrawTextA(dc, text.c_str(), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace

CSkinButton::CSkinButton() noexcept : textColour_(GetSysColor(COLOR_BTNTEXT)) {}

UniqueBitmap CSkinButton::Load(UINT id) const noexcept
{
    return id ? LoadScaledBitmap(id, id + IDB_LARGE_ART_OFFSET, dpi_) : UniqueBitmap();
}

void CSkinButton::SetBitmaps(UINT normal, UINT pressed, UINT hover, UINT disabled)
{
    faceIds_ = {normal, pressed, hover, disabled};
    normal_ = Load(normal);
    pressedFace_ = Load(pressed);
    hover_ = Load(hover);
    disabled_ = Load(disabled);
    Invalidate();
}

void CSkinButton::SetDpi(UINT dpi)
{
    dpi_ = dpi;
    SetBitmaps(faceIds_[0], faceIds_[1], faceIds_[2], faceIds_[3]);
    for (int i = 0; i < frameCount_; ++i) {
        const size_t index = static_cast<size_t>(i);
        frames_[index] = Load(frameIds_[index]);
    }
}

bool CSkinButton::AddFrame(UINT bitmapId)
{
    if (frameCount_ >= kMaxFrames) {
        return false;
    }
    UniqueBitmap frame = Load(bitmapId);
    if (!frame) {
        return false;
    }
    frameIds_[static_cast<size_t>(frameCount_)] = bitmapId;
    frames_[static_cast<size_t>(frameCount_++)] = std::move(frame);
    return true;
}

void CSkinButton::StartAnimation()
{
    if (frameCount_ == 0 || animating_) {
        return;
    }
    animationTimer_ = SetTimer(kAnimationTimerId, kAnimationPeriod);
    animating_ = animationTimer_ != 0;
}

void CSkinButton::StopAnimation()
{
    if (animationTimer_) {
        KillTimer(animationTimer_);
        animationTimer_ = 0;
    }
    frameIndex_ = 0;
    animating_ = false;
    Invalidate();
}

CSkinButton::Face CSkinButton::FaceFor(UINT drawState) const noexcept
{
    if (drawState & ODS_DISABLED) {
        return Face::Disabled;
    }
    if (drawState & ODS_SELECTED) {
        return Face::Pressed;
    }
    if (hovering_ && hover_ && !animating_) {
        return Face::Hover;
    }
    return animating_ ? Face::Frame : Face::Normal;
}

void CSkinButton::PreSubclassWindow()
{
    // The control type occupies the low bits of the style: owner-draw replaces push button or default button.
    SendMessage(BM_SETSTYLE, (GetStyle() & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW, TRUE);
}

std::optional<LRESULT> CSkinButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        return OnMouseMove(wParam, lParam);
    case WM_MOUSELEAVE:
        hovering_ = false;
        Invalidate();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnButtonDown(wParam, lParam);
    case WM_LBUTTONUP:
        pressed_ = false;
        return DefaultProc(message, wParam, lParam);
    case WM_KILLFOCUS:
        if (GetCapture() == GetSafeHwnd()) {
            ReleaseCapture();
        }
        pressed_ = false;
        return DefaultProc(message, wParam, lParam);
    case WM_TIMER:
        if (wParam == animationTimer_ && animating_) {
            return OnTimer();
        }
        break;
    case WM_ERASEBKGND:
        return TRUE;
    default:
        break;
    }
    return CButton::HandleMessage(message, wParam, lParam);
}

std::optional<LRESULT> CSkinButton::HandleReflected(UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_DRAWITEM) {
        return std::nullopt;
    }
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
}

LRESULT CSkinButton::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (!hovering_) {
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, GetSafeHwnd(), 0};
        if (TrackMouseEvent(&track)) {
            hovering_ = true;
            Invalidate();
        }
    }
    if (pressed_ && GetCapture() == GetSafeHwnd()) {
        const RECT client = GetClientRect();
        TrackPushedState(PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE);
    }
    return DefaultProc(WM_MOUSEMOVE, wParam, lParam);
}

LRESULT CSkinButton::OnButtonDown(WPARAM wParam, LPARAM lParam)
{
    if (hovering_) {
        TRACKMOUSEEVENT cancel{sizeof(TRACKMOUSEEVENT), TME_CANCEL | TME_LEAVE, GetSafeHwnd(), 0};
        if (TrackMouseEvent(&cancel)) {
            hovering_ = false;
        }
    }
    // A double click is one more press: the default handling takes the capture and shows the button pushed.
    const LRESULT result = DefaultProc(WM_LBUTTONDOWN, wParam, lParam);
    pressed_ = true;
    return result;
}

LRESULT CSkinButton::OnTimer()
{
    frameIndex_ = (frameIndex_ + 1) % frameCount_;
    Invalidate();
    return 0;
}

bool CSkinButton::TrackPushedState(bool cursorOver)
{
    const bool pushed = (GetState() & BST_PUSHED) != 0;
    if (cursorOver == pushed) {
        return false;
    }
    SetState(cursorOver);
    return true;
}

bool CSkinButton::CursorOver() const noexcept
{
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(GetSafeHwnd(), &cursor);
    const RECT client = GetClientRect();
    return PtInRect(&client, cursor) != FALSE;
}

HBITMAP CSkinButton::FaceBitmap(Face face) const noexcept
{
    switch (face) {
    case Face::Disabled:
        return disabled_ ? disabled_.get() : normal_.get();
    case Face::Pressed:
        return pressedFace_.get();
    case Face::Hover:
        return hover_.get();
    case Face::Frame:
        return frames_[static_cast<size_t>(frameIndex_)].get();
    case Face::Normal:
        break;
    }
    return normal_.get();
}

void CSkinButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    // Setting the pushed state redraws the button, so this drawing stops there.
    if (pressed_ && GetCapture() == GetSafeHwnd() && TrackPushedState(CursorOver())) {
        return;
    }
    HDC dc = item.hDC;
    SetBkMode(dc, TRANSPARENT);
    RECT textRect = item.rcItem;
    InflateRect(&textRect, -2, 0);
    const std::string text = GetWindowText();
    const Face face = FaceFor(item.itemState);
    DrawFace(dc, item.rcItem, FaceBitmap(face));
    switch (face) {
    case Face::Disabled:
        DrawLabel(dc, text, textRect, GetSysColor(COLOR_HIGHLIGHT));
        OffsetRect(&textRect, -1, -1);
        DrawLabel(dc, text, textRect, GetSysColor(COLOR_GRAYTEXT));
        break;
    case Face::Pressed:
        OffsetRect(&textRect, 1, 1);
        DrawLabel(dc, text, textRect, textColour_);
        break;
    default:
        DrawLabel(dc, text, textRect, textColour_);
        break;
    }
}
