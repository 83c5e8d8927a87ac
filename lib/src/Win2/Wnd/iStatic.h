// The library's text label: the framework's static that takes its parent's font and joins
// its container's window set.
#pragma once

#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "framework/Framework.h"

class iStatic : public CStatic {
    DECLARE_DYNAMIC(iStatic)
public:
    // Dialog-item form: CStatic::Create (which adds WS_CHILD) with the rectangle mapped
    // for the parent.
    iStatic(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // Window form: a "Static" window with WS_CHILD added.
    iStatic(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~iStatic() override;

    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

protected:
    iWindowSetAccess m_access;
};
