// The main frame's status bar: its progress control follows the imaging library's
// reports, one operation at a time or across the passes of a chained resize, and gives
// the library its previous status callback back when it goes.
#include "app/MainFrame.h"

#include "imaging/BitmapStorage.h"
#include "lib/src/Win2/Wnd/iFrameWnd.h"
#include "lib/src/Win2/Wnd/iSpinProgressCtrl.h"

#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <vector>

namespace status_bar_test {
namespace {

struct Range {
    int low = -1;
    int high = -1;
};

Range RangeOf(CProgressCtrl* progress)
{
    Range range;
    progress->GetRange(range.low, range.high);
    return range;
}

// Reports that reach a callback installed by the test.
std::vector<int> g_ownReports;
int OwnCallback(int percent, void*)
{
    g_ownReports.push_back(percent);
    return 1;
}

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new iFrameWnd(nullptr, CRect(0, 0, 600, 400), WS_OVERLAPPEDWINDOW, "Status bar test", 0);
        ASSERT_NE(nullptr, m_frame->m_hWnd);
        m_bar = new MainFrame::StatusBar(m_frame);
        m_frame->ShowWindow(SW_SHOW);
        m_frame->RecalcLayout();
        m_progress = m_bar->GetProgressCtrl();
    }
    void TearDown() override
    {
        // The frame deletes itself and, through its window set, the bar.
        if (m_frame && m_frame->m_hWnd)
            m_frame->DestroyWindow();
    }

    iFrameWnd* m_frame = nullptr;
    MainFrame::StatusBar* m_bar = nullptr;
    iProgressCtrl* m_progress = nullptr;
};

TEST_F(StatusBarTest, ProgressFillsTheBarBelowItsBorders)
{
    CRect bar;
    m_bar->GetClientRect(&bar);
    CRect progress;
    m_progress->GetWindowRect(&progress);
    m_bar->ScreenToClient(&progress);
    EXPECT_TRUE(m_progress->IsWindowVisible());
    EXPECT_EQ(CRect(2, 4, bar.right - 16, bar.bottom - 2), progress);
    EXPECT_EQ(100, RangeOf(m_progress).high);
}

TEST_F(StatusBarTest, ReportsMoveTheBarOverTheChainedPasses)
{
    struct Case {
        const char* why;
        int passCount;
        std::vector<int> reports;
        std::vector<int> positions;
        int rangeHigh;
    };
    const Case cases[] = {
        {"a single operation: its final 100 empties the bar", 0, {0, 50, 100}, {0, 50, 0}, 100},
        {"three passes on one bar of 300, emptied at once after the third 100", 3, {50, 100, 50, 100, 50, 100},
         {50, 100, 150, 200, 250, 0}, 300},
        {"a pass's own 0 starts where the last one ended", 2, {0, 100, 0, 40}, {0, 100, 100, 140}, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        m_bar->SetPassCount(c.passCount);
        EXPECT_EQ(c.rangeHigh, RangeOf(m_progress).high);
        EXPECT_EQ(0, RangeOf(m_progress).low);
        std::vector<int> positions;
        for (int percent : c.reports) {
            EXPECT_EQ(1, m_bar->OnImagingStatus(percent)) << "the library's work always goes on";
            positions.push_back(m_progress->GetPos());
        }
        EXPECT_EQ(c.positions, positions);
        // Back to single operations, as the workspace sets it after every method.
        m_bar->SetPassCount(0);
        EXPECT_EQ(100, RangeOf(m_progress).high);
        m_bar->OnImagingStatus(30);
        EXPECT_EQ(30, m_progress->GetPos());
        m_bar->OnImagingStatus(100);
        EXPECT_EQ(0, m_progress->GetPos());
    }
}

TEST_F(StatusBarTest, SevenHundredPassesKeepTheirWholeRange)
{
    // 70000 does not fit the 16 bits of PBM_SETRANGE: it would wrap to 4464.
    m_bar->SetPassCount(700);
    EXPECT_EQ(70000, RangeOf(m_progress).high);
    for (int pass = 0; pass < 680; ++pass)
        m_bar->OnImagingStatus(100);
    m_bar->OnImagingStatus(50);
    EXPECT_EQ(68050, m_progress->GetPos());
}

TEST_F(StatusBarTest, LibraryOperationsReportToTheBar)
{
    imaging::OwnedBitmap image;
    ASSERT_EQ(imaging::kSuccess, image.Allocate(64, 48, 24, imaging::kViewTopDown));
    m_bar->SetPassCount(2);
    ASSERT_EQ(imaging::kSuccess, L_SizeBitmap(&image.get(), 128, 96, imaging::kSizeBicubic));
    EXPECT_EQ(100, m_progress->GetPos()) << "the first of two passes has ended";
    ASSERT_EQ(imaging::kSuccess, L_SharpenBitmap(&image.get(), -1000));
    EXPECT_EQ(0, m_progress->GetPos()) << "the second ended the chain";
}

TEST(StatusBarCallback, TheCallbackBeforeTheBarComesBackWhenTheFrameGoes)
{
    g_ownReports.clear();
    imaging::StatusCallback before = L_SetStatusCallBack(&OwnCallback, nullptr);
    imaging::OwnedBitmap image;
    ASSERT_EQ(imaging::kSuccess, image.Allocate(32, 32, 24, imaging::kViewTopDown));

    auto* frame = new iFrameWnd(nullptr, CRect(0, 0, 400, 300), WS_OVERLAPPEDWINDOW, "Callback test", 0);
    new MainFrame::StatusBar(frame);
    ASSERT_EQ(imaging::kSuccess, L_SizeBitmap(&image.get(), 40, 40, imaging::kSizeBilinear));
    EXPECT_TRUE(g_ownReports.empty()) << "the bar took the reports while it lived";

    frame->DestroyWindow();
    ASSERT_EQ(imaging::kSuccess, L_SizeBitmap(&image.get(), 48, 48, imaging::kSizeBilinear));
    EXPECT_FALSE(g_ownReports.empty());
    EXPECT_EQ(100, g_ownReports.empty() ? -1 : g_ownReports.back());
    L_SetStatusCallBack(before, nullptr);
}

} // namespace
} // namespace status_bar_test
