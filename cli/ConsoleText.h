// Text helpers of the console companion: JSON strings and console progress.
#pragma once

#include "registry/ProgressSink.h"

#include <chrono>
#include <cstdio>
#include <string>

// text (in the system's ANSI code page) as a quoted JSON string in UTF-8.
std::string JsonString(const std::string& text);

// Shows "<label>: NN%" on one line of standard error, rewritten in place at most
// five times a second, so that progress never mixes with what goes to standard output.
class ConsoleProgress : public ProgressSink {
public:
    explicit ConsoleProgress(bool enabled) : enabled_(enabled) {}
    ~ConsoleProgress() override { Clear(); }

    void SetLabel(const std::string& label);
    void Clear();

    int Range() const override { return range_; }
    int Step(int delta) override;
    void SetRange(int n) override { range_ = n; }
    int Position() const override { return position_; }
    void SetPosition(int p) override;
    void SetText(const std::string&) override {}

private:
    void Show(bool force);

    bool enabled_;
    bool shown_ = false;
    std::string label_;
    int range_ = 0;
    int position_ = 0;
    std::chrono::steady_clock::time_point lastShown_{};
};
