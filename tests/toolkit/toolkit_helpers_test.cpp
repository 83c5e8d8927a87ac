// The toolkit's small framework helpers: the menu-item record of this build's size, the
// switch to the toolkit's resource module, and creating a view inside any window.
#include "toolkit/foundation/QZCreateView.h"
#include "toolkit/foundation/QZMenuItemInfo.h"
#include "toolkit/foundation/QZResourceSwitch.h"

#include "toolkit_test_support.h"

TEST(QZMenuItemInfo, ReadsAndWritesItemsOfARealMenu)
{
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    CMenu sub;
    ASSERT_TRUE(sub.CreatePopupMenu());
    ASSERT_TRUE(popup.AppendMenu(MF_STRING, 41, "&Open"));
    ASSERT_TRUE(popup.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.m_hMenu), "More"));
    sub.Detach();

    QZ_MENUITEMINFO info;
    EXPECT_EQ(sizeof(MENUITEMINFOA), info.cbSize);
    info.fMask = MIIM_ID | MIIM_SUBMENU;
    ASSERT_TRUE(::GetMenuItemInfoA(popup.m_hMenu, 0, TRUE, &info));
    EXPECT_EQ(41u, info.wID);
    EXPECT_EQ(nullptr, info.hSubMenu);

    QZ_MENUITEMINFO change;
    change.fMask = MIIM_ID;
    change.wID = 42;
    ASSERT_TRUE(::SetMenuItemInfoA(popup.m_hMenu, 0, TRUE, &change));
    QZ_MENUITEMINFO again;
    again.fMask = MIIM_ID | MIIM_SUBMENU;
    ASSERT_TRUE(::GetMenuItemInfoA(popup.m_hMenu, 1, TRUE, &again));
    EXPECT_NE(nullptr, again.hSubMenu);
    EXPECT_EQ(42u, popup.GetMenuItemID(0));
}

TEST(QZResourceSwitch, SwapsInTheToolkitsModuleOnlyWhenItHasOne)
{
    const HINSTANCE program = AfxGetResourceHandle();
    QZResourceSwitch plain;
    plain.Enter();
    EXPECT_EQ(program, AfxGetResourceHandle()) << "no module of its own: nothing changes";
    plain.Leave();

    HINSTANCE library = GetModuleHandleA("comctl32.dll");
    QZSetToolkitResourceHandle(library);
    QZResourceSwitch toToolkit;
    toToolkit.Enter();
    EXPECT_EQ(library, AfxGetResourceHandle());
    toToolkit.Leave();
    EXPECT_EQ(program, AfxGetResourceHandle());
    QZSetToolkitResourceHandle(nullptr);
}

