// A toolkit bar's right click: its own context menu, or the menu of the frame's bars
// (docking windows, toolbars, other toolkit bars, status bars) with the visible ones checked.
#include "toolkit/bars/QZControlBar.h"

#include "framework/FrameWnd.h"
#include "framework/Menu.h"
#include "framework/MiniFrameWnd.h"
#include "framework/StatusBar.h"
#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/bars/QZReBar.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/menus/QZMenuTrack.h"
#include "toolkit/res/ToolkitResources.h"

#include <algorithm>
#include <vector>

namespace {

// One pass of the bar menu: the bars of a kind, the name of an untitled one.
struct BarMenuPass {
    const CRuntimeClass* kind;
    UINT untitledName;
    bool isStatusBar;
};

// The bar's nearest ancestor that is not a child window: a frame or a floating frame.
CWnd* TopOfBar(CWnd* bar)
{
    HWND window = bar->m_hWnd;
    while (window && (::GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD))
        window = ::GetParent(window);
    return CWnd::FromHandle(window);
}

} // namespace

void CQZControlBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bMenuEnabled || !qzAfxData.barMenuOnRightClick) {
        Default();
        return;
    }
    ClientToScreen(&point);
    if (m_nContextMenuID) {
        CMenu menu;
        if (menu.LoadMenu(LOWORD(m_nContextMenuID))) {
            CMenu* popup = menu.GetSubMenu(m_nContextMenuIndex);
            if (popup)
                QZTrackPopupMenu(popup, 0, point.x, point.y, TopOfBar(this));
        }
        return;
    }
    if (!m_pDockSite)
        return;
    CFrameWnd* frame = m_pDockSite;
    // A bar with a gripper in a floating frame lists the bars of the frame that floats it.
    if (HasGripper() && frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        frame = frame->GetParentFrame();
    if (!frame || !frame->IsFrameWnd())
        return;
    ShowBarMenu(&point, frame);
    frame->RecalcLayout(TRUE);
}

BOOL CQZControlBar::ShowBarMenu(CPoint* pPoint, CFrameWnd* pFrame)
{
    return QZShowFrameBarMenu(pPoint, pFrame);
}

BOOL QZShowFrameBarMenu(CPoint* pPoint, CFrameWnd* pFrame, QZBarMenuOrder order)
{
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return TRUE;
    std::vector<CControlBar*> bars;
    for (POSITION position = pFrame->m_listControlBars.GetHeadPosition(); position;) {
        auto* bar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(position));
        if (bar->IsKindOf(RUNTIME_CLASS(CQZMenuBar)) || bar->IsKindOf(RUNTIME_CLASS(CQZReBar)))
            continue;
        if (bar->IsKindOf(RUNTIME_CLASS(CQZControlBar)) || bar->IsKindOf(RUNTIME_CLASS(CStatusBar)))
            bars.push_back(bar);
    }
    if (order == QZBarMenuOrder::NewestFirst)
        std::reverse(bars.begin(), bars.end());
    const BarMenuPass passes[] = {
        {RUNTIME_CLASS(CQZDockWindow), IDS_QZ_DOCK_WINDOW, false},
        {RUNTIME_CLASS(CQZToolBar), IDS_QZ_TOOLBAR, false},
        {RUNTIME_CLASS(CQZControlBar), IDS_QZ_CONTROL_BAR, false},
        {RUNTIME_CLASS(CStatusBar), IDS_QZ_STATUS_BAR, true},
    };
    int appended = 0;
    for (const BarMenuPass& pass : passes) {
        for (auto it = bars.begin(); it != bars.end();) {
            CControlBar* bar = *it;
            bool takes = bar->IsKindOf(pass.kind) != FALSE;
            if (takes && !pass.isStatusBar) {
                const auto* toolkitBar = static_cast<const CQZControlBar*>(bar);
                takes = qzAfxData.barMenuOnRightClick && toolkitBar->m_bMenuEnabled;
            }
            if (!takes) {
                ++it;
                continue;
            }
            CString text;
            if (!pass.isStatusBar)
                bar->GetWindowText(text);
            if (text.IsEmpty())
                text.LoadString(pass.untitledName);
            const UINT check = bar->IsWindowVisible() ? MF_CHECKED : MF_UNCHECKED;
            menu.AppendMenu(MF_STRING | check, static_cast<UINT_PTR>(bar->GetDlgCtrlID()), text);
            ++appended;
            it = bars.erase(it);
        }
        // Docking windows stand apart from the rest.
        if (pass.kind == RUNTIME_CLASS(CQZDockWindow) && appended > 0)
            menu.AppendMenu(MF_SEPARATOR);
    }
    if (appended > 0)
        QZTrackPopupMenu(&menu, 0, pPoint->x, pPoint->y, pFrame);
    return TRUE;
}
