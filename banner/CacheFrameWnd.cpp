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

} // namespace

CacheFrameWnd::CacheFrameWnd(CWnd* parent, const RECT& rect)
    : iPersistentFrameWnd(parent, RegisterHistoryPlacement(parent, this, rect), kNoId)
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    m_browser = new iBrowserWnd(this, client, WS_CHILD | WS_VISIBLE, nullptr, kNoId);
    if (auto* site = dynamic_cast<CustomControlSite*>(m_browser->m_pCtrlSite))
        site->SetDownloadControl(kHistoryDownloadControl);
}

CacheFrameWnd::~CacheFrameWnd() = default;

void CacheFrameWnd::Navigate(const char* path)
{
    if (m_browser)
        static_cast<void>(NavigateToPath(*m_browser, path));
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
