// Toolkit bars for tests: each kind of bar made real (the base leaves the command update
// to its bars), a frame with a status bar, and a popup-menu tracker that records the
// menu it is given instead of showing it.
#pragma once

#include "toolkit/bars/QZControlBar.h"
#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/bars/QZReBar.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/menus/QZMenuTrack.h"

#include "toolkit_test_support.h"

#include <string>
#include <vector>

namespace toolkit_test {

// Records its command updates; placed by hand in its parent.
template <class Base>
class TestBar : public Base {
public:
    std::vector<CWnd*> updateTargets;
    CSize fixedSize{0, 0};

    BOOL CreateBar(CWnd* parent, DWORD barStyle, UINT id, LPCSTR title = nullptr, DWORD windowStyle = WS_VISIBLE)
    {
        this->m_dwStyle = barStyle;
        return CWnd::Create(nullptr, title, windowStyle, CRect(0, 0, 200, 30), parent, id);
    }
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL) override
    {
        updateTargets.push_back(reinterpret_cast<CWnd*>(pTarget));
    }
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
        return CSize(std::max(size.cx, fixedSize.cx), std::max(size.cy, fixedSize.cy));
    }
};

using PlainToolkitBar = TestBar<CQZControlBar>;
using TestToolBar = TestBar<CQZToolBar>;
using TestMenuBar = TestBar<CQZMenuBar>;
using TestReBar = TestBar<CQZReBar>;

// A docking window of fixed sizes: docked top or bottom it takes m_sizeHorz, left or right
// m_sizeVert, floating m_sizeFloat; its current size and minimum length are the test's.
// Its sizing operations do what the docking window's own do, so that the dock bar's row
// arithmetic can be checked against them.
class TestDockWindow : public TestBar<CQZDockWindow> {
public:
    int minExtent = 5;

    CSize CalcDynamicLayout(int, DWORD dwMode) override
    {
        if (dwMode & LM_HORZDOCK)
            return m_sizeHorz;
        if (dwMode & LM_VERTDOCK)
            return m_sizeVert;
        return m_sizeFloat;
    }
    int GetMinExtent() const override { return minExtent; }
    BOOL IsExpanded() const override { return m_bExpanded; }
    BOOL IsAloneInRow() const override { return m_bAloneInRow; }
    void SetDockedSize(const CSize& size) override
    {
        m_sizeCurrent = size;
        if (IsHorzDocked())
            m_sizeHorz = size;
        else if (IsVertDocked())
            m_sizeVert = size;
        else
            m_sizeFloat = size;
    }
    void RestoreFloatSize() override { m_sizeCurrent = m_sizeFloat; }
    void RestoreNormalSize() override
    {
        if (IsHorzDocked())
            m_sizeCurrent.cx = m_sizeHorz.cx;
        else if (IsVertDocked())
            m_sizeCurrent.cy = m_sizeVert.cy;
        m_bExpanded = FALSE;
    }
    int Collapse() override
    {
        m_bExpanded = FALSE;
        if (IsHorzDocked()) {
            m_sizeCurrent.cx = minExtent;
            return m_sizeHorz.cx - minExtent;
        }
        if (IsVertDocked()) {
            m_sizeCurrent.cy = minExtent;
            return m_sizeVert.cy - minExtent;
        }
        return 0;
    }
    void Expand(int nLength) override
    {
        if (IsHorzDocked())
            m_sizeCurrent.cx = nLength;
        else if (IsVertDocked())
            m_sizeCurrent.cy = nLength;
        m_bExpanded = TRUE;
    }
    int GetCurrentWidth() const override { return m_sizeCurrent.cx; }
    int GetCurrentHeight() const override { return m_sizeCurrent.cy; }
};

// What a tracked menu held: one line per item, "-" for a separator, "[x]" for a check.
struct TrackedMenu {
    std::vector<std::string> items;
    std::vector<UINT> ids;
    POINT at{};
    HWND owner = nullptr;
    int tracked = 0;
};

class MenuTrackRecorder {
public:
    explicit MenuTrackRecorder(UINT answer = 0)
    {
        s_answer = answer;
        s_menu = TrackedMenu();
        m_previous = QZSetPopupMenuTracker(&Record);
    }
    ~MenuTrackRecorder() { QZSetPopupMenuTracker(m_previous); }
    MenuTrackRecorder(const MenuTrackRecorder&) = delete;
    MenuTrackRecorder& operator=(const MenuTrackRecorder&) = delete;

    static const TrackedMenu& menu() { return s_menu; }

private:
    static UINT Record(CMenu* pMenu, UINT, int x, int y, CWnd* pOwner)
    {
        s_menu.items.clear();
        s_menu.ids.clear();
        const int count = ::GetMenuItemCount(pMenu->m_hMenu);
        for (int i = 0; i < count; ++i) {
            char text[64] = {};
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = sizeof text;
            ::GetMenuItemInfoA(pMenu->m_hMenu, static_cast<UINT>(i), TRUE, &info);
            if (info.fType & MFT_SEPARATOR) {
                s_menu.items.push_back("-");
            } else {
                s_menu.items.push_back(std::string(text) + ((info.fState & MFS_CHECKED) ? " [x]" : ""));
            }
            s_menu.ids.push_back(info.wID);
        }
        s_menu.at = {x, y};
        s_menu.owner = pOwner->GetSafeHwnd();
        ++s_menu.tracked;
        return s_answer;
    }
    QZPopupMenuTracker m_previous;
    static inline UINT s_answer = 0;
    static inline TrackedMenu s_menu;
};

} // namespace toolkit_test
