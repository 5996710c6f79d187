#include "app/MainWindowControls.h"

#include "resources/resource.h"
#include "scanners/Categories.h"
#include "ui/CounterLayout.h"

#include <cstdlib>

namespace {

// The white labels: one per category, then the total's and the progress bar's.
std::array<UINT, MainWindowControls::kLabelCount> LabelIds()
{
    std::array<UINT, MainWindowControls::kLabelCount> ids{};
    for (int i = 0; i < CategoryCount; ++i) {
        ids[static_cast<size_t>(i)] = CounterLabelId(i + 1);
    }
    ids[CategoryCount] = CounterLabelId(0);
    ids[CategoryCount + 1] = IDC_PROGRESS_LABEL;
    return ids;
}

// Sets a label's text and redraws it at once: the window may be busy for a while after.
void ShowNow(const CTransparentStatic& label, const std::string& text)
{
    label.SetWindowText(text);
    label.Invalidate();
    UpdateWindow(label.GetSafeHwnd());
}

// The left column below the total, above the lower Repair button.
constexpr CounterArea MainCounters = {{8, 62, 110, 216}, 38, 9, 11};

}  // namespace

void MainWindowControls::Bind(HWND dialog)
{
    dialog_ = dialog;
    BindMainWindowButtons(dialog, buttons_, busy_);
    BindLabels(dialog);
    BindCounters(dialog);
    std::array<bool, CategoryCount> every;
    every.fill(true);
    LayOutCounters(dialog, MainCounters, every);
}

void MainWindowControls::BindLabels(HWND dialog)
{
    const auto ids = LabelIds();
    for (size_t i = 0; i < labels_.size(); ++i) {
        labels_[i].SubclassDlgItem(ids[i], dialog);
        // One text line high: a wrapped remainder could only push the visible words out of sight.
        labels_[i].SetFormat(DT_SINGLELINE | DT_LEFT);
        labels_[i].SetColour(255, 255, 255);
        if (ids[i] == IDC_ERRORS_FOUND) {
            labels_[i].SetWeight(FW_BOLD);
        }
    }
    status_.SubclassDlgItem(IDC_STATUS, dialog);
    status_.SetWeight(FW_BOLD);
    currentItem_.SubclassDlgItem(IDC_CURRENT_ITEM, dialog);
    // The current item is a path: one line, shortened in the middle rather than wrapped.
    currentItem_.SetFormat(DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_NOPREFIX);
}

void MainWindowControls::BindCounters(HWND dialog)
{
    for (int i = 0; i < ErrorCounterCount; ++i) {
        CTransparentStatic& counter = counters_[static_cast<size_t>(i)];
        counter.SubclassDlgItem(CounterId(i), dialog);
        counter.SetColour(255, 255, 255);
        counter.SetFormat(CTransparentStatic::kOneLineRight);
        if (i == 0) {
            counter.SetWeight(FW_BOLD);
        }
    }
}

void MainWindowControls::Enable(UINT buttonId, bool enable) const noexcept
{
    if (dialog_) {
        ::EnableWindow(GetDlgItem(dialog_, static_cast<int>(buttonId)), enable);
    }
}

void MainWindowControls::SetStatus(const std::string& text) const
{
    ShowNow(status_, text);
}

void MainWindowControls::SetCurrentItem(const std::string& text) const
{
    ShowNow(currentItem_, text);
}

void MainWindowControls::ShowCounter(int i, const ScanResults& results) const
{
    ShowNow(counters_[static_cast<size_t>(i)], CounterText(results, i));
}

void MainWindowControls::ShowCounters(const ScanResults& results) const
{
    for (int i = 0; i < ErrorCounterCount; ++i) {
        ShowCounter(i, results);
    }
}

int MainWindowControls::TotalShown() const
{
    return std::atoi(counters_[0].GetWindowText().c_str());
}
