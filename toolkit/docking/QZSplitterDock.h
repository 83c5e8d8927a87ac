// The splitters a dock bar lays out beside its docking windows: 6-pixel strips that
// resize docking windows when dragged. A row splitter (CQZSplitterDock) lies across the
// whole dock bar on the client-area side of a row of docking windows and changes the
// row's thickness; a window splitter (CQZSplitterRowDock) lies between two docking
// windows of a row and moves length from one side to the other. While the button is down
// an inverted line follows the mouse over the frame; at the release the new size is
// applied and the frame laid out again. Each layout makes the splitters anew.
#pragma once

#include "framework/Geometry.h"

class CDC;
class CQZDockBar;

class CQZSplitterDock {
public:
    // nType 1: a vertical strip (moves left and right); 2: a horizontal strip (moves up and down).
    CQZSplitterDock(CQZDockBar* pDockBar, LPCRECT lpRect, int nType, int nBarIndex);
    virtual ~CQZSplitterDock();
    CQZSplitterDock(const CQZSplitterDock&) = delete;
    CQZSplitterDock& operator=(const CQZSplitterDock&) = delete;

    // The drag line follows the point (dock bar client coordinates) within the limits;
    // FALSE when the line cannot be drawn.
    virtual BOOL Move(CPoint point);
    // From the press (screen coordinates): the limits and the first line; FALSE when no
    // line could be drawn, and then there is no drag.
    virtual BOOL BeginTrack(CPoint point);
    // The last move, the line erased, and the new size applied when the position changed.
    virtual BOOL EndTrack(CPoint point);
    // The row's new thickness.
    virtual void Apply();
    // The positions the drag may reach: from the row's thickest ordinary bar (at least 2)
    // to the thickness that leaves the frame's client area no room.
    virtual void CalcLimits();

    // The strip in the face colour, with 3-D lines in the classic look.
    void Draw(CDC* pDC);
    // Draws or erases the drag line by inversion on the frame: twice restores the screen.
    BOOL DrawTracker();
    // The strip's far edge: the bottom of a type-1 strip, the right of a type-2 strip.
    void SetPos(int nPos);

    // In the dock bar's client coordinates.
    CRect m_rect;
    // The drag line's rectangle in the frame's client coordinates.
    CRect m_rectTracker;
    // The press point moved by every step applied so far, in the dock bar's client coordinates.
    CPoint m_ptStart;
    int m_nOrigPos = 0;
    int m_nPos = 0;
    int m_nMax = 0;
    int m_nMin = 0;
    int m_nType;
    // The entry of the dock bar's bar array the splitter serves.
    int m_nBarIndex;
    // Not owned.
    CQZDockBar* m_pDockBar;

protected:
    // The drag line moves by d along its axis.
    void Shift(int d);
};

// Between two docking windows of a row.
class CQZSplitterRowDock : public CQZSplitterDock {
public:
    using CQZSplitterDock::CQZSplitterDock;
    ~CQZSplitterRowDock() override;

    BOOL Move(CPoint point) override;
    // Length moves from the windows on one side to those on the other.
    void Apply() override;
    // Every window keeps at least its minimum length.
    void CalcLimits() override;
};
