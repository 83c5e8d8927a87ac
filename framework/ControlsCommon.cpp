// Tab, spin, progress and slider controls, the toolbar control's saved layout, and tooltips.
#include "ControlsCommon.h"

#include "ControlRegistration.h"
#include "ImageList.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BEGIN_MESSAGE_MAP(CTabCtrl, CWnd)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_TABCONTROLA, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CTabCtrl::GetItemCount() const
{
    return static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
}

BOOL CTabCtrl::InsertItem(int nItem, LPCSTR lpszItem)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return SendMessage(TCM_INSERTITEMA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)) != -1;
}

BOOL CTabCtrl::DeleteItem(int nItem)
{
    return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(nItem)));
}

BOOL CTabCtrl::DeleteAllItems()
{
    return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS));
}

int CTabCtrl::GetCurSel() const
{
    return static_cast<int>(SendMessage(TCM_GETCURSEL));
}

int CTabCtrl::SetCurSel(int nItem)
{
    return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(nItem)));
}

BOOL CTabCtrl::GetItemRect(int nItem, LPRECT lpRect) const
{
    return static_cast<BOOL>(SendMessage(TCM_GETITEMRECT,
                                         static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpRect)));
}

void CTabCtrl::AdjustRect(BOOL bLarger, LPRECT lpRect)
{
    SendMessage(TCM_ADJUSTRECT, static_cast<WPARAM>(bLarger), reinterpret_cast<LPARAM>(lpRect));
}

LONG CTabCtrl::InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, int nImage, LPARAM lParam)
{
    TCITEMA item = {};
    item.mask = nMask;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    item.lParam = lParam;
    return static_cast<LONG>(SendMessage(TCM_INSERTITEMA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

BOOL CTabCtrl::GetItem(int nItem, TCITEMA* pTabCtrlItem) const
{
    return static_cast<BOOL>(SendMessage(TCM_GETITEMA, static_cast<WPARAM>(nItem),
                                         reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

BOOL CTabCtrl::SetItem(int nItem, TCITEMA* pTabCtrlItem)
{
    return static_cast<BOOL>(SendMessage(TCM_SETITEMA, static_cast<WPARAM>(nItem),
                                         reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

int CTabCtrl::HitTest(TCHITTESTINFO* pHitTestInfo) const
{
    return static_cast<int>(SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
}

CImageList* CTabCtrl::GetImageList() const
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TCM_GETIMAGELIST)));
}

CImageList* CTabCtrl::SetImageList(CImageList* pImageList)
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
        SendMessage(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList->GetSafeHandle()))));
}

int CTabCtrl::GetRowCount() const
{
    return static_cast<int>(SendMessage(TCM_GETROWCOUNT));
}

CToolTipCtrl* CTabCtrl::GetToolTips() const
{
    // Like every control's tooltip window: its permanent object when it has one, else a
    // temporary wrapper whose members only send messages to the handle.
    return static_cast<CToolTipCtrl*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(TCM_GETTOOLTIPS))));
}

void CTabCtrl::SetToolTips(CToolTipCtrl* pWndTip)
{
    SendMessage(TCM_SETTOOLTIPS, reinterpret_cast<WPARAM>(pWndTip->GetSafeHwnd()));
}

void CTabCtrl::OnDestroy()
{
    CWnd::OnDestroy();
}

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(UPDOWN_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy)
{
    HWND previous = reinterpret_cast<HWND>(
        SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(pWndBuddy->GetSafeHwnd())));
    return FromHandle(previous);
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    return FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY)));
}

void CSpinButtonCtrl::SetRange(short nLower, short nUpper)
{
    SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower));
}

void CSpinButtonCtrl::SetRange32(int nLower, int nUpper)
{
    SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper);
}

void CSpinButtonCtrl::GetRange32(int& nLower, int& nUpper) const
{
    SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nLower), reinterpret_cast<LPARAM>(&nUpper));
}

int CSpinButtonCtrl::SetPos(int nPos)
{
    return static_cast<int>(static_cast<short>(LOWORD(SendMessage(UDM_SETPOS, 0, MAKELPARAM(nPos, 0)))));
}

int CSpinButtonCtrl::GetPos() const
{
    return static_cast<int>(SendMessage(UDM_GETPOS));
}

int CSpinButtonCtrl::SetPos32(int nPos)
{
    return static_cast<int>(SendMessage(UDM_SETPOS32, 0, nPos));
}

