// The workspace's banner strip: made with the view over the view's own database engine,
// started against the configured web endpoint, laid out at the foot of the view, its
// history command, and the order in which the view lets it and its engine go, or keeps the
// engine for a worker that does not end.
#include "workspace_test_support.h"

#include "app/AppCommands.h"
#include "app/CustomOccManager.h"

#include "banner/AffiliateLink.h"
#include "banner/CacheFrameWnd.h"
#include "banner/CustomControlSite.h"

#include "database/mGrovePlus.h"

#include <gtest/gtest.h>

#include <cstdlib>
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

// An engine of the view's cache that notes, when it is deleted, whether the banner's worker
// had ended and no file of the worker was left on it.
class WatchedEngine : public mGrovePlus {
public:
    WatchedEngine() : mGrovePlus(16, 16, 32) {}
    ~WatchedEngine() override
    {
        s_deleted = true;
        s_workerEndedFirst = s_worker && WaitForSingleObject(s_worker, 0) == WAIT_OBJECT_0;
        s_noFilesLeft = GetFirstFile() == nullptr;
    }

    static iDBEngine* Make() { return s_made = new WatchedEngine; }
    static void Forget()
    {
        if (s_worker)
            CloseHandle(s_worker);
        s_worker = nullptr;
        s_made = nullptr;
        s_deleted = false;
        s_workerEndedFirst = false;
        s_noFilesLeft = false;
    }

    static inline WatchedEngine* s_made = nullptr;
    // The worker's thread, when the test has it.
    static inline HANDLE s_worker = nullptr;
    static inline bool s_deleted = false;
    static inline bool s_workerEndedFirst = false;
    static inline bool s_noFilesLeft = false;
};

// The workspace over a watched engine.
class WorkspaceBannerClosing : public WorkspaceBanner {
protected:
    void SetUp() override
    {
        WatchedEngine::Forget();
        m_previousMaker = Workspace::SetEngineMaker(WatchedEngine::Make);
        WorkspaceBanner::SetUp();
    }
    void TearDown() override
    {
        WorkspaceBanner::TearDown();
        Workspace::SetEngineMaker(m_previousMaker);
        WatchedEngine::Forget();
    }

private:
    Workspace::EngineMaker m_previousMaker = nullptr;
};

// A worker's seed that holds it until the test lets it go (at most 30 s).
class HeldSeed {
public:
    static HANDLE Release()
    {
        static HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        return event;
    }
    static void Seed(unsigned seed)
    {
        WaitForSingleObject(Release(), 30000);
        srand(seed);
    }
};

// The workspace over a watched engine, its worker held from its first step.
class WorkspaceBannerHeldWorker : public WorkspaceBannerClosing {
protected:
    void SetUp() override
    {
        ResetEvent(HeldSeed::Release());
        WorkspaceBannerClosing::SetUp();
    }
    void TearDown() override
    {
        SetEvent(HeldSeed::Release());
        WorkspaceBannerClosing::TearDown();
    }
    void AdjustBannerSeam(BannerSeam& seam) override { seam.seedRandom = HeldSeed::Seed; }
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

TEST_F(WorkspaceBannerClosing, ClosingLetsTheWorkerFinishBeforeItsEngineGoes)
{
    AffiliateLink::Thread* worker = Banner()->GetThread();
    ASSERT_NE(nullptr, worker);
    ASSERT_EQ(WatchedEngine::s_made, m_workspace->GetEngine());
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), worker->m_hThread, GetCurrentProcess(), &WatchedEngine::s_worker,
                                0, FALSE, DUPLICATE_SAME_ACCESS));
    const std::string page = worker->GetTemporaryPagePath();
    ASSERT_TRUE(Exists(page));
    m_frame->DestroyWindow();
    m_frame = nullptr;
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(WatchedEngine::s_worker, 0))
        << "the worker ended with the view";
    EXPECT_FALSE(Exists(page)) << "and took its temporary page with it";
    // Nothing holds the cache open any more.
    HANDLE alone =
        CreateFileA((m_bannerFolder.Path() + "\\Cache.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, alone);
    if (alone != INVALID_HANDLE_VALUE)
        CloseHandle(alone);
    ASSERT_TRUE(WatchedEngine::s_deleted);
    EXPECT_TRUE(WatchedEngine::s_workerEndedFirst) << "the engine went while its worker still ran";
    EXPECT_TRUE(WatchedEngine::s_noFilesLeft) << "the worker's cache was still open on the engine";
}

// The worker's wait is bounded: a worker held past it is left running, and the engine it
// still uses is kept for it rather than deleted under it.
TEST_F(WorkspaceBannerHeldWorker, AWorkerThatDoesNotEndInTimeKeepsItsEngine)
{
    AffiliateLink::Thread* worker = Banner()->GetThread();
    ASSERT_NE(nullptr, worker);
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), worker->m_hThread, GetCurrentProcess(), &WatchedEngine::s_worker,
                                0, FALSE, DUPLICATE_SAME_ACCESS));
    iDBEngine* engine = m_workspace->GetEngine();
    ASSERT_EQ(WatchedEngine::s_made, engine);
    const ULONGLONG started = GetTickCount64();
    m_frame->DestroyWindow();
    m_frame = nullptr;
    EXPECT_GE(GetTickCount64() - started, static_cast<ULONGLONG>(AffiliateLink::kStopWaitMs - 100))
        << "the view waited for its worker";
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(WatchedEngine::s_worker, 0));
    EXPECT_FALSE(WatchedEngine::s_deleted) << "the engine went while its worker still ran";

    // Let go, the worker ends on its own and leaves the kept engine, which the test deletes.
    SetEvent(HeldSeed::Release());
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(WatchedEngine::s_worker, 10000));
    if (WatchedEngine::s_deleted)
        return;
    delete engine;
    EXPECT_TRUE(WatchedEngine::s_noFilesLeft) << "the worker closed its cache when it ended";
}

} // namespace workspace_banner_test
