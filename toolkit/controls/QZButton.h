// The toolkit's flat push button: a standard button control that draws itself flat,
// thin 3-D, full 3-D or in the XP look, with an icon or a bitmap beside or above its
// text, shows a hot state while the mouse is over it (a 10 ms check instead of capture)
// and paints off screen. Its set-up (owner drawing, the toolkit font) runs once the
// window is complete, whether it was created or attached to a dialog's control.
#pragma once

#include "framework/ControlsButtons.h"
#include "framework/Geometry.h"

class CDC;

// Drawing style bits.
#define QZ_BTN_FLAT 0x01          // a thin frame only while hot or pushed
#define QZ_BTN_THIN3D 0x02        // a one-pixel raised frame, sunken while pushed
#define QZ_BTN_IMAGEABOVE 0x04    // the image above the text, else left of it
#define QZ_BTN_FOCUS 0x10         // draw the focus
#define QZ_BTN_DITHERPUSHED 0x20  // dithered face while pushed
#define QZ_BTN_XP 0x40            // XP look: shadow frame, hot and pushed fills, white text pushed
// Any of these tracks the mouse for the hot state.
#define QZ_BTN_TRACKS_HOT (QZ_BTN_FLAT | QZ_BTN_THIN3D | QZ_BTN_XP)

// Owns its icons and bitmaps from their setting until the next setter, FreeImages or its end.
class CQZButton : public CButton {
    DECLARE_DYNAMIC(CQZButton)
public:
    CQZButton();
    ~CQZButton() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // The four colours, kept through system colour changes from now on.
    virtual void SetButtonColors(COLORREF clrFace, COLORREF clrHilite, COLORREF clrShadow, COLORREF clrText);
    virtual void SetFaceColor(COLORREF clrFace);
    virtual COLORREF GetFaceColor() const;
    virtual void SetHiliteColor(COLORREF clrHilite);
    virtual void SetShadowColor(COLORREF clrShadow);
    virtual void SetTextColor(COLORREF clrText);
    // The XP look's own border, hot fill and pushed fill.
    virtual void SetColors(COLORREF clrBorder, COLORREF clrHot, COLORREF clrPressed);
    // Icons of the given size from the framework's resource module; FALSE (no images) when one fails.
    virtual BOOL SetIcon(int cx, int cy, LPCSTR lpszIcon, LPCSTR lpszPressedIcon = nullptr, BOOL bRedraw = TRUE);
    virtual BOOL SetIcon(int cx, int cy, UINT nIcon, UINT nPressedIcon = 0);
    // Takes the icons as they are; the images held before are freed unless passed again.
    virtual BOOL SetIcon(int cx, int cy, HICON hIcon, HICON hPressedIcon = nullptr, BOOL bRedraw = TRUE);
    // The bitmap in the system's colours, and a two-colour copy for the disabled state.
    virtual BOOL SetBitmap(int cx, int cy, UINT nBitmap, BOOL bRedraw = TRUE);
    // Fixed places of image and text from now on.
    virtual BOOL SetPositions(CPoint ptImage, CPoint ptText, BOOL bRedraw = TRUE);
    virtual DWORD GetDrawStyle() const;
    virtual void ResetImage();
    virtual void FreeImages();
    virtual void DrawIcon(CDC* pDC, UINT nState, const CRect& rect);
    virtual void DrawText(CDC* pDC, UINT nState, const CRect& rect);
    virtual void DrawBitmap(CDC* pDC, UINT nState, const CRect& rect);
    virtual CString GetButtonText(BOOL bStripMnemonics) const;
    virtual CPoint GetImagePosition(CDC* pDC, UINT nState, const CRect& rect, BOOL bHasPressedImage);

    // The previous style.
    DWORD SetDrawStyle(DWORD dwStyle, BOOL bRedraw = TRUE);
    void SetPressed(BOOL bPressed);
    // Where an item of that size sits in the client area: at the border gap, or centred
    // when the image is above the text.
    CPoint CenterInClient(int cx, int cy) const;
    // One check of the hot state against the cursor at that screen point.
    void StepHover(POINT cursor);

    HICON m_hIcon = nullptr;
    HICON m_hIconPressed = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HBITMAP m_hBitmapDisabled = nullptr;
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    int m_nImageX = 0;
    int m_nImageY = 0;
    int m_nTextX = 0;
    int m_nTextY = 0;
    int m_nBorderGap = 4;
    int m_nImageGap = 8;
    DWORD m_dwDrawStyle = QZ_BTN_FLAT;
    BOOL m_bHot = FALSE;
    BOOL m_bFixedPositions = FALSE;
    BOOL m_bPressed = FALSE;
    BOOL m_bOwnColors = FALSE;
    BOOL m_bHotDrawn = FALSE;
    COLORREF m_clrText;
    COLORREF m_clrFace;
    COLORREF m_clrHilite;
    COLORREF m_clrShadow;
    COLORREF m_clrXPHot = 0;
    COLORREF m_clrXPPressed = 0;
    COLORREF m_clrXPBorder = 0;
    BOOL m_bOwnXPColors = FALSE;
    // 0 once the deferred set-up has run, else the number of the latest request.
    int m_nInitRequest = 1;

protected:
    void PreSubclassWindow() override;
    // Asks for the deferred set-up once the window is complete.
    void PostInitRequest();
    // The last step of setting images: their size kept, the button repainted when asked. TRUE.
    BOOL FinishSetImage(int cx, int cy, BOOL bRedraw);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSysColorChange();
    afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
