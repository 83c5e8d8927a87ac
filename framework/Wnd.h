// Stands in for the framework's window object. A CWnd made or subclassed by the
// framework is the permanent object of its HWND and gets every message through its
// message map from WM_NCCREATE on; any other HWND gets a temporary plain CWnd that
// lives until the thread's next idle clean-up. Messages the map leaves alone go to the
// window's original procedure. The object and its window have separate lifetimes:
// PostNcDestroy runs after the window has gone (self-deleting objects delete
// themselves there), and the destructor destroys a window that still exists.
#pragma once

#include "CString.h"
#include "CmdTarget.h"
#include "Geometry.h"

#include <windows.h>

#include <commctrl.h>

class CDC;
class CDataExchange;
class CException;
class CFile;
class CFont;
class CFrameWnd;
class CMenu;
class COleControlContainer;
class COleControlSite;
class CRgn;
class CScrollBar;
struct CCreateContext;

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    // The owner the framework routes notifications to; distinct from the Win32 owner.
    HWND m_hWndOwner = nullptr;
    UINT m_nFlags = 0;  // WF_* bits
    // The window procedure the window had before the framework subclassed it.
    WNDPROC m_pfnSuper = nullptr;

    // Insert-after markers for SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    operator HWND() const { return m_hWnd; }
    // Null for a null object: framework code calls it through pointers that may be null.
    HWND GetSafeHwnd() const { return this ? m_hWnd : nullptr; }

    // The permanent object of the window, else a temporary plain CWnd; null for null.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);

    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Attaches and routes the window's messages through this object's map.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // Creation. When it fails, PostNcDestroy has run once, whether or not the system made
    // and sent anything: a self-deleting object is gone, any other holds no handle.
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PreSubclassWindow();
    virtual void PostNcDestroy();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Dispatches through the message map; FALSE when no entry handled the message.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The original window procedure (or the system default) with this message.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // DefWindowProc with the message being dispatched now. A tooltip's TTN_NEEDTEXT left
    // without text here gets the tip part (after the first newline) of the tool's command
    // string.
    LRESULT Default();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A parent offers its control's notification here first; TRUE when the control took it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
    // Offers the message being dispatched to the child's permanent object.
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    virtual BOOL IsFrameWnd() const;

    // Tooltips. With them enabled, the mouse messages this window pre-translates reach
    // the thread's one tooltip control (made when first needed), which shows the tip of
    // the tool that OnToolHitTest finds under the mouse.
    BOOL EnableToolTips(BOOL bEnable = TRUE);
    // The id of the tool at point (client coordinates), or -1. The default: a visible child
    // control with an id; pTI (when given) makes that child the tool, its text asked for
    // with TTN_NEEDTEXT.
    virtual int OnToolHitTest(CPoint point, TOOLINFOA* pTI);
    // Relays a mouse message to the thread's tooltip, switching tools as the hit changes.
    void FilterToolTipMessage(MSG* pMsg);
    // Hides the tip being shown, if any.
    static void CancelToolTips();

    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = 0);

    // The message being dispatched on this thread (window, message, wParam, lParam, time, point).
    static const MSG* GetCurrentMessage();
    // Gives each permanent object from pMsg's window up to hWndStop the first look.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // Family.
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    CWnd* GetOwner() const;  // the framework owner, else the parent
    void SetOwner(CWnd* pOwnerWnd);
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetTopLevelParent() const;
    // Makes the top-level parent the active window unless this window or one of its
    // ancestors is in front already.
    void ActivateTopParent();
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    CWnd* GetWindow(UINT nCmd) const;
    BOOL IsChild(const CWnd* pWnd) const;
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE);
    // Runs the update route of every child control that has a control id.
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    // The size-parent protocol: each child with an id in [nIDFirst, nIDLast] takes its
    // room from the client rectangle (WM_SIZEPARENT); the child nIDLeftOver gets the rest.
    // reposQuery moves nothing and returns the rest in lpRectParam; reposExtra first
    // takes lpRectParam's sides off the rest.
    enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2 };
    void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                        LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);

    // Style.
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // With nFlags, SetWindowPos(no size, move, z-order or activation | nFlags) follows.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // Geometry and state.
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    // The desktop window, as a temporary object.
    static CWnd* GetDesktopWindow();
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void UpdateWindow();
    // WM_SETREDRAW: FALSE holds back drawing while many changes are made.
    void SetRedraw(BOOL bRedraw = TRUE);
    // Sends WM_PRINT so the window paints itself into pDC.
    void Print(CDC* pDC, DWORD dwFlags) const;

    // Text and font.
    void SetWindowText(LPCSTR lpszString);
    int GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;

    // Input.
    CWnd* SetCapture();
    static CWnd* GetCapture();
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetActiveWindow();
    BOOL SetForegroundWindow();
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // Menus and device contexts (temporary objects unless owned elsewhere).
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar();
    CMenu* GetSystemMenu(BOOL bRevert) const;
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);

    // A null caption becomes the application's name.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // Modal loops: RunModalLoop pumps the thread's messages, pre-translated, until
    // EndModalLoop clears WF_CONTINUEMODAL, and answers the result it was given.
    int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);
    // A dialog window from an in-memory template, made as this object (subclassed from
    // WM_NCCREATE on). Sets WF_CONTINUEMODAL and a modal result of -1 for a modal run.
    BOOL CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst);
    // The top-level window a dialog of pParent should be owned by: pParent's top-level
    // window, else the thread's main window; null when there is none.
    static CWnd* GetSafeOwner(CWnd* pParent = nullptr);

    // Data exchange: DoDataExchange moves values between members and controls; UpdateData
    // runs it with the window's control notifications locked out and answers FALSE when
    // a value was refused (the user has been told) or the exchange failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Dialog items.
    void SetDlgItemText(int nID, LPCSTR lpszString);
    int GetDlgItemText(int nID, LPSTR lpStr, int nMaxCount) const;
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    // The id of the checked button in the range, or 0.
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // OLE controls. CreateControl hosts the control of clsid as this object, a child of
    // pParentWnd at rect with id nID (see COleControlSite::CreateControl; containment must
    // be enabled). FALSE leaves this object without a window or control. A control may
    // have no window of its own: moving, placing and destroying this object still reach it.
    BOOL CreateControl(REFCLSID clsid, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, CFile* pPersist = nullptr, BOOL bStorage = FALSE, BSTR bstrLicKey = nullptr);
    // The hosted control's object (no reference added), or null.
    LPUNKNOWN GetControlUnknown();
    // Calls the hosted control's automation member dwDispID as wFlags says (DISPATCH_METHOD,
    // DISPATCH_PROPERTYGET). pbParamInfo lists the types of the arguments that follow
    // (VTS_* strings, null for none); the result of type vtRet (VT_EMPTY: none, VT_BSTR: a
    // CString) goes to pvRet. Failures throw COleDispatchException or COleException.
    void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...);
    // The site of the control this object hosts, and the container of the controls this
    // window hosts; both null for ordinary windows.
    COleControlSite* m_pCtrlSite = nullptr;
    COleControlContainer* m_pCtrlCont = nullptr;

    // Default message handlers: each passes the message to Default().
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    // When this is not a child window the message goes on to every descendant.
    afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    afx_msg void OnSysColorChange();
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnInitMenu(CMenu* pMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    afx_msg void OnEnterMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnCancelMode();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);

    DECLARE_MESSAGE_MAP()

