// A control that paints off screen: its own painting goes into a memory image filled with
// the face colour, copied to the screen in one blit, and it never erases its background,
// so resizing it does not flicker. Used over the resizable sheet's tab control.
#pragma once

#include "framework/PaintDC.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"

template <class BASE>
class CQZNoFlickerWnd : public BASE {
public:
    CQZNoFlickerWnd() : m_clrBackground(qzAfxData.colorFace) {}

    COLORREF m_clrBackground;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) {
            CPaintDC paintDC(this);
            CRect client;
            this->GetClientRect(&client);
            LRESULT result;
            {
                CQZMemDC memDC(&paintDC, client, m_clrBackground);
                result = this->DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.m_hDC), 0);
            }
            return result;
        }
        if (message == WM_ERASEBKGND)
            return 1;
        return BASE::WindowProc(message, wParam, lParam);
    }
};
