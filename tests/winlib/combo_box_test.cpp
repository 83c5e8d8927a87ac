// The library's combo box on a real parent window: both creating forms, each
// notification reaching its own connector and then the parent, page modification for
// selection and edit changes only, and the item-data operations.
#include "lib/src/Win2/Wnd/iComboBox.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using winlib_test::ComboPage;
using winlib_test::FireCounter;
using winlib_test::kComboId;

class ComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override { m_parent = std::make_unique<ComboPage>(); }

    // A combo box owned by the parent's window set.
    iComboBox* NewCombo(DWORD style = CBS_DROPDOWNLIST | WS_VSCROLL)
    {
        return new iComboBox(m_parent.get(), CRect(10, 10, 160, 200), style | WS_VISIBLE, nullptr, kComboId);
    }

    // What the control reports to its parent, as the system sends it.
    void Notify(iComboBox* combo, int code)
    {
        m_parent->SendMessage(WM_COMMAND, MAKEWPARAM(kComboId, code), reinterpret_cast<LPARAM>(combo->m_hWnd));
    }

    std::unique_ptr<ComboPage> m_parent;
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
    iComboBox* combo = NewCombo();
    struct Row {
        int code;
        iConnector iComboBox::*slot;
        bool marksPage;
    };
    const Row kRows[] = {
        {CBN_ERRSPACE, &iComboBox::m_onErrSpace, false},
        {CBN_SELCHANGE, &iComboBox::m_onSelChange, true},
        {CBN_DBLCLK, &iComboBox::m_onDblClk, false},
        {CBN_SETFOCUS, &iComboBox::m_onSetFocus, false},
        {CBN_KILLFOCUS, &iComboBox::m_onKillFocus, false},
        {CBN_EDITCHANGE, &iComboBox::m_onEditChange, true},
        {CBN_EDITUPDATE, &iComboBox::m_onEditUpdate, true},
        {CBN_DROPDOWN, &iComboBox::m_onDropDown, false},
        {CBN_CLOSEUP, &iComboBox::m_onCloseUp, false},
        {CBN_SELENDOK, &iComboBox::m_onSelEndOk, false},
        {CBN_SELENDCANCEL, &iComboBox::m_onSelEndCancel, false},
    };
    std::vector<FireCounter> counters(std::size(kRows));
    for (size_t i = 0; i < std::size(kRows); ++i)
        combo->*(kRows[i].slot) = iConnector(&counters[i], &FireCounter::OnFired);

    for (size_t i = 0; i < std::size(kRows); ++i) {
        SCOPED_TRACE("notification " + std::to_string(kRows[i].code));
        m_parent->m_parentSaw.clear();
        int marksBefore = m_parent->m_modifiedMarks;
        Notify(combo, kRows[i].code);
        for (size_t j = 0; j < counters.size(); ++j)
            EXPECT_EQ(j == i ? 1 : 0, counters[j].m_count - (j < i ? 1 : 0)) << "connector " << j;
        EXPECT_EQ(combo, counters[i].m_sender);
        EXPECT_EQ(std::vector<int>{kRows[i].code}, m_parent->m_parentSaw);
        EXPECT_EQ(marksBefore + (kRows[i].marksPage ? 1 : 0), m_parent->m_modifiedMarks);
    }
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
