// iEditCtrl, iEdit and iFolderEdit: creation and styles, typed getters and setters at
// their edges, the change rule with page marks and auto-advance, colours, the context menu
// and the edit commands, and the folder edit's browse on Ctrl+double-click.
#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/Win2/Wnd/iEditCtrl.h"
#include "lib/src/Win2/Wnd/iFolderBrowse.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "framework/window_test_support.h"
#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <memory>
#include <string>
#include <vector>

using test_support::PumpPending;

namespace {

using winlib_test::FolderAnswer;
using winlib_test::PageLikeParent;

constexpr UINT kEditId = 400;
const CRect kEditRect(10, 10, 210, 34);

// A shown top-level container, so that its controls can take the focus.
class FocusContainer : public iWnd {
public:
    FocusContainer() : iWnd(nullptr, CRect(0, 0, 400, 300), WS_POPUP | WS_VISIBLE, "container", 0, 0, nullptr)
    {
        ::SetForegroundWindow(m_hWnd);
        ::SetActiveWindow(m_hWnd);
    }
};

class EditTarget : public CCmdTarget {
public:
    void OnEvent(CWnd* sender) { senders.push_back(sender); }
    std::vector<CWnd*> senders;
};

// Reaches what has no setter, and watches the context menu while it is shown: records
// the item states and where the menu opened, then presses the given keys or closes it.
class TestEdit : public iEdit {
public:
    using iEdit::iEdit;
    using iEditCtrl::m_autoAdvance;
    using iEditCtrl::m_backBrush;
    using iEditCtrl::m_dlgCodeMask;
    using iEditCtrl::m_onFull;
    using iEditCtrl::m_onSetFocus;
    using iEditCtrl::m_textColor;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_INITMENUPOPUP)
            states = ReadStates(reinterpret_cast<HMENU>(wParam));
        if (message == WM_MENUSELECT && HIWORD(wParam) == 0xFFFF && !lParam && shownMenu)
            typesAtEnd = ReadTypes(shownMenu);
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU && !menuSeen) {
            menuSeen = true;
            ::GetWindowRect(reinterpret_cast<HWND>(lParam), &menuRect);
            shownMenu = reinterpret_cast<HMENU>(::SendMessageA(reinterpret_cast<HWND>(lParam), MN_GETHMENU, 0, 0));
            typesWhileOpen = ReadTypes(shownMenu);
            for (UINT key : keys)
                ::PostMessageA(m_hWnd, WM_KEYDOWN, key, 1);
            if (keys.empty())
                ::EndMenu();
        }
        return iEdit::WindowProc(message, wParam, lParam);
    }

    struct ItemState { UINT id; bool enabled; std::string text; UINT state; };
    static std::vector<ItemState> ReadStates(HMENU menu)
    {
        std::vector<ItemState> read;
        for (int index = 0; index < ::GetMenuItemCount(menu); ++index) {
            char text[64] = {};
            ::GetMenuStringA(menu, index, text, sizeof text, MF_BYPOSITION);
            const UINT state = ::GetMenuState(menu, index, MF_BYPOSITION);
            read.push_back({::GetMenuItemID(menu, index), !(state & (MF_DISABLED | MF_GRAYED)), text, state});
        }
        return read;
    }
    static std::vector<UINT> ReadTypes(HMENU menu)
    {
        std::vector<UINT> types;
        for (int index = 0; index < ::GetMenuItemCount(menu); ++index) {
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE;
            ::GetMenuItemInfoA(menu, static_cast<UINT>(index), TRUE, &info);
            types.push_back(info.fType);
        }
        return types;
    }
    bool Enabled(UINT id) const
    {
        for (const ItemState& item : states) {
            if (item.id == id)
                return item.enabled;
        }
        ADD_FAILURE() << "no item " << id;
        return false;
    }
    // Opens the menu as Shift+F10 does and waits for it to close.
    void OpenMenuFromKeyboard(std::vector<UINT> pressed)
    {
        keys = pressed;
        menuSeen = false;
        states.clear();
        shownMenu = nullptr;
        typesWhileOpen.clear();
        typesAtEnd.clear();
        SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(-1, -1));
        PumpPending();
    }

    std::vector<ItemState> states;
    // The item types of the menu while it is open and as its menu loop ends.
    HMENU shownMenu = nullptr;
    std::vector<UINT> typesWhileOpen;
    std::vector<UINT> typesAtEnd;
    bool menuSeen = false;
    CRect menuRect;
    std::vector<UINT> keys;
};

