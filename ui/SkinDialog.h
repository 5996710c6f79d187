// CSkinDialog: a dialog whose client area is covered by a bitmap repeated from the top-left corner, or by the
// skin's plain colour while it has no bitmap.
#pragma once

#include "framework/Dialog.h"
#include "framework/GdiHandles.h"

class CSkinDialog : public CDialog {
public:
    static constexpr COLORREF kPlainBackground = RGB(152, 143, 134);

    using CDialog::CDialog;

    // Loads the background from the program's resources, drawn for the window's DPI; false (and the plain colour)
    // when it does not exist.
    bool SetBackground(UINT bitmapId);
    // Sizes the window so that its client area is exactly the background bitmap: a skin with controls placed on it
    // in pixels then fits, whatever size the dialog font makes of the template. True when the client area fits.
    bool FitClientToBackground() const noexcept;

protected:
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintBackground(HDC dc) const;

    UniqueBitmap background_;
};
