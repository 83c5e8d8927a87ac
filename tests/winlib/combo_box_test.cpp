// The library's combo box on a real parent window: both creating forms, each
// notification reaching its own connector and then the parent, page modification for
// selection and edit changes only, and the item-data operations.
#include "lib/src/Win2/Wnd/iComboBox.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "combo_test_support.h"
#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using winlib_test::FireCounter;
using winlib_test::kComboId;

class ComboBoxTest : public winlib_test::ComboTest<iComboBox> {
protected:
    // A combo box owned by the parent's window set.
    iComboBox* NewCombo(DWORD style = CBS_DROPDOWNLIST | WS_VSCROLL)
    {
        return new iComboBox(m_parent.get(), CRect(10, 10, 160, 200), style | WS_VISIBLE, nullptr, kComboId);
    }
};

TEST_F(ComboBoxTest, BothFormsMakeAChildWithTheParentsFontInTheParentsSet)
{
    HFONT font = m_parent->m_font;
    iComboBox* item = NewCombo();
    auto* window = new iComboBox(m_parent.get(), CRect(10, 40, 160, 200), CBS_DROPDOWN, "ignored", kComboId + 1,
                                 WS_EX_ACCEPTFILES, nullptr);
    for (iComboBox* combo : {item, window}) {
        ASSERT_TRUE(IsWindow(combo->m_hWnd));
        char className[32] = {};
        GetClassNameA(combo->m_hWnd, className, sizeof(className));
        EXPECT_STRCASEEQ("ComboBox", className);
        EXPECT_TRUE(combo->GetStyle() & WS_CHILD);
        EXPECT_EQ(m_parent->m_hWnd, GetParent(combo->m_hWnd));
        EXPECT_EQ(reinterpret_cast<LRESULT>(font), combo->SendMessage(WM_GETFONT));
        EXPECT_EQ(1u, m_parent->GetWindowSet().count(combo));
        EXPECT_EQ(0, combo->GetCount());
    }
    EXPECT_EQ(kComboId + 1, static_cast<UINT>(window->GetDlgCtrlID()));
    EXPECT_TRUE(window->GetExStyle() & WS_EX_ACCEPTFILES);

    // The container deletes both with itself.
    HWND itemWindow = item->m_hWnd;
    m_parent.reset();
    EXPECT_FALSE(IsWindow(itemWindow));
}

TEST_F(ComboBoxTest, AControlWithoutParentJoinsNoSet)
{
    iComboBox orphan(nullptr, CRect(0, 0, 100, 100), WS_POPUP | CBS_DROPDOWNLIST, nullptr, 0, 0, nullptr);
    EXPECT_EQ(nullptr, orphan.GetWindowSetAccess().GetSet());
}

TEST_F(ComboBoxTest, EachNotificationFiresItsConnectorThenReachesTheParent)
{
    ExpectEachNotificationFiresItsOwnConnector(NewCombo());
}

TEST_F(ComboBoxTest, AnEmptyConnectorIsSkippedAndTheParentStillHears)
{
    iComboBox* combo = NewCombo();
    Notify(combo, CBN_SELCHANGE);
    Notify(combo, CBN_DROPDOWN);
    EXPECT_EQ((std::vector<int>{CBN_SELCHANGE, CBN_DROPDOWN}), m_parent->m_parentSaw);
}

TEST_F(ComboBoxTest, OffAPageAChangeMarksNothing)
{
    m_parent->m_isPage = false;
    iComboBox* combo = NewCombo();
    Notify(combo, CBN_SELCHANGE);
    Notify(combo, CBN_EDITCHANGE);
    EXPECT_EQ(0, m_parent->m_modifiedMarks);
}

TEST_F(ComboBoxTest, TheUsersSelectionChangeReachesTheConnectorAndMarksThePageEveryTime)
{
    iComboBox* combo = NewCombo();
    FireCounter counter;
    combo->SetOnSelChange(iConnector(&counter, &FireCounter::OnFired));
    combo->AddItem(10, "ten");
    combo->AddItem(20, "twenty");
    combo->SetCurSel(0);
    // The arrow keys move the selection of a closed drop-down list and report it.
    combo->SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    combo->SendMessage(WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(2, counter.m_count);
    EXPECT_EQ(2, m_parent->m_modifiedMarks);
    EXPECT_EQ(10u, combo->GetSelectedData());
}

TEST_F(ComboBoxTest, ItemDataStaysWithItsEntryInASortedList)
{
    iComboBox* combo = NewCombo(CBS_DROPDOWNLIST | CBS_SORT);
    EXPECT_EQ(0, combo->AddItem(3, "cherry"));
    EXPECT_EQ(0, combo->AddItem(1, "apple"));
    EXPECT_EQ(1, combo->AddItem(2, "banana"));
    const char* kTexts[] = {"apple", "banana", "cherry"};
    for (DWORD value = 1; value <= 3; ++value) {
        combo->SelectByData(value);
        EXPECT_EQ(static_cast<int>(value) - 1, combo->GetCurSel());
        EXPECT_EQ(value, combo->GetSelectedData());
        EXPECT_STREQ(kTexts[value - 1], combo->GetSelectedText());
    }
}

TEST_F(ComboBoxTest, SelectingByDataTakesTheFirstMatchOrClearsTheSelection)
{
    iComboBox* combo = NewCombo();
    EXPECT_EQ(0xFFFFFFFFu, combo->GetSelectedData()) << "empty list";
    EXPECT_STREQ("", combo->GetSelectedText());
    combo->AddItem(7, "first seven");
    combo->AddItem(5, "five");
    combo->AddItem(7, "second seven");
    EXPECT_EQ(0xFFFFFFFFu, combo->GetSelectedData()) << "nothing selected";

    combo->SelectByData(7);
    EXPECT_EQ(0, combo->GetCurSel());
    combo->SelectByData(5);
    EXPECT_EQ(1, combo->GetCurSel());
    combo->SelectByData(99);
    EXPECT_EQ(CB_ERR, combo->GetCurSel());
    EXPECT_EQ(0xFFFFFFFFu, combo->GetSelectedData());
    EXPECT_STREQ("", combo->GetSelectedText());
}

TEST_F(ComboBoxTest, TheEditTextComesFromTheEditFieldOnly)
{
    iComboBox* dropDown = NewCombo(CBS_DROPDOWN);
    dropDown->AddItem(1, "listed");
    dropDown->SetWindowText("typed by hand");
    EXPECT_STREQ("typed by hand", dropDown->GetEditText());
    EXPECT_STREQ("", dropDown->GetSelectedText());

    iComboBox* dropList = NewCombo(CBS_DROPDOWNLIST);
    dropList->AddItem(1, "listed");
    dropList->SetCurSel(0);
    EXPECT_STREQ("", dropList->GetEditText());
}

TEST_F(ComboBoxTest, IsMadeByItsRuntimeClass)
{
    std::unique_ptr<CObject> made(RUNTIME_CLASS(iComboBox)->CreateObject());
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CComboBox)));
    EXPECT_STREQ("iComboBox", made->GetRuntimeClass()->m_lpszClassName);
}

} // namespace
