// The toolbar's button records, texts and drop-down records.
#include "toolkit/bars/QZToolBar.h"

IMPLEMENT_DYNAMIC(CQZToolBar, CQZControlBar)

BEGIN_MESSAGE_MAP(CQZToolBar, CQZControlBar)
    ON_MESSAGE(TB_SETDRAWTEXTFLAGS, OnSetDrawTextFlags)
END_MESSAGE_MAP()

CQZToolBar::CQZToolBar()
{
    m_cyTopBorder = 3;
    m_cyBottomBorder = 3;
}

CQZToolBar::~CQZToolBar()
{
    for (POSITION position = m_listButtons.GetHeadPosition(); position;) {
        QZ_TBBUTTON& element = m_listButtons.GetNext(position);
        if (element.bOwnsDropDown)
            delete element.pDropDown;
    }
    delete m_pStringMap;
}

BOOL CQZToolBar::GetButton(int nIndex, TBBUTTON* pButton) const
{
    TBBUTTON button = {};
    if (!m_hWnd || !SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)))
        return FALSE;
    button.fsState ^= TBSTATE_ENABLED;
    *pButton = button;
    return TRUE;
}

UINT CQZToolBar::GetButtonStyle(int nIndex) const
{
    TBBUTTON button = {};
    if (!GetButton(nIndex, &button))
        return 0;
    return (static_cast<UINT>(button.fsState) << 16) | button.fsStyle;
}

CString CQZToolBar::GetButtonText(int nIndex) const
{
    TBBUTTON button = {};
    if (!m_pStringMap || !GetButton(nIndex, &button))
        return CString();
    for (POSITION position = m_pStringMap->GetStartPosition(); position;) {
        CString text;
        void* poolIndex = nullptr;
        m_pStringMap->GetNextAssoc(position, text, poolIndex);
        if (reinterpret_cast<INT_PTR>(poolIndex) == button.iString)
            return text;
    }
    return CString();
}

UINT CQZToolBar::ApplyDrawTextFlags(UINT nFormat) const
{
    return (nFormat & ~m_dwDrawTextMask) | m_dwDrawTextFlags;
}

QZ_DROPDOWNBUTTON* CQZToolBar::FindDropDownButton(UINT nID) const
{
    for (POSITION position = m_listButtons.GetHeadPosition(); position;) {
        const QZ_TBBUTTON& element = m_listButtons.GetNext(position);
        if (element.pDropDown && element.pDropDown->nCommand == nID)
            return element.pDropDown;
    }
    return nullptr;
}

LRESULT CQZToolBar::OnSetDrawTextFlags(WPARAM wParam, LPARAM lParam)
{
    m_dwDrawTextMask = static_cast<DWORD>(wParam);
    m_dwDrawTextFlags = static_cast<DWORD>(lParam);
    return Default();
}
