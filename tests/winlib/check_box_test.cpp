// The library's check box on a container that stands for a property page: always an
// automatic check box, and every click marks the page before it reaches the click
// connector and the parent.
#include "lib/src/Win2/Wnd/iCheckBox.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using winlib_test::ClickCounter;

constexpr UINT kBoxId = 501;

class CheckBoxPage : public iWnd {
public:
    CheckBoxPage() : iWnd(nullptr, CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW, "page", 0, 0, nullptr) {}
    bool IsPropertyPage() const override { return m_isPage; }
    void MarkPageModified() override { ++m_modifiedMarks; }
    bool m_isPage = true;
    int m_modifiedMarks = 0;
    int m_clicksSeen = 0;

protected:
    void OnBoxClicked() { ++m_clicksSeen; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CheckBoxPage, iWnd)
    ON_BN_CLICKED(kBoxId, OnBoxClicked)
END_MESSAGE_MAP()

TEST(CheckBox, IsAnAutomaticCheckBoxWhateverTypeItWasGiven)
{
    CheckBoxPage page;
    struct Case {
        const char* why;
        DWORD style;
        UINT type;
    };
    const Case kCases[] = {
        {"a push button style", BS_PUSHBUTTON, BS_AUTOCHECKBOX},
        {"already a check box", BS_CHECKBOX, BS_AUTOCHECKBOX},
        {"another type keeps its bits", BS_RADIOBUTTON, BS_RADIOBUTTON | BS_AUTOCHECKBOX},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        iCheckBox item(&page, CRect(0, 0, 100, 20), c.style, "item", kBoxId);
        iCheckBox window(&page, CRect(0, 30, 100, 50), c.style, "window", kBoxId + 1, 0, nullptr);
        EXPECT_EQ(c.type, item.GetButtonStyle() & 0x0F);
        EXPECT_EQ(c.type, window.GetButtonStyle() & 0x0F);
        EXPECT_EQ(1u, page.GetWindowSet().count(&item));
    }
    EXPECT_TRUE(page.GetWindowSet().empty());
}

TEST(CheckBox, EveryClickMarksThePageThenFiresAndReachesTheParent)
{
    CheckBoxPage page;
    auto* box = new iCheckBox(&page, CRect(0, 0, 100, 20), WS_VISIBLE, "Always Backup Copy", kBoxId);
    ClickCounter counter;
    box->SetOnClicked(iConnector(&counter, &ClickCounter::OnClicked));

    box->SendMessage(BM_CLICK);
    EXPECT_EQ(BST_CHECKED, box->GetCheck());
    box->SendMessage(BM_CLICK);
    EXPECT_EQ(BST_UNCHECKED, box->GetCheck());
    // Toggled back: still two changes as far as the page is concerned.
    EXPECT_EQ(2, page.m_modifiedMarks);
    EXPECT_EQ(2, counter.m_count);
    EXPECT_EQ(2, page.m_clicksSeen);
}

TEST(CheckBox, OffAPageAClickMarksNothing)
{
    CheckBoxPage parent;
    parent.m_isPage = false;
    auto* box = new iCheckBox(&parent, CRect(0, 0, 100, 20), WS_VISIBLE, "box", kBoxId);
    box->SendMessage(BM_CLICK);
    EXPECT_EQ(0, parent.m_modifiedMarks);
    EXPECT_EQ(1, parent.m_clicksSeen);
}

} // namespace
