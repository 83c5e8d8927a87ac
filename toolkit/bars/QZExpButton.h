// The chevron: the narrow button at the far end of a toolbar that stands for the buttons
// that no longer fit on the bar (and, on a customisable toolbar, for customisation). It is
// a flat button whose picture is two small glyphs; the toolbar creates it in its own
// WM_CREATE as its child 52782, keeps no pointer to it, and sizes, shows and hides it.
// A click opens the hidden-buttons popup beside it; it stays pressed while that is open.
#pragma once

#include "toolkit/controls/QZButton.h"

class CQZExpMenuWnd;
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

    // The XP look's open state: the bar's colour, the glyphs as drawn at rest, the
    // popup's frame colour around it.
    void DrawOpenState(CDC* pDC, const CRect& rect);
    // The part of the button its ancestors leave visible, on the screen, less the last
    // pixel row and column: where the popup is aligned.
    CRect GetVisibleRect() const;

    CQZToolBar* m_pToolBar = nullptr;
    // The popup the last click opened, until it reports that it has gone.
    CQZExpMenuWnd* m_pPopup = nullptr;

protected:
    void PostNcDestroy() override;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    afx_msg void OnCustomize();
    afx_msg LRESULT OnPopupClosed(WPARAM wParam, LPARAM lParam);
    afx_msg void OnUpdateCmdUI(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    // Pressed in the flag and in the look.
    void ShowPressed(BOOL bPressed);
    // Set while Create runs: a window that fails to be made must not delete its object.
    bool m_bCreating = false;
};
