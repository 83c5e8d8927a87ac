// The platform's real WebBrowser control hosted on the program's site: created and
// activated in place, the host interfaces it asks for answered by the site's parts,
// automation calls answered (nothing is rendered here), and everything released when its
// window goes. Its window, where the display driver gives it one, follows the object.
#include "banner/BrowserIds.h"
#include "banner/iBrowserWnd.h"

#include "banner_test_support.h"

#include "lib/src/Win2/Wnd/iWnd.h"

#include <gtest/gtest.h>

#include <memory>

using banner_test::BrowserHostTest;
using banner_test::RecordingOccManager;
using banner_test::RecordingSite;

namespace {

const CRect kStripRect(5, 365, 473, 427);

// A text variant, freed with the object.
struct TextVariant {
    VARIANT value;
    explicit TextVariant(const wchar_t* text)
    {
        VariantInit(&value);
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString(text);
    }
    ~TextVariant() { VariantClear(&value); }
};

// Runs call; true when it threw no framework exception (any it threw is released).
template <class Call>
bool RunsWithoutException(Call call)
{
    try {
        call();
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    return true;
}

} // namespace

TEST_F(BrowserHostTest, BrowserIsCreatedOnTheProgramsSiteAndAsksForItsParts)
{
    CWebBrowser2 browser;
    ASSERT_TRUE(browser.Create(nullptr, "banner", WS_CHILD | WS_VISIBLE, kStripRect, &owner, 0xFFFF));
    ASSERT_NE(nullptr, browser.m_pCtrlSite);
    RecordingSite* site = RecordingOccManager::last;
    ASSERT_EQ(site, browser.m_pCtrlSite);
    EXPECT_TRUE(site->m_bInPlaceActive);
    EXPECT_NE(nullptr, browser.GetControlUnknown());
    // What the control asked for was answered by the site's own parts.
    EXPECT_TRUE(site->WasAsked(IID_IOleInPlaceSite));
    EXPECT_TRUE(site->WasAsked(BrowserIds::DocHostUIHandler));
    EXPECT_TRUE(site->WasAsked(IID_IDispatch));
    // Wine's control (without its HTML engine) never asks for the command target; that
    // part is checked directly with the site's other answers.
}

TEST_F(BrowserHostTest, NavigationAndPropertiesAnswerWithoutRendering)
{
    CWebBrowser2 browser;
    ASSERT_TRUE(browser.Create(nullptr, "", WS_CHILD | WS_VISIBLE, kStripRect, &owner, 1));
    TextVariant url(L"C:\\windows\\temp\\missing-banner.html");
    EXPECT_TRUE(RunsWithoutException([&] { browser.Navigate2(&url.value, nullptr, nullptr, nullptr, nullptr); }));
    // Whatever the control answers for its properties, the calls come back.
    CString type;
    CString location;
    RunsWithoutException([&] { type = browser.GetType(); });
    RunsWithoutException([&] { location = browser.GetLocationURL(); });
    RunsWithoutException([&] { browser.GetLocationName(); });
    RunsWithoutException([&] { browser.GetName(); });
    RunsWithoutException([&] { browser.GetFullName(); });
    RunsWithoutException([&] { browser.GetPath(); });
    RunsWithoutException([&] { browser.GetStatusText(); });
    SUCCEED() << "type \"" << type << "\", location \"" << location << "\"";
}

TEST_F(BrowserHostTest, DestroyingTheBrowserReleasesTheControlAndItsSite)
{
    CWebBrowser2 browser;
    ASSERT_TRUE(browser.Create(nullptr, "", WS_CHILD | WS_VISIBLE, kStripRect, &owner, 1));
    EXPECT_EQ(1, RecordingSite::s_live);
    browser.DestroyWindow();
    EXPECT_EQ(nullptr, browser.m_pCtrlSite);
    EXPECT_EQ(nullptr, browser.m_hWnd);
    // The control gave back every reference it held on the site.
    EXPECT_EQ(0, RecordingSite::s_live);
}

TEST_F(BrowserHostTest, BrowserFollowsItsObjectWhereItHasAWindow)
{
    CWebBrowser2 browser;
    ASSERT_TRUE(browser.Create(nullptr, "", WS_CHILD | WS_VISIBLE, kStripRect, &owner, 1));
    if (!browser.m_hWnd)
        GTEST_SKIP() << "the control made no window (Wine's null display driver)";
    EXPECT_EQ(owner.m_hWnd, ::GetParent(browser.m_hWnd));
    CRect placed;
    browser.GetWindowRect(&placed);
    owner.ScreenToClient(&placed);
    EXPECT_EQ(kStripRect, placed);
    // Moved as the workspace does when it is resized: 5 pixels above the bottom.
    browser.MoveWindow(5, 200, 468, 62);
    browser.GetWindowRect(&placed);
    owner.ScreenToClient(&placed);
    EXPECT_EQ(CRect(5, 200, 473, 262), placed);
}

TEST_F(BrowserHostTest, LibraryBrowserWindowBelongsToItsContainersSet)
{
    // A library container window that owns the controls made on it.
    auto container = std::make_unique<iWnd>();
    ASSERT_TRUE(container->CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, 0, 0, 500, 500, owner.m_hWnd, nullptr));
    auto* browser = new iBrowserWnd(container.get(), kStripRect, WS_CHILD | WS_VISIBLE, "", 0xFFFF);
    ASSERT_NE(nullptr, browser->m_pCtrlSite);
    EXPECT_EQ(1u, container->GetWindowSet().count(browser));
    // The container deletes it, and with it the control and its site.
    container.reset();
    EXPECT_EQ(0, RecordingSite::s_live);
}

TEST_F(BrowserHostTest, PlainBrowserWindowIsAChildWithItsExtendedStyle)
{
    auto container = std::make_unique<iWnd>();
    ASSERT_TRUE(container->CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, 0, 0, 500, 500, owner.m_hWnd, nullptr));
    auto* plain = new iBrowserWnd(container.get(), CRect(1, 2, 51, 42), WS_VISIBLE, "unused", 77, WS_EX_CLIENTEDGE,
                                  nullptr);
    ASSERT_NE(nullptr, plain->m_hWnd);
    EXPECT_EQ(nullptr, plain->m_pCtrlSite);
    EXPECT_TRUE(plain->GetStyle() & WS_CHILD);
    EXPECT_TRUE(plain->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_EQ(77, plain->GetDlgCtrlID());
    CString text;
    plain->GetWindowText(text);
    EXPECT_STREQ("", text);
    EXPECT_EQ(1u, container->GetWindowSet().count(plain));
}
