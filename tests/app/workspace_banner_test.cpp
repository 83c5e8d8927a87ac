// The workspace's banner strip: made with the view over the view's own database engine,
// started against the configured web endpoint, laid out at the foot of the view, its
// history command, and the order in which the view lets it and its engine go.
#include "workspace_test_support.h"

#include "app/AppCommands.h"
#include "app/CustomOccManager.h"

#include "banner/AffiliateLink.h"
#include "banner/CacheFrameWnd.h"
#include "banner/CustomControlSite.h"

#include "database/mGrovePlus.h"

#include <gtest/gtest.h>

#include <string>

namespace workspace_banner_test {
namespace {

using workspace_test::WorkspaceTest;

class EnabledState : public CCmdUI {
public:
    bool isEnabled = false;
    void Enable(BOOL bOn) override
    {
        isEnabled = bOn != FALSE;
        m_bEnableChanged = TRUE;
    }
};

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The workspace as the program makes it: controls hosted on the program's own site.
class WorkspaceBanner : public WorkspaceTest {
protected:
    void SetUp() override
    {
        AfxEnableControlContainer(new CustomOccManager);
        WorkspaceTest::SetUp();
    }
    void TearDown() override
    {
        WorkspaceTest::TearDown();
        AfxTermControlContainer();
    }
    AffiliateLink* Banner() const { return m_workspace->GetBanner(); }
};

} // namespace

TEST_F(WorkspaceBanner, StripRunsOnTheViewsEngineAgainstTheWebEndpoint)
{
    ASSERT_NE(nullptr, Banner());
    auto* engine = dynamic_cast<mGrovePlus*>(m_workspace->GetEngine());
    ASSERT_NE(nullptr, engine);
    EXPECT_EQ(1, engine->IsOK());
    EXPECT_EQ(engine, Banner()->GetEngine());
    AffiliateLink::Thread* worker = Banner()->GetThread();
    ASSERT_NE(nullptr, worker);
    EXPECT_NE(nullptr, worker->m_hThread);
    EXPECT_EQ(std::string("http://127.0.0.1/"), static_cast<const char*>(worker->GetBaseUrl()));
    EXPECT_TRUE(worker->HasCache());
    EXPECT_TRUE(Exists(m_bannerFolder.Path() + "\\Cache.dat"));
    // The strip hosts the browser on the program's site, with downloads limited.
    auto* site = dynamic_cast<CustomControlSite*>(Banner()->m_pCtrlSite);
    ASSERT_NE(nullptr, site);
    EXPECT_EQ(kBrowserDownloadControl, site->GetDownloadControl());
}

TEST_F(WorkspaceBanner, StripStaysFivePixelsAboveTheBottom)
{
    if (!Banner()->m_hWnd)
        GTEST_SKIP() << "the strip's browser has no window of its own on Wine's null display driver";
    m_frame->MoveWindow(0, 0, 900, 800);
    CRect client;
    m_workspace->GetClientRect(&client);
    CRect strip;
    Banner()->GetWindowRect(&strip);
    m_workspace->ScreenToClient(&strip);
    EXPECT_EQ(CRect(5, client.bottom - 67, 473, client.bottom - 5), strip);
}

TEST_F(WorkspaceBanner, HistoryCommandWritesTheHistoryAndOpensItsWindow)
{
    EnabledState state;
    state.m_nID = ID_APP_BANNER_HISTORY;
    state.DoUpdate(m_frame, TRUE);
    EXPECT_TRUE(state.isEnabled);
    m_frame->SendMessage(WM_COMMAND, ID_APP_BANNER_HISTORY);
    EXPECT_TRUE(Exists(m_bannerFolder.Path() + "\\Ad_History.html"));
    HWND history = FindWindowA(nullptr, CacheFrameWnd::kTitle);
    ASSERT_NE(nullptr, history);
    ::DestroyWindow(history);
}

TEST_F(WorkspaceBanner, ClosingLetsTheWorkerFinishBeforeItsEngineGoes)
{
    AffiliateLink::Thread* worker = Banner()->GetThread();
    ASSERT_NE(nullptr, worker);
    HANDLE thread = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), worker->m_hThread, GetCurrentProcess(), &thread, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    const std::string page = worker->GetTemporaryPagePath();
    ASSERT_TRUE(Exists(page));
    m_frame->DestroyWindow();
    m_frame = nullptr;
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(thread, 0)) << "the worker ended with the view";
    EXPECT_FALSE(Exists(page)) << "and took its temporary page with it";
    // Nothing holds the cache open any more.
    HANDLE alone =
        CreateFileA((m_bannerFolder.Path() + "\\Cache.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, alone);
    if (alone != INVALID_HANDLE_VALUE)
        CloseHandle(alone);
    CloseHandle(thread);
}

} // namespace workspace_banner_test
