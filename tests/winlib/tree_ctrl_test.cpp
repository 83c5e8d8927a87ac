// The library's tree view with check boxes, driven with the messages the system sends:
// clicks on a box (pressed and released on the same item or not), the space bar,
// disabling the boxes (their images swapped for the resource bitmaps, nothing toggled),
// the selection connector, and a tree whose check boxes came later.
#include "lib/src/Win2/Wnd/iTreeCtrl.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "framework/window_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr UINT kTreeId = 401;
// The colours of the disabled images in this program's resources.
constexpr COLORREF kUncheckedDisabledColor = RGB(10, 200, 30);
constexpr COLORREF kCheckedDisabledColor = RGB(200, 30, 10);

// Records what the parent's own map receives after the tree had its look.
class TreeParent : public iWnd {
public:
    TreeParent() : iWnd(nullptr, CRect(0, 0, 400, 300), WS_OVERLAPPEDWINDOW, "tree parent", 0, 0, nullptr) {}
    std::vector<UINT> m_parentSaw;

protected:
    void OnTreeNotify(NMHDR* header, LRESULT*) { m_parentSaw.push_back(header->code); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TreeParent, iWnd)
    ON_NOTIFY(TVN_KEYDOWN, kTreeId, OnTreeNotify)
    ON_NOTIFY(TVN_SELCHANGEDA, kTreeId, OnTreeNotify)
END_MESSAGE_MAP()

// The check and selection connectors' target.
class TreeListener : public CObject {
public:
    struct Check {
        HTREEITEM item;
        UINT flags;
        POINT point;
        WORD vkey;
        int stateDuringCall;
    };
    void OnCheck(CWnd* sender, NMHDR* header, LRESULT* result)
    {
        const auto* check = reinterpret_cast<const iTreeCheckNotify*>(header);
        m_checks.push_back({check->hItem, check->flags, check->point, check->vkey,
                            static_cast<iTreeCtrl*>(sender)->GetCheck(check->hItem)});
        m_hadResult = result != nullptr;
    }
    void OnSelChanged(CWnd*, NMHDR* header, LRESULT*)
    {
        m_selected.push_back(reinterpret_cast<const NMTREEVIEWA*>(header)->itemNew.hItem);
    }
    std::vector<Check> m_checks;
    std::vector<HTREEITEM> m_selected;
    bool m_hadResult = false;
};

class TreeCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent = std::make_unique<TreeParent>();
        m_tree = new iTreeCtrl(m_parent.get(), CRect(0, 0, 300, 200), WS_VISIBLE | TVS_CHECKBOXES, nullptr, kTreeId);
        for (const char* text : {"first", "second", "third"})
            m_items.push_back(m_tree->InsertItem(text));
        m_tree->m_onCheck = iNotifyConnector(&m_listener, &TreeListener::OnCheck);
        m_tree->m_onSelChanged = iNotifyConnector(&m_listener, &TreeListener::OnSelChanged);
    }

    // A point on the item's check box, as the control's own hit test finds it.
    CPoint BoxOf(HTREEITEM item) const
    {
        CRect text;
        EXPECT_TRUE(m_tree->GetItemRect(item, &text, TRUE));
        for (int x = text.left - 1; x >= 0; --x) {
            UINT hit = 0;
            CPoint point(x, text.CenterPoint().y);
            if (m_tree->HitTest(point, &hit) == item && (hit & TVHT_ONITEMSTATEICON))
                return point;
        }
        ADD_FAILURE() << "no check box";
        return CPoint();
    }
    CPoint TextOf(HTREEITEM item) const
    {
        CRect text;
        EXPECT_TRUE(m_tree->GetItemRect(item, &text, TRUE));
        return text.CenterPoint();
    }

    // Button down at one point and up at another. The up is queued first: the control's
    // own handling of a press waits in a loop for the button to come up.
    void Press(CPoint down, CPoint up)
    {
        m_tree->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
        m_tree->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
        test_support::PumpPending();
    }
    void Space() { m_tree->SendMessage(WM_KEYDOWN, VK_SPACE, 0); }

    std::vector<int> Checks() const
    {
        std::vector<int> checks;
        for (HTREEITEM item : m_items)
            checks.push_back(m_tree->GetCheck(item));
        return checks;
    }

    // The colour in the middle of the state image the tree now shows for index.
    COLORREF StateImageColor(int index) const
    {
        auto images = reinterpret_cast<HIMAGELIST>(m_tree->SendMessage(TVM_GETIMAGELIST, TVSIL_STATE));
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        ImageList_Draw(images, index, dc, 0, 0, ILD_NORMAL);
        COLORREF color = GetPixel(dc, 6, 6);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return color;
    }

    std::unique_ptr<TreeParent> m_parent;
    iTreeCtrl* m_tree = nullptr;
    std::vector<HTREEITEM> m_items;
    TreeListener m_listener;
};

