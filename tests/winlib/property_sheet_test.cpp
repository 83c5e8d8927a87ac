// iPropertySheet and iPropertyPage: page sizes converted from pixels with known base units,
// the hidden measuring dialog made once, a failed or half measurement, sheets of in-memory
// pages run modally and ended from a timer, controls made on every showing and deleted with
// the page's window, data exchange after the controls exist, Apply enabled by a change,
// pages removed while the sheet shows, and captions.
#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/Win2/Wnd/iPropertyPage.h"
#include "lib/src/Win2/Wnd/iPropertySheet.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "winlib_test_support.h"

#include "framework/object_count_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using winlib_test::kApplyNowButtonId;

constexpr DWORD kPageStyle = WS_CHILD | WS_CAPTION | DS_3DLOOK;
constexpr UINT kTimerId = 1;

class Owner : public iWnd {
public:
    Owner() : iWnd(nullptr, CRect(0, 0, 800, 600), WS_POPUP | WS_CAPTION | WS_VISIBLE, "owner", 0, 0, nullptr)
    {
        ::SetForegroundWindow(m_hWnd);
        ::SetActiveWindow(m_hWnd);
    }
};

// Counts the measuring dialogs the thread makes and whether any of them was shown. The
// dialog manager shows a WS_VISIBLE dialog after creating it, so showing is watched as
// WM_SHOWWINDOW.
class MeasureWatch {
public:
    MeasureWatch()
    {
        s_made.clear();
        s_shown = false;
        m_create = ::SetWindowsHookExA(WH_CBT, &WatchCreate, nullptr, ::GetCurrentThreadId());
        m_show = ::SetWindowsHookExA(WH_CALLWNDPROC, &WatchShow, nullptr, ::GetCurrentThreadId());
    }
    ~MeasureWatch()
    {
        ::UnhookWindowsHookEx(m_show);
        ::UnhookWindowsHookEx(m_create);
    }
    MeasureWatch(const MeasureWatch&) = delete;
    MeasureWatch& operator=(const MeasureWatch&) = delete;

    static int made() { return static_cast<int>(s_made.size()); }
    static bool anyShown() { return s_shown; }

private:
    static LRESULT CALLBACK WatchCreate(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
            if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName) &&
                std::string(cs->lpszName) == iPropertySheet::kMeasureCaption)
                s_made.push_back(reinterpret_cast<HWND>(wParam));
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK WatchShow(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam &&
            std::find(s_made.begin(), s_made.end(), call->hwnd) != s_made.end())
            s_shown = true;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_create;
    HHOOK m_show;
    static inline std::vector<HWND> s_made;
    static inline bool s_shown = false;
};

// A sheet whose base units a test can set, and that runs a check at its first timer tick
// and then ends with the given result.
class TestSheet : public iPropertySheet {
public:
    using iPropertySheet::iPropertySheet;

    void SetBaseUnits(int x, int y)
    {
        m_baseUnitX = x;
        m_baseUnitY = y;
    }
    int BaseUnitX() const { return m_baseUnitX; }
    int BaseUnitY() const { return m_baseUnitY; }
    void SetParentWindow(CWnd* parent) { m_parent = parent; }

    BOOL OnInitDialog() override
    {
        const BOOL result = iPropertySheet::OnInitDialog();
        SetTimer(kTimerId, 20, nullptr);
        return result;
    }

