#include "app/MainWindowControls.h"

#include "resources/resource.h"

#include <cstdlib>

namespace {

struct LabelStyle {
    UINT id;
    bool white;
    bool bold;
};

constexpr LabelStyle kLabels[MainWindowControls::kLabelCount] = {
    {IDC_LABEL_APP_PATH, true, false},       {IDC_LABEL_UNINSTALL, true, false},
    {IDC_LABEL_HELP_FILES, true, false},     {IDC_LABEL_FILE_EXTENSIONS, true, false},
    {IDC_LABEL_EXTENSION_REF, true, false},  {IDC_LABEL_FONT_FILES, true, false},
    {IDC_LABEL_RECENTLY_USED, true, false},  {IDC_LABEL_SHARED_DLL, true, false},
    {IDC_LABEL_SHARED_FOLDERS, true, false}, {IDC_LABEL_STARTUP_PROGRAM, true, false},
    {IDC_LABEL_COM, true, false},            {IDC_LABEL_BHO, true, false},
    {IDC_LABEL_SHORTCUTS, true, false},      {IDC_ERRORS_FOUND, true, true},
    {IDC_PROGRESS_LABEL, true, false},
};

// Counter 0 is the total; counters 1 to 13 follow the scanner list.
constexpr UINT CounterId(int i)
{
    return i == 0 ? IDC_TOTAL_COUNT : IDC_COUNT_FIRST + static_cast<UINT>(i - 1);
}

// Sets a label's text and redraws it at once: the window may be busy for a while after.
void ShowNow(const CTransparentStatic& label, const std::string& text)
{
    label.SetWindowText(text);
    label.Invalidate();
    UpdateWindow(label.GetSafeHwnd());
}

}  // namespace

void MainWindowControls::Bind(HWND dialog)
{
    dialog_ = dialog;
    BindMainWindowButtons(dialog, buttons_, busy_);
    BindLabels(dialog);
    BindCounters(dialog);
}

void MainWindowControls::BindLabels(HWND dialog)
{
    for (size_t i = 0; i < labels_.size(); ++i) {
        const LabelStyle& style = kLabels[i];
        labels_[i].SubclassDlgItem(style.id, dialog);
        // One text line high: a wrapped remainder could only push the visible words out of sight.
        labels_[i].SetFormat(DT_SINGLELINE | DT_LEFT);
        if (style.white) {
            labels_[i].SetColour(255, 255, 255);
        }
        if (style.bold) {
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

void MainWindowControls::ShowCounter(int i, int value) const
{
    ShowNow(counters_[static_cast<size_t>(i)], std::to_string(value));
}

void MainWindowControls::ShowCounters(const std::array<int, ErrorCounterCount>& counters) const
{
    for (int i = 0; i < ErrorCounterCount; ++i) {
        ShowCounter(i, counters[static_cast<size_t>(i)]);
    }
}

int MainWindowControls::TotalShown() const
{
    return std::atoi(counters_[0].GetWindowText().c_str());
}
