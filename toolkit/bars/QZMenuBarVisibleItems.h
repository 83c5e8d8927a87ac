// The indexes of a menu bar's visible items for one walk over them (layout, painting, hit
// tests, keyboard moves), kept on the caller's stack: the walks run on every resize and
// mouse move, and a frame's menu never has more top-level entries than fit here (a bar
// with more takes a heap buffer instead).
#pragma once

#include "toolkit/bars/QZMenuBar.h"

#include <algorithm>
#include <vector>

class CQZVisibleMenuBarItems {
public:
    // nWhich: QZ_MBI_MENUITEMS, QZ_MBI_CONTROLBUTTONS or QZ_MBI_ALL.
    CQZVisibleMenuBarItems(CQZMenuBar* pBar, UINT nWhich)
    {
        const int capacity = std::max(pBar->m_arrItems.GetSize(), 0);
        m_first = m_local;
        if (capacity > kLocal) {
            m_heap.resize(static_cast<size_t>(capacity));
            m_first = m_heap.data();
        }
        m_end = pBar->GetVisibleItems(m_first, m_first + capacity, nWhich);
    }
    CQZVisibleMenuBarItems(const CQZVisibleMenuBarItems&) = delete;
    CQZVisibleMenuBarItems& operator=(const CQZVisibleMenuBarItems&) = delete;

    const int* begin() const { return m_first; }
    const int* end() const { return m_end; }
    int size() const { return static_cast<int>(m_end - m_first); }
    int operator[](int i) const { return m_first[i]; }

private:
    static constexpr int kLocal = 64;
    int m_local[kLocal];
    std::vector<int> m_heap;
    int* m_first;
    int* m_end;
};
