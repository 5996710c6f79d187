// Keeps a dialog's controls at their distance from the edges they are tied to while the dialog is resized: a
// list grows with it, its buttons stay at the lower right. The dialog never gets smaller than it opened.
#pragma once

#include <windows.h>

#include <vector>

class Anchors {
public:
    enum Tie : unsigned {
        Grows = 1,         // right edge follows the dialog's right edge
        GrowsDown = 2,     // bottom edge follows the dialog's bottom edge
        KeepsRight = 4,    // moves with the right edge
        KeepsBottom = 8,   // moves with the bottom edge
    };

    // Takes dialog's present size as the smallest, and the controls' places at it.
    void Start(HWND dialog);
    void Tie(int controlId, unsigned ties);
    // Moves the tied controls for the dialog's new client size.
    void Apply() const;
    // WM_SIZE moves the controls, WM_GETMINMAXINFO answers the smallest size; other messages pass.
    void OnMessage(UINT message, LPARAM lParam) const;
    // How much larger the client area is than at the start.
    SIZE Growth() const noexcept;

private:
    struct Tied {
        HWND control;
        RECT place;
        unsigned ties;
    };
    HWND dialog_ = nullptr;
    SIZE client_{};
    SIZE window_{};
    std::vector<Tied> tied_;
};