int CSpinButtonCtrl::GetPos32(LPBOOL lpbError) const
{
    return static_cast<int>(SendMessage(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(lpbError)));
}

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(PROGRESS_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CProgressCtrl::SetRange(short nLower, short nUpper)
{
    SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper));
}

void CProgressCtrl::SetRange32(int nLower, int nUpper)
{
    SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper);
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    PBRANGE range = {};
    SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    nLower = range.iLow;
    nUpper = range.iHigh;
}

int CProgressCtrl::SetPos(int nPos)
{
    return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos)));
}

int CProgressCtrl::GetPos() const
{
    return static_cast<int>(SendMessage(PBM_GETPOS));
}

int CProgressCtrl::OffsetPos(int nPos)
{
    return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(nPos)));
}

int CProgressCtrl::SetStep(int nStep)
{
    return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(nStep)));
}

int CProgressCtrl::StepIt()
{
    return static_cast<int>(SendMessage(PBM_STEPIT));
}

BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(TRACKBAR_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL bRedraw)
{
    SendMessage(TBM_SETRANGEMIN, FALSE, nMin);
    SendMessage(TBM_SETRANGEMAX, static_cast<WPARAM>(bRedraw), nMax);
}

void CSliderCtrl::GetRange(int& nMin, int& nMax) const
{
    nMin = static_cast<int>(SendMessage(TBM_GETRANGEMIN));
    nMax = static_cast<int>(SendMessage(TBM_GETRANGEMAX));
}

int CSliderCtrl::GetPos() const
{
    return static_cast<int>(SendMessage(TBM_GETPOS));
}

void CSliderCtrl::SetPos(int nPos)
{
    SendMessage(TBM_SETPOS, TRUE, nPos);
}

void CSliderCtrl::SetTicFreq(int nFreq)
{
    SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(nFreq));
}

int CSliderCtrl::SetPageSize(int nSize)
{
    return static_cast<int>(SendMessage(TBM_SETPAGESIZE, 0, nSize));
}

namespace {
void SaveRestore(const CWnd& toolbar, BOOL bSave, HKEY hKeyRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName)
{
    TBSAVEPARAMSA params = {hKeyRoot, lpszSubKey, lpszValueName};
    toolbar.SendMessage(TB_SAVERESTOREA, static_cast<WPARAM>(bSave), reinterpret_cast<LPARAM>(&params));
}
} // namespace

void CToolBarCtrl::SaveState(HKEY hKeyRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName)
{
    SaveRestore(*this, TRUE, hKeyRoot, lpszSubKey, lpszValueName);
}

void CToolBarCtrl::RestoreState(HKEY hKeyRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName)
{
    SaveRestore(*this, FALSE, hKeyRoot, lpszSubKey, lpszValueName);
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), nullptr);
}

void CToolTipCtrl::Activate(BOOL bActivate)
{
    SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(bActivate));
}

TOOLINFOA CToolTipCtrl::ToolInfo(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    info.hwnd = pWnd->GetSafeHwnd();
    info.uId = nIDTool ? nIDTool : reinterpret_cast<UINT_PTR>(info.hwnd);
    return info;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    if (!pWnd || !pWnd->m_hWnd)
        return FALSE;
    TOOLINFOA info = ToolInfo(pWnd, nIDTool);
    info.uFlags = TTF_SUBCLASS;
    if (lpRectTool) {
        info.rect = *lpRectTool;
        info.uId = nIDTool;
    } else if (nIDTool == 0) {
        info.uFlags |= TTF_IDISHWND;
    } else {
        pWnd->GetClientRect(&info.rect);
    }
    info.lpszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    CString text;
    if (!text.LoadString(nIDText))
        return FALSE;
    return AddTool(pWnd, text, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA info = ToolInfo(pWnd, nIDTool);
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA info = ToolInfo(pWnd, nIDTool);
    info.lpszText = const_cast<LPSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool)
{
    CString text;
    if (text.LoadString(nIDText))
        UpdateTipText(text, pWnd, nIDTool);
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const
{
    TOOLINFOA info = ToolInfo(pWnd, nIDTool);
    // The control copies at most wParam characters (version 6) or its own 80-character limit.
    char text[256] = {};
    info.lpszText = text;
    SendMessage(TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    str = text;
}

int CToolTipCtrl::GetToolCount() const
{
    return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT));
}

void CToolTipCtrl::RelayEvent(LPMSG lpMsg)
{
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg));
}

void CToolTipCtrl::Pop()
{
    SendMessage(TTM_POP);
}
