// Buttons and statics: both creating forms, click connectors before the parent's own
// handler, the group box's style, marking a page modified, the folder button's browse into
// the edit before it or into its own caption, and the static label.
#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/Win2/Wnd/iFolderBrowse.h"
#include "lib/src/Win2/Wnd/iFolderButton.h"
#include "lib/src/Win2/Wnd/iStatic.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "framework/window_test_support.h"
#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using test_support::ClassOf;
using winlib_test::FolderAnswer;
using winlib_test::PageLikeParent;

constexpr UINT kButtonId = 500;
const CRect kButtonRect(10, 10, 110, 34);

// Everything that happens, in order, as short words.
std::vector<std::string> g_buttonEvents;

// A shown container whose own map handles the button's clicks, and that answers
// WM_GETFONT with the font it was given.
class ButtonContainer : public iWnd {
public:
    ButtonContainer() : iWnd(nullptr, CRect(0, 0, 400, 300), WS_POPUP | WS_VISIBLE, "container", 0, 0, nullptr) {}
    HFONT font = nullptr;

protected:
    void OnButtonClicked() { g_buttonEvents.push_back("parent clicked"); }
    void OnButtonDoubleClicked() { g_buttonEvents.push_back("parent double-clicked"); }
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(font); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ButtonContainer, iWnd)
    ON_BN_CLICKED(kButtonId, OnButtonClicked)
    ON_BN_DOUBLECLICKED(kButtonId, OnButtonDoubleClicked)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

class ClickTarget : public CCmdTarget {
public:
    void OnClicked(CWnd* sender)
    {
        g_buttonEvents.push_back("connector");
        senders.push_back(sender);
    }
    std::vector<CWnd*> senders;
};

// Reaches the double-click connector, which has no setter.
template <class Button>
class Reaching : public Button {
public:
    using Button::Button;
    using Button::m_onDoubleClicked;
};

CString TextOf(CWnd& window)
{
    CString text;
    window.GetWindowText(text);
    return text;
}

void Click(CWnd& button)
{
    button.SendMessage(BM_CLICK);
}

// The notification as a button sends it to its parent.
void SendButtonNotification(CWnd& button, UINT code)
{
    ::SendMessageA(::GetParent(button.m_hWnd), WM_COMMAND, MAKEWPARAM(button.GetDlgCtrlID(), code),
                   reinterpret_cast<LPARAM>(button.m_hWnd));
}

TEST(ButtonCreate, BothFormsMakeChildButtonsInTheSet)
{
    ButtonContainer parent;
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, "Arial"));
    parent.font = static_cast<HFONT>(font.m_hObject);
    auto* item = new iPushButton(&parent, kButtonRect, WS_VISIBLE, "&Item", kButtonId);
    auto* windowForm = new iPushButton(&parent, kButtonRect, WS_VISIBLE, "&Window", kButtonId + 1, 0, nullptr);
    for (iButton* button : {static_cast<iButton*>(item), static_cast<iButton*>(windowForm)}) {
        ASSERT_NE(nullptr, button->m_hWnd);
        EXPECT_STRCASEEQ("Button", ClassOf(button->m_hWnd).c_str());
        EXPECT_TRUE(button->GetStyle() & WS_CHILD);
        EXPECT_EQ(font.m_hObject, reinterpret_cast<HGDIOBJ>(button->SendMessage(WM_GETFONT)));
        EXPECT_EQ(1u, parent.GetWindowSet().count(button));
        CRect where;
        button->GetWindowRect(&where);
        parent.ScreenToClient(&where);
        EXPECT_EQ(kButtonRect, where);
    }
    EXPECT_STREQ("&Window", TextOf(*windowForm));
    // A push button reports iButton's run-time class, which can be made dynamically.
    EXPECT_EQ(RUNTIME_CLASS(iButton), item->GetRuntimeClass());
    std::unique_ptr<CObject> made(RUNTIME_CLASS(iButton)->CreateObject());
    EXPECT_NE(nullptr, dynamic_cast<iButton*>(made.get()));
}