TestEdit* NewEdit(CWnd* parent, DWORD style = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL)
{
    return new TestEdit(parent, kEditRect, style, "", kEditId);
}

void Type(CWnd& edit, const char* keys)
{
    for (const char* key = keys; *key; ++key)
        edit.SendMessage(WM_CHAR, static_cast<WPARAM>(*key), 1);
}

bool PutTextOnClipboard(HWND owner, const char* text)
{
    if (!::OpenClipboard(owner))
        return false;
    ::EmptyClipboard();
    bool placed = false;
    if (text) {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
        memcpy(::GlobalLock(memory), text, strlen(text) + 1);
        ::GlobalUnlock(memory);
        placed = ::SetClipboardData(CF_TEXT, memory) != nullptr;
    }
    ::CloseClipboard();
    return placed || !text;
}

TEST(EditCreate, FormsStylesAndSet)
{
    FocusContainer parent;
    auto* plain = new iEditCtrl(&parent, kEditRect, WS_VISIBLE | WS_BORDER, "unused", kEditId);
    auto* windowForm = new iEditCtrl(&parent, kEditRect, WS_VISIBLE, "first text", kEditId + 1, 0, nullptr);
    auto* edit = new iEdit(&parent, kEditRect, WS_VISIBLE, "", kEditId + 2);
    auto* editWindowForm = new iEdit(&parent, kEditRect, WS_VISIBLE, "text", kEditId + 3, 0, nullptr);
    auto* folder = new iFolderEdit(&parent, kEditRect, WS_VISIBLE | WS_BORDER, "", kEditId + 4);

    EXPECT_STREQ("", plain->GetText());  // the dialog-item form ignores the text
    EXPECT_STREQ("first text", windowForm->GetText());
    EXPECT_TRUE(windowForm->GetStyle() & WS_CHILD);
    EXPECT_FALSE(plain->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(edit->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(editWindowForm->GetExStyle() & WS_EX_CLIENTEDGE);
    // Made as an iEdit: the client edge, but its own border and scrolling styles stay out.
    EXPECT_TRUE(folder->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(folder->GetStyle() & WS_BORDER);
    EXPECT_FALSE(folder->GetStyle() & ES_AUTOHSCROLL);
    EXPECT_EQ(5u, parent.GetWindowSet().size());
}

TEST(EditCreate, FolderEditStylesForALaterWindow)
{
    FocusContainer parent;
    auto* folder = new iFolderEdit(&parent, kEditRect, WS_VISIBLE, "", kEditId);
    CREATESTRUCT cs = {};
    cs.style = WS_CHILD | WS_BORDER;
    ASSERT_TRUE(folder->PreCreateWindow(cs));
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | ES_AUTOHSCROLL), cs.style);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_CLIENTEDGE), cs.dwExStyle);
}

TEST(EditValues, IntegerGettersAtTheirEdges)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    struct Case { const char* text; int radix; int expected; };
    const Case kCases[] = {
        {"", 10, 7},         // empty: the default
        {"12abc", 10, 12},   // the leading number
        {"abc", 10, 0},      // no leading digit
        {"  -5", 10, -5},    // leading blanks skipped
        {"ff", 16, 255},
        {"0x1F", 0, 31},     // radix 0: the prefix chooses
        {"017", 0, 15},
        {" ", 10, 0},        // not empty, so not the default
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        edit->SetWindowText(c.text);
        EXPECT_EQ(c.expected, edit->GetInt(7, c.radix));
        EXPECT_EQ(c.expected, edit->GetLong(7, c.radix));
    }
}

