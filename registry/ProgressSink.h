// How long work (a registry walk, a scan, a repair) reports its progress to whoever shows it.
#pragma once

#include <string>

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual int Range() const = 0;
    // Moves the position on by delta and shows it; returns the new position.
    virtual int Step(int delta) = 0;
    virtual void SetRange(int n) = 0;
    virtual int Position() const = 0;
    virtual void SetPosition(int p) = 0;
    // Shows text on the current-item line.
    virtual void SetText(const std::string& text) = 0;
};
