// The window class that hosts the platform's WebBrowser control and calls its methods
// through the framework's automation helper. Creating it creates the control, in place,
// as a child of the parent window.
#pragma once

#include "framework/Framework.h"

class CWebBrowser2 : public CWnd {
    DECLARE_DYNCREATE(CWebBrowser2)
public:
    // The control in the parent with the window text, style, rectangle and id; no
    // persisted state, storage or licence. The class name and context are not used.
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;

    // Shows the page at URL (a file path or address in a text variant); the other
    // arguments may be null. Failures throw the framework's OLE exceptions.
    void Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData, VARIANT* Headers);

    // Properties of the page shown.
    CString GetType();
    CString GetLocationName();
    CString GetLocationURL();
    CString GetName();
    CString GetFullName();
    CString GetPath();
    CString GetStatusText();
};
