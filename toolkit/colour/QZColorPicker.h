// The colour picker: a push button showing a colour swatch with a drop-down arrow that
// drops the colour popup below itself when clicked or opened from the keyboard. It keeps
// the picked colour with a contrasting colour for its caption and tells its owner about
// the popup through WM_COMMAND notifications whose codes are the colour messages.
// Its set-up (owner drawing, the toolkit font) runs once the window is complete, whether
// it was created or attached to a dialog's control.
#pragma once

#include "framework/ControlsButtons.h"

// Either of the picker's two colours reads as the face colour while it holds this.
constexpr COLORREF kQZFaceColor = 0xFFFFFFFF;

class CQZColorPicker : public CButton {
    DECLARE_DYNAMIC(CQZColorPicker)
public:
    CQZColorPicker();
    ~CQZColorPicker() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // Applies and repaints only when the colour differs from the one shown.
    virtual void SelectColor(COLORREF color);
    // The picked colour: GetColor with the colour flag set, else GetTextColor.
    virtual COLORREF GetEffectiveColor() const;
    virtual void SetColorFlag(BOOL bColorFlag);
    virtual BOOL GetColorFlag() const;
    // The colour of the popup's "Automatic" cell.
    virtual void SetAutomaticColor(COLORREF color);
    virtual COLORREF GetAutomaticColor() const;
    virtual void ModifyPopupStyle(DWORD dwRemove, DWORD dwAdd);
    // Asks for the popup once the message that asked for it is fully handled.
    virtual void ShowPopupAsync();
    virtual void SetColor(COLORREF color);
    virtual COLORREF GetColor() const;
    virtual void SetTextColor(COLORREF color);
    virtual COLORREF GetTextColor() const;
    // The colour as the picked one and its contrast (white on dark, black on light) as
    // the other, by the colour flag.
    virtual void ApplyColor(COLORREF color);

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Style bits handed to the popup: the 40-colour table and "More Colors...".
    DWORD m_dwPopupStyle = 0x06;
    COLORREF m_clrColor = RGB(255, 255, 255);
    COLORREF m_clrText = RGB(0, 0, 0);
    // High byte set: matches no colour of the popup's tables.
    COLORREF m_clrAutomatic = 0xFF000000;
    BOOL m_bColorFlag = TRUE;
    // Requested and not yet closed: clicks and keys then ask for no other popup.
    BOOL m_bPopupOpen = FALSE;
    BYTE m_bInitPending = 1;

protected:
    void PreSubclassWindow() override;
    // WM_COMMAND with the code to the owner (or the parent); nothing when there is neither.
    void Notify(UINT nCode);
    // Whether there is a window to notify: without one, chosen colours are not taken over.
    BOOL HasNotifyTarget() const;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg LRESULT OnColorUnchanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnColorDropDown(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnColorCloseUp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnColorChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnColorCancel(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnColorNoFill(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT ShowPopup(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
