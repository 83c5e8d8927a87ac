// Tabs and their windows: adding (an existing window or a view made for the tab),
// finding, selecting, placing on the page and removing, with the records kept in the
// order of the tabs.
#include "toolkit/controls/QZTabCtrlBaseEx.h"

#include "framework/ControlsCommon.h"
#include "framework/CreateContext.h"
#include "framework/Document.h"
#include "framework/Exceptions.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "toolkit/foundation/QZAuxData.h"

#include <new>

CQZTabCtrlBaseEx::CQZTabCtrlBaseEx()
{
    m_bBoldSelected = 0;
}

CQZTabCtrlBaseEx::~CQZTabCtrlBaseEx()
{
    // The records normally went with the window (WM_DESTROY); these belong to a control
    // whose window was never made.
    while (!m_listTabs.IsEmpty())
        delete m_listTabs.RemoveHead();
}

QZ_TCB_ITEM* CQZTabCtrlBaseEx::GetRecord(int nTab) const
{
    POSITION pos = m_listTabs.FindIndex(nTab);
    return pos ? m_listTabs.GetAt(pos) : nullptr;
}

int CQZTabCtrlBaseEx::FindRecordOfWindow(const CWnd* pWnd) const
{
    int index = 0;
    for (POSITION pos = m_listTabs.GetHeadPosition(); pos; ++index) {
        if (m_listTabs.GetNext(pos)->pTabWnd == pWnd)
            return index;
    }
    return -1;
}

int CQZTabCtrlBaseEx::FindRecordOfClass(CRuntimeClass* pClass) const
{
    int index = 0;
    for (POSITION pos = m_listTabs.GetHeadPosition(); pos; ++index) {
        const CWnd* wnd = m_listTabs.GetNext(pos)->pTabWnd;
        if (wnd && ::IsWindow(wnd->m_hWnd) && wnd->IsKindOf(pClass))
            return index;
    }
    return -1;
}

BOOL CQZTabCtrlBaseEx::AddTabWindow(LPCSTR lpszLabel, CWnd* pWnd, int nIndex, int nImage)
{
    return InsertTab(lpszLabel, pWnd, nIndex, nImage);
}

BOOL CQZTabCtrlBaseEx::AddTabView(LPCSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc,
                                  CCreateContext* pContext, int nIndex, int nImage)
{
    CWnd* view = CreateTabWindow(pViewClass, pDoc, pContext);
    if (!view)
        return FALSE;
    return InsertTab(lpszLabel, view, nIndex, nImage);
}

BOOL CQZTabCtrlBaseEx::InsertTab(LPCSTR lpszLabel, CWnd* pWnd, int nIndex, int nImage)
{
    if (!m_pTabCtrl || !pWnd)
        return FALSE;
    pWnd->SetParent(m_pTabCtrl);
    auto* record = new (std::nothrow) QZ_TCB_ITEM;
    if (!record)
        return FALSE;
    record->pTabWnd = pWnd;
    record->strLabel = lpszLabel;
    record->strTip = lpszLabel;
    record->nTipID = static_cast<UINT>(m_pTabCtrl->SendMessage(TCM_GETITEMCOUNT));
    // An index the tabs do not reach means the end, for the record and the tab alike:
    // the control would append such a tab, and records must stay in tab order.
    const int count = m_listTabs.GetCount();
    if (nIndex < 0 || nIndex > count)
        nIndex = count;
    POSITION pos = nIndex == count ? m_listTabs.AddTail(record)
                                   : m_listTabs.InsertBefore(m_listTabs.FindIndex(nIndex), record);
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<LPSTR>(lpszLabel ? lpszLabel : "");
    item.iImage = nImage == -1 ? nIndex : nImage;
    if (m_pTabCtrl->SendMessage(TCM_INSERTITEMA, nIndex, reinterpret_cast<LPARAM>(&item)) == -1) {
        // No tab for it: the record goes too, so that records and tabs stay in step.
        m_listTabs.RemoveAt(pos);
        delete record;
        return FALSE;
    }
    AddTabTip(record->nTipID, record->strLabel);
    RenumberTabTips();
    SelectTab(nIndex);
    return TRUE;
}

