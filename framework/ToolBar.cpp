// The toolbar over the common toolbar control.
#include "ToolBar.h"

#include "CmdUI.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

// A button's update item: enabling and checking go to the button of the command id.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_pOther->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELPARAM(bOn ? TRUE : FALSE, 0));
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override
    {
        m_pOther->SendMessage(TB_CHECKBUTTON, m_nID, MAKELPARAM(nCheck != 0 ? TRUE : FALSE, 0));
    }
    void SetText(LPCSTR) override {}
};

} // namespace

CToolBar::CToolBar() = default;

CToolBar::~CToolBar() = default;

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!CreateBarControl(TOOLBARCLASSNAMEA, pParentWnd, dwStyle, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
    const DWORD buttonSize = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz);
    if (bHorz)
        size.cy = HIWORD(buttonSize) - inside.Height();
    else
        size.cx = LOWORD(buttonSize) - inside.Width();
    return size;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(SendMessage(TB_BUTTONCOUNT));
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        TBBUTTON button = {};
        if (!SendMessage(TB_GETBUTTON, state.m_nIndex, reinterpret_cast<LPARAM>(&button)) ||
            (button.fsStyle & TBSTYLE_SEP))
            continue;
        state.m_nID = static_cast<UINT>(button.idCommand);
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

void CToolBar::OnPaint()
{
    Default();
}
