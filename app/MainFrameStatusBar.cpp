// The main frame's status bar: one progress control over the whole bar, driven by the
// imaging library's progress reports, across the passes of a chained resize.
#include "MainFrame.h"

#include "lib/src/Win2/Wnd/iSpinProgressCtrl.h"

BEGIN_MESSAGE_MAP(MainFrame::StatusBar, iStatusBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

constexpr int kPercentPerPass = 100;
// Room the progress control leaves inside the bar, the right one for the size grip.
constexpr int kProgressLeftMarginPx = 2;
constexpr int kProgressTopMarginPx = 4;
constexpr int kProgressRightMarginPx = 16;
constexpr int kProgressBottomMarginPx = 2;

} // namespace

MainFrame::StatusBar::StatusBar(CWnd* parent) : iStatusBar(parent)
{
    m_progress = new iProgressCtrl(this, CRect(0, 0, 0, 0), WS_VISIBLE, "", static_cast<UINT>(-1));
    m_progress->SetRange32(0, kPercentPerPass);
    m_progress->SetStep(1);
    // The control exists before the first report can arrive.
    m_previousCallback = L_SetStatusCallBack(&StatusCallback, this);
    m_passCount = 0;
    m_currentPass = 0;
}

MainFrame::StatusBar::~StatusBar()
{
    L_SetStatusCallBack(m_previousCallback, nullptr);
    delete m_progress;
}

int MainFrame::StatusBar::StatusCallback(int percent, void* userData)
{
    return static_cast<StatusBar*>(userData)->OnImagingStatus(percent);
}

int MainFrame::StatusBar::OnImagingStatus(int percent)
{
    if (m_passCount == 0) {
        // A single operation's final 100 empties the bar.
        m_progress->SetPos(percent % kPercentPerPass);
    } else {
        m_progress->SetPos(m_currentPass * kPercentPerPass + percent);
        if (percent == kPercentPerPass)
            ++m_currentPass;
        if (m_currentPass >= m_passCount) {
            m_progress->SetPos(0);
            m_currentPass = 0;
        }
    }
    // The library reports on the user-interface thread, which pumps no messages until
    // the operation ends: without painting now the bar would not move.
    m_progress->UpdateWindow();
    return 1;
}

void MainFrame::StatusBar::SetPassCount(int count)
{
    m_passCount = count;
    m_currentPass = 0;
    m_progress->SetRange32(0, count != 0 ? count * kPercentPerPass : kPercentPerPass);
}

void MainFrame::StatusBar::OnSize(UINT, int, int)
{
    // The bar's creation sizes it before the control exists.
    if (!m_progress)
        return;
    CRect client;
    GetClientRect(&client);
    client.left += kProgressLeftMarginPx;
    client.top += kProgressTopMarginPx;
    client.right -= kProgressRightMarginPx;
    client.bottom -= kProgressBottomMarginPx;
    m_progress->MoveWindow(&client, TRUE);
}
