// Typed fields exchanged with real controls through UpdateData both ways: check boxes
// and radio buttons that move only the value (a field's default survives a save), text
// fields with their length limit and input rules, combo boxes by item data and by text,
// and list check boxes against a bit set.
#include "lib/src/Win2/Wnd/TypedFieldExchange.h"
#include "lib/src/Win2/Wnd/iComboBox.h"
#include "lib/src/Win2/Wnd/iListCtrl.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "framework/window_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

// A window whose DoDataExchange runs what the test gives it.
class ExchangeWindow : public iWnd {
public:
    ExchangeWindow() : iWnd(nullptr, CRect(0, 0, 400, 300), WS_OVERLAPPEDWINDOW, "exchange", 0, 0, nullptr) {}
    void DoDataExchange(CDataExchange* pDX) override
    {
        if (m_exchange)
            m_exchange(pDX);
    }
    std::function<void(CDataExchange*)> m_exchange;
};

// Counts dialog boxes about to be made on this thread and refuses them, so a stray
// message box can neither wait for a person nor pass unseen.
class DialogBoxCounter {
public:
    DialogBoxCounter() { s_hook = SetWindowsHookExA(WH_CBT, &Hook, nullptr, GetCurrentThreadId()); }
    ~DialogBoxCounter() { UnhookWindowsHookEx(s_hook); }
    DialogBoxCounter(const DialogBoxCounter&) = delete;
    DialogBoxCounter& operator=(const DialogBoxCounter&) = delete;
    int count() const { return s_count; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
            if (!IS_INTRESOURCE(cs->lpszClass) ? std::string(cs->lpszClass) == "#32770"
                                                : LOWORD(reinterpret_cast<ULONG_PTR>(cs->lpszClass)) == 32770) {
                ++s_count;
                return 1;
            }
        }
        return CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static inline HHOOK s_hook = nullptr;
    static inline int s_count = 0;
};

class TypedFieldExchangeTest : public ::testing::Test {
protected:
    void SetUp() override { m_window = std::make_unique<ExchangeWindow>(); }

    CButton* NewButton(DWORD type, UINT id)
    {
        auto* button = new CButton;
        m_buttons.emplace_back(button);
        EXPECT_TRUE(button->Create("button", WS_VISIBLE | type, CRect(0, 0, 80, 20), m_window.get(), id));
        return button;
    }
    CEdit* NewEdit(UINT id)
    {
        m_edits.push_back(std::make_unique<CEdit>());
        EXPECT_TRUE(m_edits.back()->Create(WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 30, 200, 50), m_window.get(), id));
        return m_edits.back().get();
    }
    iComboBox* NewCombo(DWORD style = CBS_DROPDOWNLIST)
    {
        auto* combo = new iComboBox(m_window.get(), CRect(0, 60, 200, 200), WS_VISIBLE | style, nullptr, 30);
        combo->AddItem(10, "Pixels");
        combo->AddItem(20, "Percent");
        combo->AddItem(30, "Points");
        return combo;
    }

    // Runs the exchange one way; UpdateData's answer.
    BOOL Exchange(BOOL save, std::function<void(CDataExchange*)> exchange)
    {
        m_window->m_exchange = std::move(exchange);
        return m_window->UpdateData(save);
    }

    std::unique_ptr<ExchangeWindow> m_window;
    std::vector<std::unique_ptr<CButton>> m_buttons;
    std::vector<std::unique_ptr<CEdit>> m_edits;
};

TEST_F(TypedFieldExchangeTest, ACheckBoxMovesTheValueAndKeepsTheFieldsDefault)
{
    CButton* box = NewButton(BS_AUTO3STATE, 10);
    iType::Bool field(nullptr, "Confirm Overwrite", "");
    // A setting that is on unless the user turned it off.
    field.SetNullValue(1);
    field.SetDefaultValue(1);

    struct Case {
        const char* why;
        int state;
        int saved;
    };
    const Case kCases[] = {
        {"checked", BST_CHECKED, 1},
        {"indeterminate counts as checked", BST_INDETERMINATE, 1},
        {"unchecked", BST_UNCHECKED, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        box->SetCheck(c.state);
        ASSERT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) { ExchangeCheckBox(pDX, box, &field); }));
        EXPECT_EQ(c.saved, field.Value());
        EXPECT_EQ(1, field.GetDefaultValue());
        EXPECT_EQ(1, field.GetNullValue());
    }

    field.Value() = 7;
    ASSERT_TRUE(Exchange(FALSE, [&](CDataExchange* pDX) { ExchangeCheckBox(pDX, box, &field); }));
    EXPECT_EQ(BST_CHECKED, box->GetCheck());
    field.SetDefault();
    EXPECT_EQ(1, field.Value()) << "the default still applies after saves";
}

