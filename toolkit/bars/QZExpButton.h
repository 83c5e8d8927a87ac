// The chevron: the narrow button at the far end of a toolbar that stands for the buttons
// that no longer fit on the bar (and, on a customisable toolbar, for customisation). It is
// a flat button whose picture is two small glyphs; the toolbar creates it in its own
// WM_CREATE as its child 52782, keeps no pointer to it, and sizes, shows and hides it.
#pragma once

#include "toolkit/controls/QZButton.h"

class CQZToolBar;

// Deletes itself once its window is gone; one whose Create failed is its creator's to delete.
class CQZExpButton : public CQZButton {
    DECLARE_DYNAMIC(CQZExpButton)
public:
    CQZExpButton();
    ~CQZExpButton() override;

    // A hidden flat owner-drawn child of the toolbar with that id.
    BOOL Create(CQZToolBar* pBar, UINT nID);
    // One glyph of cx by cy pixels (rows of 16 bits, 0 bits are ink): bFirst places the
    // hidden-buttons glyph, else the customise glyph.
    void DrawArrow(CDC* pDC, const CRect& rect, UINT nState, int cx, int cy, BOOL bFirst, const BYTE* pRows);

    // The toolbar's back colour, so that the chevron always matches its bar.
    COLORREF GetFaceColor() const override;
    // Flat in the classic look, XP in the XP look, never both.
    DWORD GetDrawStyle() const override;
    // The glyphs instead of a bitmap.
    void DrawBitmap(CDC* pDC, UINT nState, const CRect& rect) override;

    CQZToolBar* m_pToolBar = nullptr;

protected:
    void PostNcDestroy() override;

    afx_msg void OnUpdateCmdUI(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    // Set while Create runs: a window that fails to be made must not delete its object.
    bool m_bCreating = false;
};
