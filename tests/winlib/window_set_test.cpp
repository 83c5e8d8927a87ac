// Window sets: containers deleting the control objects created on them, controls leaving
// the set whoever deletes them, the access object's container lookup (no parent, a plain
// window, a foreign window, a page), dialog-unit mapping by container, and the font copy.
#include "lib/src/Win2/Wnd/iWindowSet.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "framework/window_test_support.h"
#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

using test_support::CreateForeignWindow;
using winlib_test::NewContainer;

namespace {

// A control that records its deletion, in order.
class TrackedWnd : public iWnd {
public:
    using iWnd::iWnd;
    ~TrackedWnd() override { s_deleted.push_back(this); }
    static inline std::vector<const CWnd*> s_deleted;
};

// A control whose destructor deletes another control of the same set.
class CascadingWnd : public TrackedWnd {
public:
    using TrackedWnd::TrackedWnd;
    ~CascadingWnd() override { delete m_victim; }
    CWnd* m_victim = nullptr;
};

// Stands in for a property page: a container that works in dialog units when asked and
// counts the controls' modification marks.
class PageLikeWnd : public CWnd, public iWindowSetContainer {
public:
    iWindowSet& GetWindowSet() override { return m_set; }
    bool UsesDialogUnits() const override { return m_usesDialogUnits; }
    bool IsPropertyPage() const override { return m_isPage; }
    void MarkPageModified() override { ++m_modifiedMarks; }

