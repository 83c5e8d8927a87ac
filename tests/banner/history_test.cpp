// The banner history against a real cache: the page "Ad_History.html" for an empty cache,
// for more banners than it lists, for pages it cannot use and for a corrupt time, and the
// window that shows it (title, place, style, the place kept in the registry, a browser
// that runs no scripts), and a store made while the history walks the cache.
#include "banner_test_support.h"
#include "banner_world_test_support.h"

#include "banner/BannerPages.h"
#include "banner/CacheFrameWnd.h"

#include "database/iDBLock.h"

#include "lib/src/iRegistry.h"

#include <gtest/gtest.h>
#include <mshtmdid.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace history_test {
using banner_test::BannerSurroundings;
using banner_test::PageWithBody;
using banner_test::PutRecord;
using banner_test::ReadFileText;

namespace {

constexpr char kTestCompanyKey[] = "Software\\SorvantaBannerHistoryTest";
const CRect kStripRect(5, 365, 473, 427);

CRect Offset(CRect rect, POINT by)
{
    rect.OffsetRect(by);
    return rect;
}

std::string DateOf(int64_t seconds)
{
    const time_t moment = seconds;
    return ctime(&moment);
}

// The history's windows open now, by their title.
std::vector<CacheFrameWnd*> OpenHistoryFrames()
{
    std::vector<CacheFrameWnd*> frames;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            char title[128] = {};
            GetWindowTextA(window, title, sizeof title);
            if (std::string(title) == CacheFrameWnd::kTitle) {
                if (auto* frame = dynamic_cast<CacheFrameWnd*>(CWnd::FromHandlePermanent(window)))
                    reinterpret_cast<std::vector<CacheFrameWnd*>*>(found)->push_back(frame);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&frames));
    return frames;
}

void CloseHistoryFrames()
{
    for (CacheFrameWnd* frame : OpenHistoryFrames())
        frame->DestroyWindow();
}

// A port where nothing listens: the strip's worker stays offline and never writes the cache.
int ClosedPort()
{
    net_test::HttpServer probe;
    EXPECT_TRUE(probe.Start());
    const int port = probe.Port();
    probe.Stop();
    return port;
}

// The banners a history page lists, in its order.
std::vector<long> ListedIds(const std::string& page)
{
    std::vector<long> ids;
    const std::regex row("<!-- (\\d+) ");
    for (auto found = std::sregex_iterator(page.begin(), page.end(), row); found != std::sregex_iterator(); ++found)
        ids.push_back(std::stol((*found)[1]));
    return ids;
}

// Another thread's stores into the cache, each made when the walking thread has let the
// database lock go entirely: the oldest banner is shown again, its "Update" moved past
// every other's. A store the lock keeps out for 200 ms is left to run once the walker is
// done, and no more are asked for.
class StoresWhereTheWalkLetsGo {
public:
    StoresWhereTheWalkLetsGo(mGrovePlus* engine, const std::string& path, long banners, long lastShown)
        : m_engine(engine), m_path(path), m_banners(banners), m_lastShown(lastShown)
    {
        s_current = this;
        m_writer = std::thread([this] { Write(); });
    }
    ~StoresWhereTheWalkLetsGo()
    {
        Disarm();
        m_quit = true;
        SetEvent(m_go);
        m_writer.join();
        CloseHandle(m_go);
        CloseHandle(m_done);
        s_current = nullptr;
    }

    void Arm()
    {
        m_walker = GetCurrentThreadId();
        m_previousHook = SetDatabaseLockReleasedHook(Released);
    }
    void Disarm()
    {
        if (m_walker)
            SetDatabaseLockReleasedHook(m_previousHook);
        m_walker = 0;
    }
    int Stores() const { return m_stores.load(); }

private:
    static constexpr int kMostStores = 20;

    static void Released()
    {
        StoresWhereTheWalkLetsGo* self = s_current;
        if (!self || GetCurrentThreadId() != self->m_walker || self->m_keptOut || self->m_asked >= kMostStores)
            return;
        ++self->m_asked;
        SetEvent(self->m_go);
        if (WaitForSingleObject(self->m_done, 200) != WAIT_OBJECT_0)
            self->m_keptOut = true;
    }

