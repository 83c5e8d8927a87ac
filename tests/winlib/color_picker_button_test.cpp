// The library's colour picker: both forms join the container's window set with its font,
// a click fires the connector and still reaches the parent, and the page is marked
// modified only when the click changed the colour.
#include "lib/src/Win2/Wnd/iColorPickerButton.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "winlib_test_support.h"

#include <gtest/gtest.h>

namespace {

using winlib_test::ButtonParent;
using winlib_test::ClickCounter;
using winlib_test::kCountedButtonId;
using winlib_test::PageLikeParent;

// A click handler that picks a colour, as an owner reacting to the click might.
class ColourSetter : public CObject {
public:
    explicit ColourSetter(COLORREF colour) : m_colour(colour) {}
    void OnClicked(CWnd* sender) { static_cast<CQZColorPicker*>(sender)->SelectColor(m_colour); }
    COLORREF m_colour;
};

// A page whose font is a stock font, which its controls should take over.
class FontedPage : public PageLikeParent {
public:
    HFONT m_font = static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_GETFONT)
            return reinterpret_cast<LRESULT>(m_font);
        return PageLikeParent::WindowProc(message, wParam, lParam);
    }
};

} // namespace

TEST(ColorPickerButton, BothFormsJoinTheWindowSetWithTheParentsFont)
{
    FontedPage page;
    HFONT pageFont = page.m_font;
    auto* item = new iColorPickerButton(&page, CRect(0, 0, 60, 14), WS_VISIBLE, "Fill", 701);
    auto* window = new iColorPickerButton(&page, CRect(0, 20, 60, 34), WS_VISIBLE, "Line", 702, 0, nullptr);
    for (iColorPickerButton* picker : {item, window}) {
        ASSERT_NE(nullptr, picker->m_hWnd);
        EXPECT_EQ(1u, page.m_set.count(picker));
        EXPECT_TRUE(picker->GetStyle() & WS_CHILD);
        EXPECT_EQ(reinterpret_cast<LRESULT>(pageFont), picker->SendMessage(WM_GETFONT));
    }
}

TEST(ColorPickerButton, MarksThePageOnlyWhenTheClickChangedTheColour)
{
    PageLikeParent page;
    auto* picker = new iColorPickerButton(&page, CRect(0, 0, 60, 14), WS_VISIBLE, "Fill", 701);
    picker->SelectColor(RGB(255, 0, 0));

    ClickCounter counter;
    picker->SetOnClicked(iConnector(&counter, &ClickCounter::OnClicked));
    picker->SendMessage(BM_CLICK);
    EXPECT_EQ(1, counter.m_count);
    EXPECT_EQ(0, page.marks) << "the popup opens later: nothing changed yet";

    ColourSetter same(RGB(255, 0, 0));
    picker->SetOnClicked(iConnector(&same, &ColourSetter::OnClicked));
    picker->SendMessage(BM_CLICK);
    EXPECT_EQ(0, page.marks) << "the colour it already had";

    ColourSetter other(RGB(0, 0, 128));
    picker->SetOnClicked(iConnector(&other, &ColourSetter::OnClicked));
    picker->SendMessage(BM_CLICK);
    EXPECT_EQ(1, page.marks);
    EXPECT_EQ(RGB(0, 0, 128), picker->GetEffectiveColor());
}

TEST(ColorPickerButton, ClickStillReachesTheParent)
{
    ButtonParent parent;
    auto* picker = new iColorPickerButton(&parent, CRect(0, 0, 60, 14), WS_VISIBLE, "Fill", kCountedButtonId);
    ClickCounter counter;
    picker->SetOnClicked(iConnector(&counter, &ClickCounter::OnClicked));
    picker->SendMessage(BM_CLICK);
    EXPECT_EQ(1, counter.m_count);
    EXPECT_EQ(1, parent.m_clicksSeen);
}