TEST_F(TypedFieldExchangeTest, AControlWithoutAWindowEndsTheExchangeWithTheInternalFailureBox)
{
    test_support::MessageBoxRecorder boxes;
    CButton unmade;
    iType::Bool field(nullptr, "flag", "");
    field.Value() = 1;
    EXPECT_FALSE(Exchange(TRUE, [&](CDataExchange* pDX) { ExchangeCheckBox(pDX, &unmade, &field); }));
    EXPECT_EQ(1, boxes.count());
    EXPECT_EQ(1, field.Value());
    // A null control is skipped.
    EXPECT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) { ExchangeCheckBox(pDX, nullptr, &field); }));
}

TEST_F(TypedFieldExchangeTest, ATextFieldLimitsItsEditAndTakesNoMoreThanItHolds)
{
    CEdit* edit = NewEdit(20);
    iType::String field(nullptr, "Name", "", 8);
    field.SetString("Sorvanta");
    ASSERT_TRUE(Exchange(FALSE, [&](CDataExchange* pDX) { ExchangeStringEdit(pDX, edit, &field); }));
    CString shown;
    edit->GetWindowText(shown);
    EXPECT_STREQ("Sorvanta", shown);
    EXPECT_EQ(8u, edit->GetLimitText());

    edit->SetWindowText("Enlarged picture");  // set by the program, past the limit
    ASSERT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) { ExchangeStringEdit(pDX, edit, &field); }));
    EXPECT_EQ(std::string("Enlarged"), std::string(static_cast<const char*>(field.GetData()), 8));
}

TEST_F(TypedFieldExchangeTest, InputRulesRefuseQuietlyAndKeepTheFocusOnTheEdit)
{
    CEdit* edit = NewEdit(20);
    CEdit* other = NewEdit(21);
    struct Case {
        const char* why;
        int rule;
        const char* text;
        bool accepted;
    };
    const Case kCases[] = {
        {"full length: seven of eight", iType::Base::kInputFull, "1234567", false},
        {"full length: eight", iType::Base::kInputFull, "12345678", true},
        {"not empty: empty", iType::Base::kInputNotEmpty, "", false},
        {"not empty: one blank", iType::Base::kInputNotEmpty, " ", true},
        {"any: empty", iType::Base::kInputAny, "", true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        test_support::MessageBoxRecorder boxes;
        iType::String field(nullptr, "Code", "", 8);
        field.SetInputRule(c.rule);
        iType::String after(nullptr, "After", "", 8);
        after.SetString("before");
        edit->SetWindowText(c.text);
        other->SetWindowText("changed");
        other->SetFocus();
        BOOL accepted = Exchange(TRUE, [&](CDataExchange* pDX) {
            ExchangeStringEdit(pDX, edit, &field);
            ExchangeStringEdit(pDX, other, &after);
        });
        EXPECT_EQ(c.accepted, accepted != FALSE);
        EXPECT_STREQ(c.text, field.GetText()) << "the field keeps what was typed";
        EXPECT_EQ(0, boxes.count());
        if (!c.accepted) {
            EXPECT_EQ(edit->m_hWnd, GetFocus());
            EXPECT_STREQ("before", after.GetText()) << "fields after the refused one keep their values";
        } else {
            EXPECT_STREQ("changed", after.GetText());
        }
    }
}

TEST_F(TypedFieldExchangeTest, AComboBoxCarriesAFieldsValueAsItemData)
{
    iComboBox* combo = NewCombo();
    iType::TCombo<long> units(nullptr, "Units", "");
    units.Value() = 20;
    ASSERT_TRUE(Exchange(FALSE, [&](CDataExchange* pDX) { ExchangeComboData(pDX, combo, &units); }));
    EXPECT_EQ(1, combo->GetCurSel());

    combo->SetCurSel(2);
    ASSERT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) { ExchangeComboData(pDX, combo, &units); }));
    EXPECT_EQ(30, units.Value());

    // Nothing selected saves -1; a value no entry carries loads as no selection.
    combo->SetCurSel(-1);
    ASSERT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) { ExchangeComboData(pDX, combo, &units); }));
    EXPECT_EQ(-1, units.Value());
    iType::TType<long> method(nullptr, "Method", "");
    method.Value() = 99;
    combo->SetCurSel(0);
    ASSERT_TRUE(Exchange(FALSE, [&](CDataExchange* pDX) { ExchangeComboData(pDX, combo, &method); }));
    EXPECT_EQ(CB_ERR, combo->GetCurSel());
}