    // Shows the banners again oldest first: 0, 1, 2, ... each at a time after every other.
    void Write()
    {
        while (WaitForSingleObject(m_go, INFINITE) == WAIT_OBJECT_0 && !m_quit) {
            const long id = m_stores % m_banners;
            PutRecord(m_engine, m_path, id, 1000 + id, ++m_lastShown, PageWithBody("ad " + std::to_string(id)));
            ++m_stores;
            SetEvent(m_done);
        }
    }

    static inline StoresWhereTheWalkLetsGo* s_current = nullptr;
    mGrovePlus* m_engine;
    std::string m_path;
    long m_banners;
    long m_lastShown;
    HANDLE m_go = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE m_done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::atomic<bool> m_quit{false};
    std::atomic<int> m_stores{0};
    DWORD m_walker = 0;
    DatabaseLockReleasedHook m_previousHook = nullptr;
    int m_asked = 0;
    bool m_keptOut = false;
    std::thread m_writer;
};

// A started strip over the test's cache, with containment enabled (the program's site) and
// the registry defaults below a key of the test's own.
class HistoryTest : public banner_test::BrowserHostTest {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestCompanyKey);
        ASSERT_TRUE(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", "SorvantaBannerHistoryTest", "History"));
        BrowserHostTest::SetUp();
        m_engine = banner_test::StartEngine();
    }
    void TearDown() override
    {
        CloseHistoryFrames();
        m_strip.reset();
        m_engine.reset();
        BrowserHostTest::TearDown();
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestCompanyKey);
    }

    void StartStrip()
    {
        m_strip = std::make_unique<AffiliateLink>(&owner, kStripRect, WS_CHILD | WS_VISIBLE, "127.0.0.1", 0xFFFF);
        m_strip->Start("127.0.0.1", m_engine.get(), m_port);
    }
    std::string CachePath() const { return m_world.Program().File("Cache.dat"); }
    std::string HistoryPath() const { return m_world.Program().File("Ad_History.html"); }
    std::string Mark() const
    {
        return static_cast<const char*>(MakeMarkOfTheWeb(MakeBannerOrigin("127.0.0.1", m_port)));
    }
    // The history page's text around its rows.
    std::string Page(const std::string& rows) const
    {
        return Mark() +
               "<HTML>\n<HEAD>\n<TITLE>Ad History</TITLE>\n</HEAD>\n<BODY>\n"
               "<TABLE BORDER=\"0\" CELLPADDING=\"0\" CELLSPACING=\"0\" WIDTH=\"100%\">\n" +
               rows + "</TABLE>\n</BODY>\n</HTML>\n";
    }
    static std::string Row(long id, const std::string& date, const std::string& body)
    {
        return "<TR>\n<TD WIDTH=\"100%\">\n<!-- " + std::to_string(id) + " " + date + " -->\n" + body +
               "</TD>\n</TR>\n";
    }

    BannerSurroundings m_world;
    std::unique_ptr<mGrovePlus> m_engine;
    std::unique_ptr<AffiliateLink> m_strip;
    int m_port = ClosedPort();
};

} // namespace

TEST_F(HistoryTest, EmptyCacheGivesTheTableAloneInAWindow)
{
    StartStrip();
    m_strip->ShowHistory();
    EXPECT_EQ(Page(""), ReadFileText(HistoryPath()));
    EXPECT_EQ(1u, OpenHistoryFrames().size());
}

TEST_F(HistoryTest, TwelveBannersGiveTheTenShownLastNewestFirst)
{
    // Shown at times out of page order.
    const long shown[12] = {50, 20, 110, 80, 10, 120, 60, 30, 100, 90, 40, 70};
    for (long id = 0; id < 12; ++id)
        PutRecord(m_engine.get(), CachePath(), id, 1000 + id, 1700000000 + shown[id],
                  PageWithBody("ad " + std::to_string(id)));
    StartStrip();
    m_strip->ShowHistory();
    std::string rows;
    for (long id : {5, 2, 8, 9, 3, 11, 6, 0, 10, 7})
        rows += Row(id, DateOf(1700000000 + shown[id]), "ad " + std::to_string(id));
    EXPECT_EQ(Page(rows), ReadFileText(HistoryPath()));
}

