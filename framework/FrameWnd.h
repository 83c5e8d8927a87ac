// Stands in for the framework's frame window: a top-level window holding control bars
// (in creation order) and a view. It lays them out through the size-parent protocol,
// routes commands to the active view (and its document), itself and the application,
// updates menus through CCmdUI when they open, translates its accelerators, shows
// status texts, keeps its title in step with the document, and deletes itself after
// its window is destroyed. Every frame is on its thread's frame list for idle updates.
#pragma once

#include "CollectionLists.h"
#include "Wnd.h"

class CControlBar;
class CDockBar;
class CDockState;
class CDocument;
class CMiniDockFrameWnd;
class CView;
struct CCreateContext;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    // Position and size chosen by the system.
    static const CRect rectDefault;

    CFrameWnd();
    ~CFrameWnd() override;

    // A null class is the framework's frame class; the menu is loaded only when the
    // resource module has it.
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCSTR lpszMenuName = nullptr,
                        DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Creates the frame from resource nIDResource: menu, accelerators and icon when they
    // exist; the title from the context's document strings, else the string resource.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL LoadAccelTable(LPCSTR lpszResourceName);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    virtual CFrameWnd* GetActiveFrame();
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    // WM_INITIALUPDATE to the views, activation, the title, and showing the frame
    // (the main frame with the application's m_nCmdShow, once).
    virtual void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);

    // Control bars, then the view (AFX_IDW_PANE_FIRST) in the room left. Nested calls are dropped.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Lays out at the next idle time instead.
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    CControlBar* GetControlBar(UINT nID);
    // Shows or hides a bar; a floating bar's frame is laid out, or hidden with its last bar.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);

    // Docking. EnableDocking makes a dock bar for each allowed side (top, bottom, left,
    // right) that the frame does not have yet, throwing the resource exception when one
    // cannot be made; floating frames are CMiniDockFrameWnd unless a class is set.
    void EnableDocking(DWORD dwDockStyle);
    // Docks pBar on dock bar nDockBarID (0: the first side its alignment names) at lpRect
    // (screen; null: a row of its own at the end), then lays the frame out.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    // A new floating frame of m_pFloatingFrameClass for bars of dwStyle; null when the class
    // cannot make one or its window cannot be created.
    CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
    // Moves the floating frame that holds only pBar to point (screen), or floats pBar in a
    // new one there, and lays it out.
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    // Docks pBar back; without a dock bar on its most recent dock bar when the frame still
    // has it, else on the first side its alignment allows.
    void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    // The records of the frame's bars in list order.
    void GetDockState(CDockState& state) const;
    // Applies stored records: floating frames are made anew, records of bars the frame does
    // not have (or whose floating frame cannot be made) are left out.
    void SetDockState(const CDockState& state);
    // The bar layout in the application's profile under lpszProfileName. Loading a layout
    // that is missing or malformed keeps the current one.
    void SaveBarState(LPCSTR lpszProfileName) const;
    void LoadBarState(LPCSTR lpszProfileName);

    // "title" alone, or with the document title after (or, with FWS_PREFIXTITLE, before) it.
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void UpdateFrameTitleForDocument(LPCSTR lpszDocName);
    // The text of command nID's string resource up to its first newline.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    // The status bar that shows texts (the descendant with the status-bar id), or null.
    CWnd* GetMessageBar();
    void SetMessageText(LPCSTR lpszText);
    void SetMessageText(UINT nID);

    BOOL IsFrameWnd() const override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);

    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };

    CPtrList m_listControlBars;
    UINT m_nIdleFlags = 0;
    BOOL m_bInRecalcLayout = FALSE;
    HACCEL m_hAccelTable = nullptr;
    CString m_strTitle;
    // Menu items without a command handler are disabled when the menu opens.
    BOOL m_bAutoMenuEnable = TRUE;
    CRuntimeClass* m_pFloatingFrameClass = nullptr;
    UINT m_nIDHelp = 0;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    // A session that ends asks the main frame's documents about their changes as closing
    // it does: FALSE keeps the session from ending.
    afx_msg LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    // Tells the active view that the frame is being activated or deactivated.
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg void OnHelp();
    afx_msg void OnHelpIndex();
    afx_msg void OnHelpUsing();
    afx_msg void OnContextHelp();

protected:
    CView* m_pViewActive = nullptr;
    UINT m_nIDLastMessage = 0;

private:
    // Set while the destructor destroys the window: the object is already being deleted.
    bool m_bInDestructor = false;

    DECLARE_MESSAGE_MAP()
};