TEST_F(TreeCtrlTest, IsMadeWithCheckBoxesAddedToTheWindow)
{
    EXPECT_TRUE(m_tree->GetStyle() & TVS_CHECKBOXES);
    EXPECT_TRUE(m_tree->GetStyle() & WS_CHILD);
    EXPECT_NE(0, m_tree->SendMessage(TVM_GETIMAGELIST, TVSIL_STATE));
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Checks());
    EXPECT_EQ(1u, m_parent->GetWindowSet().count(m_tree));

    auto* window = new iTreeCtrl(m_parent.get(), CRect(0, 0, 100, 100), TVS_CHECKBOXES, "ignored", kTreeId + 1, 0,
                                 nullptr);
    EXPECT_TRUE(window->GetStyle() & TVS_CHECKBOXES);
    EXPECT_STREQ("iTreeCtrl", window->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(1u, m_parent->GetWindowSet().count(window));
}

TEST_F(TreeCtrlTest, AClickOnABoxTogglesItAndTellsTheConnectorWithoutSelecting)
{
    m_tree->SelectItem(m_items[0]);
    m_listener.m_selected.clear();
    CPoint box = BoxOf(m_items[1]);
    Press(box, box);
    EXPECT_EQ((std::vector<int>{0, 1, 0}), Checks());
    ASSERT_EQ(1u, m_listener.m_checks.size());
    const TreeListener::Check& check = m_listener.m_checks[0];
    EXPECT_EQ(m_items[1], check.item);
    EXPECT_EQ(box.x, check.point.x);
    EXPECT_EQ(box.y, check.point.y);
    EXPECT_EQ(1, check.stateDuringCall);
    EXPECT_EQ(m_items[0], m_tree->GetSelectedItem());
    EXPECT_TRUE(m_listener.m_selected.empty());

    Press(box, box);
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Checks());
    EXPECT_EQ(2u, m_listener.m_checks.size());
}

TEST_F(TreeCtrlTest, PressAndReleaseOnDifferentBoxesTogglesNothing)
{
    Press(BoxOf(m_items[0]), BoxOf(m_items[2]));
    Press(BoxOf(m_items[0]), TextOf(m_items[0]));
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Checks());
    EXPECT_TRUE(m_listener.m_checks.empty());
}

TEST_F(TreeCtrlTest, AClickOnTheTextSelectsAsUsual)
{
    Press(TextOf(m_items[2]), TextOf(m_items[2]));
    EXPECT_EQ(m_items[2], m_tree->GetSelectedItem());
    EXPECT_EQ(std::vector<HTREEITEM>{m_items[2]}, m_listener.m_selected);
    EXPECT_EQ(std::vector<UINT>{TVN_SELCHANGEDA}, m_parent->m_parentSaw);
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Checks());
}

TEST_F(TreeCtrlTest, TheSpaceBarTogglesTheSelectedItemOnceAndTheConnectorSeesTheNewState)
{
    m_tree->SelectItem(m_items[1]);
    m_parent->m_parentSaw.clear();
    Space();
    EXPECT_EQ((std::vector<int>{0, 1, 0}), Checks());
    ASSERT_EQ(1u, m_listener.m_checks.size());
    EXPECT_EQ(m_items[1], m_listener.m_checks[0].item);
    EXPECT_EQ(VK_SPACE, m_listener.m_checks[0].vkey);
    EXPECT_EQ(1, m_listener.m_checks[0].stateDuringCall);
    EXPECT_TRUE(m_listener.m_hadResult);
    EXPECT_EQ(std::vector<UINT>{static_cast<UINT>(TVN_KEYDOWN)}, m_parent->m_parentSaw);

    Space();
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Checks());
    EXPECT_EQ(0, m_listener.m_checks[1].stateDuringCall);
}

