// The toolkit's toolbar: a control bar over the common toolbar control. It loads its
// buttons and images from a toolbar resource, lays them out in rows for every docking
// side and the floating state, keeps button states in step with the command handlers,
// carries child controls in place of separators, keeps a snapshot of its buttons for
// the customise dialog, hides trailing buttons behind a chevron when its row is short,
// and paints off screen in the classic or the XP look.
// Button records: the toolbar hands buttons around as TBBUTTON with one convention of
// its own: bit 0x04 of the state means "disabled" where the control's bit means
// "enabled"; GetButton and SetButton invert it on the way out and in.
#pragma once

#include "framework/CollectionLists.h"
#include "framework/CollectionMaps.h"
#include "toolkit/bars/QZControlBar.h"

#include <commctrl.h>

class CCmdUI;
class CDC;
class CQZColorPopup;

// A record of the toolkit's convention as the control takes it: its disabled bit turned
// back into the control's enabled bit. Records handed to the control whole go through it.
inline TBBUTTON QZToControlButton(TBBUTTON button)
{
    button.fsState ^= TBSTATE_ENABLED;
    return button;
}

// State bit of a toolkit button record: the button is disabled.
#define QZ_TBSTATE_DISABLED 0x04

// The style word of GetButtonStyle and SetButtonStyle: the style byte low, the state
// byte (toolkit convention) in the high word.
#define QZ_TBBS_CHECKED 0x00010000
#define QZ_TBBS_PRESSED 0x00020000
#define QZ_TBBS_DISABLED 0x00040000
#define QZ_TBBS_HIDDEN 0x00080000
#define QZ_TBBS_INDETERMINATE 0x00100000
#define QZ_TBBS_WRAPPED 0x00200000

// The chevron's room along the bar, and its own length.
#define QZ_CHEVRON_ROOM 13
#define QZ_CHEVRON_LENGTH 12

// A drop-down button's record.
struct QZ_DROPDOWNBUTTON {
    UINT nCommand = 0;
    // Menu resource whose first popup drops down; 0 for none.
    UINT nMenuID = 0;
    // Draw the current colour as a bar under the image.
    BOOL bShowColor = FALSE;
    // The drop-down is a colour popup.
    BOOL bColorPopup = FALSE;
    DWORD dwPopupStyle = 0;
    COLORREF clrDefault = 0xFF000000;
    COLORREF clrCurrent = 0xFF000000;
};

// One element of the toolbar's button snapshot. The toolbar deletes the drop-down
// records its elements own when it empties the snapshot and when it goes.
struct QZ_TBBUTTON {
    TBBUTTON button = {};
    // The child control bound to this command, if any.
    CWnd* pControl = nullptr;
    QZ_DROPDOWNBUTTON* pDropDown = nullptr;
    BYTE bOwnsDropDown = 1;
    BYTE bBoldFont = 0;
    BYTE bHiddenAtSnapshot = 0;
};

// A button hidden to fit a short row: the width of its item when it was hidden.
struct QZ_HIDDENBUTTON {
    int nWidth = 0;
};

// While a layout commits: a child control's command, index and item in screen coordinates.
struct QZ_CONTROLPOS {
    int nID;
    int nIndex;
    RECT rectOldPos;
};

class CQZToolBar : public CQZControlBar {
    DECLARE_DYNAMIC(CQZToolBar)
public:
    CQZToolBar();
    ~CQZToolBar() override;

    // Creation.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                        UINT nID = AFX_IDW_TOOLBAR);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, RECT rcBorders, UINT nID);
    using CWnd::CreateEx;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The owner gets the control's notifications and the drop-down and colour messages.
    virtual void SetOwner(CWnd* pOwnerWnd);

    // Sizes and images.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    BOOL LoadToolBar(LPCSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCEA(nIDResource)); }
    // The image strip from a bitmap resource, in the system's colours.
    BOOL SetBitmap(LPCSTR lpszResourceName);
    // Takes the bitmap as the image strip when the control accepts it (then owns it).
    BOOL AddReplaceBitmap(HBITMAP hbmImageWell);

