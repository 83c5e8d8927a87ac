// Frame windows: creation from resources, the view, activation, the title, closing.
#include "FrameWnd.h"

#include "ControlBar.h"
#include "CreateContext.h"
#include "Document.h"
#include "ResourceModule.h"
#include "ThreadState.h"
#include "View.h"
#include "WinApp.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_MESSAGE(WM_QUERYENDSESSION, OnQueryEndSession)
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_NCACTIVATE()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_COMMAND_EX_RANGE(AFX_IDW_TOOLBAR, AFX_IDW_TOOLBAR + 0xFF, OnBarCheck)
    ON_UPDATE_COMMAND_UI_RANGE(AFX_IDW_TOOLBAR, AFX_IDW_TOOLBAR + 0xFF, OnUpdateControlBarMenu)
    ON_COMMAND(ID_HELP_INDEX, OnHelpIndex)
    ON_COMMAND(ID_DEFAULT_HELP, OnHelpIndex)
    ON_COMMAND(ID_HELP_USING, OnHelpUsing)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::CFrameWnd()
{
    AfxGetThreadState()->m_frameList.push_back(this);
}

CFrameWnd::~CFrameWnd()
{
    std::vector<CFrameWnd*>& frames = AfxGetThreadState()->m_frameList;
    frames.erase(std::remove(frames.begin(), frames.end(), this), frames.end());
    // Destroyed here, while this is still a frame, so its handlers see the window go.
    m_bInDestructor = true;
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    // Bars that outlive the frame's window no longer point back at it.
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (bar->m_pDockSite == this)
            bar->m_pDockSite = nullptr;
    }
}

BOOL CFrameWnd::IsFrameWnd() const
{
    return TRUE;
}

CFrameWnd* CWnd::GetParentFrame() const
{
    if (!m_hWnd)
        return nullptr;
    for (CWnd* parent = GetParent(); parent; parent = parent->GetParent()) {
        if (parent->IsFrameWnd())
            return static_cast<CFrameWnd*>(parent);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CFrameWnd* frame = IsFrameWnd() ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this)) : GetParentFrame();
    while (frame) {
        CFrameWnd* parent = frame->GetParentFrame();
        if (!parent)
            break;
        frame = parent;
    }
    return frame;
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU menu = nullptr;
    if (lpszMenuName) {
        HINSTANCE module = AfxGetResourceHandle();
        if (::FindResourceA(module, lpszMenuName, reinterpret_cast<LPCSTR>(RT_MENU)))
            menu = ::LoadMenuA(module, lpszMenuName);
    }
    m_strTitle = lpszWindowName ? lpszWindowName : "";
    // rectDefault holds CW_USEDEFAULT corners, whose differences are no sizes.
    const bool useDefault = EqualRect(&rect, &rectDefault);
    int x = useDefault ? CW_USEDEFAULT : rect.left;
    int y = useDefault ? CW_USEDEFAULT : rect.top;
    int cx = useDefault ? CW_USEDEFAULT : rect.right - rect.left;
    int cy = useDefault ? CW_USEDEFAULT : rect.bottom - rect.top;
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy, pParentWnd->GetSafeHwnd(), menu,
                  pContext)) {
        // The object may be gone already: only the local menu is released.
        if (menu)
            ::DestroyMenu(menu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString title;
    if (pContext && pContext->m_pNewDocTemplate)
        pContext->m_pNewDocTemplate->GetDocString(title, CDocTemplate::windowTitle);
    CString frameStrings;
    if (title.IsEmpty() && frameStrings.LoadString(nIDResource))
        AfxExtractSubString(title, frameStrings, 0);
    m_strTitle = title;
    HINSTANCE module = AfxGetResourceHandle();
    LPCSTR resource = MAKEINTRESOURCEA(nIDResource);
    LPCSTR className = nullptr;
    if (::FindResourceA(module, resource, reinterpret_cast<LPCSTR>(RT_GROUP_ICON))) {
        className = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)),
                                        ::LoadIconA(module, resource));
    }
    if (!Create(className, title, dwDefaultStyle, rectDefault, pParentWnd, resource, 0, pContext))
        return FALSE;
    LoadAccelTable(resource);
    if (!pContext)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR lpszResourceName)
{
    HINSTANCE module = AfxGetResourceHandle();
    if (m_hAccelTable || !::FindResourceA(module, lpszResourceName, reinterpret_cast<LPCSTR>(RT_ACCELERATOR)))
        return FALSE;
    m_hAccelTable = ::LoadAcceleratorsA(module, lpszResourceName);
    return m_hAccelTable != nullptr;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxFrameOrViewClassName();
    if (cs.style & FWS_ADDTOTITLE)
        cs.style |= FWS_PREFIXTITLE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (!OnCreateClient(lpCreateStruct, context))
        return -1;
    // Shown once the bars that derived frames add in their OnCreate exist.
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    auto* view = static_cast<CWnd*>(AfxCreateObjectOfKind(pContext->m_pNewViewClass, RUNTIME_CLASS(CWnd)));
    if (!view)
        return nullptr;
    // A view that fails to be created has deleted itself.
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, nID, pContext))
        return nullptr;
    return view;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* old = m_pViewActive;
    if (pViewNew == old)
        return;
    m_pViewActive = nullptr;
    if (old && bNotify)
        old->OnActivateView(FALSE, pViewNew, old);
    m_pViewActive = pViewNew;
    if (pViewNew && bNotify)
        pViewNew->OnActivateView(TRUE, pViewNew, old);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

