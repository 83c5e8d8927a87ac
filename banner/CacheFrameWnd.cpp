// The banner history window.
#include "banner/CacheFrameWnd.h"

#include "banner/CustomControlSite.h"
#include "banner/NavigateToPath.h"
#include "banner/iBrowserWnd.h"

BEGIN_MESSAGE_MAP(CacheFrameWnd, iPersistentFrameWnd)
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

constexpr UINT kNoId = static_cast<UINT>(-1);

iWindowData* RegisterHistoryPlacement(CWnd* parent, CWnd* frame, const RECT& rect)
{
    return iWindowDataMap::Register(parent, frame, rect, CacheFrameWnd::kStyle, CacheFrameWnd::kTitle);
}

// The history's browser looks for Escape before the control does: the control is asked
// for its keys after its window object, and may keep Escape for itself.
class HistoryBrowser : public iBrowserWnd {
public:
    HistoryBrowser(CacheFrameWnd* frame, const RECT& rect)
        : iBrowserWnd(frame, rect, WS_CHILD | WS_VISIBLE, nullptr, kNoId), m_frame(frame)
    {
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        return m_frame->CloseOnEscape(pMsg) || iBrowserWnd::PreTranslateMessage(pMsg);
    }

private:
    CacheFrameWnd* m_frame;
};

} // namespace

CacheFrameWnd::CacheFrameWnd(CWnd* parent, const RECT& rect)
    : iPersistentFrameWnd(parent, RegisterHistoryPlacement(parent, this, rect), kNoId)
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    m_browser = new HistoryBrowser(this, client);
    if (auto* site = dynamic_cast<CustomControlSite*>(m_browser->m_pCtrlSite))
        site->SetDownloadControl(kHistoryDownloadControl);
}

CacheFrameWnd::~CacheFrameWnd() = default;

void CacheFrameWnd::Navigate(const char* path)
{
    if (m_browser)
        static_cast<void>(NavigateToPath(*m_browser, path));
}

BOOL CacheFrameWnd::CloseOnEscape(const MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN || pMsg->wParam != VK_ESCAPE || !m_hWnd)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    // Posted: the window goes once the key's handling has left it.
    PostMessage(WM_CLOSE);
    return TRUE;
}

BOOL CacheFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    return CloseOnEscape(pMsg) || iPersistentFrameWnd::PreTranslateMessage(pMsg);
}

void CacheFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    if (m_browser && m_browser->m_hWnd) {
        m_browser->MoveWindow(0, 0, cx, cy, FALSE);
        m_browser->Invalidate(TRUE);
        m_browser->UpdateWindow();
    }
    iPersistentFrameWnd::OnSize(nType, cx, cy);
}
