// CButton: a push button bound to its dialog control.
#pragma once

#include "framework/Window.h"

class CButton : public CWnd {
public:
    // The BST_ state bits, BST_PUSHED among them.
    UINT GetState() const noexcept { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    // Shows the button pushed or released, as a press does.
    void SetState(bool pushed) const noexcept { SendMessage(BM_SETSTATE, pushed); }
};
