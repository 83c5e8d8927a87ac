// The tab control bar's tab operations: each passes to its tab control.
#include "toolkit/controls/QZTabCtrlBar.h"

#include "framework/ImageList.h"

CQZTabCtrl* CQZTabCtrlBar::GetTabCtrl()
{
    return &m_tabCtrl;
}

CImageList* CQZTabCtrlBar::SetTabImageList(CImageList* pImageList)
{
    return m_tabCtrl.SetImageList(pImageList);
}

void CQZTabCtrlBar::SetTabMenu(UINT nMenuRes, int nMenuPopup)
{
    m_tabCtrl.SetTabMenu(nMenuRes, nMenuPopup);
}

UINT CQZTabCtrlBar::GetTabMenu() const
{
    return m_tabCtrl.GetTabMenu();
}

void CQZTabCtrlBar::GetPageRect(CRect& rect) const
{
    m_tabCtrl.GetPageRect(rect);
}

void CQZTabCtrlBar::PlaceTabWindow(CWnd* pWnd)
{
    m_tabCtrl.PlaceTabWindow(pWnd);
}

void CQZTabCtrlBar::ApplyTabFont()
{
    m_tabCtrl.ApplyTabFont();
}

BOOL CQZTabCtrlBar::ChangeTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return m_tabCtrl.ChangeTabStyle(dwRemove, dwAdd, nFlags);
}

CToolTipCtrl* CQZTabCtrlBar::GetTipCtrl() const
{
    return m_tabCtrl.GetTipCtrl();
}

void CQZTabCtrlBar::SetTipCtrl(CToolTipCtrl* pTip)
{
    m_tabCtrl.SetTipCtrl(pTip);
}

BOOL CQZTabCtrlBar::AddTabTip(UINT nTipID, LPCSTR lpszText)
{
    return m_tabCtrl.AddTabTip(nTipID, lpszText);
}

void CQZTabCtrlBar::SetTabTipOf(CRuntimeClass* pClass, LPCSTR lpszText)
{
    m_tabCtrl.SetTabTipOf(pClass, lpszText);
}

void CQZTabCtrlBar::SetTabTip(int nTab, LPCSTR lpszText)
{
    m_tabCtrl.SetTabTip(nTab, lpszText);
}

void CQZTabCtrlBar::RenumberTabTips()
{
    m_tabCtrl.RenumberTabTips();
}

BOOL CQZTabCtrlBar::ActivateTabTips(BOOL bActivate)
{
    return m_tabCtrl.ActivateTabTips(bActivate);
}

BOOL CQZTabCtrlBar::AddTabWindow(LPCSTR lpszLabel, CWnd* pWnd, int nIndex, int nImage)
{
    return m_tabCtrl.AddTabWindow(lpszLabel, pWnd, nIndex, nImage);
}

BOOL CQZTabCtrlBar::AddTabView(LPCSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc,
                               CCreateContext* pContext, int nIndex)
{
    return m_tabCtrl.AddTabView(lpszLabel, pViewClass, pDoc, pContext, nIndex, -1);
}

BOOL CQZTabCtrlBar::InsertTab(LPCSTR lpszLabel, CWnd* pWnd, int nIndex)
{
    return m_tabCtrl.InsertTab(lpszLabel, pWnd, nIndex, -1);
}

CWnd* CQZTabCtrlBar::GetTabWindow(int nTab) const
{
    return m_tabCtrl.GetTabWindow(nTab);
}

CWnd* CQZTabCtrlBar::FindTabWindow(CRuntimeClass* pClass) const
{
    return m_tabCtrl.FindTabWindow(pClass);
}

CWnd* CQZTabCtrlBar::GetSelectedWindow() const
{
    return m_tabCtrl.GetSelectedWindow();
}

void CQZTabCtrlBar::SelectTab(int nTab)
{
    m_tabCtrl.SelectTab(nTab);
}

void CQZTabCtrlBar::SelectTabWindow(CWnd* pWnd)
{
    m_tabCtrl.SelectTabWindow(pWnd);
}

void CQZTabCtrlBar::SelectTabClass(CRuntimeClass* pClass)
{
    m_tabCtrl.SelectTabClass(pClass);
}

BOOL CQZTabCtrlBar::RemoveTabClass(CRuntimeClass* pClass, BOOL bDestroy)
{
    return m_tabCtrl.RemoveTabClass(pClass, bDestroy);
}

BOOL CQZTabCtrlBar::RemoveTabWindow(CWnd* pWnd, BOOL bDestroy)
{
    return m_tabCtrl.RemoveTabWindow(pWnd, bDestroy);
}

BOOL CQZTabCtrlBar::RemoveTab(int nTab, BOOL bDestroy)
{
    return m_tabCtrl.RemoveTab(nTab, bDestroy);
}

LPCSTR CQZTabCtrlBar::GetTabTextOf(CRuntimeClass* pClass) const
{
    return m_tabCtrl.GetTabTextOf(pClass);
}

LPCSTR CQZTabCtrlBar::GetTabText(int nTab) const
{
    return m_tabCtrl.GetTabText(nTab);
}

BOOL CQZTabCtrlBar::ClearTabs()
{
    return m_tabCtrl.ClearTabs();
}

int CQZTabCtrlBar::TabFromPoint(CPoint point) const
{
    return m_tabCtrl.TabFromPoint(point);
}

BOOL CQZTabCtrlBar::HasTabWindow(CWnd* pWnd) const
{
    return m_tabCtrl.HasTabWindow(pWnd);
}