TEST_F(HistoryTest, PagesWithoutAUsableBodyGiveNoRowAndATimePast2038KeepsItsDate)
{
    // 1 June 2040, 12:00 UTC: its 4-byte field has the top bit set.
    constexpr int64_t kIn2040 = 2222164800;
    PutRecord(m_engine.get(), CachePath(), 1, 1, 1700000900, "<html><body bgcolor=\"red\" onload=\"go()\">lower</body>");
    PutRecord(m_engine.get(), CachePath(), 2, 2, 1700000800, "<HTML>no opening tag</BODY></HTML>");
    PutRecord(m_engine.get(), CachePath(), 3, 3, 1700000700, PageWithBody("corrupt length"), 2500);
    PutRecord(m_engine.get(), CachePath(), 4, 4, StoredTime(kIn2040), PageWithBody("in 2040"));
    StartStrip();
    m_strip->ShowHistory();
    // The two without a usable body left out. The time key compares its 4 bytes as signed,
    // as the file defines it, so the page of 2040 sorts before those of 2023.
    EXPECT_EQ(Page(Row(1, DateOf(1700000900), "lower") + Row(4, DateOf(kIn2040), "in 2040")),
              ReadFileText(HistoryPath()));
}

TEST_F(HistoryTest, WindowOpensAtItsPlaceWithItsTitleAndStyleAndKeepsWhereItWas)
{
    StartStrip();
    m_strip->ShowHistory();
    std::vector<CacheFrameWnd*> frames = OpenHistoryFrames();
    ASSERT_EQ(1u, frames.size());
    CacheFrameWnd* frame = frames[0];
    EXPECT_TRUE(frame->IsWindowVisible());
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX),
              frame->GetStyle() & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX |
                                   WS_MINIMIZEBOX | WS_CHILD));
    CRect ownerRect;
    owner.GetWindowRect(&ownerRect);
    CRect placed;
    frame->GetWindowRect(&placed);
    // (40, 40)-(560, 520) from the workspace's corner: 520 by 480.
    EXPECT_EQ(Offset(CRect(40, 40, 560, 520), ownerRect.TopLeft()), placed);
    const std::string keyPath = static_cast<const char*>(frame->GetWindowData()->GetKeyPath());

    // Moved, closed, and opened again: where it was.
    frame->MoveWindow(ownerRect.left + 60, ownerRect.top + 70, 300, 200);
    frame->DestroyWindow();
    EXPECT_TRUE(OpenHistoryFrames().empty()) << "the frame went with its window";
    iRegistry stored(keyPath.c_str(), KEY_READ);
    RECT saved = {};
    DWORD size = sizeof saved;
    ASSERT_EQ(0, stored.QueryBinary("Rect", &saved, &size));
    EXPECT_EQ(CRect(60, 70, 360, 270), CRect(saved));
    m_strip->ShowHistory();
    frames = OpenHistoryFrames();
    ASSERT_EQ(1u, frames.size());
    frames[0]->GetWindowRect(&placed);
    EXPECT_EQ(Offset(CRect(60, 70, 360, 270), ownerRect.TopLeft()), placed);
}

// The deepest window inside the browser: where the focus sits while the page is shown.
HWND InnermostChild(HWND window)
{
    while (HWND child = GetWindow(window, GW_CHILD))
        window = child;
    return window;
}

