// The results window's document: the main window makes one with each of its windows and deletes it with the
// window. It holds nothing; the rows live in the view.
#pragma once

#include "framework/Document.h"

class CScanDocument : public CDocument {};
