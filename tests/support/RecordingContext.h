// A scan context for tests: records what a walk shows on its progress sink and can
// ask for a stop after a number of entries.
#pragma once

#include "engine/ProgressSink.h"
#include "engine/RegistryScanner.h"

#include <string>
#include <vector>

class RecordingSink : public ProgressSink {
public:
    int Range() const override { return range; }
    int Step(int delta) override { return position += delta; }
    void SetRange(int n) override { range = n; }
    int Position() const override { return position; }
    void SetPosition(int p) override { position = p; }
    void SetText(const std::string& text) override { texts.push_back(text); }

    int range = 0;
    int position = 0;
    std::vector<std::string> texts;
};

class RecordingContext : public RegistryScanner {
public:
    RecordingContext() { SetProgress(&sink); }
    int Scan(IssueList*) override { return 0; }
    std::string Name() const override { return "Test"; }
    // Stops once the sink has stepped stopAfter times (never when negative).
    bool IsStopRequested() const override
    {
        return RegistryScanner::IsStopRequested() || (stopAfter >= 0 && sink.position >= stopAfter);
    }

    RecordingSink sink;
    int stopAfter = -1;
};
