// What the toolbar tests share: an application registered under a key of its own, a
// frame whose update handlers disable Save and check Print, a stand-in for the top and
// left dock bars (a child of the frame with the dock bar's id, which is what tells a bar
// where it is docked), and a toolbar loaded from the test toolbar resource.
#pragma once

#include "toolkit/bars/QZToolBar.h"
#include "toolkit/res/ToolkitResources.h"
#include "toolkit_test_resources.h"
#include "toolkit_test_support.h"

#include <malloc.h>

#include <vector>

namespace toolkit_test {

constexpr char kToolbarCompany[] = "SorvantaToolbarTest";
constexpr char kToolbarProfile[] = "ToolbarTest";

// The commands of the test toolbar, in resource order (0 for a separator).
constexpr UINT kToolbarIds[] = {ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_FILE_PRINT, 0, ID_HELP_INDEX};
constexpr int kToolbarCount = 6;

class ToolbarApp : public CWinApp {
public:
    ToolbarApp() : CWinApp(kToolbarProfile) {}
};

// Update handlers: Open enabled, Save disabled, Print checked; Help Index has none.
// Counts the layouts it runs.
class ToolbarFrame : public CFrameWnd {
public:
    BOOL m_bSaveEnabled = FALSE;
    int m_nPrintCheck = 1;
    std::vector<UINT> commands;
    int layouts = 0;

    void RecalcLayout(BOOL bNotify = TRUE) override
    {
        ++layouts;
        CFrameWnd::RecalcLayout(bNotify);
    }

protected:
    afx_msg void OnUpdateOpen(CCmdUI* pCmdUI);
    afx_msg void OnUpdateSave(CCmdUI* pCmdUI);
    afx_msg void OnUpdatePrint(CCmdUI* pCmdUI);
    afx_msg void OnOpen();
    afx_msg void OnSave();
    afx_msg void OnPrint();
    DECLARE_MESSAGE_MAP()
};

// Messages a window received through a subclass put over it, by number.
class MessageCounter {
public:
    explicit MessageCounter(HWND window);
    ~MessageCounter();
    MessageCounter(const MessageCounter&) = delete;
    MessageCounter& operator=(const MessageCounter&) = delete;

    int Count(UINT message) const;
    void Reset() { s_messages.clear(); }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window;
    static inline WNDPROC s_previous = nullptr;
    static inline std::vector<UINT> s_messages;
};

// Blocks of the C runtime's heap in use whose size is that of an object of the class: a
// count that rises by one for every such object left behind; -1 when the heap cannot be read.
inline int LiveBlocksOfSize(size_t size)
{
    HANDLE heap = reinterpret_cast<HANDLE>(_get_heap_handle());
    if (!HeapLock(heap))
        return -1;
    int count = 0;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heap, &entry)) {
        if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) && entry.cbData >= size && entry.cbData < size + 16)
            ++count;
    }
    HeapUnlock(heap);
    return count;
}

// A frame with the two dock-side stand-ins and a toolbar made by the test.
class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // bar (not yet created) made a child of parent with the bar style, the control style
    // and the test toolbar loaded; the borders are the bar's own.
    void CreateToolBar(CQZToolBar& bar, CWnd* parent, DWORD barStyle, DWORD controlStyle = TBSTYLE_FLAT);
    CRect Item(CQZToolBar& bar, int index);
    // The toolbar's records in the control's own convention.
    TBBUTTON ControlButton(CQZToolBar& bar, int index);

    ToolbarApp app;
    ToolbarFrame* frame = nullptr;
    CWnd dockTop;
    CWnd dockLeft;
    CQZToolBar bar;
};

} // namespace toolkit_test
