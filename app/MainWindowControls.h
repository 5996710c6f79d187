// The main window's skinned controls: the six bitmap buttons and the busy indicator at their pixel places, the
// styled labels, and the counter labels that show the error counters.
#pragma once

#include "app/MainWindowButtons.h"
#include "engine/ScanResults.h"
#include "ui/SkinButton.h"
#include "ui/TransparentStatic.h"

#include <array>
#include <string>

class MainWindowControls {
public:
    static constexpr int kLabelCount = CategoryCount + 2;

    // Binds and styles every control of dialog; the buttons move to their places.
    void Bind(HWND dialog);

    void Enable(UINT buttonId, bool enable) const noexcept;
    void SetStatus(const std::string& text) const;
    void SetCurrentItem(const std::string& text) const;
    // Shows counter i of results (see CounterText) and redraws its label at once.
    void ShowCounter(int i, const ScanResults& results) const;
    void ShowCounters(const ScanResults& results) const;
    int TotalShown() const;
    void StartBusy() { busy_.StartAnimation(); }
    // For the screenshot test, which shows every state of them.
    MainWindowButtons& Buttons() noexcept { return buttons_; }
    CSkinButton& Busy() noexcept { return busy_; }
    void StopBusy() { busy_.StopAnimation(); }
    // The buttons' and the busy indicator's faces for dpi.
    void SetDpi(UINT dpi);

private:
    void BindLabels(HWND dialog);
    void BindCounters(HWND dialog);

    HWND dialog_ = nullptr;
    MainWindowButtons buttons_;
    CSkinButton busy_;
    std::array<CTransparentStatic, kLabelCount> labels_;
    CTransparentStatic status_;
    CTransparentStatic currentItem_;
    std::array<CTransparentStatic, ErrorCounterCount> counters_;
};