TEST_F(HistoryTest, EscapeClosesTheHistoryWindowWhereverItsFocusIs)
{
    StartStrip();
    struct Case {
        const char* why;
        UINT key;
        bool inBrowser;
        bool closes;
    };
    const Case cases[] = {
        {"Escape on the frame", VK_ESCAPE, false, true},
        {"Escape inside the browser", VK_ESCAPE, true, true},
        {"another key leaves it open", 'A', true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CloseHistoryFrames();
        m_strip->ShowHistory();
        std::vector<CacheFrameWnd*> frames = OpenHistoryFrames();
        ASSERT_EQ(1u, frames.size());
        HWND target = frames[0]->m_hWnd;
        if (c.inBrowser) {
            ASSERT_NE(nullptr, frames[0]->GetBrowser());
            target = InnermostChild(frames[0]->GetBrowser()->m_hWnd);
        }
        // As the thread's message loop hands a key to the windows it is for.
        MSG key = {target, WM_KEYDOWN, c.key, 1};
        if (!CWnd::WalkPreTranslateTree(nullptr, &key)) {
            TranslateMessage(&key);
            DispatchMessageA(&key);
        }
        test_support::PumpPending();
        EXPECT_EQ(c.closes, OpenHistoryFrames().empty());
    }
    // Escape meant for the window below does not close the history.
    CloseHistoryFrames();
    m_strip->ShowHistory();
    MSG key = {owner.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1};
    CWnd::WalkPreTranslateTree(nullptr, &key);
    test_support::PumpPending();
    EXPECT_EQ(1u, OpenHistoryFrames().size());
}

TEST_F(HistoryTest, HistoryBrowserRunsNoScriptsWhereTheStripsBrowserDoes)
{
    StartStrip();
    ASSERT_NE(nullptr, m_strip->m_pCtrlSite) << "containment is enabled: the strip hosts the browser";
    auto* stripSite = dynamic_cast<CustomControlSite*>(m_strip->m_pCtrlSite);
    ASSERT_NE(nullptr, stripSite);
    EXPECT_EQ(kBrowserDownloadControl, stripSite->GetDownloadControl());
    m_strip->ShowHistory();
    std::vector<CacheFrameWnd*> frames = OpenHistoryFrames();
    ASSERT_EQ(1u, frames.size());
    ASSERT_NE(nullptr, frames[0]->GetBrowser());
    auto* historySite = dynamic_cast<CustomControlSite*>(frames[0]->GetBrowser()->m_pCtrlSite);
    ASSERT_NE(nullptr, historySite);
    EXPECT_EQ(kHistoryDownloadControl, historySite->GetDownloadControl());
    // What the control reads through the ambient dispatch.
    IDispatch* ambient = nullptr;
    ASSERT_EQ(S_OK, static_cast<HRESULT>(
                        historySite->ExternalQueryInterface(&IID_IDispatch, reinterpret_cast<void**>(&ambient))));
    VARIANT value;
    VariantInit(&value);
    DISPPARAMS none = {};
    ASSERT_HRESULT_SUCCEEDED(
        ambient->Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr));
    EXPECT_EQ(VT_I4, value.vt);
    EXPECT_EQ(0x780, value.lVal);
    ambient->Release();
}

// The history walks the cache over several calls while the worker may store a page between
// any two of them: a banner moved to the top behind the walk would be missed. The walk holds
// the database lock throughout, so it lists every banner once, as the cache was before or
// after the store.
TEST_F(HistoryTest, AStoreDuringTheWalkWaitsAndEveryBannerIsListedOnce)
{
    constexpr long kBanners = 5;
    constexpr long kFirstShown = 1700000000;
    for (long id = 0; id < kBanners; ++id)
        PutRecord(m_engine.get(), CachePath(), id, 1000 + id, kFirstShown + id,
                  PageWithBody("ad " + std::to_string(id)));
    StartStrip();
    {
        StoresWhereTheWalkLetsGo stores(m_engine.get(), CachePath(), kBanners, kFirstShown + kBanners);
        stores.Arm();
        m_strip->ShowHistory();
        stores.Disarm();
        EXPECT_GE(stores.Stores(), 1) << "a store was made once the walk was done";
    }
    std::vector<long> listed = ListedIds(ReadFileText(HistoryPath()));
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ((std::vector<long>{0, 1, 2, 3, 4}), listed);
}

TEST_F(HistoryTest, NothingWithoutAnEngineOrACache)
{
    // Never started: no engine.
    m_strip = std::make_unique<AffiliateLink>(&owner, kStripRect, WS_CHILD | WS_VISIBLE, "127.0.0.1", 0xFFFF);
    m_strip->ShowHistory();
    EXPECT_FALSE(banner_test::FileExists(HistoryPath()));
    EXPECT_TRUE(OpenHistoryFrames().empty());

    // A cache that could not be made.
    m_strip.reset();
    BannerSurroundings::SetProgramFolder(m_world.Program().File("missing"));
    StartStrip();
    m_strip->ShowHistory();
    EXPECT_TRUE(OpenHistoryFrames().empty());
}

} // namespace history_test
