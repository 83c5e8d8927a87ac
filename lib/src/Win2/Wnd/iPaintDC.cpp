// The library's paint device context.
#include "lib/src/Win2/Wnd/iPaintDC.h"

iPaintDC::iPaintDC(CWnd* window) : CPaintDC(window) {}

iPaintDC::~iPaintDC() = default;
