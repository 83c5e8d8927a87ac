// The splitters a dock bar lays out beside its docking windows: a row splitter across the
// whole dock bar on the client-area side of a row of docking windows, a window splitter
// between two docking windows of a row. Here the record each layout makes: its strip,
// kind and the bar it serves; dragging and drawing come with the splitters' own code.
#pragma once

#include "framework/Geometry.h"

class CQZDockBar;

class CQZSplitterDock {
public:
    // nType 1: a vertical strip (moves left and right); 2: a horizontal strip (moves up and down).
    CQZSplitterDock(CQZDockBar* pDockBar, LPCRECT lpRect, int nType, int nBarIndex);
    virtual ~CQZSplitterDock();
    CQZSplitterDock(const CQZSplitterDock&) = delete;
    CQZSplitterDock& operator=(const CQZSplitterDock&) = delete;

    // The strip's far edge: the bottom of a type-1 strip, the right of a type-2 strip.
    void SetPos(int nPos);

    // In the dock bar's client coordinates.
    CRect m_rect;
    // The drag line's rectangle in the frame's client coordinates.
    CRect m_rectTracker;
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
};

// Between two docking windows of a row.
class CQZSplitterRowDock : public CQZSplitterDock {
public:
    using CQZSplitterDock::CQZSplitterDock;
    ~CQZSplitterRowDock() override;
};
