// The library's base for custom controls: a library window that answers WM_GETFONT with
// the font of the window it sits on, so every custom control writes in its parent's font.
#pragma once

#include "lib/src/Win2/Wnd/iWnd.h"

class iCtrl : public iWnd {
    DECLARE_DYNAMIC(iCtrl)
public:
    // No window yet.
    iCtrl();
    // iWnd's two create forms.
    iCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    iCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~iCtrl() override;

protected:
    // The parent's answer to WM_GETFONT; none without a parent.
    afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