TEST(EditValues, NarrowAndWideGetters)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    edit->SetWindowText("70000");
    EXPECT_EQ(static_cast<short>(70000 & 0xFFFF), edit->GetShort(1, 10));  // low 16 bits kept
    EXPECT_EQ(static_cast<unsigned short>(70000 & 0xFFFF), edit->GetUShort(1, 10));
    edit->SetWindowText("4294967295");
    EXPECT_EQ(4294967295u, edit->GetUInt(1, 10));
    EXPECT_EQ(4294967295ul, edit->GetULong(1, 10));
    edit->SetWindowText("-9223372036854775807");
    EXPECT_EQ(-9223372036854775807ll, edit->GetInt64(1, 10));
    edit->SetWindowText("18446744073709551615");
    EXPECT_EQ(18446744073709551615ull, edit->GetUInt64(1, 10));
    edit->SetWindowText("");
    EXPECT_EQ(9u, edit->GetUInt(9, 10));
    EXPECT_EQ(-3ll, edit->GetInt64(-3, 10));

    double d = 0;
    float f = 0;
    EXPECT_EQ(1.5, edit->GetDouble(d, 1.5));
    EXPECT_EQ(&d, &edit->GetDouble(d, 1.5));
    edit->SetWindowText("2.25cm");
    EXPECT_EQ(2.25, edit->GetDouble(d, 1.5));
    EXPECT_EQ(2.25, d);
    EXPECT_EQ(2.25f, edit->GetFloat(f, 1.0f));
    EXPECT_EQ(2.25f, f);
}

TEST(EditValues, SettersWriteTheRadixForm)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    struct Case { const char* why; void (*set)(iEditCtrl&); const char* text; };
    const Case kCases[] = {
        {"negative, radix 10", [](iEditCtrl& e) { e.SetInt(-5, 10); }, "-5"},
        {"negative, radix 16: two's complement", [](iEditCtrl& e) { e.SetInt(-5, 16); }, "FFFFFFFB"},
        {"upper-case digits", [](iEditCtrl& e) { e.SetInt(255, 16); }, "FF"},
        {"long as int", [](iEditCtrl& e) { e.SetLong(-1, 2); }, "11111111111111111111111111111111"},
        {"short as 32 bits", [](iEditCtrl& e) { e.SetShort(-5, 16); }, "FFFFFFFB"},
        {"largest unsigned", [](iEditCtrl& e) { e.SetUInt(4294967295u, 10); }, "4294967295"},
        {"unsigned long", [](iEditCtrl& e) { e.SetULong(4294967295ul, 16); }, "FFFFFFFF"},
        {"unsigned short", [](iEditCtrl& e) { e.SetUShort(65535, 10); }, "65535"},
        {"64-bit negative", [](iEditCtrl& e) { e.SetInt64(-9223372036854775807ll - 1, 10); }, "-9223372036854775808"},
        {"64-bit negative, radix 16", [](iEditCtrl& e) { e.SetInt64(-1, 16); }, "FFFFFFFFFFFFFFFF"},
        {"64-bit unsigned", [](iEditCtrl& e) { e.SetUInt64(18446744073709551615ull, 36); }, "3W5E11264SGSF"},
        {"radix out of range: empty", [](iEditCtrl& e) { e.SetInt(5, 1); }, ""},
        {"double, no format", [](iEditCtrl& e) { e.SetDouble(2.5, nullptr); }, "2.500000"},
        {"double, format", [](iEditCtrl& e) { e.SetDouble(2.5, "%.2f"); }, "2.50"},
        {"text cut", [](iEditCtrl& e) { e.SetText("abcdef", 3); }, "abc"},
        {"text shorter than the cut", [](iEditCtrl& e) { e.SetText("ab", 3); }, "ab"},
        {"cut to nothing", [](iEditCtrl& e) { e.SetText("abcdef", 0); }, ""},
        {"negative length cuts nothing", [](iEditCtrl& e) { e.SetText("abcdef", -1); }, "abcdef"},
        {"null text", [](iEditCtrl& e) { e.SetText(nullptr, 5); }, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        edit->SetWindowText("old");
        c.set(*edit);
        EXPECT_STREQ(c.text, edit->GetText());
    }
}