TEST_F(TypedFieldExchangeTest, AFieldThatIsNotOneWordIsLeftAlone)
{
    iComboBox* combo = NewCombo();
    combo->SetCurSel(0);
    iType::TType<short> narrow(nullptr, "Narrow", "");
    narrow.Value() = 5;
    ASSERT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) { ExchangeComboData(pDX, combo, &narrow); }));
    EXPECT_EQ(5, narrow.Value());
}

TEST_F(TypedFieldExchangeTest, AComboBoxCarriesATextFieldAsItsSelection)
{
    iComboBox* library = NewCombo();
    auto* plain = new iComboBox(m_window.get(), CRect(0, 100, 200, 200), WS_VISIBLE | CBS_DROPDOWNLIST, nullptr, 31);
    plain->AddString("Normal");
    plain->AddString("Bicubic");
    DialogBoxCounter boxes;
    for (bool throughMessages : {false, true}) {
        SCOPED_TRACE(throughMessages ? "framework combo box" : "library combo box");
        CComboBox* combo = throughMessages ? static_cast<CComboBox*>(plain) : library;
        auto exchange = [&](CDataExchange* pDX, iType::String* field) {
            if (throughMessages)
                ExchangeComboString(pDX, combo, field);
            else
                ExchangeComboText(pDX, library, field);
        };
        iType::String field(nullptr, "Choice", "", 16);

        // Loading picks the first entry that begins with the text, letter case aside.
        field.SetString(throughMessages ? "bic" : "PER");
        ASSERT_TRUE(Exchange(FALSE, [&](CDataExchange* pDX) { exchange(pDX, &field); }));
        EXPECT_EQ(1, combo->GetCurSel());
        field.SetString("nothing like it");
        ASSERT_TRUE(Exchange(FALSE, [&](CDataExchange* pDX) { exchange(pDX, &field); }));
        EXPECT_EQ(1, combo->GetCurSel()) << "no match keeps the selection";

        combo->SetCurSel(0);
        ASSERT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) { exchange(pDX, &field); }));
        EXPECT_STREQ(throughMessages ? "Normal" : "Pixels", field.GetText());
        combo->SetCurSel(-1);
        ASSERT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) { exchange(pDX, &field); }));
        EXPECT_STREQ("", field.GetText());
    }
    EXPECT_EQ(0, boxes.count()) << "the exchange shows no box";
}

TEST_F(TypedFieldExchangeTest, ARadioButtonMovesItsCheckStateAndKeepsTheFieldsDefault)
{
    CButton* left = NewButton(BS_AUTORADIOBUTTON | WS_GROUP, 40);
    CButton* right = NewButton(BS_AUTORADIOBUTTON, 41);
    iType::Radio leftField(nullptr, "Left", "");
    iType::Radio rightField(nullptr, "Right", "");
    leftField.SetDefaultValue(1);
    leftField.SetNullValue(1);
    auto exchange = [&](CDataExchange* pDX) {
        ExchangeRadioGroup(pDX, left, &leftField);
        ExchangeRadioGroup(pDX, right, &rightField);
    };

    leftField.Value() = 0;
    rightField.Value() = 1;
    ASSERT_TRUE(Exchange(FALSE, exchange));
    EXPECT_EQ(BST_UNCHECKED, left->GetCheck());
    EXPECT_EQ(BST_CHECKED, right->GetCheck());

    left->SetCheck(BST_CHECKED);
    right->SetCheck(BST_UNCHECKED);
    ASSERT_TRUE(Exchange(TRUE, exchange));
    EXPECT_EQ(1u, leftField.Value());
    EXPECT_EQ(0u, rightField.Value());
    EXPECT_EQ(1u, leftField.GetDefaultValue());
    EXPECT_EQ(1u, leftField.GetNullValue());
}

