// Stands in for the framework's window device contexts: each takes its DC in the
// constructor and gives it back in the destructor. A null window means the screen.
#pragma once

#include "DC.h"

#include <windows.h>

class CWnd;

// GetDC / ReleaseDC on the window's client area.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;
    HWND m_hWnd;
};

// GetWindowDC / ReleaseDC on the whole window, frame included.
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;
    HWND m_hWnd;
};

// BeginPaint / EndPaint, for WM_PAINT handlers.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    HWND m_hWnd;
    PAINTSTRUCT m_ps;
};
