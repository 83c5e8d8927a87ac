// The records of all of a toolbar's buttons, read once for a layout or a hiding pass.
// Layout runs on every resize and drag, so up to 64 records live on the stack; only a
// longer toolbar takes its records from the heap.
#pragma once

#include "toolkit/bars/QZToolBar.h"

#include <vector>

class CQZToolBarRecords {
public:
    // The control's buttons in the toolkit's convention; a record the control will not
    // give stays zero.
    explicit CQZToolBarRecords(const CQZToolBar& bar)
    {
        m_count = bar.m_hWnd ? static_cast<int>(bar.SendMessage(TB_BUTTONCOUNT)) : 0;
        if (m_count < 0)
            m_count = 0;
        if (m_count > kOnStack) {
            m_heap.resize(static_cast<size_t>(m_count));
            m_data = m_heap.data();
        }
        for (int i = 0; i < m_count; ++i) {
            m_data[i] = TBBUTTON{};
            (void)bar.GetButton(i, &m_data[i]);
        }
    }
    CQZToolBarRecords(const CQZToolBarRecords&) = delete;
    CQZToolBarRecords& operator=(const CQZToolBarRecords&) = delete;

    TBBUTTON* data() { return m_data; }
    int count() const { return m_count; }
    TBBUTTON& operator[](int index) { return m_data[index]; }

private:
    static constexpr int kOnStack = 64;
    TBBUTTON m_onStack[kOnStack];
    std::vector<TBBUTTON> m_heap;
    TBBUTTON* m_data = m_onStack;
    int m_count = 0;
};
