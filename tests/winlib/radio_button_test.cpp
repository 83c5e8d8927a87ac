// Radio buttons on a container: the automatic radio button, and the owner-drawn position
// button with its own check state, its group handling (checking one unchecks the one
// checked before, within the group only), its click, its drawing into a memory DC, and
// its use by the radio-field exchange.
#include "lib/src/Win2/Wnd/TypedFieldExchange.h"
#include "lib/src/Win2/Wnd/iRadioButton.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using winlib_test::ClickCounter;

constexpr UINT kFirstId = 700;

class RadioParent : public iWnd {
public:
    RadioParent() : iWnd(nullptr, CRect(0, 0, 400, 300), WS_OVERLAPPEDWINDOW, "parent", 0, 0, nullptr) {}
    std::vector<UINT> m_clicksSeen;

protected:
    void OnClicked(UINT id) { m_clicksSeen.push_back(id); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RadioParent, iWnd)
    ON_CONTROL_RANGE(BN_CLICKED, kFirstId, kFirstId + 20, OnClicked)
END_MESSAGE_MAP()

TEST(RadioButton, IsAnAutomaticRadioButtonThatReportsItsClick)
{
    RadioParent parent;
    iRadioButton item(&parent, CRect(0, 0, 100, 20), WS_VISIBLE | WS_GROUP, "item", kFirstId);
    iRadioButton window(&parent, CRect(0, 30, 100, 50), WS_VISIBLE, "window", kFirstId + 1, 0, nullptr);
    EXPECT_EQ(static_cast<UINT>(BS_AUTORADIOBUTTON), item.GetButtonStyle() & 0x0F);
    EXPECT_EQ(static_cast<UINT>(BS_AUTORADIOBUTTON), window.GetButtonStyle() & 0x0F);
    ClickCounter counter;
    window.SetOnClicked(iConnector(&counter, &ClickCounter::OnClicked));
    item.SetCheck(BST_CHECKED);
    window.SendMessage(BM_CLICK);
    EXPECT_EQ(BST_CHECKED, window.GetCheck());
    EXPECT_EQ(BST_UNCHECKED, item.GetCheck());
    EXPECT_EQ(1, counter.m_count);
    EXPECT_EQ(std::vector<UINT>{kFirstId + 1}, parent.m_clicksSeen);
}

// Nine position buttons in one group, then a standard radio button that starts the next.
class PositionGroup : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent.ShowWindow(SW_SHOW);
        for (int i = 0; i < 9; ++i) {
            CRect rect(10 + (i % 3) * 40, 10 + (i / 3) * 40, 46 + (i % 3) * 40, 46 + (i / 3) * 40);
            DWORD style = WS_VISIBLE | (i == 0 ? WS_GROUP : 0);
            m_buttons.push_back(new iPositionRadioButton(&m_parent, rect, style, nullptr, kFirstId + i));
            m_buttons.back()->m_position = static_cast<DWORD>((i % 3) | ((i / 3) << 4));
        }
        m_nextGroup = new iRadioButton(&m_parent, CRect(200, 10, 300, 30), WS_VISIBLE | WS_GROUP, "next",
                                       kFirstId + 9);
        m_nextGroup->SetCheck(BST_CHECKED);
        m_parent.UpdateWindow();
    }
    std::vector<int> States() const
    {
        std::vector<int> states;
        for (iPositionRadioButton* button : m_buttons)
            states.push_back(static_cast<int>(button->SendMessage(BM_GETCHECK)));
        return states;
    }
    bool NeedsPaint(CWnd* button) const { return GetUpdateRect(button->m_hWnd, nullptr, FALSE) != FALSE; }
    void PaintAll() { m_parent.RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

    RadioParent m_parent;
    std::vector<iPositionRadioButton*> m_buttons;
    iRadioButton* m_nextGroup = nullptr;
};

TEST_F(PositionGroup, IsAnOwnerDrawnRadioButtonToTheDialogManager)
{
    iPositionRadioButton window(&m_parent, CRect(0, 200, 36, 236), WS_VISIBLE, nullptr, kFirstId + 10, 0, nullptr);
    for (iPositionRadioButton* button : {m_buttons[0], &window}) {
        EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), button->GetButtonStyle() & 0x0F);
        EXPECT_TRUE(button->SendMessage(WM_GETDLGCODE) & DLGC_RADIOBUTTON);
        EXPECT_EQ(BST_UNCHECKED, button->SendMessage(BM_GETCHECK));
    }
}

TEST_F(PositionGroup, CheckingOneUnchecksTheOneBeforeWithinItsGroupAndRepaintsBoth)
{
    m_buttons[2]->SendMessage(BM_SETCHECK, BST_CHECKED);
    PaintAll();
    m_buttons[4]->SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 1, 0, 0, 0, 0}), States());
    EXPECT_TRUE(NeedsPaint(m_buttons[2]));
    EXPECT_TRUE(NeedsPaint(m_buttons[4]));
    EXPECT_FALSE(NeedsPaint(m_buttons[3]));
    EXPECT_EQ(BST_CHECKED, m_nextGroup->GetCheck()) << "the next group is not touched";
}

TEST_F(PositionGroup, CheckingTheCheckedButtonAgainDoesNothing)
{
    m_buttons[4]->SendMessage(BM_SETCHECK, BST_CHECKED);
    PaintAll();
    EXPECT_EQ(0, m_buttons[4]->SendMessage(BM_SETCHECK, BST_CHECKED));
    EXPECT_FALSE(NeedsPaint(m_buttons[4]));
    m_buttons[4]->SendMessage(BM_SETCHECK, BST_UNCHECKED);
    EXPECT_EQ((std::vector<int>(9, 0)), States());
    EXPECT_TRUE(NeedsPaint(m_buttons[4]));
}

