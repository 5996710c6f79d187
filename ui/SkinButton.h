// CSkinButton: an owner-drawn push button painted from bitmaps: a face for idle, pressed, hover and disabled, and
// up to 15 frames of an animation that advances every 200 ms (the busy indicator). Each face is drawn for the
// button's DPI (from the 200% art where there is some) and copied to its top-left corner, without edge or focus
// frame. Its parent must reflect WM_DRAWITEM (every CWnd does).
#pragma once

#include "framework/Button.h"
#include "framework/GdiHandles.h"

#include <array>

class CSkinButton : public CButton {
public:
    static constexpr int kMaxFrames = 15;
    static constexpr UINT_PTR kAnimationTimerId = 1;
    static constexpr UINT kAnimationPeriod = 200;

    enum class Face { Normal, Pressed, Hover, Disabled, Frame };

    CSkinButton() noexcept;

    // Bitmap resource ids; 0 leaves that face empty. An empty disabled face shows the normal one.
    void SetBitmaps(UINT normal, UINT pressed, UINT hover, UINT disabled);
    // Appends an animation frame; refused when 15 are loaded or the bitmap does not exist.
    bool AddFrame(UINT bitmapId);
    // Loads every face and frame again for dpi (96 until set).
    void SetDpi(UINT dpi);
    // Needs a frame to show: without one the button stays still.
    void StartAnimation();
    void StopAnimation();

    // Which face the button shows for the owner-draw state bits (ODS_).
    Face FaceFor(UINT drawState) const noexcept;
    bool IsHovering() const noexcept { return hovering_; }
    bool IsPressed() const noexcept { return pressed_; }
    bool IsAnimating() const noexcept { return animating_; }
    int FrameIndex() const noexcept { return frameIndex_; }
    int FrameCount() const noexcept { return frameCount_; }

protected:
    void PreSubclassWindow() override;
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);
    // While the button holds the capture after a press: follows the cursor on and off the button.
    bool TrackPushedState(bool cursorOver);
    bool CursorOver() const noexcept;
    HBITMAP FaceBitmap(Face face) const noexcept;
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer();

    UniqueBitmap Load(UINT id) const noexcept;

    UINT dpi_ = 96;
    std::array<UINT, 4> faceIds_{};
    std::array<UINT, kMaxFrames> frameIds_{};
    UniqueBitmap normal_;
    UniqueBitmap pressedFace_;
    UniqueBitmap hover_;
    UniqueBitmap disabled_;
    std::array<UniqueBitmap, kMaxFrames> frames_;
    int frameCount_ = 0;
    int frameIndex_ = 0;
    bool animating_ = false;
    UINT_PTR animationTimer_ = 0;
    bool hovering_ = false;
    bool pressed_ = false;
    COLORREF textColour_;
};