protected:
    // OnChildNotify of a control that paints its own items: WM_DRAWITEM goes to a map entry
    // for the reflected message, else to drawItem and counts as handled; the rest as usual.
    BOOL OwnerDrawChildNotify(void (CWnd::*drawItem)(LPDRAWITEMSTRUCT), UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT* pResult);
    // Fills a TTN_NEEDTEXT request with the tip part of the tool's command string.
    void AnswerToolTipText(NMHDR* pNMHDR);
    // Ends a modal run that exception e left: e is deleted, the run answers -1 and its loop is over.
    void AbandonModalRun(CException* e);

    // What RunModalLoop answers: the value given to EndModalLoop or EndDialog.
    int m_nModalResult = 0;

private:
    explicit CWnd(HWND marker);
    // The message-map call for one entry; FALSE when a colour handler answered no brush.
    BOOL DispatchWndMsg(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* pResult);
    // Reflection to the control named by an owner-draw, list-key or colour message.
    BOOL ReflectOwnedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

// The record a parent hands its children with WM_SIZEPARENT: the room left, the size
// the bars took, and the batch of moves (null in a query: nothing moves).
struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;
    RECT rect;
    SIZE sizeTotal;
    BOOL bStretch;
};

// A TTN_NEEDTEXTA or TTN_NEEDTEXTW request whose text is still missing or empty.
BOOL IsUnansweredToolTipText(const NMHDR* pNMHDR);

// Moves hWnd to lpRect (parent coordinates) within the layout's batch; nothing without a batch.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

// Parameter types for CWnd::InvokeHelper, concatenated into one string per call. 0x40
// marks an argument passed by pointer.
#define VTS_NONE ""
#define VTS_PVARIANT "\x4C"

// The window procedure of every framework window.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// Calls pWnd's WindowProc as the current message, stopping every exception here.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0);
// The creation hook: the next window this thread creates is attached to pWnd.
void AfxHookWindowCreate(CWnd* pWnd);
// The same, and the window attached is reported in *pAttached for AfxForgetRefusedWindow.
void AfxHookWindowCreate(CWnd* pWnd, HWND* pAttached);
// Removes the hook; FALSE when no window was attached since AfxHookWindowCreate.
BOOL AfxUnhookWindowCreate();
// After the system refused a window the hook had attached pWnd to: WM_NCDESTROY, when the
// system sent one, has cleaned up and pWnd may be gone; a refusing CBT hook sends none,
// and pWnd would keep the dead handle, in the map too. Tells the two apart by the map
// alone and cleans up, as WM_NCDESTROY would have, only an object still holding the handle.
void AfxForgetRefusedWindow(CWnd* pWnd, HWND hWndAttached);
// Registers (once) a class with the framework's window procedure defaults; the name stays valid.
LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                           HICON hIcon = nullptr);
// Sets the text only when it differs, so a control does not flicker or re-notify.
void AfxSetWindowText(HWND hWndCtrl, LPCSTR lpszNew);

// The framework's own window classes, registered on first use.
LPCSTR AfxWndClassName();          // plain child windows
LPCSTR AfxFrameOrViewClassName();  // frames and views
LPCSTR AfxControlBarClassName();   // control bars