    iWindowSet m_set;
    bool m_usesDialogUnits = true;
    bool m_isPage = true;
    int m_modifiedMarks = 0;
};

const CRect kChildRect(4, 8, 44, 20);

// A dialog template without controls, menu, class or title (the system font).
struct EmptyDialogTemplate {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};

const EmptyDialogTemplate* DialogBoxTemplate()
{
    static const EmptyDialogTemplate dialogTemplate = {{WS_POPUP, 0, 0, 0, 0, 100, 50}, 0, 0, 0};
    return &dialogTemplate;
}

// A real dialog box, for the conversions that only dialog boxes do.
HWND CreateDialogBox()
{
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &DialogBoxTemplate()->header, nullptr,
                                      [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
}

CRect PlatformMapped(HWND dialog, const CRect& rect)
{
    CRect mapped(rect);
    MapDialogRect(dialog, &mapped);
    return mapped;
}

class WindowSetTest : public ::testing::Test {
protected:
    void SetUp() override { TrackedWnd::s_deleted.clear(); }
};

} // namespace

TEST_F(WindowSetTest, ContainerDeletesEachControlOnceLowestAddressFirst)
{
    auto container = NewContainer();
    ASSERT_NE(nullptr, container->m_hWnd);
    std::vector<const CWnd*> made;
    for (UINT id = 1; id <= 3; ++id)
        made.push_back(new TrackedWnd(container.get(), kChildRect, WS_VISIBLE, "", id));
    ASSERT_EQ(3u, container->GetWindowSet().size());
    for (const CWnd* control : made)
        EXPECT_EQ(1u, container->GetWindowSet().count(const_cast<CWnd*>(control)));

    container.reset();

    std::vector<const CWnd*> ascending = made;
    std::sort(ascending.begin(), ascending.end());
    EXPECT_EQ(ascending, TrackedWnd::s_deleted);
}

TEST_F(WindowSetTest, ControlDeletedByHandLeavesTheSet)
{
    auto container = NewContainer();
    auto* first = new TrackedWnd(container.get(), kChildRect, WS_VISIBLE, "", 1);
    auto* second = new TrackedWnd(container.get(), kChildRect, WS_VISIBLE, "", 2);
    auto* third = new TrackedWnd(container.get(), kChildRect, WS_VISIBLE, "", 3);
    HWND secondWindow = second->m_hWnd;

    delete second;
    EXPECT_FALSE(IsWindow(secondWindow));
    EXPECT_EQ(2u, container->GetWindowSet().size());
    EXPECT_EQ(0u, container->GetWindowSet().count(second));

    TrackedWnd::s_deleted.clear();
    container.reset();
    std::vector<const CWnd*> expected = {std::min<const CWnd*>(first, third), std::max<const CWnd*>(first, third)};
    EXPECT_EQ(expected, TrackedWnd::s_deleted);
}

TEST_F(WindowSetTest, DeleteAllCopesWithADestructorThatDeletesAnotherMember)
{
    auto container = NewContainer();
    auto* first = new CascadingWnd(container.get(), kChildRect, WS_VISIBLE, "", 1);
    auto* second = new CascadingWnd(container.get(), kChildRect, WS_VISIBLE, "", 2);
    auto* bystander = new TrackedWnd(container.get(), kChildRect, WS_VISIBLE, "", 3);
    // The set deletes the lowest address first: that one deletes the other on its way out.
    const bool firstIsLower = std::less<CascadingWnd*>()(first, second);
    CascadingWnd* cascading = firstIsLower ? first : second;
    CascadingWnd* victim = firstIsLower ? second : first;
    cascading->m_victim = victim;

    container->GetWindowSet().DeleteAll();

    EXPECT_TRUE(container->GetWindowSet().empty());
    ASSERT_EQ(3u, TrackedWnd::s_deleted.size());
    for (const CWnd* control : {static_cast<CWnd*>(cascading), static_cast<CWnd*>(victim),
                                static_cast<CWnd*>(bystander)})
        EXPECT_EQ(1, std::count(TrackedWnd::s_deleted.begin(), TrackedWnd::s_deleted.end(), control));
}

TEST_F(WindowSetTest, AddAndRemoveAnswerWhetherTheSetChanged)
{
    iWindowSet set;
    CWnd control;
    EXPECT_FALSE(set.Add(nullptr)) << "null pointers never enter a set";
    EXPECT_TRUE(set.Add(&control));
    EXPECT_FALSE(set.Add(&control));
    EXPECT_EQ(1u, set.size());
    EXPECT_TRUE(set.Remove(&control));
    EXPECT_FALSE(set.Remove(&control));
    EXPECT_TRUE(set.empty());
}

TEST_F(WindowSetTest, MemberWithoutAccessObjectIsDeletedOnce)
{
    iWindowSet set;
    // Added by hand: nothing takes it out of the set while it is destroyed.
    ASSERT_TRUE(set.Add(new TrackedWnd));
    set.DeleteAll();
    EXPECT_TRUE(set.empty());
    EXPECT_EQ(1u, TrackedWnd::s_deleted.size());
}

TEST_F(WindowSetTest, ControlOnAPlainFrameworkWindowJoinsNoSetAndOutlivesIt)
{
    auto parent = std::make_unique<CWnd>();
    ASSERT_TRUE(parent->CreateEx(0, nullptr, "plain", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr));
    auto control = std::make_unique<TrackedWnd>(parent.get(), kChildRect, WS_VISIBLE, "", 1);
    ASSERT_NE(nullptr, control->m_hWnd);
    EXPECT_EQ(1, control->GetWindowSetAccess().Attach(control.get()));
    EXPECT_EQ(nullptr, control->GetWindowSetAccess().GetSet());
    EXPECT_EQ(nullptr, control->GetWindowSetAccess().GetPage());

    parent.reset();
    EXPECT_TRUE(TrackedWnd::s_deleted.empty());
    EXPECT_EQ(nullptr, control->m_hWnd) << "the object outlives its window";
}

TEST_F(WindowSetTest, ControlOnAForeignWindowJoinsNoSet)
{
    HWND foreign = CreateForeignWindow();
    ASSERT_NE(nullptr, foreign);
    // The parent is seen through a temporary plain wrapper, which is no container.
    TrackedWnd control(CWnd::FromHandle(foreign), kChildRect, WS_VISIBLE, "", 1);
    ASSERT_NE(nullptr, control.m_hWnd);
    EXPECT_EQ(control.m_hWnd, GetDlgItem(foreign, 1));
    EXPECT_EQ(nullptr, control.GetWindowSetAccess().GetSet());
    control.DestroyWindow();
    DestroyWindow(foreign);
}

TEST_F(WindowSetTest, AttachWithoutParentWindowChangesNothing)
{
    iWindowSetAccess access;
    EXPECT_EQ(0, access.Attach(nullptr));
    CWnd windowless;
    EXPECT_EQ(0, access.Attach(&windowless));
    // A top-level window has no parent either.
    iWnd topLevel(nullptr, CRect(0, 0, 50, 50), WS_POPUP, "", 0, 0, nullptr);
    ASSERT_NE(nullptr, topLevel.m_hWnd);
    EXPECT_EQ(0, access.Attach(&topLevel));
    EXPECT_EQ(nullptr, access.GetControl());
    EXPECT_EQ(nullptr, access.GetSet());
    EXPECT_EQ(nullptr, access.GetPage());
    access.SetModified();
}

TEST_F(WindowSetTest, SecondAttachMovesTheControlToTheNewContainer)
{
    auto first = NewContainer();
    auto second = NewContainer();
    auto* control = new TrackedWnd(first.get(), kChildRect, WS_VISIBLE, "", 1);
    ASSERT_EQ(1u, first->GetWindowSet().size());

    control->SetParent(second.get());
    EXPECT_EQ(1, control->GetWindowSetAccess().Attach(control));

    EXPECT_TRUE(first->GetWindowSet().empty());
    EXPECT_EQ(1u, second->GetWindowSet().count(control));
    first.reset();
    EXPECT_TRUE(TrackedWnd::s_deleted.empty());
    second.reset();
    EXPECT_EQ(1u, TrackedWnd::s_deleted.size());
}

TEST_F(WindowSetTest, ControlOnAPageMarksItModifiedAndControlElsewhereDoesNot)
{
    PageLikeWnd page;
    ASSERT_TRUE(page.CreateEx(0, nullptr, "page", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr));
    page.m_usesDialogUnits = false;
    auto* onPage = new TrackedWnd(&page, kChildRect, WS_VISIBLE, "", 1);
    EXPECT_EQ(&page.m_set, onPage->GetWindowSetAccess().GetSet());
    EXPECT_EQ(&page, onPage->GetWindowSetAccess().GetPage());
    onPage->GetWindowSetAccess().SetModified();
    EXPECT_EQ(1, page.m_modifiedMarks);

    auto container = NewContainer();
    auto* elsewhere = new TrackedWnd(container.get(), kChildRect, WS_VISIBLE, "", 1);
    EXPECT_EQ(nullptr, elsewhere->GetWindowSetAccess().GetPage());
    elsewhere->GetWindowSetAccess().SetModified();
    EXPECT_EQ(1, page.m_modifiedMarks);

    page.m_set.DeleteAll();
}

TEST_F(WindowSetTest, ContainerThatIsNoPageKeepsNoPage)
{
    PageLikeWnd notPage;
    notPage.m_isPage = false;
    notPage.m_usesDialogUnits = false;
    ASSERT_TRUE(notPage.CreateEx(0, nullptr, "", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr));
    auto* control = new TrackedWnd(&notPage, kChildRect, WS_VISIBLE, "", 1);
    EXPECT_EQ(&notPage.m_set, control->GetWindowSetAccess().GetSet());
    EXPECT_EQ(nullptr, control->GetWindowSetAccess().GetPage());
    control->GetWindowSetAccess().SetModified();
    EXPECT_EQ(0, notPage.m_modifiedMarks);
    notPage.m_set.DeleteAll();
}

TEST_F(WindowSetTest, DialogUnitsAreMappedOnlyWhereTheContainerWorksInThem)
{
    HWND dialogBox = CreateDialogBox();
    ASSERT_NE(nullptr, dialogBox);
    const CRect units(10, 20, 50, 40);
    const CRect pixels = PlatformMapped(dialogBox, units);
    ASSERT_NE(units, pixels) << "the fixture's dialog must scale dialog units";

    PageLikeWnd inUnits;
    ASSERT_TRUE(inUnits.SubclassWindow(dialogBox));
    PageLikeWnd inPixels;
    inPixels.m_usesDialogUnits = false;
    HWND secondBox = CreateDialogBox();
    ASSERT_TRUE(inPixels.SubclassWindow(secondBox));
    CDialog frameworkDialog;
    ASSERT_TRUE(frameworkDialog.CreateIndirect(&DialogBoxTemplate()->header));
    auto libraryWindow = NewContainer();
    CWnd plain;
    ASSERT_TRUE(plain.CreateEx(0, nullptr, "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
    HWND foreignBox = CreateDialogBox();

    struct Case {
        const char* why;
        CWnd* container;
        CRect expected;
    };
    const Case kCases[] = {
        {"no container", nullptr, units},
        {"library container in dialog units", &inUnits, pixels},
        {"library container in pixels", &inPixels, units},
        {"framework dialog always converts", &frameworkDialog, pixels},
        {"library window works in pixels", libraryWindow.get(), units},
        {"plain framework window", &plain, units},
        {"temporary wrapper of a dialog box is no dialog object", CWnd::FromHandle(foreignBox), units},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        CRect rect(units);
        MapDialogRectFor(c.container, &rect);
        EXPECT_EQ(c.expected, rect);
    }
    DestroyWindow(foreignBox);
}

TEST_F(WindowSetTest, ControlTakesItsParentsFont)
{
    auto container = NewContainer();
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, "Arial"));
    // A button keeps the font it is given, so it can be the parent that has one.
    CWnd button;
    ASSERT_TRUE(button.Create("BUTTON", "b", WS_VISIBLE, kChildRect, container.get(), 1));
    CWnd label;
    ASSERT_TRUE(label.Create("STATIC", "s", WS_VISIBLE, kChildRect, &button, 2));
    button.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.m_hObject), FALSE);

    CopyParentFont(&label, &button);
    EXPECT_EQ(reinterpret_cast<LRESULT>(font.m_hObject), label.SendMessage(WM_GETFONT));

    button.SendMessage(WM_SETFONT, 0, FALSE);
    CopyParentFont(&label, &button);
    EXPECT_EQ(0, label.SendMessage(WM_GETFONT)) << "a parent without a font gives none";
}
