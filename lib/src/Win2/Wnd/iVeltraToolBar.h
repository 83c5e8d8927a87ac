// The library's flat toolbar: the toolkit's toolbar made with the library's argument
// lists. Unlike the library's controls it joins no window set: its creator deletes it.
// It is never customisable: the program's toolbar docks and floats, and a double click
// opens no customise dialog, so the control is made without CCS_ADJUSTABLE (whose bit the
// bar style's CBRS_FLYBY shares).
#pragma once

#include "toolkit/bars/QZToolBar.h"

class iVeltraToolBar : public CQZToolBar {
    DECLARE_DYNAMIC(iVeltraToolBar)
public:
    // No window yet.
    iVeltraToolBar();
    // The toolkit toolbar with control style style & 0x40FFFF (less CCS_ADJUSTABLE), window
    // and bar style style, the rectangle's sides as its border widths, and exStyle added to
    // the window. The text and the last argument are not used.
    iVeltraToolBar(CWnd* parent, const RECT& borders, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                   LPVOID param);
    // The toolkit toolbar with its default borders; the rectangle and the text are not used.
    iVeltraToolBar(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    ~iVeltraToolBar() override;

protected:
    DECLARE_MESSAGE_MAP()
};
