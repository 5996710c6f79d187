// The results list as the main window keeps it while it has a window: the document, and the frame that holds the
// list and translates the list's keyboard commands while the focus is inside it. Made anew with every main window,
// so the list is empty whenever the window opens.
#pragma once

#include "app/ScanDocument.h"
#include "app/ScanView.h"
#include "framework/FrameWnd.h"
#include "framework/GdiHandles.h"

#include <memory>

class ResultsCommands;

class ResultsFrame {
public:
    // Creates the document, the frame (a hidden 1 x 1 child of parent until placed) with its list and the list's
    // accelerators. A frame class that cannot be registered is reported and the framework's plain frame class is
    // used instead. False when the frame could not be created.
    bool Create(HWND parent, ResultsCommands* commands);
    // Deletes the document and destroys the frame, which destroys the list and frees its rows' records.
    void Destroy() noexcept;
    // Moves the frame onto the upper part of placeholder (a control of the same parent) and the details area onto
    // the rest, shows both and hides the placeholder.
    void PlaceOver(HWND placeholder) const noexcept;

    // Null while there is no list.
    CScanView* View() const noexcept;
    HWND FrameWindow() const noexcept { return frame_ ? frame_->GetSafeHwnd() : nullptr; }
    // The text below the list that shows the selected row's details.
    HWND DetailsWindow() const noexcept { return details_.get(); }

private:
    std::unique_ptr<CScanDocument> document_;
    std::unique_ptr<CFrameWnd> frame_;
    UniqueChildWindow details_;
};