TEST_F(PositionGroup, WithoutAGroupStartTheButtonIsCheckedAlone)
{
    m_buttons[0]->ModifyStyle(WS_GROUP, 0);
    m_buttons[1]->SendMessage(BM_SETCHECK, BST_CHECKED);
    m_buttons[3]->SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ((std::vector<int>{0, 1, 0, 1, 0, 0, 0, 0, 0}), States());
}

TEST_F(PositionGroup, AClickChecksTheButtonAndIsNotPassedToTheParent)
{
    ClickCounter counter;
    m_buttons[8]->SetOnClicked(iConnector(&counter, &ClickCounter::OnClicked));
    m_buttons[0]->SendMessage(BM_SETCHECK, BST_CHECKED);
    m_buttons[8]->SendMessage(BM_CLICK);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 1}), States());
    EXPECT_EQ(1, counter.m_count);
    EXPECT_TRUE(m_parent.m_clicksSeen.empty());
}

TEST_F(PositionGroup, TheRadioFieldExchangeWorksWithTheGroup)
{
    std::vector<iType::Radio> fields(9);
    fields[6].Value() = 1;
    m_buttons[1]->SendMessage(BM_SETCHECK, BST_CHECKED);
    CDataExchange load(&m_parent, FALSE);
    for (int i = 0; i < 9; ++i)
        ExchangeRadioGroup(&load, m_buttons[i], &fields[i]);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0, 0, 1, 0, 0}), States());

    m_buttons[3]->SendMessage(BM_CLICK);
    CDataExchange save(&m_parent, TRUE);
    for (int i = 0; i < 9; ++i)
        ExchangeRadioGroup(&save, m_buttons[i], &fields[i]);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(i == 3 ? 1u : 0u, fields[i].Value()) << "field " << i;
}

// Draws a 36 by 36 button into a memory DC.
class ButtonCanvas {
public:
    ButtonCanvas()
    {
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateBitmap(36, 36, 1, 32, nullptr);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~ButtonCanvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    ButtonCanvas(const ButtonCanvas&) = delete;
    ButtonCanvas& operator=(const ButtonCanvas&) = delete;

    void Draw(iPositionRadioButton& button, UINT itemState)
    {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.itemState = itemState;
        item.hwndItem = button.m_hWnd;
        item.hDC = m_dc;
        item.rcItem = {0, 0, 36, 36};
        button.DrawItem(&item);
    }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }
    // The dark block's bounds.
    CRect Block() const
    {
        CRect block(36, 36, 0, 0);
        const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
        for (int y = 3; y < 33; ++y)
            for (int x = 3; x < 33; ++x)
                if (At(x, y) == dark) {
                    block.left = std::min<LONG>(block.left, x);
                    block.top = std::min<LONG>(block.top, y);
                    block.right = std::max<LONG>(block.right, x + 1);
                    block.bottom = std::max<LONG>(block.bottom, y + 1);
                }
        return block;
    }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

TEST_F(PositionGroup, DrawsTheBlockAtItsPlace)
{
    struct Case {
        const char* why;
        DWORD position;
        CRect block;
    };
    const Case kCases[] = {
        {"left top", 0, CRect(6, 6, 22, 22)},
        {"centre middle", iPositionRadioButton::kCentre | iPositionRadioButton::kMiddle, CRect(10, 10, 26, 26)},
        {"right bottom", iPositionRadioButton::kRight | iPositionRadioButton::kBottom, CRect(14, 14, 30, 30)},
        {"centre wins over right, middle over bottom", 0x33, CRect(10, 10, 26, 26)},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        ButtonCanvas canvas;
        m_buttons[0]->m_position = c.position;
        canvas.Draw(*m_buttons[0], 0);
        EXPECT_EQ(c.block, canvas.Block());
    }
}

TEST_F(PositionGroup, IsRaisedOnlyWhenUncheckedUnpressedAndEnabled)
{
    struct Case {
        const char* why;
        int check;
        UINT itemState;
        bool raised;
    };
    const Case kCases[] = {
        {"unchecked", BST_UNCHECKED, 0, true},
        {"checked", BST_CHECKED, 0, false},
        {"pressed", BST_UNCHECKED, ODS_SELECTED, false},
        {"disabled", BST_UNCHECKED, ODS_DISABLED, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        m_buttons[0]->SendMessage(BM_SETCHECK, static_cast<WPARAM>(c.check));
        ButtonCanvas canvas;
        canvas.Draw(*m_buttons[0], c.itemState);
        EXPECT_EQ(GetSysColor(c.raised ? COLOR_3DLIGHT : COLOR_BTNSHADOW), canvas.At(0, 18));
        EXPECT_EQ(GetSysColor(c.raised ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW), canvas.At(1, 18));
        EXPECT_EQ(GetSysColor(c.raised ? COLOR_3DDKSHADOW : COLOR_BTNHIGHLIGHT), canvas.At(35, 18));
        EXPECT_EQ(GetSysColor(c.raised ? COLOR_BTNSHADOW : COLOR_3DLIGHT), canvas.At(34, 18));
        EXPECT_EQ(GetSysColor(COLOR_BTNFACE), canvas.At(3, 3));
    }
}

} // namespace