// Formatting is bounded: the largest double is written whole, a wider format is cut.
TEST(EditValues, SetDoubleNeverWritesPastItsBound)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    edit->SetLimitText(0);  // no limit of the edit's own
    edit->SetDouble(DBL_MAX, nullptr);
    const iString largest = edit->GetText();
    EXPECT_EQ(309 + 7, largest.GetLength());
    EXPECT_EQ(".000000", std::string(largest.Right(7)));

    edit->SetDouble(1.0, "%0800f");
    EXPECT_EQ(iEditCtrl::kMaxDoubleText, edit->GetText().GetLength());
    edit->SetDouble(-DBL_MAX, "%.300f");
    EXPECT_EQ(iEditCtrl::kMaxDoubleText, edit->GetText().GetLength());
    EXPECT_EQ('-', edit->GetText()[0]);
}

TEST(EditChange, ConnectorFiresAndThePageIsMarked)
{
    PageLikeParent page;
    TestEdit* edit = NewEdit(&page);
    EditTarget target;
    edit->SetOnChange(iConnector(&target, &EditTarget::OnEvent));
    edit->SetWindowText("typed");
    EXPECT_EQ(std::vector<CWnd*>{edit}, target.senders);
    EXPECT_EQ(1, page.marks);
    edit->SetInt(12, 10);
    EXPECT_EQ(2u, target.senders.size());
    EXPECT_EQ(2, page.marks);
}

TEST(EditChange, EditOffAPageMarksNothing)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    EditTarget target;
    edit->SetOnChange(iConnector(&target, &EditTarget::OnEvent));
    edit->SetWindowText("typed");
    EXPECT_EQ(1u, target.senders.size());
    EXPECT_EQ(nullptr, edit->GetWindowSetAccess().GetPage());
}

TEST(EditChange, FullShortFieldAdvancesTheFocus)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    TestEdit* next = new TestEdit(&parent, CRect(10, 40, 210, 64), WS_VISIBLE | WS_TABSTOP, "", kEditId + 1);
    EditTarget full;
    edit->m_autoAdvance = TRUE;
    edit->m_onFull = iConnector(&full, &EditTarget::OnEvent);
    edit->SetLimitText(4);
    edit->SetFocus();
    ASSERT_EQ(edit, CWnd::GetFocus());

    Type(*edit, "123");
    EXPECT_TRUE(full.senders.empty());
    EXPECT_EQ(edit, CWnd::GetFocus());
    Type(*edit, "4");
    EXPECT_EQ(std::vector<CWnd*>{edit}, full.senders);
    EXPECT_EQ(next, CWnd::GetFocus());

    // Replacing a character in the middle of the full field leaves the caret before the end.
    edit->SetFocus();
    edit->SetSel(1, 2);
    Type(*edit, "x");
    EXPECT_STREQ("1x34", edit->GetText());
    EXPECT_EQ(1u, full.senders.size());
    EXPECT_EQ(edit, CWnd::GetFocus());
}

TEST(EditChange, DefaultLimitNeverAdvances)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    new TestEdit(&parent, CRect(10, 40, 210, 64), WS_VISIBLE | WS_TABSTOP, "", kEditId + 1);
    EditTarget full;
    edit->m_autoAdvance = TRUE;
    edit->m_onFull = iConnector(&full, &EditTarget::OnEvent);
    edit->SetFocus();
    Type(*edit, "12345");
    EXPECT_TRUE(full.senders.empty());
    EXPECT_EQ(edit, CWnd::GetFocus());
}

TEST(EditNotify, FocusReachesItsConnector)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    EditTarget target;
    edit->m_onSetFocus = iConnector(&target, &EditTarget::OnEvent);
    ::SetFocus(nullptr);
    edit->SetFocus();
    EXPECT_EQ(std::vector<CWnd*>{edit}, target.senders);
}

TEST(EditNotify, DialogCodeMaskIsAdded)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    const UINT plain = static_cast<UINT>(edit->SendMessage(WM_GETDLGCODE));
    edit->m_dlgCodeMask = DLGC_WANTALLKEYS;
    EXPECT_EQ(plain | DLGC_WANTALLKEYS, static_cast<UINT>(edit->SendMessage(WM_GETDLGCODE)));
}

