// The library's flat button (the toolkit's button) made in one step on a container: both
// creating forms, the rectangle in the container's units, the parent's font, the window
// set, and clicks and double-clicks reaching the connectors before the parent.
#include "lib/src/Win2/Wnd/iDialog.h"
#include "lib/src/Win2/Wnd/iVeltraButton.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT kVeltraId = 341;
const CRect kVeltraRect(10, 10, 110, 34);

// Everything that happens, in order, as short words.
std::vector<std::string> g_veltraEvents;

// A shown container that answers a font and whose own map hears the button.
class VeltraParent : public iWnd {
public:
    VeltraParent() : iWnd(nullptr, CRect(0, 0, 400, 300), WS_POPUP | WS_VISIBLE, "parent", 0, 0, nullptr) {}
    HFONT m_font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));

protected:
    void OnVeltraClicked() { g_veltraEvents.push_back("parent clicked"); }
    void OnVeltraDoubleClicked() { g_veltraEvents.push_back("parent double-clicked"); }
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_font); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(VeltraParent, iWnd)
    ON_BN_CLICKED(kVeltraId, OnVeltraClicked)
    ON_BN_DOUBLECLICKED(kVeltraId, OnVeltraDoubleClicked)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

class VeltraTarget : public CCmdTarget {
public:
    void OnClicked(CWnd* sender)
    {
        g_veltraEvents.push_back("clicked connector");
        m_senders.push_back(sender);
    }
    void OnDoubleClicked(CWnd* sender)
    {
        g_veltraEvents.push_back("double-clicked connector");
        m_senders.push_back(sender);
    }
    std::vector<CWnd*> m_senders;
};

CRect PlacedIn(const CWnd& control)
{
    CRect placed;
    control.GetWindowRect(&placed);
    MapWindowPoints(nullptr, ::GetParent(control.m_hWnd), reinterpret_cast<POINT*>(&placed), 2);
    return placed;
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class VeltraButtonTest : public ::testing::Test {
protected:
    void SetUp() override { g_veltraEvents.clear(); }

    iVeltraButton* NewVeltra() { return new iVeltraButton(&m_parent, kVeltraRect, WS_VISIBLE, "Go", kVeltraId); }

    VeltraParent m_parent;
};

TEST_F(VeltraButtonTest, BothFormsMakeAToolkitButtonWithTheParentsFontInTheSet)
{
    iVeltraButton* item = NewVeltra();
    auto* window = new iVeltraButton(&m_parent, kVeltraRect, WS_VISIBLE, "Window", kVeltraId + 1, WS_EX_STATICEDGE,
                                     nullptr);
    for (iVeltraButton* button : {item, window}) {
        ASSERT_TRUE(IsWindow(button->m_hWnd));
        char className[32] = {};
        GetClassNameA(button->m_hWnd, className, sizeof className);
        EXPECT_STRCASEEQ("Button", className);
        EXPECT_TRUE(button->GetStyle() & WS_CHILD);
        EXPECT_EQ(m_parent.m_hWnd, GetParent(button->m_hWnd));
        EXPECT_EQ(reinterpret_cast<LRESULT>(m_parent.m_font), button->SendMessage(WM_GETFONT));
        EXPECT_EQ(kVeltraRect, PlacedIn(*button));
        EXPECT_EQ(1u, m_parent.GetWindowSet().count(button));
    }
    CString text;
    window->GetWindowText(text);
    EXPECT_STREQ("Window", text);
    EXPECT_TRUE(window->GetExStyle() & WS_EX_STATICEDGE);
    EXPECT_EQ(kVeltraId + 1, static_cast<UINT>(window->GetDlgCtrlID()));

    // Once its window is complete the toolkit button draws itself.
    PumpMessages();
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), item->GetStyle() & BS_TYPEMASK);

    HWND itemWindow = item->m_hWnd;
    delete window;
    EXPECT_EQ(1u, m_parent.GetWindowSet().size());
    m_parent.GetWindowSet().DeleteAll();
    EXPECT_FALSE(IsWindow(itemWindow));
}

TEST_F(VeltraButtonTest, TakesItsRectangleInTheDialogsUnits)
{
    iDialog dialog(nullptr, CRect(0, 0, 200, 100), WS_POPUP | DS_SETFONT, "units", 0, TRUE);
    ASSERT_TRUE(IsWindow(dialog.m_hWnd));
    const CRect inUnits(4, 8, 54, 22);
    CRect inPixels(inUnits);
    MapDialogRect(dialog.m_hWnd, &inPixels);
    ASSERT_NE(inUnits, inPixels);

    auto* item = new iVeltraButton(&dialog, inUnits, WS_VISIBLE, "Item", kVeltraId);
    auto* window = new iVeltraButton(&dialog, inUnits, WS_VISIBLE, "Window", kVeltraId + 1, 0, nullptr);
    EXPECT_EQ(inPixels, PlacedIn(*item));
    EXPECT_EQ(inPixels, PlacedIn(*window));
    EXPECT_EQ(2u, dialog.GetWindowSet().size());
}

TEST_F(VeltraButtonTest, AClickFiresTheConnectorThenReachesTheParent)
{
    iVeltraButton* button = NewVeltra();
    VeltraTarget target;
    button->m_onClicked = iConnector(&target, &VeltraTarget::OnClicked);
    PumpMessages();
    button->SendMessage(BM_CLICK);
    EXPECT_EQ((std::vector<std::string>{"clicked connector", "parent clicked"}), g_veltraEvents);
    EXPECT_EQ(std::vector<CWnd*>{button}, target.m_senders);
}

TEST_F(VeltraButtonTest, AClickWithoutAConnectorStillReachesTheParent)
{
    iVeltraButton* button = NewVeltra();
    PumpMessages();
    button->SendMessage(BM_CLICK);
    EXPECT_EQ(std::vector<std::string>{"parent clicked"}, g_veltraEvents);
}

TEST_F(VeltraButtonTest, EachNotificationFiresOnlyItsOwnConnector)
{
    iVeltraButton* button = NewVeltra();
    VeltraTarget target;
    button->m_onClicked = iConnector(&target, &VeltraTarget::OnClicked);
    button->m_onDoubleClicked = iConnector(&target, &VeltraTarget::OnDoubleClicked);
    struct Row {
        UINT code;
        std::vector<std::string> events;
    };
    const Row kRows[] = {
        {BN_DOUBLECLICKED, {"double-clicked connector", "parent double-clicked"}},
        {BN_CLICKED, {"clicked connector", "parent clicked"}},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.code);
        g_veltraEvents.clear();
        // As the button reports to its parent.
        m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(kVeltraId, row.code), reinterpret_cast<LPARAM>(button->m_hWnd));
        EXPECT_EQ(row.events, g_veltraEvents);
    }
    EXPECT_EQ((std::vector<CWnd*>{button, button}), target.m_senders);
}

TEST_F(VeltraButtonTest, HasItsOwnRuntimeClassOverTheToolkitButton)
{
    std::unique_ptr<iVeltraButton> button(NewVeltra());
    EXPECT_STREQ("iVeltraButton", button->GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(button->IsKindOf(RUNTIME_CLASS(CQZButton)));
    EXPECT_EQ(nullptr, RUNTIME_CLASS(iVeltraButton)->CreateObject()) << "not dynamically creatable";
}

} // namespace
