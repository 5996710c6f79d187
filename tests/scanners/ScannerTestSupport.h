// What the scanner tests share beyond the common helpers: a stop asked for at a given entry, and the log lines
// of one scan.
#pragma once

#include "engine/IssueList.h"
#include "engine/RegistryScanner.h"
#include "tests/support/LogCapture.h"
#include "tests/support/RecordingContext.h"
#include "tests/support/Scratch.h"

#include <string>
#include <vector>

// Asks scanner to stop as soon as the walk shows a text that contains trigger: the
// entry being shown is still judged, the next one is not.
class StopSink : public RecordingSink {
public:
    StopSink(RegistryScanner& scanner, std::string trigger) : scanner_(scanner), trigger_(std::move(trigger))
    {
        scanner_.SetProgress(this);
    }
    void SetText(const std::string& text) override
    {
        if (text.find(trigger_) != std::string::npos) {
            scanner_.RequestStop();
        }
    }

private:
    RegistryScanner& scanner_;
    std::string trigger_;
};

// The log lines (without time stamps) that one scan by scanner writes; its issues go to list when one is given.
inline std::vector<std::string> LoggedScan(RegistryScanner& scanner, const std::string& logPath,
                                           IssueList* list = nullptr)
{
    const LogCapture log(logPath);
    IssueList own;
    scanner.Scan(list ? list : &own);
    return log.Lines();
}