class CheckListExchange : public TypedFieldExchangeTest {
protected:
    void SetUp() override
    {
        TypedFieldExchangeTest::SetUp();
        m_list = new iListCtrl(m_window.get(), CRect(0, 0, 300, 200), WS_VISIBLE | LVS_REPORT, nullptr, 50, 0,
                               nullptr);
        m_list->InsertColumn(0, "Format", LVCFMT_LEFT, 100);
        m_list->SetCheckBoxes(TRUE);
        // Item data runs the other way round, so by position and by data differ.
        const DWORD kData[] = {3, 2, 1, 0};
        for (int item = 0; item < 4; ++item) {
            m_list->InsertItem(item, "format");
            m_list->SetItemData(item, kData[item]);
        }
    }
    std::vector<int> Checks() const
    {
        std::vector<int> checks;
        for (int item = 0; item < 4; ++item)
            checks.push_back(m_list->GetCheck(item));
        return checks;
    }
    iListCtrl* m_list = nullptr;
};

TEST_F(CheckListExchange, LoadingChecksTheItemsOfSetBitsAndNeverClearsOne)
{
    for (BOOL byItemData : {FALSE, TRUE}) {
        SCOPED_TRACE(byItemData ? "by item data" : "by position");
        m_list->SetCheck(-1, FALSE);
        m_list->SetCheck(byItemData ? 0 : 1, TRUE);  // checked before, its bit clear
        iType::BitSet bits(4);
        ASSERT_EQ(1, bits.SetBit(0));
        ASSERT_EQ(1, bits.SetBit(2));
        ASSERT_TRUE(Exchange(FALSE, [&](CDataExchange* pDX) { ExchangeCheckList(pDX, m_list, &bits, byItemData); }));
        EXPECT_EQ(byItemData ? (std::vector<int>{1, 1, 0, 1}) : (std::vector<int>{1, 1, 1, 0}), Checks());
    }
}

TEST_F(CheckListExchange, SavingSetsExactlyTheBitsOfCheckedItems)
{
    iType::BitSet bits(1);
    ASSERT_EQ(1, bits.SetBit(7));
    m_list->SetCheck(0, TRUE);
    m_list->SetCheck(3, TRUE);
    ASSERT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) { ExchangeCheckList(pDX, m_list, &bits, FALSE); }));
    EXPECT_EQ(1, bits.TestBit(0));
    EXPECT_EQ(1, bits.TestBit(3));
    EXPECT_EQ(2, bits.CountBits());
    ASSERT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) { ExchangeCheckList(pDX, m_list, &bits, TRUE); }));
    EXPECT_EQ(1, bits.TestBit(3));
    EXPECT_EQ(1, bits.TestBit(0));
    EXPECT_EQ(2, bits.CountBits());

    // Item data past the set's range is ignored.
    m_list->SetItemData(0, 500);
    ASSERT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) { ExchangeCheckList(pDX, m_list, &bits, TRUE); }));
    EXPECT_EQ(1, bits.CountBits());
}

TEST_F(CheckListExchange, AListWithoutCheckBoxesIsLeftAlone)
{
    m_list->SetCheckBoxes(FALSE);
    iType::BitSet bits(1);
    ASSERT_EQ(1, bits.SetBit(5));
    ASSERT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) { ExchangeCheckList(pDX, m_list, &bits, FALSE); }));
    EXPECT_EQ(1, bits.TestBit(5));
}

} // namespace
