// CPopUp: the small always-on-top window that announces the end of a background scan with the last scan's counts,
// a sound and one Repair button. Closed with its close box or Escape it only hides, and comes back every 5 minutes
// until a repair has been run. One process-wide object; its window is created and destroyed many times.
#pragma once

#include "engine/ScanResults.h"
#include "ui/SkinButton.h"
#include "ui/SkinDialog.h"
#include "ui/TransparentStatic.h"

#include <array>
#include <functional>
#include <string>

class CPopUp : public CSkinDialog {
public:
    static constexpr int kWidth = 296;
    static constexpr int kHeight = 345;
    static constexpr UINT_PTR kReminderTimerId = 1;
    static constexpr UINT kReminderPeriod = 300000;

    CPopUp() noexcept;

    // Creates the window when there is none, places it at the lower right of the work area, shows the last scan's
    // counts with Repair enabled exactly when the total is above 0, and plays the notification sound.
    void Present();
    // What a scan start and the main window's repair do: a visible pop-up goes; a hidden one is left alone.
    void DestroyIfVisible();
    // What the Repair button runs (the main window's repair); none leaves the button doing only its closing part.
    void SetRepairHandler(std::function<void()> handler);
    // The sound played at each showing; none until it is set.
    void SetSoundFile(std::string path);
    bool IsCreated() const noexcept { return IsWindow(); }
    bool IsReminderArmed() const noexcept { return reminderTimer_ != 0; }

    // Where the pop-up goes in a work area (screen coordinates): its lower right corner, moved in so that the
    // whole window stays inside the work area whenever it fits. Its size is kWidth x kHeight at 96 DPI, scaled to
    // dpi.
    static RECT Placement(const RECT& workArea, UINT dpi = 96) noexcept;

protected:
    BOOL OnInitDialog() override;
    // Enter dismisses it as Escape does, so that it still comes back as a reminder.
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Plays path asynchronously; a missing file or sound device leaves the program silent. Tests replace it.
    virtual void PlayNotifySound(const std::string& path);

private:
    void ShowAtTheCorner();
    void ShowCounts();
    void OnReminder();
    void OnRepair();
    void KillReminder() noexcept;

    std::array<CTransparentStatic, ErrorCounterCount> labels_;
    std::array<CTransparentStatic, ErrorCounterCount> counters_;
    CSkinButton repair_;
    std::function<void()> repairHandler_;
    std::string soundFile_;
    UINT_PTR reminderTimer_ = 0;
};

// The one pop-up of the process.
CPopUp& ThePopUp();