TEST_F(TreeCtrlTest, TheSpaceBarWithoutASelectionDoesNothing)
{
    ASSERT_EQ(nullptr, m_tree->GetSelectedItem());
    Space();
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Checks());
    EXPECT_TRUE(m_listener.m_checks.empty());
}

TEST_F(TreeCtrlTest, DisabledBoxesShowTheirImagesAndKeepTheirState)
{
    m_tree->SetCheck(m_items[0], TRUE);
    auto normal = m_tree->SendMessage(TVM_GETIMAGELIST, TVSIL_STATE);
    COLORREF normalUnchecked = StateImageColor(1);
    ASSERT_NE(kUncheckedDisabledColor, normalUnchecked);

    EXPECT_FALSE(m_tree->EnableCheckBoxes(FALSE));
    auto disabled = m_tree->SendMessage(TVM_GETIMAGELIST, TVSIL_STATE);
    EXPECT_NE(normal, disabled);
    EXPECT_EQ(kUncheckedDisabledColor, StateImageColor(1));
    EXPECT_EQ(kCheckedDisabledColor, StateImageColor(2));

    Press(BoxOf(m_items[1]), BoxOf(m_items[1]));
    m_tree->SelectItem(m_items[0]);
    Space();
    EXPECT_EQ((std::vector<int>{1, 0, 0}), Checks());
    EXPECT_TRUE(m_listener.m_checks.empty());

    EXPECT_TRUE(m_tree->EnableCheckBoxes(TRUE));
    EXPECT_EQ(normal, m_tree->SendMessage(TVM_GETIMAGELIST, TVSIL_STATE));
    EXPECT_EQ(normalUnchecked, StateImageColor(1));
    // The disabled images are made once.
    EXPECT_FALSE(m_tree->EnableCheckBoxes(FALSE));
    EXPECT_EQ(disabled, m_tree->SendMessage(TVM_GETIMAGELIST, TVSIL_STATE));
    EXPECT_FALSE(m_tree->EnableCheckBoxes(FALSE)) << "the same setting again";
}

TEST_F(TreeCtrlTest, WithoutTheBitmapsTheDisabledBoxesLookNormal)
{
    COLORREF normalChecked = StateImageColor(2);
    HINSTANCE resources = AfxGetResourceHandle();
    AfxSetResourceHandle(GetModuleHandleA("user32.dll"));
    BOOL enabled = m_tree->EnableCheckBoxes(FALSE);
    AfxSetResourceHandle(resources);
    EXPECT_FALSE(enabled);
    EXPECT_EQ(normalChecked, StateImageColor(2));
}

TEST_F(TreeCtrlTest, AnItemWithoutAStateImageIsCheckedByAToggle)
{
    auto* plain = new iTreeCtrl(m_parent.get(), CRect(0, 0, 100, 100), WS_VISIBLE, nullptr, kTreeId + 1);
    HTREEITEM item = plain->InsertItem("bare");
    EXPECT_EQ(-1, plain->GetCheck(item));
    plain->ToggleCheck(item);
    EXPECT_EQ(1, plain->GetCheck(item));
    plain->ToggleCheck(item);
    EXPECT_EQ(0, plain->GetCheck(item));
}

TEST_F(TreeCtrlTest, CheckBoxesAddedLaterGetNoneOfTheTreesOwnHandling)
{
    TreeListener listener;
    auto* later = new iTreeCtrl(m_parent.get(), CRect(0, 0, 300, 200), WS_VISIBLE, nullptr, kTreeId + 1);
    later->m_onCheck = iNotifyConnector(&listener, &TreeListener::OnCheck);
    later->ModifyStyle(0, TVS_CHECKBOXES);
    HTREEITEM item = later->InsertItem("late");
    later->SelectItem(item);
    later->SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(listener.m_checks.empty());
}

} // namespace
