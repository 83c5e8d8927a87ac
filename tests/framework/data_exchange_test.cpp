// Dialog data exchange: values both ways for each kind of control, refused input (the
// box, the focus, the exchange stopping at that field), the catch semantics of
// UpdateData, the notification lockout, and a modal dialog kept open by a failed check.
#include "framework/Framework.h"

#include "dialog_template_builder.h"
#include "dialog_test_support.h"
#include "window_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

using test_support::DialogTemplateBuilder;
using test_support::MessageBoxRecorder;
using test_support::ScriptedDialog;

enum : WORD {
    kTextId = 201,
    kIntId,
    kUintId,
    kLongId,
    kDoubleId,
    kCheckId,
    kRadio1Id,
    kRadio2Id,
    kRadio3Id,
    kComboId,
    kListId,
    kDropListId,
    kAfterRadiosId,
};

DialogTemplateBuilder ExchangeTemplate()
{
    using namespace test_support;
    DialogTemplateBuilder t(WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 260, 200, "Exchange");
    const DWORD edit = WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    t.Add(kEditAtom, kTextId, edit, 5, 5, 100, 12)
        .Add(kEditAtom, kIntId, edit, 5, 20, 100, 12)
        .Add(kEditAtom, kUintId, edit, 5, 35, 100, 12)
        .Add(kEditAtom, kLongId, edit, 5, 50, 100, 12)
        .Add(kEditAtom, kDoubleId, edit, 5, 65, 100, 12)
        .Add(kButtonAtom, kCheckId, WS_TABSTOP | BS_AUTO3STATE, 5, 80, 60, 10, "Check")
        .Add(kButtonAtom, kRadio1Id, WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 5, 95, 60, 10, "A")
        .Add(kButtonAtom, kRadio2Id, BS_AUTORADIOBUTTON, 5, 107, 60, 10, "B")
        .Add(kButtonAtom, kRadio3Id, BS_AUTORADIOBUTTON, 5, 119, 60, 10, "C")
        .Add(kButtonAtom, kAfterRadiosId, WS_GROUP | BS_AUTORADIOBUTTON, 5, 131, 60, 10, "other group")
        .Add(kComboBoxAtom, kComboId, WS_TABSTOP | CBS_DROPDOWN | WS_VSCROLL, 120, 5, 100, 80)
        .Add(kListBoxAtom, kListId, WS_TABSTOP | WS_BORDER | LBS_NOTIFY, 120, 25, 100, 40)
        .Add(kComboBoxAtom, kDropListId, WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, 120, 70, 100, 80);
    return t;
}

