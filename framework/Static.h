// CStatic: a static text control bound to its dialog control.
#pragma once

#include "framework/Window.h"

class CStatic : public CWnd {};
