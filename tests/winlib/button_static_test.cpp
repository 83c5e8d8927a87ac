// Buttons and statics: both creating forms, click connectors before the parent's own
// handler, the group box's style, marking a page modified, the folder button's browse into
// the edit before it or into its own caption, and the static label.
#include "lib/src/Win2/MFC/iButton.h"
#include "lib/src/Win2/MFC/iEdit.h"
#include "lib/src/Win2/MFC/iFolderBrowse.h"
#include "lib/src/Win2/MFC/iFolderButton.h"
#include "lib/src/Win2/MFC/iStatic.h"
#include "lib/src/Win2/MFC/iWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT kButtonId = 500;
const CRect kButtonRect(10, 10, 110, 34);

// Everything that happens, in order, as short words.
std::vector<std::string> g_events;

// A shown container whose own map handles the button's clicks, and that answers
// WM_GETFONT with the font it was given.
class Container : public iWnd {
public:
    Container() : iWnd(nullptr, CRect(0, 0, 400, 300), WS_POPUP | WS_VISIBLE, "container", 0, 0, nullptr) {}
    HFONT font = nullptr;

protected:
    void OnButtonClicked() { g_events.push_back("parent clicked"); }
    void OnButtonDoubleClicked() { g_events.push_back("parent double-clicked"); }
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(font); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Container, iWnd)
    ON_BN_CLICKED(kButtonId, OnButtonClicked)
    ON_BN_DOUBLECLICKED(kButtonId, OnButtonDoubleClicked)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

// Stands in for a property page: counts the marks its buttons make.
class PageLikeParent : public CWnd, public iWindowSetContainer {
public:
    PageLikeParent() { CreateEx(0, AfxWndClassName(), "page", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr); }
    ~PageLikeParent() override { m_set.DeleteAll(); }
    iWindowSet& GetWindowSet() override { return m_set; }
    bool IsPropertyPage() const override { return true; }
    void MarkPageModified() override { ++marks; }
    iWindowSet m_set;
    int marks = 0;
};

class Target : public CCmdTarget {
public:
    void OnClicked(CWnd* sender)
    {
        g_events.push_back("connector");
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

std::string ClassOf(HWND window)
{
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

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
    Container parent;
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
    Container parent;
    auto* button = new iPushButton(&parent, kButtonRect, WS_VISIBLE, "Go", kButtonId);
    Target target;
    button->SetOnClicked(iConnector(&target, &Target::OnClicked));
    g_events.clear();
    Click(*button);
    EXPECT_EQ((std::vector<std::string>{"connector", "parent clicked"}), g_events);
    EXPECT_EQ(std::vector<CWnd*>{button}, target.senders);
}

TEST(ButtonClick, WithoutConnectorOnlyTheParentHears)
{
    Container parent;
    auto* button = new iPushButton(&parent, kButtonRect, WS_VISIBLE, "Go", kButtonId);
    g_events.clear();
    Click(*button);
    EXPECT_EQ(std::vector<std::string>{"parent clicked"}, g_events);
}

TEST(ButtonClick, DoubleClickConnectorThenTheParent)
{
    Container parent;
    auto* button = new Reaching<iPushButton>(&parent, kButtonRect, WS_VISIBLE | BS_NOTIFY, "Go", kButtonId);
    Target target;
    button->m_onDoubleClicked = iConnector(&target, &Target::OnClicked);
    g_events.clear();
    SendButtonNotification(*button, BN_DOUBLECLICKED);
    EXPECT_EQ((std::vector<std::string>{"connector", "parent double-clicked"}), g_events);
}

TEST(ButtonModified, MarksItsPageAndNothingElsewhere)
{
    PageLikeParent page;
    auto* onPage = new iButton(&page, kButtonRect, WS_VISIBLE, "Go", kButtonId);
    onPage->SetModified();
    EXPECT_EQ(1, page.marks);

    Container parent;
    auto* offPage = new iButton(&parent, kButtonRect, WS_VISIBLE, "Go", kButtonId);
    offPage->SetModified();
    EXPECT_EQ(nullptr, offPage->GetWindowSetAccess().GetPage());
    EXPECT_EQ(1, page.marks);
}

TEST(GroupBox, StyleAloneStillMakesAGroupBox)
{
    Container parent;
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

// The folder button's browser, answered by a stand-in.
struct FolderAnswer {
    static int calls;
    static HWND owner;
    static std::string folder;  // empty: cancel
    static PIDLIST_ABSOLUTE WINAPI Browse(LPBROWSEINFOA info)
    {
        ++calls;
        owner = info->hwndOwner;
        return folder.empty() ? nullptr : ILCreateFromPathA(folder.c_str());
    }
};
int FolderAnswer::calls;
HWND FolderAnswer::owner;
std::string FolderAnswer::folder;

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
    Container parent;
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
    Container parent;
    auto* edit = new iEdit(&parent, CRect(10, 10, 200, 30), WS_VISIBLE, "", kButtonId - 1);
    auto* button = new iFolderButton(&parent, CRect(210, 10, 280, 30), WS_VISIBLE, "&Browse", kButtonId);
    Click(*button);
    EXPECT_STRCASEEQ(chosen.c_str(), TextOf(*button));
    EXPECT_STREQ("", edit->GetText());
}

TEST_F(FolderButtonTest, LinkedButtonWithNothingBeforeItWritesNowhere)
{
    Container parent;
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
    Container parent;
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
    Container parent;
    new iEdit(&parent, CRect(10, 10, 200, 30), WS_VISIBLE, "", kButtonId - 1);
    auto* button =
        new Reaching<iFolderButton>(&parent, CRect(210, 10, 280, 30), 0x10010010 | BS_NOTIFY, "&Browse", kButtonId);
    Target target;
    button->SetOnClicked(iConnector(&target, &Target::OnClicked));
    button->m_onDoubleClicked = iConnector(&target, &Target::OnClicked);
    g_events.clear();
    Click(*button);
    EXPECT_EQ(1, FolderAnswer::calls);
    EXPECT_EQ(std::vector<std::string>{"parent clicked"}, g_events);
    g_events.clear();
    SendButtonNotification(*button, BN_DOUBLECLICKED);
    EXPECT_EQ((std::vector<std::string>{"connector", "parent double-clicked"}), g_events);
}

TEST(StaticCreate, BothFormsMakeLabelsInTheSet)
{
    Container parent;
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