TEST(ButtonClick, ConnectorRunsBeforeTheParentsHandler)
{
    ButtonContainer parent;
    auto* button = new iPushButton(&parent, kButtonRect, WS_VISIBLE, "Go", kButtonId);
    ClickTarget target;
    button->SetOnClicked(iConnector(&target, &ClickTarget::OnClicked));
    g_buttonEvents.clear();
    Click(*button);
    EXPECT_EQ((std::vector<std::string>{"connector", "parent clicked"}), g_buttonEvents);
    EXPECT_EQ(std::vector<CWnd*>{button}, target.senders);
}

TEST(ButtonClick, WithoutConnectorOnlyTheParentHears)
{
    ButtonContainer parent;
    auto* button = new iPushButton(&parent, kButtonRect, WS_VISIBLE, "Go", kButtonId);
    g_buttonEvents.clear();
    Click(*button);
    EXPECT_EQ(std::vector<std::string>{"parent clicked"}, g_buttonEvents);
}

TEST(ButtonClick, DoubleClickConnectorThenTheParent)
{
    ButtonContainer parent;
    auto* button = new Reaching<iPushButton>(&parent, kButtonRect, WS_VISIBLE | BS_NOTIFY, "Go", kButtonId);
    ClickTarget target;
    button->m_onDoubleClicked = iConnector(&target, &ClickTarget::OnClicked);
    g_buttonEvents.clear();
    SendButtonNotification(*button, BN_DOUBLECLICKED);
    EXPECT_EQ((std::vector<std::string>{"connector", "parent double-clicked"}), g_buttonEvents);
}

TEST(ButtonModified, MarksItsPageAndNothingElsewhere)
{
    PageLikeParent page;
    auto* onPage = new iButton(&page, kButtonRect, WS_VISIBLE, "Go", kButtonId);
    onPage->SetModified();
    EXPECT_EQ(1, page.marks);

    ButtonContainer parent;
    auto* offPage = new iButton(&parent, kButtonRect, WS_VISIBLE, "Go", kButtonId);
    offPage->SetModified();
    EXPECT_EQ(nullptr, offPage->GetWindowSetAccess().GetPage());
    EXPECT_EQ(1, page.marks);
}

TEST(GroupBox, StyleAloneStillMakesAGroupBox)
{
    ButtonContainer parent;
    auto* item = new iGroupBox(&parent, CRect(5, 5, 200, 100), WS_VISIBLE, "Size", kButtonId);
    auto* windowForm = new iGroupBox(&parent, CRect(5, 5, 200, 100), WS_VISIBLE, "Size", kButtonId + 1, 0, nullptr);
    for (iGroupBox* box : {item, windowForm}) {
        ASSERT_NE(nullptr, box->m_hWnd);
        EXPECT_EQ(static_cast<DWORD>(BS_GROUPBOX), box->GetStyle() & BS_TYPEMASK);
        EXPECT_TRUE(box->GetStyle() & WS_CHILD);
        EXPECT_EQ(1u, parent.GetWindowSet().count(box));
    }
    EXPECT_EQ(2u, parent.GetWindowSet().size());
}

class FolderButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        chosen = std::string(temp) + "folder_button_test";
        ::CreateDirectoryA(chosen.c_str(), nullptr);
        previous = SetBrowseForFolderFunction(&FolderAnswer::Browse);
        FolderAnswer::calls = 0;
        FolderAnswer::folder = chosen;
    }
    void TearDown() override
    {
        SetBrowseForFolderFunction(previous);
        ::RemoveDirectoryA(chosen.c_str());
    }
    std::string chosen;
    BrowseForFolderFunction previous = nullptr;
};

// As the application makes them: the edit, then its button with the link bit.
TEST_F(FolderButtonTest, LinkedButtonFillsTheEditBeforeIt)
{
    ButtonContainer parent;
    auto* edit = new iEdit(&parent, CRect(10, 10, 200, 30), WS_VISIBLE, "", kButtonId - 1);
    auto* button = new iFolderButton(&parent, CRect(210, 10, 280, 30), 0x10010010, "&Browse", kButtonId);
    Click(*button);
    EXPECT_EQ(1, FolderAnswer::calls);
    EXPECT_EQ(parent.m_hWnd, FolderAnswer::owner);
    EXPECT_STRCASEEQ(chosen.c_str(), edit->GetText());
    EXPECT_STREQ("&Browse", TextOf(*button));
}

