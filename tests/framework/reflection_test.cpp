// Reflection: a parent offers its control's notifications, owner-draw and colour
// messages to the control's object first; _EX handlers let the parent see them too.
#include "framework/Framework.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

constexpr UINT kButtonId = 11;

class ReflectingButton : public CWnd {
public:
    BOOL clickAnswer = FALSE;
    int clicks = 0;
    int customDraws = 0;
    LRESULT resultSeenByChild = -1;
    int draws = 0;
    HBRUSH brush = nullptr;

    afx_msg BOOL OnReflectedClick()
    {
        ++clicks;
        return clickAnswer;
    }
    afx_msg void OnReflectedCustomDraw(NMHDR*, LRESULT* result)
    {
        ++customDraws;
        resultSeenByChild = *result;
        *result = CDRF_SKIPDEFAULT;
    }
    afx_msg void DrawItem(LPDRAWITEMSTRUCT) { ++draws; }
    afx_msg HBRUSH CtlColor(CDC*, UINT) { return brush; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingButton, CWnd)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnReflectedClick)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnReflectedCustomDraw)
    ON_WM_DRAWITEM_REFLECT()
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class NotifiedParent : public CWnd {
public:
    int clicks = 0;
    int customDraws = 0;
    int ownerDraws = 0;
    HBRUSH parentBrush = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));

    afx_msg void OnButtonClicked() { ++clicks; }
    afx_msg void OnCustomDraw(NMHDR*, LRESULT* result)
    {
        ++customDraws;
        *result = CDRF_DODEFAULT;
    }
    afx_msg void OnDrawItem(int, LPDRAWITEMSTRUCT) { ++ownerDraws; }
    afx_msg HBRUSH OnCtlColor(CDC*, CWnd*, UINT) { return parentBrush; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(NotifiedParent, CWnd)
    ON_BN_CLICKED(kButtonId, OnButtonClicked)
    ON_NOTIFY(NM_CUSTOMDRAW, kButtonId, OnCustomDraw)
    ON_WM_DRAWITEM()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class ReflectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr));
        ASSERT_TRUE(button.Create("BUTTON", "b", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 50, 20), &parent, kButtonId));
    }

    LRESULT SendClick()
    {
        return parent.SendMessage(WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED),
                                  reinterpret_cast<LPARAM>(button.m_hWnd));
    }

    LRESULT SendCustomDraw()
    {
        NMHDR header = {button.m_hWnd, kButtonId, static_cast<UINT>(NM_CUSTOMDRAW)};
        return parent.SendMessage(WM_NOTIFY, kButtonId, reinterpret_cast<LPARAM>(&header));
    }

    NotifiedParent parent;
    ReflectingButton button;
};

} // namespace

TEST_F(ReflectionTest, ExtendedReflectAnsweringFalseStillNotifiesTheParent)
{
    button.clickAnswer = FALSE;
    SendClick();
    EXPECT_EQ(1, button.clicks);
    EXPECT_EQ(1, parent.clicks);
}

TEST_F(ReflectionTest, ExtendedReflectAnsweringTrueKeepsItFromTheParent)
{
    button.clickAnswer = TRUE;
    SendClick();
    EXPECT_EQ(1, button.clicks);
    EXPECT_EQ(0, parent.clicks);
}

TEST_F(ReflectionTest, PlainReflectConsumesTheNotificationWithAClearedResult)
{
    EXPECT_EQ(CDRF_SKIPDEFAULT, SendCustomDraw());
    EXPECT_EQ(1, button.customDraws);
    EXPECT_EQ(0, parent.customDraws);
    // Whatever the result held before, the control starts from 0.
    NMHDR header = {button.m_hWnd, kButtonId, static_cast<UINT>(NM_CUSTOMDRAW)};
    LRESULT result = 99;
    EXPECT_TRUE(parent.OnNotify(kButtonId, reinterpret_cast<LPARAM>(&header), &result));
    EXPECT_EQ(0, button.resultSeenByChild);
    EXPECT_EQ(CDRF_SKIPDEFAULT, result);
}

TEST_F(ReflectionTest, OwnerDrawGoesToTheControlsObject)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = kButtonId;
    item.hwndItem = button.m_hWnd;
    EXPECT_EQ(TRUE, parent.SendMessage(WM_DRAWITEM, kButtonId, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(1, button.draws);
    EXPECT_EQ(0, parent.ownerDraws);
    // A menu's owner draw has no control to reflect to.
    item.CtlType = ODT_MENU;
    parent.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(1, parent.ownerDraws);
}

TEST_F(ReflectionTest, ControlColourFallsBackToTheParentWithoutABrush)
{
    HDC dc = GetDC(button.m_hWnd);
    auto colour = [&] {
        return reinterpret_cast<HBRUSH>(parent.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(button.m_hWnd)));
    };
    button.brush = nullptr;
    EXPECT_EQ(parent.parentBrush, colour());
    button.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(button.brush, colour());
    ReleaseDC(button.m_hWnd, dc);
}

TEST_F(ReflectionTest, ReflectionAlsoWorksThroughTheRealButton)
{
    // A real click: the button itself notifies the parent with WM_COMMAND.
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(1, button.clicks);
    EXPECT_EQ(1, parent.clicks);
}
