// The library's extended combo box on a real parent window: both creating forms, each
// notification reaching its own connector and then the parent, page modification for
// selection and edit changes only, and the selected and edit texts read from the
// control's own records and edit box.
#include "lib/src/Win2/Wnd/iComboBoxEx.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "combo_test_support.h"
#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using winlib_test::FireCounter;
using winlib_test::kComboId;

// Adds an entry at the end of the control's list, as its owner does.
int InsertEntry(CWnd* combo, const char* text)
{
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = -1;
    item.pszText = const_cast<LPSTR>(text);
    return static_cast<int>(combo->SendMessage(CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

class ComboBoxExTest : public winlib_test::ComboTest<iComboBoxEx> {
protected:
    // A control owned by the parent's window set.
    iComboBoxEx* NewComboEx(DWORD style = CBS_DROPDOWNLIST)
    {
        return new iComboBoxEx(m_parent.get(), CRect(10, 10, 160, 200), style | WS_VISIBLE, nullptr, kComboId);
    }
};

TEST_F(ComboBoxExTest, BothFormsMakeAnExtendedComboWithTheParentsFontInTheParentsSet)
{
    iComboBoxEx* item = NewComboEx();
    auto* window = new iComboBoxEx(m_parent.get(), CRect(10, 40, 160, 200), CBS_DROPDOWN, "ignored",
                                   kComboId + 1, WS_EX_ACCEPTFILES, nullptr);
    for (iComboBoxEx* combo : {item, window}) {
        ASSERT_TRUE(IsWindow(combo->m_hWnd));
        char className[32] = {};
        GetClassNameA(combo->m_hWnd, className, sizeof className);
        EXPECT_STRCASEEQ("ComboBoxEx32", className);
        EXPECT_TRUE(combo->GetStyle() & WS_CHILD);
        EXPECT_EQ(m_parent->m_hWnd, GetParent(combo->m_hWnd));
        EXPECT_EQ(reinterpret_cast<LRESULT>(m_parent->m_font), combo->SendMessage(WM_GETFONT));
        EXPECT_EQ(1u, m_parent->GetWindowSet().count(combo));
    }
    EXPECT_EQ(kComboId, static_cast<UINT>(item->GetDlgCtrlID()));
    EXPECT_EQ(kComboId + 1, static_cast<UINT>(window->GetDlgCtrlID()));
    EXPECT_TRUE(window->GetExStyle() & WS_EX_ACCEPTFILES);

    // The container deletes both with itself, and their windows with them.
    HWND itemWindow = item->m_hWnd;
    HWND windowWindow = window->m_hWnd;
    m_parent.reset();
    EXPECT_FALSE(IsWindow(itemWindow));
    EXPECT_FALSE(IsWindow(windowWindow));
}

TEST_F(ComboBoxExTest, DeletingTheControlDestroysItsWindowAndLeavesTheSet)
{
    iComboBoxEx* combo = NewComboEx();
    HWND window = combo->m_hWnd;
    delete combo;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(m_parent->GetWindowSet().empty());
}

TEST_F(ComboBoxExTest, AControlWithoutParentJoinsNoSet)
{
    iComboBoxEx orphan(nullptr, CRect(0, 0, 100, 100), WS_POPUP | CBS_DROPDOWNLIST, nullptr, 0, 0, nullptr);
    EXPECT_EQ(nullptr, orphan.GetWindowSetAccess().GetSet());
}

TEST_F(ComboBoxExTest, EachNotificationFiresItsConnectorThenReachesTheParent)
{
    ExpectEachNotificationFiresItsOwnConnector(NewComboEx());
}

TEST_F(ComboBoxExTest, AnEmptyConnectorIsSkippedAndTheParentStillHears)
{
    iComboBoxEx* combo = NewComboEx();
    Notify(combo, CBN_SELCHANGE);
    Notify(combo, CBN_CLOSEUP);
    EXPECT_EQ((std::vector<int>{CBN_SELCHANGE, CBN_CLOSEUP}), m_parent->m_parentSaw);
    EXPECT_EQ(1, m_parent->m_modifiedMarks);
}

TEST_F(ComboBoxExTest, OffAPageAChangeMarksNothing)
{
    m_parent->m_isPage = false;
    iComboBoxEx* combo = NewComboEx();
    Notify(combo, CBN_SELCHANGE);
    Notify(combo, CBN_EDITUPDATE);
    EXPECT_EQ(0, m_parent->m_modifiedMarks);
}

TEST_F(ComboBoxExTest, TheUsersSelectionChangeTravelsFromTheInnerListToTheConnector)
{
    iComboBoxEx* combo = NewComboEx();
    FireCounter counter;
    combo->m_onSelChange = iConnector(&counter, &FireCounter::OnFired);
    InsertEntry(combo, "first");
    InsertEntry(combo, "second");
    combo->SetCurSel(0);
    // The arrow key moves the selection of the closed inner list, which reports it to the
    // extended combo box, which reports it to the parent as its own.
    auto inner = reinterpret_cast<HWND>(combo->SendMessage(CBEM_GETCOMBOCONTROL));
    ASSERT_TRUE(inner);
    SendMessageA(inner, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(1, counter.m_count);
    EXPECT_EQ(combo, counter.m_sender);
    EXPECT_EQ(1, m_parent->m_modifiedMarks);
    EXPECT_STREQ("second", combo->GetSelectedText());
}

TEST_F(ComboBoxExTest, TheSelectedTextIsTheSelectedEntrysOrEmpty)
{
    iComboBoxEx* combo = NewComboEx();
    EXPECT_STREQ("", combo->GetSelectedText()) << "empty list";
    // Longer than a first guess at a buffer, so that it is read whole only by asking again.
    const std::string longName(700, 'n');
    InsertEntry(combo, "alpha");
    InsertEntry(combo, longName.c_str());
    InsertEntry(combo, "");
    EXPECT_STREQ("", combo->GetSelectedText()) << "nothing selected";

    struct Case {
        const char* why;
        int index;
        std::string text;
    };
    const Case kCases[] = {
        {"first entry", 0, "alpha"},
        {"text longer than the first buffer", 1, longName},
        {"an entry without text", 2, ""},
        {"selection cleared again", -1, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        combo->SetCurSel(c.index);
        EXPECT_EQ(c.text, std::string(combo->GetSelectedText()));
    }
}

TEST_F(ComboBoxExTest, TheEditTextComesFromTheEditBoxAndADropListHasNone)
{
    iComboBoxEx* dropDown = NewComboEx(CBS_DROPDOWN);
    InsertEntry(dropDown, "listed");
    auto edit = reinterpret_cast<HWND>(dropDown->SendMessage(CBEM_GETEDITCONTROL));
    ASSERT_TRUE(edit);
    SetWindowTextA(edit, "typed by hand");
    EXPECT_STREQ("typed by hand", dropDown->GetEditText());
    EXPECT_STREQ("", dropDown->GetSelectedText());

    iComboBoxEx* dropList = NewComboEx(CBS_DROPDOWNLIST);
    InsertEntry(dropList, "listed");
    dropList->SetCurSel(0);
    EXPECT_STREQ("listed", dropList->GetSelectedText());
    EXPECT_STREQ("", dropList->GetEditText());
}

TEST_F(ComboBoxExTest, IsMadeByItsRuntimeClass)
{
    std::unique_ptr<CObject> made(RUNTIME_CLASS(iComboBoxEx)->CreateObject());
    ASSERT_NE(nullptr, made);
    EXPECT_STREQ("iComboBoxEx", made->GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CComboBoxEx)));
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CComboBox)));
    EXPECT_STREQ("CComboBoxEx", RUNTIME_CLASS(CComboBoxEx)->m_lpszClassName);
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CComboBoxEx)->CreateObject()) << "not dynamically creatable";
}

} // namespace
