// A frame's dock bars set up as the toolkit frame sets them up, for the docking tests, the
// previews and the drag bench alike (no test library here, so that programs can include it).
#pragma once

#include "framework/Framework.h"
#include "toolkit/docking/QZDockBar.h"
#include "toolkit/docking/QZMiniDockFrameWnd.h"

namespace toolkit_test {

// A toolkit dock bar on every side and toolkit floating frames; FALSE when a dock bar could
// not be made (it has deleted itself).
inline BOOL CreateToolkitDockBars(CFrameWnd* frame)
{
    frame->m_pFloatingFrameClass = RUNTIME_CLASS(CQZMiniDockFrameWnd);
    const struct {
        UINT id;
        DWORD style;
    } sides[] = {
        {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
        {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
        {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
        {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
    };
    for (const auto& side : sides) {
        auto* dockBar = new CQZDockBar;
        dockBar->m_bAutoDelete = TRUE;
        if (!dockBar->Create(frame, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | side.style,
                             side.id))
            return FALSE;
    }
    return TRUE;
}

} // namespace toolkit_test
