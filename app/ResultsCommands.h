// What the results list's keyboard commands ask of the main window that owns the list.
#pragma once

class ResultsCommands {
public:
    virtual void StartScan() = 0;
    virtual void StopScan() = 0;
    virtual void Repair() = 0;
    virtual void OpenHelp() = 0;
    // Adds the selected rows' entries to the ignore list; the rows stay, marked and unticked.
    virtual void IgnoreSelected() = 0;
    // Ends the main window's modal run with result 0: the window closes, the program stays in the tray.
    virtual void EndMainWindow() = 0;

protected:
    ~ResultsCommands() = default;
};