    std::function<void(TestSheet&)> during;
    int endWith = IDOK;

protected:
    void OnTimer(UINT_PTR id)
    {
        KillTimer(id);
        if (during)
            during(*this);
        EndDialog(endWith);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestSheet, iPropertySheet)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class CountedEdit : public iEdit {
public:
    using iEdit::iEdit;
    ~CountedEdit() override { ++deleted; }
    static inline int deleted = 0;
};

// An options page as the application builds one: two edits made in CreateControls.
class TestPage : public iPropertyPage {
public:
    TestPage(CWnd* sheet, const RECT& rect, LPCSTR caption = "Page") : iPropertyPage(sheet, rect, kPageStyle, caption)
    {
    }
    void CreateControls() override
    {
        ++creations;
        first = new CountedEdit(this, CRect(10, 10, 200, 34), WS_VISIBLE | WS_TABSTOP, "", 100);
        second = new CountedEdit(this, CRect(10, 40, 200, 64), WS_VISIBLE | WS_TABSTOP, "", 101);
    }
    void DoDataExchange(CDataExchange*) override
    {
        if (exchanges++ == 0)
            controlsAtFirstExchange = static_cast<int>(GetWindowSet().size());
    }
    const iDialogTemplate& Template() const { return m_template; }
    CRect Rect() const { return CRect(m_rect); }
    // x, y, cx, cy of the template as the system reads them.
    CRect TemplateRect() const
    {
        const WORD* w = reinterpret_cast<const WORD*>(m_template.GetTemplate());
        return CRect(CPoint(static_cast<short>(w[5]), static_cast<short>(w[6])), CSize(w[7], w[8]));
    }