TEST(EditColors, EnabledEditColoursItselfDisabledLeavesItToTheParent)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    edit->m_textColor = RGB(200, 0, 0);
    HDC dc = ::GetDC(edit->m_hWnd);
    ::SetTextColor(dc, RGB(1, 2, 3));
    auto brush = reinterpret_cast<HBRUSH>(
        parent.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit->m_hWnd)));
    EXPECT_EQ(edit->m_backBrush.GetSafeHandle(), brush);
    EXPECT_EQ(RGB(200, 0, 0), ::GetTextColor(dc));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), ::GetBkColor(dc));
    LOGBRUSH made = {};
    ::GetObjectA(brush, sizeof made, &made);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), made.lbColor);

    edit->EnableWindow(FALSE);
    ::SetTextColor(dc, RGB(1, 2, 3));
    brush = reinterpret_cast<HBRUSH>(
        parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit->m_hWnd)));
    EXPECT_NE(edit->m_backBrush.GetSafeHandle(), brush);
    EXPECT_NE(RGB(200, 0, 0), ::GetTextColor(dc));
    ::ReleaseDC(edit->m_hWnd, dc);
}

TEST(EditMenu, ItemsAndTheirStates)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    ASSERT_TRUE(PutTextOnClipboard(parent.m_hWnd, nullptr));
    edit->SetWindowText("some text");
    edit->SetSel(0, 0);
    edit->OpenMenuFromKeyboard({});
    ASSERT_TRUE(edit->menuSeen);
    const std::vector<std::string> kTexts = {"&Undo\t<Ctrl+Z>", "", "Cu&t\t<Ctrl+X>", "&Copy\t<Ctrl+C>",
                                             "&Paste\t<Ctrl+V>", "Cle&ar\t<Del>", "", "Select &All"};
    ASSERT_EQ(kTexts.size(), edit->states.size());
    for (size_t i = 0; i < kTexts.size(); ++i)
        EXPECT_EQ(kTexts[i], edit->states[i].text) << i;
    EXPECT_FALSE(edit->Enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(edit->Enabled(ID_EDIT_CUT));
    EXPECT_FALSE(edit->Enabled(ID_EDIT_COPY));
    EXPECT_FALSE(edit->Enabled(ID_EDIT_CLEAR));
    EXPECT_FALSE(edit->Enabled(ID_EDIT_PASTE));
    EXPECT_TRUE(edit->Enabled(ID_EDIT_SELECT_ALL));
    // Disabled, not greyed.
    EXPECT_EQ(static_cast<UINT>(MF_DISABLED), edit->states[2].state & (MF_DISABLED | MF_GRAYED));

    ASSERT_TRUE(PutTextOnClipboard(parent.m_hWnd, "pasted"));
    edit->SetSel(0, 4);
    edit->ReplaceSel("more", TRUE);
    edit->SetSel(0, 4);
    edit->OpenMenuFromKeyboard({});
    EXPECT_TRUE(edit->Enabled(ID_EDIT_UNDO));
    EXPECT_TRUE(edit->Enabled(ID_EDIT_CUT));
    EXPECT_TRUE(edit->Enabled(ID_EDIT_COPY));
    EXPECT_TRUE(edit->Enabled(ID_EDIT_CLEAR));
    EXPECT_TRUE(edit->Enabled(ID_EDIT_PASTE));
    ASSERT_TRUE(PutTextOnClipboard(parent.m_hWnd, nullptr));
}

TEST(EditMenu, ItemsAreImageItemsOnlyWhileTheMenuIsOpen)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    const LONG_PTR procedure = ::GetWindowLongPtrA(edit->m_hWnd, GWLP_WNDPROC);
    edit->OpenMenuFromKeyboard({});
    ASSERT_TRUE(edit->menuSeen);
    ASSERT_EQ(8u, edit->typesWhileOpen.size());
    for (UINT type : edit->typesWhileOpen)
        EXPECT_TRUE(type & MFT_OWNERDRAW);
    ASSERT_EQ(8u, edit->typesAtEnd.size());
    for (UINT type : edit->typesAtEnd)
        EXPECT_FALSE(type & MFT_OWNERDRAW);
    EXPECT_EQ(procedure, ::GetWindowLongPtrA(edit->m_hWnd, GWLP_WNDPROC)) << "the edit is no longer hooked";
}

