// Shows a toolkit frame on a real display for a look (not a test): the menu bar with the
// test menu and the test toolbar (of class exactly CQZToolBar) docked at the top, idle-
// updated from the frame (Save disabled, Print checked), image menus with the toolbar's
// images, a docking window with an edit in it, and a status bar. With /save the bars are
// moved (the toolbar floats, the docking window goes to the right and is made wider, the
// menu bar to the bottom) and the layout is saved in the registry when the frame closes;
// with /restore a new frame starts from the default layout and loads the saved one. Each
// run prints the layout it shows. Closes after the seconds given.
//   frame_layout_preview [/xp] [/save | /restore] [/seconds N]
#include "framework/Framework.h"
#include "toolkit/bars/QZFrameWnd.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/foundation/QZAuxData.h"

#include "../toolkit_test_resources.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT kCloseTimer = 1;
constexpr UINT kPanelId = 0xE840;
constexpr char kProfile[] = "PreviewLayout";
constexpr char kCompany[] = "SorvantaFrameLayoutPreview";

class PreviewToolBar : public CQZToolBar {};

class LayoutFrame : public CQZFrameWnd {
public:
    PreviewToolBar toolbar;
    CQZDockWindow panel;
    CEdit notes;
    CStatusBar status;
    bool saveOnClose = false;

    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CQZFrameWnd::OnCreate(cs) == -1)
            return -1;
        m_bAutoMenuEnable = FALSE;
        CQZMenuBar* menuBar = GetMenuBar();
        if (!menuBar->CreateEx(this, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR) ||
            !menuBar->LoadMenuBar(IDR_TEST_MAIN_MENU))
            return -1;
        const DWORD barStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY |
                               CBRS_SIZE_DYNAMIC;
        if (!toolbar.CreateEx(this, TBSTYLE_FLAT, barStyle, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
            !toolbar.LoadToolBar(IDR_TEST_TOOLBAR))
            return -1;
        toolbar.SetWindowText("Standard");
        if (!panel.Create(this, kPanelId, "Notes", CSize(180, 200), CBRS_ALIGN_LEFT,
                          QZ_DWS_CAPTION | QZ_DWS_CAPTIONTEXT | QZ_DWS_BUTTONS | QZ_DWS_SUNKEN) ||
            !notes.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, CRect(0, 0, 10, 10), &panel, 1))
            return -1;
        notes.SetWindowText("A docking window holding an edit.");
        panel.SetChild(&notes);
        if (!status.Create(this))
            return -1;
        menuBar->EnableDocking(CBRS_ALIGN_ANY);
        toolbar.EnableDocking(CBRS_ALIGN_ANY);
        panel.EnableDocking(CBRS_ALIGN_ANY);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(menuBar);
        DockControlBar(&toolbar);
        DockControlBar(&panel);
        InstallCoolMenus(IDR_TEST_TOOLBAR);
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
    afx_msg void OnClose()
    {
        if (saveOnClose)
            SaveBarState(kProfile);
        CQZFrameWnd::OnClose();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(LayoutFrame, CQZFrameWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_WM_CLOSE()
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdatePrint)
    ON_COMMAND(ID_FILE_OPEN, OnCommandStub)
    ON_COMMAND(ID_FILE_PRINT, OnCommandStub)
END_MESSAGE_MAP()

// "side: bar bar | bar" for each dock bar, "floating at (x, y): bar" for each floating one.
void PrintLayout(const char* heading, CFrameWnd* frame)
{
    std::printf("%s\n", heading);
    const struct {
        UINT id;
        const char* name;
    } sides[] = {{AFX_IDW_DOCKBAR_TOP, "top"},
                 {AFX_IDW_DOCKBAR_BOTTOM, "bottom"},
                 {AFX_IDW_DOCKBAR_LEFT, "left"},
                 {AFX_IDW_DOCKBAR_RIGHT, "right"}};
    for (const auto& side : sides) {
        auto* dockBar = DYNAMIC_DOWNCAST(CDockBar, frame->GetControlBar(side.id));
        std::string rows;
        for (int i = 0; dockBar && i < dockBar->m_arrBars.GetSize(); ++i) {
            void* entry = dockBar->m_arrBars.GetAt(i);
            if (!entry) {
                rows += " |";
                continue;
            }
            // A placeholder keeps the place of a bar that is elsewhere now.
            if (CDockBar::IsPlaceHolder(entry))
                continue;
            auto* bar = static_cast<CControlBar*>(entry);
            CString text;
            bar->GetWindowText(text);
            CRect rect;
            bar->GetWindowRect(&rect);
            char size[64];
            std::snprintf(size, sizeof size, " (%d x %d)", rect.Width(), rect.Height());
            rows += " " + std::string(text.IsEmpty() ? "?" : static_cast<LPCSTR>(text)) + size;
        }
        std::printf("  %-6s:%s\n", side.name, rows.c_str());
    }
    for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
        if (bar->IsDockBar() || !bar->IsFloating())
            continue;
        CString text;
        bar->GetWindowText(text);
        CRect rect;
        bar->m_pDockBar->GetParent()->GetWindowRect(&rect);
        std::printf("  floating at (%d, %d): %s\n", static_cast<int>(rect.left), static_cast<int>(rect.top),
                    static_cast<LPCSTR>(text));
    }
    std::fflush(stdout);
}

class PreviewApp : public CWinApp {
public:
    PreviewApp() : CWinApp("FrameLayout") {}
};

} // namespace

int main(int argc, char** argv)
{
    PreviewApp app;
    app.SetRegistryKey(kCompany);
    int seconds = 30;
    bool save = false;
    bool restore = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "/xp")
            qzAfxData.xpLook = 1;
        else if (arg == "/save")
            save = true;
        else if (arg == "/restore")
            restore = true;
        else if (arg == "/seconds" && i + 1 < argc)
            seconds = std::atoi(argv[++i]);
    }
    auto* frame = new LayoutFrame;
    const char* title = save ? "Toolkit frame - layout to save" : restore ? "Toolkit frame - restored layout"
                                                                          : "Toolkit frame";
    if (!frame->Create(nullptr, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 700, 500)))
        return 1;
    app.m_pMainWnd = frame;
    if (save) {
        // Beside the frame: a bare X server draws no popup that lies wholly over its owner.
        frame->FloatControlBar(&frame->toolbar, CPoint(730, 120));
        frame->panel.m_sizeVert = CSize(240, 200);
        frame->DockControlBar(&frame->panel, AFX_IDW_DOCKBAR_RIGHT);
        frame->DockControlBar(frame->GetMenuBar(), AFX_IDW_DOCKBAR_BOTTOM);
        frame->saveOnClose = true;
    } else if (restore) {
        PrintLayout("default layout, before loading:", frame);
        frame->LoadBarState(kProfile);
    }
    frame->RecalcLayout();
    PrintLayout(save ? "layout saved when the frame closes:" : "layout shown:", frame);
    frame->SetTimer(kCloseTimer, static_cast<UINT>(seconds > 0 ? seconds : 30) * 1000, nullptr);
    const int result = app.Run();
    if (restore)
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaFrameLayoutPreview");
    return result;
}
