// A scan context for tests: records what a walk shows on its progress sink and can
// ask for a stop after a number of entries.
#pragma once

#include "registry/ProgressSink.h"
#include "registry/WalkContext.h"

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

class RecordingContext : public WalkContext {
public:
    ProgressSink* Progress() const override { return &sink; }
    // Stops once the sink has stepped stopAfter times (never when negative), or once asked to.
    bool IsStopRequested() const override { return stopped || (stopAfter >= 0 && sink.position >= stopAfter); }
    void RequestStop() { stopped = true; }

    mutable RecordingSink sink;
    int stopAfter = -1;
    bool stopped = false;
};