namespace {

class ToolkitTestView : public CView {
    DECLARE_DYNCREATE(ToolkitTestView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(ToolkitTestView, CView)

// A view whose window refuses to be made.
class RefusingView : public CView {
    DECLARE_DYNCREATE(RefusingView)
public:
    void OnDraw(CDC*) override {}
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(RefusingView, CView)
BEGIN_MESSAGE_MAP(RefusingView, CView)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// A view whose construction runs out of memory.
class ThrowingView : public CView {
    DECLARE_DYNCREATE(ThrowingView)
public:
    ThrowingView() { AfxThrowMemoryException(); }
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(ThrowingView, CView)

class ToolkitTestDoc : public CDocument {
    DECLARE_DYNCREATE(ToolkitTestDoc)
};
IMPLEMENT_DYNCREATE(ToolkitTestDoc, CDocument)

// How many objects of one class were made and destroyed, so that a test sees an object
// left behind or freed twice.
struct ObjectLifetimes {
    int made = 0;
    int destroyed = 0;
};

class CountsLifetime {
public:
    explicit CountsLifetime(ObjectLifetimes& lifetimes) : m_lifetimes(lifetimes) { ++lifetimes.made; }
    ~CountsLifetime() { ++m_lifetimes.destroyed; }

private:
    ObjectLifetimes& m_lifetimes;
};

// Windows whose creation fails after the window was made (WM_CREATE answers -1) or before
// (PreCreateWindow refuses): a plain window, which the framework never frees, and a view,
// which frees itself.
class PlainWindowRefusingCreate : public CWnd, private CountsLifetime {
    DECLARE_DYNCREATE(PlainWindowRefusingCreate)
public:
    PlainWindowRefusingCreate() : CountsLifetime(lifetimes) {}
    static inline ObjectLifetimes lifetimes;
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(PlainWindowRefusingCreate, CWnd)
BEGIN_MESSAGE_MAP(PlainWindowRefusingCreate, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class PlainWindowNeverMade : public CWnd, private CountsLifetime {
    DECLARE_DYNCREATE(PlainWindowNeverMade)
public:
    PlainWindowNeverMade() : CountsLifetime(lifetimes) {}
    static inline ObjectLifetimes lifetimes;
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(PlainWindowNeverMade, CWnd)

class ViewRefusingCreate : public RefusingView, private CountsLifetime {
    DECLARE_DYNCREATE(ViewRefusingCreate)
public:
    ViewRefusingCreate() : CountsLifetime(lifetimes) {}
    static inline ObjectLifetimes lifetimes;
};
IMPLEMENT_DYNCREATE(ViewRefusingCreate, RefusingView)

class ViewNeverMade : public CView, private CountsLifetime {
    DECLARE_DYNCREATE(ViewNeverMade)
public:
    ViewNeverMade() : CountsLifetime(lifetimes) {}
    static inline ObjectLifetimes lifetimes;
    void OnDraw(CDC*) override {}
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(ViewNeverMade, CView)

// Windows whose creation a framework exception cuts short: before the window is made
// (its class runs out of memory in PreCreateWindow) or once it exists (the class's own
// Create runs out of memory after the framework's has made the window).
class PlainWindowThrowingBeforeItsWindow : public CWnd, private CountsLifetime {
    DECLARE_DYNCREATE(PlainWindowThrowingBeforeItsWindow)
public:
    PlainWindowThrowingBeforeItsWindow() : CountsLifetime(lifetimes) {}
    static inline ObjectLifetimes lifetimes;
    BOOL PreCreateWindow(CREATESTRUCT&) override { AfxThrowMemoryException(); }
};
IMPLEMENT_DYNCREATE(PlainWindowThrowingBeforeItsWindow, CWnd)

class ViewThrowingBeforeItsWindow : public CView, private CountsLifetime {
    DECLARE_DYNCREATE(ViewThrowingBeforeItsWindow)
public:
    ViewThrowingBeforeItsWindow() : CountsLifetime(lifetimes) {}
    static inline ObjectLifetimes lifetimes;
    void OnDraw(CDC*) override {}
    BOOL PreCreateWindow(CREATESTRUCT&) override { AfxThrowMemoryException(); }
};
IMPLEMENT_DYNCREATE(ViewThrowingBeforeItsWindow, CView)

class PlainWindowThrowingAfterItsWindow : public CWnd, private CountsLifetime {
    DECLARE_DYNCREATE(PlainWindowThrowingAfterItsWindow)
public:
    PlainWindowThrowingAfterItsWindow() : CountsLifetime(lifetimes) {}
    static inline ObjectLifetimes lifetimes;
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext) override
    {
        CWnd::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
        AfxThrowMemoryException();
    }
};
IMPLEMENT_DYNCREATE(PlainWindowThrowingAfterItsWindow, CWnd)

class ViewThrowingAfterItsWindow : public CView, private CountsLifetime {
    DECLARE_DYNCREATE(ViewThrowingAfterItsWindow)
public:
    ViewThrowingAfterItsWindow() : CountsLifetime(lifetimes) {}
    static inline ObjectLifetimes lifetimes;
    void OnDraw(CDC*) override {}
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext) override
    {
        CView::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
        AfxThrowMemoryException();
    }
};
IMPLEMENT_DYNCREATE(ViewThrowingAfterItsWindow, CView)

} // namespace

TEST(QZCreateView, MakesAViewInAnyWindowWithTheGivenOwner)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    ToolkitTestDoc doc;
    doc.m_bAutoDelete = FALSE;

    CWnd* view = QZCreateView(&parent, RUNTIME_CLASS(ToolkitTestView), &doc, nullptr, WS_CHILD | WS_VISIBLE,
                              &owner, 321);
    ASSERT_NE(nullptr, view);
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(ToolkitTestView)));
    EXPECT_EQ(parent.m_hWnd, ::GetParent(view->m_hWnd));
    EXPECT_EQ(321, view->GetDlgCtrlID());
    EXPECT_EQ(owner.m_hWnd, view->m_hWndOwner);
    EXPECT_EQ(&doc, static_cast<CView*>(view)->GetDocument()) << "the built context joins the document";

    CWnd* ownedByParent =
        QZCreateView(&parent, RUNTIME_CLASS(ToolkitTestView), nullptr, nullptr, WS_CHILD, nullptr, 322);
    ASSERT_NE(nullptr, ownedByParent);
    EXPECT_EQ(parent.m_hWnd, ownedByParent->m_hWndOwner);
    parent.DestroyWindow();
    owner.DestroyWindow();
}

TEST(QZCreateView, FailuresGiveNull)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    struct Case {
        const char* why;
        CRuntimeClass* viewClass;
    };
    const Case cases[] = {
        {"the window refuses", RUNTIME_CLASS(RefusingView)},
        {"construction throws the framework's exception", RUNTIME_CLASS(ThrowingView)},
        {"the class cannot be made", RUNTIME_CLASS(CView)},
        {"no class", nullptr},
        {"not a window class", RUNTIME_CLASS(ToolkitTestDoc)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(nullptr, QZCreateView(&parent, c.viewClass, nullptr, nullptr, WS_CHILD, nullptr, 5));
    }
    EXPECT_EQ(nullptr, ::GetWindow(parent.m_hWnd, GW_CHILD)) << "no window was left behind";
    parent.DestroyWindow();
}

TEST(QZCreateView, FailedWindowFreesItsObjectExactlyOnceAndLeavesNoWindow)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    struct Case {
        const char* why;
        CRuntimeClass* viewClass;
        ObjectLifetimes& lifetimes;
    };
    const Case cases[] = {
        {"a plain window refusing WM_CREATE: nothing else frees it", RUNTIME_CLASS(PlainWindowRefusingCreate),
         PlainWindowRefusingCreate::lifetimes},
        {"a plain window never made: nothing else frees it", RUNTIME_CLASS(PlainWindowNeverMade),
         PlainWindowNeverMade::lifetimes},
        {"a view refusing WM_CREATE: it has freed itself", RUNTIME_CLASS(ViewRefusingCreate),
         ViewRefusingCreate::lifetimes},
        {"a view never made: it has freed itself", RUNTIME_CLASS(ViewNeverMade), ViewNeverMade::lifetimes},
        {"a plain window throwing before its window", RUNTIME_CLASS(PlainWindowThrowingBeforeItsWindow),
         PlainWindowThrowingBeforeItsWindow::lifetimes},
        {"a view throwing before its window: it never reached its own clean-up",
         RUNTIME_CLASS(ViewThrowingBeforeItsWindow), ViewThrowingBeforeItsWindow::lifetimes},
        {"a plain window throwing once its window exists", RUNTIME_CLASS(PlainWindowThrowingAfterItsWindow),
         PlainWindowThrowingAfterItsWindow::lifetimes},
        {"a view throwing once its window exists: it frees itself with it",
         RUNTIME_CLASS(ViewThrowingAfterItsWindow), ViewThrowingAfterItsWindow::lifetimes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        c.lifetimes = ObjectLifetimes();
        EXPECT_EQ(nullptr, QZCreateView(&parent, c.viewClass, nullptr, nullptr, WS_CHILD, nullptr, 6));
        EXPECT_EQ(1, c.lifetimes.made);
        EXPECT_EQ(1, c.lifetimes.destroyed);
        EXPECT_EQ(nullptr, ::GetWindow(parent.m_hWnd, GW_CHILD)) << "no window was left behind";
    }
    parent.DestroyWindow();
}
