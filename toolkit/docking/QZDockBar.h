// The toolkit's dock bar: the strip along one side of a toolkit frame that holds the bars
// docked there. Toolkit bars abut without overlap; a bar that runs past the end of its row
// wraps to a new row; the menu bar keeps a row of its own; a toolbar is fitted to the room
// left in its row (its trailing buttons go behind its chevron); docking windows share
// their row's length, with splitters between them and towards the frame's client area.
// It decides which border lines each bar draws, paints off screen, and a right click
// shows the menu of the frame's bars.
#pragma once

#include "framework/CollectionArrays.h"
#include "framework/DockBar.h"

class CQZDockWindow;
class CQZSplitterDock;

// Owns its splitters.
class CQZDockBar : public CDockBar {
    DECLARE_DYNAMIC(CQZDockBar)
public:
    CQZDockBar();
    ~CQZDockBar() override;

    // A docking window is marked newly docked first, so that its row is shared out anew.
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr) override;
    // Places every docked bar and rebuilds the splitters.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // The splitters, over the framework's (empty) picture.
    void DoPaint(CDC* pDC) override;
    // The splitter under a screen point becomes the active one (-1: none) and the cursor
    // shows which way it moves; while any window holds the mouse capture nothing changes.
    virtual void HitTestSplitters(LPPOINT lpPoint);

    // Splitter operations.
    // The thickness the frame's client area still has across this dock bar: its client
    // height less the visible top and bottom dock bars and status bar (a horizontal dock
    // bar), or its width less the visible left and right dock bars.
    int GetFreeThickness() const;
    // Every visible docking window from nIndex to the row's end gets the thickness across
    // the dock bar; returns it.
    int SetRowThickness(int nIndex, int nThickness);
    // Spreads a length change over the visible docking windows before nIndex (after: from
    // nIndex to the row's end), nearest first, none below its minimum; what is left.
    int GrowWindowsBefore(int nIndex, int nChange);
    int GrowWindowsAfter(int nIndex, int nChange);

    // Gives the window its row's whole length, collapsing the row's other docking windows.
    void ExpandDockWindow(CQZDockWindow* pWnd, BOOL bRecalc);
    // Every docking window of the window's row back to its normal size.
    void RestoreDockWindows(CQZDockWindow* pWnd, BOOL bRecalc);

    // Row operations. An index covers its entry up to the end of its row.
    // The bar as a docking window when it is a visible one, else null.
    static CQZDockWindow* GetDockWindow(CControlBar* pBar);
    // Whether any entry is a bar (not a row break or a place kept for a bar elsewhere).
    BOOL HoldsBars() const;
    // The first entry of the bar's row; -1 when the bar is not here.
    int GetRowStart(CControlBar* pBar) const;
    BOOL IsLastInRow(int nIndex) const;
    int GetVisibleDockWindowCount(int nIndex, CQZDockWindow* pExclude) const;
    // The largest docked thickness of the visible bars; 0 for none.
    int GetRowThickness(int nIndex, CControlBar* pExclude) const;
    // The same over bars that are not docking windows, never below 2.
    int GetRowBarThickness(int nIndex, CControlBar* pExclude) const;
    // The current lengths of the visible docking windows.
    int GetRowWindowsExtent(int nIndex, CQZDockWindow* pExclude) const;
    int GetRowMinimumExtent(int nIndex, CQZDockWindow* pExclude) const;
    // The length that is not docking windows': other bars and the splitters beside them.
    int GetRowFixedExtent(int nIndex, CControlBar* pExclude) const;
    CQZDockWindow* FindNewDockWindow(int nIndex) const;
    CQZDockWindow* FindFirstDockWindow(int nIndex) const;
    // The row's expanded docking window that shares its row, or null.
    CQZDockWindow* FindExpandedDockWindow(int nIndex) const;
    // Shares the row's length among its docking windows; nIndex is the row's start.
    void FitRowDockWindows(int nIndex);
    // Clears border bits of the row's docking windows and, unless bDockWindowsOnly, of the
    // bars as thick as the row (not in the flat look).
    void AdjustRowBarStyles(int nIndex, DWORD dwBorders, BOOL bDockWindowsOnly);
    void AddSplitter(const CRect& rect, int nType, BOOL bRowSplitter, int nBarIndex);
    void DeleteSplitters();
    // Every splitter from nFirst of type nType gets nPos as its far edge.
    void SetSplittersPos(int nFirst, int nType, int nPos);

    int m_nActiveSplitter = -1;
    BOOL m_bTracking = FALSE;
    HWND m_hWndPrevFocus = nullptr;
    // The toolkit style of the last docked bar whose style changed: 0x80 flat look, 0x100
    // splitters without their dark outer line.
    DWORD m_dwBarStyleEx = 0;
    CArray<CQZSplitterDock*, CQZSplitterDock*> m_arrSplitters;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    // The splitter drag.
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    // Escape during a drag, through the control bar's dialog keys.
    afx_msg void OnCancel();
    afx_msg LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCancelMode();
    DECLARE_MESSAGE_MAP()

private:
    // The length along this dock bar and the thickness across it of a size.
    int Along(const CSize& size) const;
    int Across(const CSize& size) const;
    // The size a bar takes docked on this side.
    CSize DockedSize(CControlBar* pBar) const;
    int CurrentLength(const CQZDockWindow* pWnd) const;
    // The index past the last entry of nIndex's row, and the first entry of that row.
    int RowEnd(int nIndex) const;
    int RowStartOf(int nIndex) const;
    bool IsHorzDockBar() const;
    // Asks the frame to lay out now when the row's last entry is a visible docking window.
    void RecalcAfterRowChange(int nRowStart);
    // The splitter being dragged (or under the mouse), or null.
    CQZSplitterDock* ActiveSplitter() const;
    // Ends a drag without applying it: the line erased, the focus given back; the capture
    // released unless it has gone to another window already.
    void AbandonDrag(BOOL bReleaseCapture);
    // A docking window's new length along the row, its thickness as it is.
    void ResizeAlong(CQZDockWindow* pWnd, int nLength);
    // Gives the window what it takes of a change of length: a growth whole, a shrink down
    // to its minimum. The part it took.
    int TakeChange(CQZDockWindow* pWnd, int nChange);
};
