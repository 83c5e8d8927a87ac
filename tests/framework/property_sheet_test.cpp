// Property sheets: modal runs of sheets with in-memory pages ended from a timer, the
// pages' data exchange on activation, kill-activation and apply (a refused value keeps
// its page), pages made lazily and again on the next run, pages added and removed
// while the sheet shows, SetModified, the tab control, and pre-translation.
#include "framework/Framework.h"

#include "dialog_template_builder.h"
#include "dialog_test_support.h"
#include "window_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using test_support::DialogTemplateBuilder;
using test_support::MessageBoxRecorder;

constexpr WORD kNumberId = 301;

DialogTemplateBuilder PageTemplate()
{
    DialogTemplateBuilder t(WS_CHILD | WS_CAPTION | DS_CONTROL, 0, 0, 160, 80, "template caption");
    t.Add(test_support::kEditAtom, kNumberId, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 60, 14);
    return t;
}

// A page made in memory whose edit exchanges one number, checked to 0..10.
class NumberPage : public CPropertyPage {
public:
    explicit NumberPage(const char* caption)
    {
        m_psp.dwFlags |= PSP_DLGINDIRECT | PSP_USETITLE;
        m_psp.pResource = tmpl.get();
        m_strCaption = caption;
        m_psp.pszTitle = m_strCaption;
    }
    int number = 1;
    int inits = 0;
    int kills = 0;
    int applies = 0;
    int resets = 0;

    BOOL OnInitDialog() override
    {
        ++inits;
        return CPropertyPage::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, kNumberId, number);
        DDV_MinMaxInt(pDX, number, 0, 10);
    }
    BOOL OnKillActive() override
    {
        ++kills;
        return CPropertyPage::OnKillActive();
    }
    BOOL OnApply() override
    {
        ++applies;
        return CPropertyPage::OnApply();
    }
    void OnReset() override
    {
        ++resets;
        CPropertyPage::OnReset();
    }
    HWND Edit() const { return ::GetDlgItem(m_hWnd, kNumberId); }

private:
    DialogTemplateBuilder tmpl = PageTemplate();
};

// A sheet that plays a script of steps from a timer once its loop runs.
class ScriptedSheet : public CPropertySheet, public test_support::TimerScript<ScriptedSheet> {
public:
    ScriptedSheet(LPCSTR caption, CWnd* parent) : CPropertySheet(caption, parent) {}

    int tabsAtInit = -1;

    BOOL OnInitDialog() override
    {
        BOOL result = CPropertySheet::OnInitDialog();
        tabsAtInit = GetTabControl()->GetItemCount();
        StartScript(*this);
        return result;
    }

    afx_msg void OnTimer(UINT_PTR nIDEvent) { PlayScript(*this, nIDEvent); }

    void Press(int id)
    {
        PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, id)));
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ScriptedSheet, CPropertySheet)
    ON_WM_TIMER()
END_MESSAGE_MAP()