    int creations = 0;
    int exchanges = 0;
    int controlsAtFirstExchange = -1;
    CountedEdit* first = nullptr;
    CountedEdit* second = nullptr;
};

std::string TabLabel(CPropertySheet& sheet, int index)
{
    char text[64] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(sheet.GetTabControl()->m_hWnd, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

TEST(SheetDialogUnits, PageSizesConvertedWithKnownBaseUnits)
{
    Owner owner;
    MeasureWatch watch;
    TestSheet sheet("Options", &owner, 0);
    sheet.SetDialogUnits(0);
    sheet.SetBaseUnits(6, 13);
    struct Case { const char* why; CRect pixels; CRect units; };
    const Case kCases[] = {
        {"at the origin", CRect(0, 0, 540, 390), CRect(0, 0, 360, 240)},
        {"left and top stay", CRect(10, 20, 550, 410), CRect(10, 20, 370, 260)},
        {"nearest, not truncated: 6.67 and 12.3", CRect(0, 0, 10, 20), CRect(0, 0, 7, 12)},
        {"empty", CRect(5, 5, 5, 5), CRect(5, 5, 5, 5)},
    };
    std::vector<std::unique_ptr<TestPage>> pages;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        pages.push_back(std::make_unique<TestPage>(&sheet, c.pixels));
        EXPECT_EQ(c.units, pages.back()->Rect());
        EXPECT_EQ(c.units, pages.back()->TemplateRect());
        EXPECT_EQ(0, pages.back()->GetDialogUnits());
        EXPECT_EQ(&sheet, pages.back()->GetSheet());
    }
    EXPECT_EQ(4, sheet.GetPageCount());
    EXPECT_EQ(0, MeasureWatch::made());
}

TEST(SheetDialogUnits, DialogUnitSheetChangesNothing)
{
    Owner owner;
    MeasureWatch watch;
    TestSheet sheet("Options", &owner, 0);
    CRect rect(0, 0, 540, 390);
    EXPECT_EQ(1, sheet.CalcDialogUnits(&rect));
    EXPECT_EQ(CRect(0, 0, 540, 390), rect);
    TestPage page(&sheet, CRect(0, 0, 540, 390));
    EXPECT_EQ(CRect(0, 0, 540, 390), page.TemplateRect());
    EXPECT_EQ(1, page.GetDialogUnits());
    EXPECT_EQ(0, MeasureWatch::made());
}

// The first page measures with a hidden dialog; the second reuses the units. The converted
// size, mapped back with the same font, comes back within one dialog unit.
TEST(SheetDialogUnits, MeasuredOnceWithAHiddenDialog)
{
    Owner owner;
    MeasureWatch watch;
    TestSheet sheet("Options", &owner, 0);
    sheet.SetDialogUnits(0);
    TestPage firstPage(&sheet, CRect(0, 0, 540, 390));
    EXPECT_EQ(1, MeasureWatch::made());
    EXPECT_FALSE(MeasureWatch::anyShown());
    ASSERT_GT(sheet.BaseUnitX(), 0);
    ASSERT_GT(sheet.BaseUnitY(), 0);
    TestPage secondPage(&sheet, CRect(0, 0, 300, 200));
    EXPECT_EQ(1, MeasureWatch::made());

    const RECT measureRect = {0, 0, 100, 100};
    iDialogTemplate sameFont(&measureRect, iPropertySheet::kMeasureStyle, "", 0, 0);
    HWND dialog = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), sameFont.GetTemplate(), nullptr,
                                               [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(nullptr, dialog);
    CRect back = firstPage.Rect();
    ::MapDialogRect(dialog, &back);
    ::DestroyWindow(dialog);
    EXPECT_NEAR(540, back.Width(), sheet.BaseUnitX() / 4 + 1);
    EXPECT_NEAR(390, back.Height(), sheet.BaseUnitY() / 8 + 1);
}

// Each sheet measures with a dialog of its own, whose font the dialog manager makes for
// DS_SETFONT: the font must go with the dialog, or a sheet opened again and again (the
// program's Options) leaves one behind each time.
TEST(SheetDialogUnits, MeasuringLeavesNoGdiObjectBehind)
{
    Owner owner;
    auto measureOnce = [&owner] {
        TestSheet sheet("Options", &owner, 0);
        sheet.SetDialogUnits(0);
        CRect rect(0, 0, 540, 390);
        EXPECT_EQ(1, sheet.CalcDialogUnits(&rect));
    };
    measureOnce();
    const DWORD before = test_support::LiveGdiObjects();
    constexpr int kSheets = 20;
    for (int i = 0; i < kSheets; ++i)
        measureOnce();
    EXPECT_LE(test_support::LiveGdiObjects(), before + 2);
}

// A parent whose window has gone: the measuring dialog cannot be made.
TEST(SheetDialogUnits, FailedMeasurementLeavesPixelsAndTriesAgainLater)
{
    HWND gone = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(gone);
    CWnd stale;
    stale.m_hWnd = gone;
    MeasureWatch watch;
    TestSheet sheet("Options", nullptr, 0);
    sheet.SetParentWindow(&stale);
    sheet.SetDialogUnits(0);

    CRect rect(10, 20, 550, 410);
    EXPECT_EQ(0, sheet.CalcDialogUnits(&rect));
    EXPECT_EQ(CRect(10, 20, 550, 410), rect);
    EXPECT_EQ(0, sheet.BaseUnitX());
    EXPECT_EQ(0, sheet.BaseUnitY());
    // The page is built with its pixel size read as dialog units.
    TestPage page(&sheet, CRect(0, 0, 540, 390));
    EXPECT_EQ(CRect(0, 0, 540, 390), page.TemplateRect());

    stale.m_hWnd = nullptr;
    EXPECT_EQ(1, sheet.CalcDialogUnits(&rect));
    EXPECT_GT(sheet.BaseUnitX(), 0);
    EXPECT_LT(rect.Width(), 540);
}

// A base unit that is still 0 is never divided by: the sheet measures again.
TEST(SheetDialogUnits, HalfKnownBaseUnitsAreMeasuredAgain)
{
    Owner owner;
    MeasureWatch watch;
    TestSheet sheet("Options", &owner, 0);
    sheet.SetDialogUnits(0);
    sheet.SetBaseUnits(6, 0);
    CRect rect(0, 0, 540, 390);
    EXPECT_EQ(1, sheet.CalcDialogUnits(&rect));
    EXPECT_EQ(1, MeasureWatch::made());
    EXPECT_GT(sheet.BaseUnitY(), 0);
    EXPECT_GT(rect.Height(), 0);
    EXPECT_GT(rect.Width(), 0);
}

TEST(SheetDialogUnits, MeasureBaseUnitsOfADialogAndOfAnotherWindow)
{
    const RECT rect = {0, 0, 100, 100};
    iDialogTemplate dialogTemplate(&rect, iPropertySheet::kMeasureStyle, "", 0, 0);
    HWND dialog = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), dialogTemplate.GetTemplate(), nullptr,
                                               [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(MeasureDialogBaseUnits(dialog, nullptr, nullptr));
    int x = -7, y = -7;
    EXPECT_TRUE(MeasureDialogBaseUnits(dialog, &x, nullptr));
    EXPECT_GT(x, 0);
    EXPECT_EQ(-7, y);
    RECT expected = {0, 0, 4, 8};
    ::MapDialogRect(dialog, &expected);
    EXPECT_TRUE(MeasureDialogBaseUnits(dialog, &x, &y));
    EXPECT_EQ(expected.right, x);
    EXPECT_EQ(expected.bottom, y);
    ::DestroyWindow(dialog);

    HWND plain = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    x = y = -7;
    EXPECT_FALSE(MeasureDialogBaseUnits(plain, &x, &y));
    EXPECT_EQ(-7, x);
    EXPECT_EQ(-7, y);
    ::DestroyWindow(plain);
}

class SheetRun : public ::testing::Test {
protected:
    void SetUp() override { CountedEdit::deleted = 0; }
    Owner owner;
};

TEST_F(SheetRun, ModalSheetOfInMemoryPagesEndsFromATimer)
{
    TestSheet sheet("Options", &owner, 0);
    sheet.SetDialogUnits(0);
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    TestPage files(&sheet, CRect(0, 0, 300, 200), "Files");
    TestPage locations(&sheet, CRect(0, 0, 300, 200), "Locations");
    bool ownerEnabled = true;
    CRect editPlace;
    sheet.during = [&](TestSheet& running) {
        ownerEnabled = owner.IsWindowEnabled() != FALSE;
        files.first->GetWindowRect(&editPlace);
        files.ScreenToClient(&editPlace);
        EXPECT_EQ(2, running.GetPageCount());
        EXPECT_EQ("Files", TabLabel(running, 0));
        EXPECT_EQ("Locations", TabLabel(running, 1));
    };
    sheet.endWith = IDOK;
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(1, files.creations);
    EXPECT_EQ(0, locations.creations);  // pages are made when first shown
    // A pixel-mode page does not map its controls' rectangles.
    EXPECT_EQ(CRect(10, 10, 200, 34), editPlace);
}

// Each showing makes the controls again; those of the earlier showing went with its window.
TEST_F(SheetRun, ShowingAgainDoesNotPileUpControls)
{
    TestSheet sheet("Options", &owner, 0);
    sheet.SetDialogUnits(0);
    TestPage page(&sheet, CRect(0, 0, 300, 200));
    size_t controlsDuringRun = 0;
    sheet.during = [&](TestSheet&) { controlsDuringRun = page.GetWindowSet().size(); };
    for (int showing = 1; showing <= 2; ++showing) {
        SCOPED_TRACE(showing);
        EXPECT_EQ(IDOK, sheet.DoModal());
        EXPECT_EQ(2u, controlsDuringRun);
        EXPECT_EQ(showing, page.creations);
        EXPECT_TRUE(page.GetWindowSet().empty());
        EXPECT_EQ(2 * showing, CountedEdit::deleted);
    }
}

TEST_F(SheetRun, ControlsExistWhenTheDataIsLoaded)
{
    TestSheet sheet("Options", &owner, 0);
    TestPage page(&sheet, CRect(0, 0, 200, 120));
    sheet.DoModal();
    EXPECT_GE(page.exchanges, 1);
    EXPECT_EQ(2, page.controlsAtFirstExchange);
}

TEST_F(SheetRun, DialogUnitPageMapsItsControls)
{
    TestSheet sheet("Options", &owner, 0);
    TestPage page(&sheet, CRect(0, 0, 200, 120));
    CRect place, expected(10, 10, 200, 34);
    sheet.during = [&](TestSheet&) {
        page.first->GetWindowRect(&place);
        page.ScreenToClient(&place);
        ::MapDialogRect(page.m_hWnd, &expected);
    };
    sheet.DoModal();
    EXPECT_EQ(expected, place);
}

TEST_F(SheetRun, ChangingAControlEnablesApply)
{
    TestSheet sheet("Options", &owner, 0);
    TestPage page(&sheet, CRect(0, 0, 200, 120));
    bool applyBefore = true;
    bool applyAfter = false;
    sheet.during = [&](TestSheet& running) {
        CWnd* apply = running.GetDlgItem(kApplyNowButtonId);
        ASSERT_NE(nullptr, apply);
        applyBefore = apply->IsWindowEnabled() != FALSE;
        page.second->SetWindowText("changed");
        applyAfter = apply->IsWindowEnabled() != FALSE;
    };
    sheet.DoModal();
    EXPECT_FALSE(applyBefore);
    EXPECT_TRUE(applyAfter);
}

// A page destroyed while the sheet shows leaves the sheet, and its controls go.
TEST_F(SheetRun, PageDeletedWhileTheSheetShows)
{
    TestSheet sheet("Options", &owner, 0);
    TestPage first(&sheet, CRect(0, 0, 200, 120), "First");
    auto* second = new TestPage(&sheet, CRect(0, 0, 200, 120), "Second");
    int countAfter = -1;
    int deletedAfter = -1;
    sheet.during = [&](TestSheet& running) {
        running.SetActivePage(1);
        EXPECT_EQ(1, second->creations);
        running.SetActivePage(0);
        delete second;
        countAfter = running.GetPageCount();
        deletedAfter = CountedEdit::deleted;
    };
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ(1, countAfter);
    EXPECT_EQ(2, deletedAfter);
    EXPECT_EQ(1, sheet.GetPageCount());
}

TEST(PageConstruct, ForeignSheetKeepsDialogUnitsAndJoinsNothing)
{
    CPropertySheet plain("Plain");
    {
        TestPage page(&plain, CRect(0, 0, 540, 390));
        EXPECT_EQ(nullptr, page.GetSheet());
        EXPECT_EQ(1, page.GetDialogUnits());
        EXPECT_EQ(CRect(0, 0, 540, 390), page.TemplateRect());
        EXPECT_EQ(0, plain.GetPageCount());
        EXPECT_TRUE(page.m_psp.dwFlags & PSP_DLGINDIRECT);
        EXPECT_EQ(page.Template().GetTemplate(), page.m_psp.pResource);
    }
    EXPECT_EQ(0, plain.GetPageCount());
}

TEST(PageConstruct, CaptionsAndDynamicCreation)
{
    iPropertyPage noCaption(static_cast<UINT>(4711), static_cast<LPCSTR>(nullptr));
    EXPECT_FALSE(noCaption.m_psp.dwFlags & PSP_USETITLE);
    iPropertyPage named(static_cast<UINT>(4711), "Locations");
    EXPECT_TRUE(named.m_psp.dwFlags & PSP_USETITLE);
    EXPECT_STREQ("Locations", named.m_psp.pszTitle);
    named.SetCaption("File Types");
    EXPECT_STREQ("File Types", named.m_psp.pszTitle);

    std::unique_ptr<CObject> made(RUNTIME_CLASS(iPropertyPage)->CreateObject());
    EXPECT_NE(nullptr, dynamic_cast<iPropertyPage*>(made.get()));
    EXPECT_STREQ("iPropertyPage", RUNTIME_CLASS(iPropertyPage)->m_lpszClassName);
}

TEST_F(SheetRun, SetCaptionNamesTheTab)
{
    TestSheet sheet("Options", &owner, 0);
    TestPage page(&sheet, CRect(0, 0, 200, 120), "Template caption");
    page.SetCaption("Locations");
    std::string label;
    sheet.during = [&](TestSheet& running) { label = TabLabel(running, 0); };
    sheet.DoModal();
    EXPECT_EQ("Locations", label);
}

} // namespace
