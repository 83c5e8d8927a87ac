// The status bar over the common status control.
#include "StatusBar.h"

#include "DC.h"
#include "PaintDC.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CStatusBar::CStatusBar()
{
    m_cxLeftBorder = 0;
    m_cxRightBorder = 0;
    m_cyTopBorder = 2;
    m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar() = default;

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateBarControl(STATUSCLASSNAMEA, pParentWnd, dwStyle, nID);
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate)
{
    BOOL set = static_cast<BOOL>(SendMessage(SB_SETTEXTA, static_cast<WPARAM>(nIndex),
                                             reinterpret_cast<LPARAM>(lpszNewText)));
    if (set && bUpdate)
        UpdateWindow();
    return set;
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!font)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics = {};
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ previous = ::SelectObject(screen, font);
    ::GetTextMetricsA(screen, &metrics);
    ::SelectObject(screen, previous);
    ::ReleaseDC(nullptr, screen);
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz);
    // The text, a pixel of room above and below it inside the pane's frame, and the borders.
    size.cy = metrics.tmHeight + 4 + (0 - inside.Height());
    return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {}

void CStatusBar::OnPaint()
{
    Default();
}