CWnd* CQZTabCtrlBaseEx::CreateTabWindow(CRuntimeClass* pViewClass, CDocument* pDoc, CCreateContext* pContext)
{
    if (!m_pTabCtrl)
        return nullptr;
    CCreateContext context;
    if (!pContext) {
        context.m_pNewViewClass = pViewClass;
        context.m_pCurrentDoc = pDoc;
        context.m_pNewDocTemplate = pDoc ? pDoc->GetDocTemplate() : nullptr;
        pContext = &context;
    }
    CWnd* wnd = nullptr;
    TRY
    {
        wnd = static_cast<CWnd*>(AfxCreateObjectOfKind(pContext->m_pNewViewClass, RUNTIME_CLASS(CWnd)));
        if (!wnd)
            AfxThrowMemoryException();
    }
    CATCH_ALL(e)
    {
        e->Delete();
        return nullptr;
    }
    END_CATCH_ALL
    // In the XP look the page gets a frame of its own, so the view needs no border.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER;
    if (qzAfxData.xpLook && !m_bNoXPLook)
        style &= ~WS_BORDER;
    // A view or frame frees itself in PostNcDestroy, which a failed Create runs; any
    // other window object is freed here, or it would be lost.
    const bool freesItself = wnd->IsKindOf(RUNTIME_CLASS(CView)) || wnd->IsKindOf(RUNTIME_CLASS(CFrameWnd));
    const UINT id = AFX_IDW_PANE_FIRST + static_cast<UINT>(m_listTabs.GetCount());
    if (!wnd->Create(nullptr, nullptr, style, CRect(0, 0, 0, 0), m_pTabCtrl, id, pContext)) {
        if (!freesItself)
            delete wnd;
        return nullptr;
    }
    if (m_bInitViews && !m_bSetupPending)
        wnd->SendMessage(WM_INITIALUPDATE);
    wnd->m_hWndOwner = m_pViewOwner->GetSafeHwnd();
    return wnd;
}

CWnd* CQZTabCtrlBaseEx::GetTabWindow(int nTab) const
{
    QZ_TCB_ITEM* record = GetRecord(nTab);
    if (!record || !record->pTabWnd || !::IsWindow(record->pTabWnd->m_hWnd))
        return nullptr;
    return record->pTabWnd;
}

CWnd* CQZTabCtrlBaseEx::FindTabWindow(CRuntimeClass* pClass) const
{
    return GetTabWindow(FindRecordOfClass(pClass));
}

CWnd* CQZTabCtrlBaseEx::GetSelectedWindow() const
{
    if (!m_pTabCtrl)
        return nullptr;
    return GetTabWindow(static_cast<int>(m_pTabCtrl->SendMessage(TCM_GETCURSEL)));
}

BOOL CQZTabCtrlBaseEx::HasTabWindow(CWnd* pWnd) const
{
    return FindRecordOfWindow(pWnd) != -1;
}

void CQZTabCtrlBaseEx::ShowTabWindow(CWnd* pWnd)
{
    for (POSITION pos = m_listTabs.GetHeadPosition(); pos;) {
        CWnd* wnd = m_listTabs.GetNext(pos)->pTabWnd;
        if (wnd && ::IsWindow(wnd->m_hWnd)) {
            wnd->ShowWindow(SW_HIDE);
            wnd->EnableWindow(FALSE);
        }
    }
    if (!pWnd)
        return;
    pWnd->ShowWindow(SW_SHOW);
    pWnd->EnableWindow(TRUE);
    pWnd->SetFocus();
    PlaceTabWindow(pWnd);
}

void CQZTabCtrlBaseEx::SelectTab(int nTab)
{
    QZ_TCB_ITEM* record = GetRecord(nTab);
    if (!record || !record->pTabWnd)
        return;
    m_pTabCtrl->SendMessage(TCM_SETCURSEL, nTab);
    ShowTabWindow(record->pTabWnd);
}