CFrameWnd* CFrameWnd::GetActiveFrame()
{
    return this;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    CView* view = m_pViewActive;
    if (!view) {
        CWnd* pane = FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST));
        view = static_cast<CView*>(AfxDynamicDownCast(RUNTIME_CLASS(CView), pane));
        if (view)
            SetActiveView(view, FALSE);
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        int nCmdShow = -1;
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) {
            // The application's show command applies to its first frame only.
            nCmdShow = app->m_nCmdShow;
            app->m_nCmdShow = -1;
        }
        ActivateFrame(nCmdShow);
        if (view)
            view->OnActivateView(TRUE, view, view);
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1) {
        ShowWindow(nCmdShow);
        BringWindowToTop(m_hWnd);
    }
}

void CFrameWnd::OnClose()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        // The main frame closes every document; one that declines keeps the program open.
        if (!app->SaveAllModified())
            return;
        HWND hWnd = m_hWnd;
        app->CloseAllDocuments(FALSE);
        if (!::IsWindow(hWnd))
            return;
        DestroyWindow();
        return;
    }
    CDocument* document = GetActiveDocument();
    if (document && !document->CanCloseFrame(this))
        return;
    DestroyWindow();
}

LRESULT CFrameWnd::OnQueryEndSession(WPARAM, LPARAM)
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this)
        return app->SaveAllModified();
    return TRUE;
}

void CFrameWnd::OnDestroy()
{
    m_pViewActive = nullptr;
    if (m_hAccelTable) {
        ::DestroyAcceleratorTable(m_hAccelTable);
        m_hAccelTable = nullptr;
    }
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy()
{
    if (!m_bInDestructor)
        delete this;
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    // The frame passes the focus on to its view.
    if (m_pViewActive && m_pViewActive->m_hWnd)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    // The view hears first, while the focus is still where the user left it.
    if (m_pViewActive && m_pViewActive->m_hWnd)
        m_pViewActive->OnActivateFrame(nState, this);
    CWnd::OnActivate(nState, pWndOther, bMinimized);
}

BOOL CFrameWnd::OnNcActivate(BOOL bActive)
{
    // A frame that must look active while another window has the input (a floating bar's).
    if (m_nFlags & WF_STAYACTIVE)
        bActive = TRUE;
    return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* document = GetActiveDocument();
    UpdateFrameTitleForDocument(bAddToTitle && document ? static_cast<LPCSTR>(document->GetTitle()) : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR lpszDocName)
{
    CString title;
    if (!lpszDocName) {
        title = m_strTitle;
    } else if (GetStyle() & FWS_PREFIXTITLE) {
        title = lpszDocName;
        title += " - ";
        title += m_strTitle;
    } else {
        title = m_strTitle;
        title += " - ";
        title += lpszDocName;
    }
    AfxSetWindowText(m_hWnd, title);
}