std::string TabText(CTabCtrl* tab, int index)
{
    char text[64] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    tab->SendMessage(TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

class PropertySheetTest : public test_support::OwnerWindowTest {
protected:
    void SetUp() override
    {
        OwnerWindowTest::SetUp();
        sheet.AddPage(&first);
        sheet.AddPage(&second);
    }

    NumberPage first{"First"};
    NumberPage second{"Second"};
    ScriptedSheet sheet{"Options", &owner};
};

TEST_F(PropertySheetTest, OkAppliesThePagesAndEndsWithIdOk)
{
    BOOL ownerEnabledDuring = TRUE;
    bool attached = false;
    bool secondMadeLazily = false;
    sheet.steps.push_back([&](ScriptedSheet& s) {
        ownerEnabledDuring = owner.IsWindowEnabled();
        attached = CWnd::FromHandlePermanent(first.m_hWnd) == &first && first.IsKindOf(RUNTIME_CLASS(CPropertyPage));
        secondMadeLazily = second.m_hWnd == nullptr;
        ::SetWindowTextA(first.Edit(), "7");
        s.Press(IDOK);
    });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(attached);
    EXPECT_TRUE(secondMadeLazily);
    EXPECT_EQ(2, sheet.tabsAtInit);
    EXPECT_EQ(7, first.number);
    EXPECT_GE(first.applies, 1);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(owner.m_hWnd, ::GetActiveWindow());
    EXPECT_EQ(nullptr, sheet.m_hWnd);
    EXPECT_EQ(nullptr, first.m_hWnd);
}

TEST_F(PropertySheetTest, OkPressedByMessageAlsoEndsWithIdOk)
{
    // PSM_PRESSBUTTON closes the sheet without a WM_COMMAND the sheet object would see.
    sheet.steps.push_back([&](ScriptedSheet& s) {
        ::SetWindowTextA(first.Edit(), "6");
        s.PostMessage(PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ(6, first.number);
}

TEST_F(PropertySheetTest, CancelKeepsTheOldValues)
{
    sheet.steps.push_back([&](ScriptedSheet& s) {
        ::SetWindowTextA(first.Edit(), "9");
        s.Press(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ(1, first.number);
    EXPECT_EQ(0, first.applies);
    EXPECT_EQ(1, first.resets);
}

TEST_F(PropertySheetTest, RefusedValueKeepsItsPageActive)
{
    MessageBoxRecorder boxes;
    int activeAfterRefusal = -1;
    bool fieldFocused = false;
    bool stillOpenAfterOk = false;
    sheet.steps.push_back([&](ScriptedSheet& s) {
        ::SetWindowTextA(first.Edit(), "42");
        s.SetActivePage(1);
        activeAfterRefusal = s.GetActiveIndex();
        fieldFocused = ::GetFocus() == first.Edit();
        s.Press(IDOK);
    });
    sheet.steps.push_back([&](ScriptedSheet& s) {
        stillOpenAfterOk = s.m_hWnd != nullptr && s.GetActiveIndex() == 0;
        ::SetWindowTextA(first.Edit(), "3");
        s.SetActivePage(1);
    });
    sheet.steps.push_back([&](ScriptedSheet& s) { s.Press(IDOK); });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ(0, activeAfterRefusal);
    EXPECT_TRUE(fieldFocused);
    EXPECT_TRUE(stillOpenAfterOk);
    EXPECT_EQ(2, boxes.count());
    EXPECT_EQ("Please enter an integer between 0 and 10.", boxes.text());
    EXPECT_EQ(3, first.number);
    EXPECT_EQ(1, second.inits);  // shown once the first page let go
}

TEST_F(PropertySheetTest, PagesAreMadeAgainOnTheNextRun)
{
    first.number = 4;
    std::string loaded;
    auto readAndCancel = [&](ScriptedSheet& s) {
        char text[16] = {};
        ::GetWindowTextA(first.Edit(), text, sizeof text);
        loaded = text;
        s.Press(IDCANCEL);
    };
    sheet.steps.push_back(readAndCancel);
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ("4", loaded);

    ScriptedSheet again("Again", &owner);
    again.AddPage(&first);
    first.number = 6;
    again.steps.push_back([&](ScriptedSheet& s) {
        char text[16] = {};
        ::GetWindowTextA(first.Edit(), text, sizeof text);
        loaded = text;
        s.EndDialog(IDRETRY);
    });
    EXPECT_EQ(IDRETRY, again.DoModal());
    EXPECT_EQ("6", loaded);
    EXPECT_EQ(2, first.inits);
}

TEST_F(PropertySheetTest, PagesComeAndGoWhileTheSheetShows)
{
    NumberPage third("Third");
    int tabsAfterAdd = 0;
    std::string addedLabel;
    int tabsAfterRemove = 0;
    CPropertyPage* pageAfterRemove = nullptr;
    sheet.steps.push_back([&](ScriptedSheet& s) {
        s.AddPage(&third);
        tabsAfterAdd = s.GetTabControl()->GetItemCount();
        addedLabel = TabText(s.GetTabControl(), 2);
        s.RemovePage(&second);
        tabsAfterRemove = s.GetTabControl()->GetItemCount();
        pageAfterRemove = s.GetPage(1);
        s.SetActivePage(&third);
    });
    bool thirdActive = false;
    sheet.steps.push_back([&](ScriptedSheet& s) {
        thirdActive = s.GetActivePage() == &third && third.m_hWnd != nullptr;
        s.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ(3, tabsAfterAdd);
    EXPECT_EQ("Third", addedLabel);
    EXPECT_EQ(2, tabsAfterRemove);
    EXPECT_EQ(&third, pageAfterRemove);
    EXPECT_TRUE(thirdActive);
    EXPECT_EQ(2, sheet.GetPageCount());
    EXPECT_EQ(-1, sheet.GetPageIndex(&second));
}

TEST_F(PropertySheetTest, TabLabelsComeFromThePageCaptions)
{
    std::string labels[2];
    sheet.steps.push_back([&](ScriptedSheet& s) {
        labels[0] = TabText(s.GetTabControl(), 0);
        labels[1] = TabText(s.GetTabControl(), 1);
        s.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
    EXPECT_EQ("First", labels[0]);
    EXPECT_EQ("Second", labels[1]);
}

TEST_F(PropertySheetTest, SetModifiedEnablesApplyOnlyWithAWindow)
{
    first.SetModified(TRUE);  // no window yet: nothing to tell
    BOOL applyBefore = TRUE;
    BOOL applyAfter = FALSE;
    sheet.steps.push_back([&](ScriptedSheet& s) {
        HWND apply = ::GetDlgItem(s.m_hWnd, ID_APPLY_NOW);
        applyBefore = ::IsWindowEnabled(apply);
        first.SetModified(TRUE);
        applyAfter = ::IsWindowEnabled(apply);
        s.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_FALSE(applyBefore);
    EXPECT_TRUE(applyAfter);
}

TEST_F(PropertySheetTest, StartPageAndEscapeThroughTheSheetsDialogKeys)
{
    ASSERT_TRUE(sheet.SetActivePage(1));
    EXPECT_FALSE(sheet.SetActivePage(2));
    int activeAtStart = -1;
    sheet.steps.push_back([&](ScriptedSheet& s) {
        activeAtStart = s.GetActiveIndex();
        ::PostMessageA(second.Edit(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ(1, activeAtStart);
    EXPECT_EQ(0, first.inits);  // never shown, never made
}

constexpr UINT kResourcePageId = 7201;    // dialog_test.rc
constexpr UINT kSheetCaptionId = 7202;
constexpr UINT kPageCaptionId = 7203;

TEST_F(PropertySheetTest, CaptionsAndPageTemplatesFromResources)
{
    CPropertyPage fromResource(kResourcePageId, kPageCaptionId);
    EXPECT_TRUE(fromResource.m_psp.dwFlags & PSP_USETITLE);
    EXPECT_STREQ("Loaded page caption", fromResource.m_strCaption);
    CPropertyPage templateCaption(kResourcePageId);
    ScriptedSheet loaded("unused", &owner);
    CPropertySheet byId(kSheetCaptionId, &owner, 1);
    EXPECT_EQ(1, byId.GetActiveIndex());

    // The caption-id sheet runs with its loaded caption; the scripted one shows the labels.
    loaded.AddPage(&fromResource);
    loaded.AddPage(&templateCaption);
    std::string labels[2];
    bool editFromTemplate = false;
    loaded.steps.push_back([&](ScriptedSheet& s) {
        labels[0] = TabText(s.GetTabControl(), 0);
        labels[1] = TabText(s.GetTabControl(), 1);
        editFromTemplate = ::GetDlgItem(fromResource.m_hWnd, kNumberId) != nullptr;
        s.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, loaded.DoModal());
    EXPECT_EQ("Loaded page caption", labels[0]);
    EXPECT_EQ("Page template", labels[1]);  // no caption id: the template's own
    EXPECT_TRUE(editFromTemplate);
}

// A plain sheet made with a caption id, ended through its close box.
class ClosingSheet : public CPropertySheet {
public:
    using CPropertySheet::CPropertySheet;
    CString caption;
    BOOL OnInitDialog() override
    {
        BOOL result = CPropertySheet::OnInitDialog();
        GetWindowText(caption);
        PostMessage(WM_CLOSE);
        return result;
    }
};

TEST_F(PropertySheetTest, SheetCaptionFromAStringResourceAndCloseBoxCancels)
{
    ClosingSheet closing(kSheetCaptionId, &owner);
    closing.AddPage(&first);
    EXPECT_EQ(IDCANCEL, closing.DoModal());
    EXPECT_NE(-1, closing.caption.Find("Loaded sheet caption"));
}

TEST_F(PropertySheetTest, PageWithoutATemplateCannotRun)
{
    CPropertyPage empty;
    CPropertySheet bad("Bad", &owner);
    bad.AddPage(&empty);
    EXPECT_EQ(-1, bad.DoModal());
    EXPECT_TRUE(owner.IsWindowEnabled());
}

} // namespace