TEST(EditMenu, KeyboardMenuOpensBesideTheClientCorner)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    edit->OpenMenuFromKeyboard({});
    ASSERT_TRUE(edit->menuSeen);
    CPoint corner(0, 0);
    edit->ClientToScreen(&corner);
    EXPECT_EQ(corner.x + 5, edit->menuRect.left);
    EXPECT_EQ(corner.y + 5, edit->menuRect.top);
}

TEST(EditMenu, SelectAllChosenFromTheMenu)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    edit->SetWindowText("whole text");
    edit->SetSel(2, 2);
    // Up from no selection reaches the last item; "a" would pick Clear, whose mnemonic comes first.
    edit->OpenMenuFromKeyboard({VK_UP, VK_RETURN});
    int start = -1, end = -1;
    edit->GetSel(start, end);
    EXPECT_EQ(0, start);
    EXPECT_EQ(10, end);
}

TEST(EditMenu, EditCommands)
{
    FocusContainer parent;
    TestEdit* edit = NewEdit(&parent);
    ASSERT_TRUE(PutTextOnClipboard(parent.m_hWnd, nullptr));
    struct Step { const char* why; UINT id; int selStart; int selEnd; const char* text; };
    const Step kSteps[] = {
        {"copy leaves the text", ID_EDIT_COPY, 0, 3, "abcdef"},
        {"clear removes the selection", ID_EDIT_CLEAR, 0, 1, "bcdef"},
        {"undo brings it back", ID_EDIT_UNDO, 0, 0, "abcdef"},
        {"cut removes it", ID_EDIT_CUT, 3, 6, "abc"},
        {"paste puts back what was cut", ID_EDIT_PASTE, 0, 0, "defabc"},
        {"find means nothing here", 0xE124, 0, 6, "defabc"},
        {"redo means nothing here", 0xE12C, 0, 6, "defabc"},
    };
    edit->SetWindowText("abcdef");
    for (const Step& s : kSteps) {
        SCOPED_TRACE(s.why);
        edit->SetSel(s.selStart, s.selEnd);
        edit->SendMessage(WM_COMMAND, s.id, 0);
        EXPECT_STREQ(s.text, edit->GetText());
    }
    edit->SetSel(1, 1);
    edit->SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    int start = -1, end = -1;
    edit->GetSel(start, end);
    EXPECT_EQ(0, start);
    EXPECT_EQ(6, end);
    ASSERT_TRUE(PutTextOnClipboard(parent.m_hWnd, nullptr));
}

TEST(FolderEdit, CtrlDoubleClickBrowsesPlainDoubleClickSelectsAWord)
{
    FocusContainer parent;
    auto* folder = new iFolderEdit(&parent, kEditRect, WS_VISIBLE, "", kEditId);
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string chosen = std::string(temp) + "folder_edit_test";
    ::CreateDirectoryA(chosen.c_str(), nullptr);
    BrowseForFolderFunction previous = SetBrowseForFolderFunction(&FolderAnswer::Browse);
    FolderAnswer::calls = 0;

    folder->SetWindowText("two words");
    FolderAnswer::folder = chosen;
    folder->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(2, 5));
    EXPECT_EQ(0, FolderAnswer::calls);
    EXPECT_STREQ("two words", folder->GetText());

    FolderAnswer::folder.clear();
    folder->SendMessage(WM_LBUTTONDBLCLK, MK_CONTROL, MAKELPARAM(2, 5));
    EXPECT_EQ(1, FolderAnswer::calls);
    EXPECT_EQ(parent.m_hWnd, FolderAnswer::owner);
    EXPECT_STREQ("two words", folder->GetText());  // cancelled: unchanged

    FolderAnswer::folder = chosen;
    folder->SendMessage(WM_LBUTTONDBLCLK, MK_CONTROL | MK_LBUTTON, MAKELPARAM(2, 5));
    EXPECT_EQ(2, FolderAnswer::calls);
    EXPECT_STRCASEEQ(chosen.c_str(), folder->GetText());

    SetBrowseForFolderFunction(previous);
    ::RemoveDirectoryA(chosen.c_str());
}

} // namespace
