// CApplication: Corvadin's start-up. It reads the switches and the Run entry, then either hands over to the copy
// that holds the one-copy mutex or runs the hidden owner window for the rest of the process.
#pragma once

#include "app/HiddenDlg.h"
#include "framework/Application.h"

#include <string>

class CApplication : public CWinApp {
public:
    // arguments: the command line after the program's name.
    explicit CApplication(std::string arguments) : arguments_(std::move(arguments)) {}

    CHiddenDlg& HiddenWindow() noexcept { return hidden_; }

protected:
    // Returns FALSE: the program ends when it returns.
    BOOL InitInstance() override;

private:
    std::string arguments_;
    CHiddenDlg hidden_;
};

// A second copy's part: a copy started by hand asks the running one to show its main window; a log-on start
// asks nothing.
void HandOverToRunningCopy();
