// The splitter records of a dock bar's layout.
#include "toolkit/docking/QZSplitterDock.h"

CQZSplitterDock::CQZSplitterDock(CQZDockBar* pDockBar, LPCRECT lpRect, int nType, int nBarIndex)
    : m_rect(lpRect), m_nType(nType), m_nBarIndex(nBarIndex), m_pDockBar(pDockBar)
{
}

CQZSplitterDock::~CQZSplitterDock() = default;

void CQZSplitterDock::SetPos(int nPos)
{
    if (m_nType == 1)
        m_rect.bottom = nPos;
    else
        m_rect.right = nPos;
}

CQZSplitterRowDock::~CQZSplitterRowDock() = default;