TEST_F(FolderButtonTest, UnlinkedButtonTakesThePathAsCaption)
{
    ButtonContainer parent;
    auto* edit = new iEdit(&parent, CRect(10, 10, 200, 30), WS_VISIBLE, "", kButtonId - 1);
    auto* button = new iFolderButton(&parent, CRect(210, 10, 280, 30), WS_VISIBLE, "&Browse", kButtonId);
    Click(*button);
    EXPECT_STRCASEEQ(chosen.c_str(), TextOf(*button));
    EXPECT_STREQ("", edit->GetText());
}

TEST_F(FolderButtonTest, LinkedButtonWithNothingBeforeItWritesNowhere)
{
    ButtonContainer parent;
    auto* button = new iFolderButton(&parent, CRect(210, 10, 280, 30), 0x10010010, "&Browse", kButtonId);
    auto* after = new iEdit(&parent, CRect(10, 10, 200, 30), WS_VISIBLE, "", kButtonId + 1);
    after->SetWindowText("after");
    Click(*button);
    EXPECT_EQ(1, FolderAnswer::calls);
    EXPECT_STREQ("&Browse", TextOf(*button));
    EXPECT_STREQ("after", after->GetText());
}

TEST_F(FolderButtonTest, CancelChangesNothing)
{
    ButtonContainer parent;
    auto* edit = new iEdit(&parent, CRect(10, 10, 200, 30), WS_VISIBLE, "", kButtonId - 1);
    edit->SetWindowText("C:\\kept");
    auto* button = new iFolderButton(&parent, CRect(210, 10, 280, 30), 0x10010010, "&Browse", kButtonId);
    FolderAnswer::folder.clear();
    Click(*button);
    EXPECT_EQ(1, FolderAnswer::calls);
    EXPECT_STREQ("C:\\kept", edit->GetText());
}

// The click is the browse: the click connector never runs, the double-click one does,
// and the parent still hears the click.
TEST_F(FolderButtonTest, ClickConnectorNeverRuns)
{
    ButtonContainer parent;
    new iEdit(&parent, CRect(10, 10, 200, 30), WS_VISIBLE, "", kButtonId - 1);
    auto* button =
        new Reaching<iFolderButton>(&parent, CRect(210, 10, 280, 30), 0x10010010 | BS_NOTIFY, "&Browse", kButtonId);
    ClickTarget target;
    button->SetOnClicked(iConnector(&target, &ClickTarget::OnClicked));
    button->m_onDoubleClicked = iConnector(&target, &ClickTarget::OnClicked);
    g_buttonEvents.clear();
    Click(*button);
    EXPECT_EQ(1, FolderAnswer::calls);
    EXPECT_EQ(std::vector<std::string>{"parent clicked"}, g_buttonEvents);
    g_buttonEvents.clear();
    SendButtonNotification(*button, BN_DOUBLECLICKED);
    EXPECT_EQ((std::vector<std::string>{"connector", "parent double-clicked"}), g_buttonEvents);
}

TEST(StaticCreate, BothFormsMakeLabelsInTheSet)
{
    ButtonContainer parent;
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, "Arial"));
    parent.font = static_cast<HFONT>(font.m_hObject);
    auto* item = new iStatic(&parent, CRect(5, 5, 100, 20), WS_VISIBLE, "Width:", kButtonId);
    auto* windowForm = new iStatic(&parent, CRect(5, 25, 100, 40), WS_VISIBLE | SS_RIGHT, "Height:", kButtonId + 1,
                                   0, nullptr);
    for (iStatic* label : {item, windowForm}) {
        ASSERT_NE(nullptr, label->m_hWnd);
        EXPECT_STRCASEEQ("Static", ClassOf(label->m_hWnd).c_str());
        EXPECT_TRUE(label->GetStyle() & WS_CHILD);
        EXPECT_EQ(font.m_hObject, reinterpret_cast<HGDIOBJ>(label->SendMessage(WM_GETFONT)));
        EXPECT_EQ(1u, parent.GetWindowSet().count(label));
    }
    EXPECT_STREQ("Width:", TextOf(*item));
    EXPECT_TRUE(windowForm->GetStyle() & SS_RIGHT);
    EXPECT_TRUE(item->IsKindOf(RUNTIME_CLASS(iStatic)));
    EXPECT_EQ(nullptr, RUNTIME_CLASS(iStatic)->m_pfnCreateObject);
    delete item;
    EXPECT_EQ(1u, parent.GetWindowSet().size());
}

} // namespace
