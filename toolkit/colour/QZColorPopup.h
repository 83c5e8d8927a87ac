// The colour popup: the grid of named colours that drops below a colour picker or a
// toolbar's colour button, with an "Automatic" (or "No Fill") cell on top and, with
// style 0x04, the colours last chosen in the colour sheet and a "More Colors..." cell
// that opens the sheet. It holds the mouse capture while open, follows the mouse and
// the arrow keys, shows each colour's name as a tip, and ends with exactly one result
// message to the windows that asked for it before it closes itself. The cells are
// drawn once into a kept bitmap; the hot cell is drawn over a copy of it.
#pragma once

#include "framework/CollectionArrays.h"
#include "framework/CollectionLists.h"
#include "framework/ControlsCommon.h"
#include "framework/DC.h"
#include "framework/GdiObjects.h"
#include "framework/Geometry.h"
#include "framework/Wnd.h"

// Popup style bits.
#define QZ_CPS_NOFILL 0x01         // the first cell is "No Fill" (result 0xFFFFFFFF), not "Automatic"
#define QZ_CPS_LARGETABLE 0x02     // the 40-colour table instead of the 16-colour one
#define QZ_CPS_MORECOLORS 0x04     // the recent colours and the "More Colors..." cell
#define QZ_CPS_SHEETSTYLES 0x60    // handed to the colour sheet as its style

// Kinds of cell besides the first, whose kind is the popup's style.
#define QZ_CELL_COLOR 0x08
#define QZ_CELL_MORECOLORS 0x10

// The colour that no cell holds: "nothing yet" for the current and default colours.
constexpr COLORREF kQZNoColor = 0xFF000000;
// The result of "No Fill".
constexpr COLORREF kQZNoFillColor = 0xFFFFFFFF;

// One cell, owned by its popup.
struct QZ_COLOR_CELL {
    RECT rect;          // client coordinates
    UINT nTipID;        // string resource of the tip; 0 for none
    int nIndex;         // keyboard position: its place in creation order
    BYTE bSelected;     // the cell shows the current colour
    DWORD dwKind;       // the popup's style (first cell), QZ_CELL_COLOR or QZ_CELL_MORECOLORS
    char szText[256];   // the text of a text cell; empty for colour cells
    COLORREF color;
};

// Deletes itself after its window is gone when made with auto-delete; otherwise its
// creator deletes it. The windows told of the result are not owned.
class CQZColorPopup : public CWnd {
public:
    // nUserValue comes back as lParam of every message the popup sends.
    CQZColorPopup(BOOL bAutoDelete, int nUserValue);
    ~CQZColorPopup() override;

    virtual int GetCurSel() const;
    // Draws the cell at that position hot; nothing when there is no such cell.
    virtual void SetCurSel(int nPos);
    // Opens below the opener (screen coordinates), owned by pParent, which is told of the
    // result; TRUE when the window was made. No message is sent when it was not, and a
    // self-deleting popup is then already deleted.
    virtual BOOL Create(const RECT* lpRectOpener, CWnd* pParent, DWORD dwStyle, COLORREF clrCurrent,
                        COLORREF clrDefault);
    virtual void HotTrackCell(QZ_COLOR_CELL* pCell, BOOL bPressed, BOOL bCold);
    virtual QZ_COLOR_CELL* GetCellAt(int nPos) const;
    // Ends with the choice at that position (-1: cancelled): one result message to every
    // notify window that still exists, then the popup closes. Only the first call counts.
    virtual void EndSelection(int nPos);
    virtual void DrawCells(CDC* pDC);
    virtual void DrawCell(QZ_COLOR_CELL* pCell, CDC* pDC, BOOL bHot);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;

    void AddNotifyWindow(HWND hWnd);
    void DrawCellBorder(CDC* pDC, const CRect& rect);

    // The colours chosen through the colour sheet, oldest first, at most one row of them;
    // shared by every popup of the process. It lives with the colour sheet.
    static CUIntArray m_arrUserColors;

    CArray<HWND, HWND> m_arrNotifyWnds;
    CToolTipCtrl m_wndToolTip;
    CList<QZ_COLOR_CELL*, QZ_COLOR_CELL*> m_listCells;
    // The drawn cells, made at the first paint.
    CDC m_dcCache;
    CPoint m_ptLastMouse;
    CSize m_sizeCell;
    CRect m_rectWindow;
    DWORD m_dwStyle = 0;
    CWnd* m_pParent = nullptr;
    CBitmap m_bmpCache;
    // The cache DC's bitmap before, put back when the popup goes.
    HGDIOBJ m_hOldBitmap = nullptr;
    int m_nUserValue;
    int m_nRows = 0;
    // Also the length of the recent-colour row.
    int m_nColumns = 8;
    // The highest position: the grid's colours + 1 + the recent colours shown.
    int m_nMoreColorsPos = 0;
    int m_nCurPos = -1;
    COLORREF m_clrCurrent = kQZNoColor;
    COLORREF m_clrDefault = kQZNoColor;
    BOOL m_bAutoDelete;
    // Set while the window is being made: a failed creation deletes the popup itself.
    BOOL m_bCreating = FALSE;
    BOOL m_bShadow = TRUE;
    // The colour sheet is showing: mouse, keys and focus changes stand still meanwhile.
    BOOL m_bSheetOpen = FALSE;
    // The result has been sent; what arrives before the window closes changes nothing.
    BOOL m_bEnded = FALSE;
    // The parent's window, told when the popup goes even if its object went first.
    HWND m_hWndParent = nullptr;

protected:
    // Every cell for a window of that width, with the current colour's cell selected.
    void BuildCells(int nWindowWidth);
    // A cell appended with the next keyboard position; nTextID 0 for a colour cell.
    QZ_COLOR_CELL* AddCell(const CRect& rect, UINT nTipID, DWORD dwKind, COLORREF color, UINT nTextID);
    // The highest position that holds a cell: "More Colors..." when there is one, else
    // the grid's last colour.
    int GetLastPosition() const;
    // Makes the cache and draws the cells into it the first time it is needed.
    void EnsureCache(CDC* pDC);
    // Runs the colour sheet from "More Colors..."; the message and colour it reports.
    void RunColorSheet(UINT& nMessage, COLORREF& color);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()
};
