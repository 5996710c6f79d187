// CTransparentStatic: a static text painted black on white with a chosen weight and text layout, which hands its
// parent a brush of a chosen colour when asked for its colours.
#pragma once

#include "framework/GdiHandles.h"
#include "framework/Static.h"

class CTransparentStatic : public CStatic {
public:
    static constexpr UINT kWordBreak = DT_WORDBREAK;
    static constexpr UINT kOneLineRight = DT_SINGLELINE | DT_RIGHT;

    void SetColour(BYTE red, BYTE green, BYTE blue) noexcept;
    void SetWeight(int weight) noexcept;
    void SetFormat(UINT flags) noexcept;

    COLORREF Colour() const noexcept { return colour_; }
    int Weight() const noexcept { return weight_; }
    UINT Format() const noexcept { return format_; }

protected:
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();

    COLORREF colour_ = RGB(255, 255, 255);
    UINT format_ = kWordBreak;
    int weight_ = FW_NORMAL;
    UniqueBrush brush_;
};
