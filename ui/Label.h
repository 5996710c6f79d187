// CLabel: a title bar drawn in the active caption colours, with the control's text in bold, 10 pixels in from the
// left and vertically centred.
#pragma once

#include "framework/Static.h"

class CLabel : public CStatic {
protected:
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
};