    // Buttons.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    // The control's button with the disabled bit of the toolkit's records; FALSE for no such button.
    BOOL GetButton(int nIndex, TBBUTTON* pButton) const;
    // Replaces the button when the record differs from the control's.
    void SetButton(int nIndex, TBBUTTON* pButton);
    int CommandToIndex(UINT nID) const;
    UINT GetItemID(int nIndex) const;
    // The button's rectangle after any pending layout; empty for no such button.
    virtual void GetItemRect(int nIndex, LPRECT lpRect);
    // (state byte << 16) | style byte, the state with the disabled bit.
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
    BOOL SetButtonText(int nIndex, LPCSTR lpszText);
    // The button's text from the toolbar's strings; empty when it has none.
    CString GetButtonText(int nIndex) const;
    void GetButtonText(int nIndex, CString& rString) const;
    // nFormat without the bits of the last TB_SETDRAWTEXTFLAGS mask, with its flags.
    UINT ApplyDrawTextFlags(UINT nFormat) const;

    // Child controls in place of separators carrying their ids.
    virtual BOOL AddControl(CWnd* pCtrl, BOOL bBoldFont = FALSE);
    virtual void PositionControl(CWnd* pCtrl);
    virtual void PositionControls();
    BOOL AutoSizeButtons();

    // Layout.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    // A button's extent from its item; a wrapped separator adds height, not width.
    virtual CSize GetButtonSize(TBBUTTON* pData, int nIndex);
    CSize CalcLayout(DWORD dwMode, int nLength = -1);
    CSize CalcSize(TBBUTTON* pData, int nCount);
    // Breaks the records into rows no wider than nWidth where it can; the number of rows.
    int WrapToolBar(TBBUTTON* pData, int nCount, int nWidth);
    // The wrap width that fits nLength (a width, or a height when bVert).
    void SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert = FALSE);
    // Runs a pending layout.
    void Layout();
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;

    // Command state and tips.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    int OnToolHitTest(CPoint point, TOOLINFOA* pTI) override;
    BOOL IsToolkitDragAllowed() override;

    // Hidden buttons and the chevron.
    virtual BOOL IsChevronAllowed();
    virtual BOOL HasHiddenButtons();
    // In a rebar band or docked at the top or the bottom.
    virtual BOOL IsHorizontalBar();
    // Every hidden button shown again.
    void RestoreHiddenButtons();
    // Hides buttons from the end until the bar fits nAvailable (always leaving one);
    // returns nLength.
    int HideButtonsToFit(int nLength, int nAvailable, BOOL bHorz);
    // Shows hidden buttons in index order while the bar fits; the bar's new length.
    int ShowHiddenButtons(int nLength, int nAvailable, BOOL bHorz);
    // One button and the chevron, with the borders.
    CSize GetMinimumSize();
    // A rebar band keeps room for the chevron and one button at least.
    BOOL GetBandInfo(REBARBANDINFOA* pBandInfo, BOOL bHorz) override;
    void OnBandChildSize(QZ_BANDCHILDSIZE* pChildSize, BOOL bHorz) override;
    // The customisable flag: the chevron offers customisation.
    BOOL GetChevronState() const;
    // Fills the chevron popup's toolbar with copies of the hidden buttons, in their order,
    // in rows no wider than nWidth (or the widest hidden button); their texts, images,
    // child controls and drop-down records go along.
    void CopyHiddenButtons(CQZToolBar* pTarget, int nWidth);

    // Snapshot, customisation and the saved layout.
    // Rebuilds the button snapshot from the control.
    void SaveOriginalButtons();
    // The control saves its layout in the registry value of the bar (nothing without a
    // registry key name).
    void SaveState();
    // The control restores its saved layout; a bar whose parent is not a frame is made
    // not customisable by the dialog instead.
    void RestoreState();
    // A customisable toolbar restores its saved layout first.
    void EnableDocking(DWORD dwDockStyle);
    // The drop-down record of the command, or null.
    QZ_DROPDOWNBUTTON* FindDropDownButton(UINT nID) const;
    // Gives the command's button a drop-down (bArrow: a separate arrow part) and returns its
    // record, new or the one it has, for the caller to fill.
    QZ_DROPDOWNBUTTON* AddDropDownButton(UINT nID, BOOL bArrow);
    // Opens what the button's drop-down record names below rcButton (screen coordinates):
    // its menu, its colour popup, or whatever the owner makes of WM_QZ_DROPDOWN.
    virtual void ShowDropDownMenu(NMTOOLBARA* pnmtb, UINT nID, RECT rcButton);
    // A colour popup for the record's button, below rcButton (screen coordinates), telling
    // this toolbar; the caller owns it. Null when its window cannot be made.
    virtual CQZColorPopup* ShowColorPopup(QZ_DROPDOWNBUTTON* pInfo, RECT rcButton);
    // Whether the colour popup of the command's button is open now.
    BOOL IsColorPopupOpen(UINT nID) const;

    // Drawing.
    virtual BOOL HasOwnBackground();
    // Item pre-paint; TRUE: the control must not draw the button.
    virtual BOOL DrawButton(CDC* pDC, NMCUSTOMDRAW* pnmcd);
    virtual void DrawSeparators(CDC* pDC);
    virtual void EraseWrapGaps(CDC* pDC);

    CList<QZ_TBBUTTON, QZ_TBBUTTON&> m_listButtons;
    CMap<int, int, QZ_HIDDENBUTTON, QZ_HIDDENBUTTON&> m_mapHiddenButtons;
    CMap<int, int, CString, CString&> m_mapButtonTexts;
    CSize m_sizeImage{16, 15};
    CSize m_sizeButton{23, 22};
    CString m_strRegKey;
    CString m_strRegValue;
    BOOL m_bLayoutPending = TRUE;
    HRSRC m_hRsrcImageWell = nullptr;
    HINSTANCE m_hInstImageWell = nullptr;
    HBITMAP m_hbmImageWell = nullptr;
    // Text to its index in the control's string pool; made with the first text.
    CMapStringToPtr* m_pStringMap = nullptr;
    BOOL m_bCustomizable = FALSE;
    // Set while the area behind a button in a rebar band is repainted.
    BOOL m_bPaintingThrough = FALSE;
    BOOL m_bEmbossDisabled = FALSE;
    // The open or last colour popup of a colour drop-down; owned.
    CQZColorPopup* m_pColorPopup = nullptr;
    // The command whose colour popup is open, -1 for none.
    int m_nColorPopupCommand = -1;
    DWORD m_dwDrawTextMask = 0;
    DWORD m_dwDrawTextFlags = 0;
    // The button whose drop-down is open, -1 for none.
    int m_nDropDownIndex = -1;
    BYTE m_bCaptureAfterDropDown = 0;
    BYTE m_bCustomizing = 0;

protected:
    // Deletes the drop-down records the snapshot owns and empties it.
    void EmptySnapshot();
    // Places the chevron (the child 52782) for nLength; nothing without one.
    void PositionChevron(int nLength, BOOL bHorz);

    virtual void OnPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnSysColorChange();
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg LRESULT OnSetButtonSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetBitmapSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetDrawTextFlags(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPreserveZeroBorderHelper(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDestroy();
    afx_msg void OnBeginAdjust(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEndAdjust(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEndDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnGetButtonInfo(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnQueryDelete(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnQueryInsert(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnReset(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnToolbarChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnCustHelp(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDropDown(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnColorChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnColorPopupClosed(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // The skin's toolbar proxy, when the look has one, is told the drop-down has closed.
    void EndDropDown();

private:
    // The control's default processing with TBSTYLE_TRANSPARENT | TBSTYLE_FLAT added for
    // its time on common controls 4.72 and later, which keeps the control from adding
    // borders of its own.
    LRESULT DefaultKeepingZeroBorder();
    // Whether the toolbar has a child window with that id.
    CWnd* ChildWithId(int nID) const;
};

// Sets pt->x when bHorz, else pt->y.
void QZSetAlongBar(POINT* pt, BOOL bHorz, int n);