void FillLists(HWND dialog)
{
    for (const char* item : {"Red", "Green", "Blue"}) {
        SendDlgItemMessageA(dialog, kComboId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendDlgItemMessageA(dialog, kListId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendDlgItemMessageA(dialog, kDropListId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
}

std::string ItemText(HWND dialog, int id)
{
    char text[128] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

struct Values {
    CString text;
    int number = 0;
    UINT unsignedNumber = 0;
    long longNumber = 0;
    double real = 0;
    int check = 0;
    int radio = -1;
    int comboIndex = -1;
    int listIndex = -1;
    CString comboText;
    CString dropText;
};

// A modeless dialog whose exchange is the table of members above, plus optional checks.
class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog.exchange = [this](CDataExchange* pDX) {
            DDX_Text(pDX, kTextId, v.text);
            DDX_Text(pDX, kIntId, v.number);
            if (checkNumber)
                DDV_MinMaxInt(pDX, v.number, 0, 10);
            DDX_Text(pDX, kUintId, v.unsignedNumber);
            DDX_Text(pDX, kLongId, v.longNumber);
            DDX_Text(pDX, kDoubleId, v.real);
            DDX_Check(pDX, kCheckId, v.check);
            DDX_Radio(pDX, kRadio1Id, v.radio);
            DDX_CBIndex(pDX, kComboId, v.comboIndex);
            DDX_LBIndex(pDX, kListId, v.listIndex);
            DDX_CBString(pDX, kComboId, v.comboText);
            DDX_CBString(pDX, kDropListId, v.dropText);
        };
        ASSERT_TRUE(dialog.CreateIndirect(tmpl.get(), nullptr));
        FillLists(dialog.m_hWnd);
    }
    void TearDown() override { dialog.DestroyWindow(); }

    HWND Item(int id) const { return ::GetDlgItem(dialog.m_hWnd, id); }
    void SetText(int id, const char* text) { ::SetWindowTextA(Item(id), text); }

    DialogTemplateBuilder tmpl = ExchangeTemplate();
    ScriptedDialog dialog;
    Values v;
    bool checkNumber = false;
};

TEST_F(ExchangeTest, LoadsEveryKindOfControl)
{
    v.text = "name";
    v.number = -42;
    v.unsignedNumber = 4000000000u;
    v.longNumber = -2000000000L;
    v.real = 2.5;
    v.check = BST_INDETERMINATE;
    v.radio = 1;
    v.comboIndex = 2;
    v.listIndex = 1;
    v.comboText = "gr";  // a prefix selects the first entry that begins with it
    v.dropText = "Blue";
    MessageBoxRecorder boxes;
    ASSERT_TRUE(dialog.UpdateData(FALSE));
    EXPECT_EQ(0, boxes.count());

    EXPECT_EQ("name", ItemText(dialog.m_hWnd, kTextId));
    EXPECT_EQ("-42", ItemText(dialog.m_hWnd, kIntId));
    EXPECT_EQ("4000000000", ItemText(dialog.m_hWnd, kUintId));
    EXPECT_EQ("-2000000000", ItemText(dialog.m_hWnd, kLongId));
    EXPECT_EQ("2.5", ItemText(dialog.m_hWnd, kDoubleId));
    EXPECT_EQ(BST_INDETERMINATE, SendMessageA(Item(kCheckId), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(Item(kRadio1Id), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageA(Item(kRadio2Id), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(Item(kRadio3Id), BM_GETCHECK, 0, 0));
    EXPECT_EQ(1, SendMessageA(Item(kListId), LB_GETCURSEL, 0, 0));
    // DDX_CBString ran after DDX_CBIndex on the same combo box: its selection wins.
    EXPECT_EQ(1, SendMessageA(Item(kComboId), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(2, SendMessageA(Item(kDropListId), CB_GETCURSEL, 0, 0));
}

TEST_F(ExchangeTest, SavesEveryKindOfControl)
{
    SetText(kTextId, "typed");
    SetText(kIntId, "  17 ");
    SetText(kUintId, "+3000000000");
    SetText(kLongId, "-5");
    SetText(kDoubleId, "1e3");
    SendMessageA(Item(kCheckId), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(Item(kRadio3Id), BM_SETCHECK, BST_CHECKED, 0);
    // A button of the next group is no part of this one.
    SendMessageA(Item(kAfterRadiosId), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(Item(kComboId), CB_SETCURSEL, 0, 0);
    SendMessageA(Item(kListId), LB_SETCURSEL, 2, 0);
    SendMessageA(Item(kDropListId), CB_SETCURSEL, 1, 0);

    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_STREQ("typed", v.text);
    EXPECT_EQ(17, v.number);
    EXPECT_EQ(3000000000u, v.unsignedNumber);
    EXPECT_EQ(-5L, v.longNumber);
    EXPECT_DOUBLE_EQ(1000.0, v.real);
    EXPECT_EQ(BST_CHECKED, v.check);
    EXPECT_EQ(2, v.radio);
    EXPECT_EQ(0, v.comboIndex);
    EXPECT_EQ(2, v.listIndex);
    EXPECT_STREQ("Red", v.comboText);
    EXPECT_STREQ("Green", v.dropText);
}

TEST_F(ExchangeTest, NothingSelectedSavesMinusOne)
{
    v.radio = 5;
    v.comboIndex = 5;
    v.listIndex = 5;
    SetText(kIntId, "0");
    SetText(kUintId, "0");
    SetText(kLongId, "0");
    SetText(kDoubleId, "0");
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(-1, v.radio);
    EXPECT_EQ(-1, v.comboIndex);
    EXPECT_EQ(-1, v.listIndex);
}

TEST_F(ExchangeTest, LoadingAComboTextThatNoEntryBeginsWithPutsItInTheEdit)
{
    v.comboText = "Purple";
    ASSERT_TRUE(dialog.UpdateData(FALSE));
    EXPECT_EQ("Purple", ItemText(dialog.m_hWnd, kComboId));
}

// Unreadable numbers: the box names what is wanted, the focus and selection go to the
// edit, the member keeps its value and the fields after it are not read.
TEST_F(ExchangeTest, RefusesUnreadableNumbers)
{
    struct Case {
        const char* why;
        int id;
        const char* text;
        const char* message;
    };
    const Case kCases[] = {
        {"empty", kIntId, "", "Please enter an integer."},
        {"trailing letters", kIntId, "12abc", "Please enter an integer."},
        {"fraction", kIntId, "1.5", "Please enter an integer."},
        {"one past INT_MAX", kIntId, "2147483648", "Please enter an integer."},
        {"minus sign for an unsigned", kUintId, "-1", "Please enter a positive integer."},
        {"one past UINT_MAX", kUintId, "4294967296", "Please enter a positive integer."},
        {"hexadecimal", kLongId, "0x10", "Please enter an integer."},
        {"not a number", kDoubleId, "abc", "Please enter a number."},
        {"infinity", kDoubleId, "inf", "Please enter a number."},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        SetText(kIntId, "1");
        SetText(kUintId, "1");
        SetText(kLongId, "1");
        SetText(kDoubleId, "1");
        SendMessageA(Item(kListId), LB_SETCURSEL, 0, 0);
        SetText(c.id, c.text);
        v = Values();
        v.number = v.listIndex = 77;
        v.unsignedNumber = 77;
        v.longNumber = 77;
        v.real = 77;
        MessageBoxRecorder boxes;
        EXPECT_FALSE(dialog.UpdateData(TRUE));
        EXPECT_EQ(1, boxes.count());
        EXPECT_EQ(c.message, boxes.text());
        EXPECT_EQ(Item(c.id), ::GetFocus());
        DWORD start = 1, end = 0;
        SendMessageA(Item(c.id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(0u, start);
        EXPECT_EQ(std::strlen(c.text), end);
        EXPECT_EQ(77, v.listIndex);  // after the refused field: not read
        if (c.id == kIntId) {
            EXPECT_EQ(77, v.number);
        }
        if (c.id == kDoubleId) {
            EXPECT_EQ(77, v.real);
        }
    }
}

TEST_F(ExchangeTest, RangeCheckStopsTheExchangeAtItsField)
{
    checkNumber = true;
    SetText(kTextId, "kept");
    SetText(kIntId, "11");
    SetText(kUintId, "5");
    v.unsignedNumber = 77;
    MessageBoxRecorder boxes;
    EXPECT_FALSE(dialog.UpdateData(TRUE));
    EXPECT_EQ(1, boxes.count());
    EXPECT_EQ("Please enter an integer between 0 and 10.", boxes.text());
    EXPECT_EQ(Item(kIntId), ::GetFocus());
    EXPECT_STREQ("kept", v.text);  // before the field: saved
    EXPECT_EQ(11, v.number);       // the field itself was read, then refused
    EXPECT_EQ(77u, v.unsignedNumber);

    // Loading never checks.
    v.number = 50;
    EXPECT_TRUE(dialog.UpdateData(FALSE));
    EXPECT_EQ(1, boxes.count());
}

TEST_F(ExchangeTest, ARangeCheckOnAButtonFocusesItWithoutSelecting)
{
    dialog.exchange = [this](CDataExchange* pDX) {
        DDX_Check(pDX, kCheckId, v.check);
        EXPECT_FALSE(pDX->m_bEditLastControl);
        EXPECT_EQ(Item(kCheckId), pDX->m_hWndLastControl);
        DDV_MinMaxInt(pDX, v.check, 0, 0);
    };
    SendMessageA(Item(kCheckId), BM_SETCHECK, BST_CHECKED, 0);
    MessageBoxRecorder boxes;
    EXPECT_FALSE(dialog.UpdateData(TRUE));
    EXPECT_EQ(Item(kCheckId), ::GetFocus());
}

TEST_F(ExchangeTest, OtherExceptionsShowTheInternalFailureBox)
{
    // A control id the template does not have: the not-supported exception.
    dialog.exchange = [](CDataExchange* pDX) {
        CString text;
        DDX_Text(pDX, 9999, text);
    };
    MessageBoxRecorder boxes;
    EXPECT_FALSE(dialog.UpdateData(FALSE));
    EXPECT_EQ(1, boxes.count());
    EXPECT_EQ("Internal application error.", boxes.text());

    dialog.exchange = [](CDataExchange*) { AfxThrowUserException(); };
    EXPECT_FALSE(dialog.UpdateData(TRUE));
    EXPECT_EQ(1, boxes.count());  // a user exception: silent
}

class SubclassedEdit : public CWnd {};

TEST_F(ExchangeTest, ControlIsSubclassedIntoItsObjectOnce)
{
    SubclassedEdit edit;
    int exchanges = 0;
    dialog.exchange = [&](CDataExchange* pDX) {
        DDX_Control(pDX, kTextId, edit);
        ++exchanges;
    };
    ASSERT_TRUE(dialog.UpdateData(FALSE));
    EXPECT_EQ(Item(kTextId), edit.m_hWnd);
    EXPECT_EQ(&edit, CWnd::FromHandlePermanent(Item(kTextId)));
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(2, exchanges);
    EXPECT_EQ(Item(kTextId), edit.m_hWnd);
    edit.UnsubclassWindow();
}

// A parent that counts its edit's change notifications.
class CountingDialog : public ScriptedDialog {
public:
    int changes = 0;
    afx_msg void OnTextChange() { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingDialog, ScriptedDialog)
    ON_EN_CHANGE(kTextId, OnTextChange)
END_MESSAGE_MAP()

TEST(DataExchangeLockout, NotificationsAreIgnoredWhileUpdateDataRuns)
{
    DialogTemplateBuilder tmpl = ExchangeTemplate();
    CountingDialog dialog;
    CString text = "loaded";
    dialog.exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, kTextId, text); };
    ASSERT_TRUE(dialog.CreateIndirect(tmpl.get(), nullptr));
    const int afterCreate = dialog.changes;
    EXPECT_EQ(0, afterCreate);  // OnInitDialog loaded "loaded" under the lockout

    text = "again";
    ASSERT_TRUE(dialog.UpdateData(FALSE));
    EXPECT_EQ(0, dialog.changes);
    EXPECT_EQ("again", ItemText(dialog.m_hWnd, kTextId));

    // Outside the exchange the same change is user input and reaches the handler.
    ::SetDlgItemTextA(dialog.m_hWnd, kTextId, "typed");
    EXPECT_EQ(1, dialog.changes);
    EXPECT_EQ(nullptr, AfxGetThreadState()->m_hLockoutNotifyWindow);
    dialog.DestroyWindow();
}

// A modal dialog whose check refuses the value stays open with the field focused; once
// the value is put right, OK ends it.
TEST(DataExchangeModal, FailedCheckKeepsTheDialogOpenWithTheFieldFocused)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                               nullptr));
    DialogTemplateBuilder tmpl = ExchangeTemplate();
    ScriptedDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(tmpl.get(), &owner));
    int number = 3;
    dialog.exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, kIntId, number);
        DDV_MinMaxInt(pDX, number, 0, 10);
    };
    bool openAfterRefusal = false;
    bool fieldFocusedAfterRefusal = false;
    MessageBoxRecorder boxes;
    dialog.steps.push_back([&](ScriptedDialog& d) {
        ::SetDlgItemTextA(d.m_hWnd, kIntId, "42");
        ::PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
    });
    dialog.steps.push_back([&](ScriptedDialog& d) {
        openAfterRefusal = ::IsWindow(d.m_hWnd) && d.ContinueModal();
        fieldFocusedAfterRefusal = ::GetFocus() == ::GetDlgItem(d.m_hWnd, kIntId);
        ::SetDlgItemTextA(d.m_hWnd, kIntId, "7");
        ::PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_TRUE(fieldFocusedAfterRefusal);
    EXPECT_EQ(1, boxes.count());
    EXPECT_EQ(7, number);
    EXPECT_TRUE(owner.IsWindowEnabled());
    owner.DestroyWindow();
}

} // namespace
