// The library's slider (the system's trackbar): the framework's slider made on a parent
// in one step, with the parent's font, joined to the parent's window set.
#pragma once

#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "framework/Framework.h"

class iSliderCtrl : public CSliderCtrl {
public:
    // Dialog-item form: CSliderCtrl::Create with the rectangle mapped for the parent; the
    // text is not used.
    iSliderCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // Window form: a "msctls_trackbar32" window with WS_CHILD added.
    iSliderCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    // Leaves the container's window set, then the framework destroys the window.
    ~iSliderCtrl() override;

    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

private:
    iWindowSetAccess m_access;
};