void CQZTabCtrlBaseEx::SelectTabWindow(CWnd* pWnd)
{
    const int index = FindRecordOfWindow(pWnd);
    if (index != -1)
        SelectTab(index);
}

void CQZTabCtrlBaseEx::SelectTabClass(CRuntimeClass* pClass)
{
    const int index = FindRecordOfClass(pClass);
    if (index != -1)
        SelectTab(index);
}

void CQZTabCtrlBaseEx::PlaceTabWindow(CWnd* pWnd)
{
    if (!pWnd)
        return;
    CRect page;
    GetPageRect(page);
    pWnd->MoveWindow(&page, TRUE);
}

void CQZTabCtrlBaseEx::FreeTabRecord(POSITION pos, BOOL bDestroy)
{
    if (!pos)
        return;
    QZ_TCB_ITEM* record = m_listTabs.GetAt(pos);
    if (record->pTabWnd && ::IsWindow(record->pTabWnd->m_hWnd)) {
        if (bDestroy) {
            record->pTabWnd->DestroyWindow();
            record->pTabWnd = nullptr;
        } else {
            record->pTabWnd->ShowWindow(SW_HIDE);
        }
    }
    m_listTabs.RemoveAt(pos);
    delete record;
}

BOOL CQZTabCtrlBaseEx::RemoveTab(int nTab, BOOL bDestroy)
{
    POSITION pos = m_listTabs.FindIndex(nTab);
    if (!pos)
        return FALSE;
    ReleaseFrameView(m_listTabs.GetAt(pos)->pTabWnd);
    FreeTabRecord(pos, bDestroy);
    m_pTabCtrl->SendMessage(TCM_DELETEITEM, nTab);
    const int remaining = m_listTabs.GetCount();
    if (remaining > 0) {
        // The tab before the removed one, or the new first tab.
        SelectTab(nTab == 0 ? 0 : (nTab < remaining ? nTab - 1 : remaining - 1));
        RenumberTabTips();
    }
    return TRUE;
}

BOOL CQZTabCtrlBaseEx::RemoveTabWindow(CWnd* pWnd, BOOL bDestroy)
{
    const int index = FindRecordOfWindow(pWnd);
    return index != -1 && RemoveTab(index, bDestroy);
}

BOOL CQZTabCtrlBaseEx::RemoveTabClass(CRuntimeClass* pClass, BOOL bDestroy)
{
    const int index = FindRecordOfClass(pClass);
    return index != -1 && RemoveTab(index, bDestroy);
}

BOOL CQZTabCtrlBaseEx::ClearTabs()
{
    for (POSITION pos = m_listTabs.GetHeadPosition(); pos;)
        ReleaseFrameView(m_listTabs.GetNext(pos)->pTabWnd);
    while (!m_listTabs.IsEmpty())
        FreeTabRecord(m_listTabs.GetHeadPosition(), TRUE);
    if (m_pTabCtrl)
        m_pTabCtrl->SendMessage(TCM_DELETEALLITEMS);
    return TRUE;
}

LPCSTR CQZTabCtrlBaseEx::GetTabText(int nTab) const
{
    QZ_TCB_ITEM* record = GetRecord(nTab);
    return record ? static_cast<LPCSTR>(record->strLabel) : nullptr;
}

LPCSTR CQZTabCtrlBaseEx::GetTabTextOf(CRuntimeClass* pClass) const
{
    return GetTabText(FindRecordOfClass(pClass));
}

int CQZTabCtrlBaseEx::TabFromPoint(CPoint point) const
{
    if (!m_pTabCtrl)
        return -1;
    TCHITTESTINFO hit = {};
    hit.pt = point;
    if (point == CPoint(0, 0))
        ::GetCursorPos(&hit.pt);
    m_pTabCtrl->ScreenToClient(&hit.pt);
    return static_cast<int>(m_pTabCtrl->SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}
