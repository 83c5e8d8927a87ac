// Shows the toolkit's toolbar on a real display for a look (not a test): the test toolbar
// resource along the top, idle-updated from the frame (Save disabled, Print checked), a
// copy made shorter than its buttons so that some hide behind the chevron, one down the
// left side, and one floating in rows. Closes after the seconds given.
//   toolbar_preview [/xp] [/seconds N]
#include "framework/Framework.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/foundation/QZAuxData.h"

#include "../toolkit_test_resources.h"

#include <cstdlib>
#include <string>

namespace {

constexpr UINT kCloseTimer = 1;

// Stands where a frame's dock bar would: its id tells a bar which side it is docked on.
class SideBar : public CWnd {
protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC)
    {
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, qzAfxData.xpLook ? qzAfxData.colorXPBarFace : qzAfxData.colorFace);
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(SideBar, CWnd)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

class PreviewFrame : public CFrameWnd {
public:
    SideBar top;
    SideBar left;
    CQZToolBar full;
    CQZToolBar shortened;
    CQZToolBar vertical;
    CQZToolBar floating;

    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        if (!top.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 620, 70), this,
                        AFX_IDW_DOCKBAR_TOP) ||
            !left.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 70, 40, 330), this,
                         AFX_IDW_DOCKBAR_LEFT))
            return -1;
        const DWORD horizontal = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_BORDER_BOTTOM |
                                 CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
        if (!Make(full, &top, horizontal, AFX_IDW_TOOLBAR) || !Make(shortened, &top, horizontal, AFX_IDW_TOOLBAR + 1) ||
            !Make(vertical, &left, WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER | CBRS_SIZE_DYNAMIC,
                  AFX_IDW_TOOLBAR + 2) ||
            !Make(floating, this, WS_CHILD | WS_VISIBLE | CBRS_FLOATING | CBRS_SIZE_DYNAMIC | CBRS_BORDER_ANY,
                  AFX_IDW_TOOLBAR + 3))
            return -1;

        CSize size = full.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
        full.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER);
        // Shorter than its buttons: those that do not fit go behind the chevron.
        size = shortened.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
        const int room = size.cx - 30;
        shortened.HideButtonsToFit(size.cx, room, TRUE);
        size = shortened.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
        shortened.ShowHiddenButtons(size.cx, room, TRUE);
        shortened.SetWindowPos(nullptr, full.CalcFixedLayout(FALSE, TRUE).cx + 4, 0, room, size.cy, SWP_NOZORDER);
        shortened.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT);

        size = vertical.CalcDynamicLayout(-1, LM_VERTDOCK | LM_COMMIT);
        vertical.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER);
        size = floating.CalcDynamicLayout(90, LM_HORZ | LM_COMMIT);
        floating.SetWindowPos(nullptr, 200, 150, size.cx, size.cy, SWP_NOZORDER);
        return 0;
    }

    afx_msg void OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdatePrint(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnCommandStub() {}
    afx_msg void OnTimer(UINT_PTR id)
    {
        if (id == kCloseTimer)
            PostMessage(WM_CLOSE);
    }
    DECLARE_MESSAGE_MAP()

private:
    BOOL Make(CQZToolBar& bar, CWnd* parent, DWORD style, UINT id)
    {
        const CRect borders = bar.GetBorders();
        if (!bar.CreateEx(parent, TBSTYLE_FLAT, style, borders, id) || !bar.LoadToolBar(IDR_TEST_TOOLBAR))
            return FALSE;
        bar.SetOwner(this);
        return TRUE;
    }
};
BEGIN_MESSAGE_MAP(PreviewFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdatePrint)
    ON_COMMAND(ID_FILE_OPEN, OnCommandStub)
    ON_COMMAND(ID_FILE_PRINT, OnCommandStub)
END_MESSAGE_MAP()

class PreviewApp : public CWinApp {
public:
    PreviewApp() : CWinApp("ToolbarPreview") {}
};

} // namespace

int main(int argc, char** argv)
{
    PreviewApp app;
    int seconds = 30;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "/xp")
            qzAfxData.xpLook = 1;
        else if (arg == "/seconds" && i + 1 < argc)
            seconds = std::atoi(argv[++i]);
    }
    auto* frame = new PreviewFrame;
    if (!frame->Create(nullptr, qzAfxData.xpLook ? "Toolbar preview - XP look" : "Toolbar preview - classic look",
                       WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 660, 400)))
        return 1;
    app.m_pMainWnd = frame;
    frame->SetTimer(kCloseTimer, static_cast<UINT>(seconds > 0 ? seconds : 30) * 1000, nullptr);
    return app.Run();
}
