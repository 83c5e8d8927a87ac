// The library's up-down (spin) control and progress bar: the framework's controls made
// on a parent in one step and joined to the parent's window set.
#pragma once

#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "framework/Framework.h"

// A fresh spin control counts from 0 to 1,000,000, whatever its style.
class iSpinButtonCtrl : public CSpinButtonCtrl {
public:
    static constexpr int kRangeMin = 0;
    static constexpr int kRangeMax = 1000000;

    // Dialog-item form: CSpinButtonCtrl::Create with the rectangle mapped for the parent;
    // the text is not used and the parent's font is not copied.
    iSpinButtonCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // Window form: a "msctls_updown32" window with WS_CHILD added and the parent's font.
    iSpinButtonCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                    LPVOID param);
    // Leaves the container's window set, then the framework destroys the window.
    ~iSpinButtonCtrl() override;

    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

private:
    iWindowSetAccess m_access;
};

class iProgressCtrl : public CProgressCtrl {
public:
    // CProgressCtrl::Create with the rectangle mapped for the parent and the parent's
    // font; the text is not used.
    iProgressCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    ~iProgressCtrl() override;

    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

private:
    iWindowSetAccess m_access;
};
