// The toolbar's drop-down buttons, driven by the control's notifications through the
// owner's reflection: the record a command is given, a menu record tracked below its
// button with the chosen command reaching the owner, a menu that is missing or has no
// popup, a plain record the owner handles (or not) with the capture that follows a held
// button, a button without a record, and the hot item held while the button is down.
#include "menu_test_support.h"
#include "toolbar_test_support.h"

#include "framework/ThreadState.h"
#include "toolkit/bars/QZExpMenuWnd.h"
#include "toolkit/colour/QZColorPopup.h"

#include <vector>

using namespace toolkit_test;

namespace {

// The toolbar's owner: keeps the commands and drop-down requests it gets and answers a
// drop-down request as told. Notifications from the toolbar are reflected to it as a
// frame's would be.
class DropDownOwner : public CWnd {
public:
    LRESULT answer = 0;
    std::vector<UINT> commands;
    int menuLoops = 0;
    int dropDowns = 0;
    int dropDownItem = 0;
    CRect dropDownRect;
    // Colour messages passed on by the toolbar: message, colour, command.
    struct Colour {
        UINT message;
        COLORREF colour;
        LPARAM command;
    };
    std::vector<Colour> colours;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_COMMAND:
            if (!lParam)
                commands.push_back(LOWORD(wParam));
            break;
        case WM_ENTERMENULOOP:
            ++menuLoops;
            break;
        case WM_QZ_COLORCHANGED:
        case WM_QZ_COLORCLOSEUP:
            colours.push_back({message, static_cast<COLORREF>(wParam), lParam});
            return 0;
        case WM_QZ_DROPDOWN:
            ++dropDowns;
            dropDownItem = reinterpret_cast<const NMTOOLBARA*>(wParam)->iItem;
            dropDownRect = *reinterpret_cast<const RECT*>(lParam);
            return answer;
        default:
            break;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ToolbarDropDownTest : public ToolbarTest {
protected:
    void SetUp() override
    {
        ToolbarTest::SetUp();
        ASSERT_TRUE(owner.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 1, 1), frame, 4712));
    }
    void MakeBar(CWnd* dock, DWORD align, CQZToolBar* toolBar = nullptr)
    {
        CQZToolBar& made = toolBar ? *toolBar : bar;
        CreateToolBar(made, dock, align);
        made.SetOwner(&owner);
    }
    // TBN_DROPDOWN for the command, as the control sends it when its arrow is pressed.
    void DropDown(UINT command, CQZToolBar* toolBar = nullptr)
    {
        CQZToolBar& from = toolBar ? *toolBar : bar;
        NMTOOLBARA notify = {};
        notify.hdr.hwndFrom = from.m_hWnd;
        notify.hdr.idFrom = from.GetDlgCtrlID();
        notify.hdr.code = TBN_DROPDOWN;
        notify.iItem = static_cast<int>(command);
        owner.SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
    }
    CRect ScreenItem(UINT command, CQZToolBar* toolBar = nullptr)
    {
        CQZToolBar& of = toolBar ? *toolBar : bar;
        CRect item = Item(of, of.CommandToIndex(command));
        of.ClientToScreen(&item);
        return item;
    }

    // Print made a colour button (the whole button drops down) showing red, black by default.
    QZ_DROPDOWNBUTTON* ColourButton(CQZToolBar& toolBar)
    {
        QZ_DROPDOWNBUTTON* record = toolBar.AddDropDownButton(ID_FILE_PRINT, FALSE);
        record->bColorPopup = TRUE;
        record->bShowColor = TRUE;
        record->clrCurrent = RGB(255, 0, 0);
        record->clrDefault = RGB(0, 0, 0);
        return record;
    }

    DropDownOwner owner;
};

} // namespace

TEST_F(ToolbarDropDownTest, CommandGetsOneRecordOwnedByItsSnapshotElementAndTheDropDownStyle)
{
    MakeBar(&dockTop, CBRS_ALIGN_TOP);
    QZ_DROPDOWNBUTTON* record = bar.AddDropDownButton(ID_FILE_PRINT, FALSE);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(static_cast<UINT>(ID_FILE_PRINT), record->nCommand);
    EXPECT_EQ(0u, record->nMenuID);
    EXPECT_EQ(0xFF000000u, record->clrDefault);
    EXPECT_EQ(0xFF000000u, record->clrCurrent);
    EXPECT_EQ(record, bar.FindDropDownButton(ID_FILE_PRINT));
    EXPECT_EQ(BTNS_DROPDOWN, ControlButton(bar, 3).fsStyle & BTNS_DROPDOWN);
    EXPECT_EQ(0, bar.SendMessage(TB_GETEXTENDEDSTYLE) & TBSTYLE_EX_DRAWDDARROWS);
    const QZ_TBBUTTON& element = bar.m_listButtons.GetAt(bar.m_listButtons.FindIndex(3));
    EXPECT_EQ(record, element.pDropDown);
    EXPECT_EQ(1, element.bOwnsDropDown);
    EXPECT_EQ(BTNS_DROPDOWN, element.button.fsStyle & BTNS_DROPDOWN);

    EXPECT_EQ(record, bar.AddDropDownButton(ID_FILE_PRINT, TRUE)) << "the record it has";
    EXPECT_EQ(TBSTYLE_EX_DRAWDDARROWS, bar.SendMessage(TB_GETEXTENDEDSTYLE) & TBSTYLE_EX_DRAWDDARROWS);
    EXPECT_EQ(nullptr, bar.AddDropDownButton(4711, FALSE)) << "no button, so nothing would ever delete it";
    EXPECT_EQ(nullptr, bar.FindDropDownButton(ID_FILE_SAVE));
}

TEST_F(ToolbarDropDownTest, MenuRecordDropsTheMenusFirstPopupBelowTheButtonAndTheChoiceReachesTheOwner)
{
    struct Case {
        const char* why;
        CWnd* dock;
        DWORD align;
    };
    const Case kCases[] = {
        {"docked at the top: the popup side is the top", &dockTop, CBRS_ALIGN_TOP},
        {"docked at the left: the popup still drops from the top", &dockLeft, CBRS_ALIGN_LEFT},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        CQZToolBar toolBar;
        MakeBar(c.dock, c.align, &toolBar);
        QZ_DROPDOWNBUTTON* record = toolBar.AddDropDownButton(ID_FILE_OPEN, TRUE);
        record->nMenuID = IDR_TEST_CONTEXT_MENU;
        owner.commands.clear();
        UINT firstItem = 0;
        int openIndexWhileOpen = -2;
        MenuScript script({[&] {
                               firstItem = ::GetMenuItemID(AfxGetThreadState()->m_hTrackingMenu, 0);
                               openIndexWhileOpen = toolBar.m_nDropDownIndex;
                               PostKey(VK_DOWN);
                           },
                           [] { PostKey(VK_RETURN); }});
        DropDown(ID_FILE_OPEN, &toolBar);
        EXPECT_FALSE(script.TimedOut());
        EXPECT_EQ(static_cast<UINT>(ID_TEST_FIRST), firstItem) << "the first popup of the menu";
        EXPECT_EQ(0, openIndexWhileOpen);
        EXPECT_EQ(-1, toolBar.m_nDropDownIndex) << "closed again once the menu returned";
        EXPECT_EQ(ScreenItem(ID_FILE_OPEN, &toolBar), CQZCoolMenu::m_rcOpener);
        EXPECT_EQ(static_cast<UINT>(CBRS_ALIGN_TOP), CQZCoolMenu::m_nPopupSide);
        PumpPending();
        EXPECT_EQ(std::vector<UINT>({ID_TEST_FIRST}), owner.commands);
        toolBar.DestroyWindow();
    }
}

TEST_F(ToolbarDropDownTest, MissingMenuOrOneWithoutAPopupOpensNothingAndTheButtonIsClosedAgain)
{
    struct Case {
        const char* why;
        UINT menu;
    };
    const Case kCases[] = {
        {"no such menu resource", 7599},
        {"a menu without a popup", IDR_TEST_FLAT_MENU},
    };
    MakeBar(&dockTop, CBRS_ALIGN_TOP);
    QZ_DROPDOWNBUTTON* record = bar.AddDropDownButton(ID_FILE_SAVE, TRUE);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        record->nMenuID = c.menu;
        // Ends a menu should one open after all.
        MenuScript script({[] { PostKey(VK_ESCAPE); }}, 40, 2000);
        DropDown(ID_FILE_SAVE);
        EXPECT_EQ(0, owner.menuLoops) << "nothing tracked";
        EXPECT_EQ(-1, bar.m_nDropDownIndex);
        EXPECT_EQ(0, owner.dropDowns) << "and the owner is not asked instead";
    }
}

TEST_F(ToolbarDropDownTest, PlainRecordAsksTheOwnerWhoseAnswerKeepsTheButtonOpen)
{
    MakeBar(&dockTop, CBRS_ALIGN_TOP);
    bar.AddDropDownButton(ID_FILE_PRINT, TRUE);
    struct Case {
        const char* why;
        LRESULT answer;
        int openIndex;
    };
    const Case kCases[] = {
        {"the owner takes it: the button stays dropped down", 1, 3},
        {"the owner does not: closed at once", 0, -1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        owner.answer = c.answer;
        owner.dropDowns = 0;
        bar.m_nDropDownIndex = -1;
        DropDown(ID_FILE_PRINT);
        EXPECT_EQ(1, owner.dropDowns);
        EXPECT_EQ(static_cast<int>(ID_FILE_PRINT), owner.dropDownItem) << "the notification comes along";
        EXPECT_EQ(ScreenItem(ID_FILE_PRINT), owner.dropDownRect) << "the button on the screen";
        EXPECT_EQ(c.openIndex, bar.m_nDropDownIndex);
        EXPECT_EQ(nullptr, ::GetCapture()) << "no capture while the button is up";
    }
    // Held down, the button's release comes back to the toolbar.
    {
        LeftButtonDown held;
        DropDown(ID_FILE_PRINT);
    }
    EXPECT_EQ(bar.m_hWnd, ::GetCapture());
    EXPECT_TRUE(bar.m_bCaptureAfterDropDown);
    bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_FALSE(bar.m_bCaptureAfterDropDown);
}

TEST_F(ToolbarDropDownTest, ButtonWithoutARecordOpensAndSendsNothingAndIsNotLeftOpen)
{
    MakeBar(&dockTop, CBRS_ALIGN_TOP);
    owner.answer = 1;
    DropDown(ID_FILE_OPEN);
    EXPECT_EQ(0, owner.dropDowns);
    EXPECT_EQ(0, owner.menuLoops);
    EXPECT_EQ(-1, bar.m_nDropDownIndex) << "no shadow for a drop-down that never opened";
}

TEST_F(ToolbarDropDownTest, HotItemStaysWhileTheLeftButtonIsHeld)
{
    MakeBar(&dockTop, CBRS_ALIGN_TOP);
    struct Case {
        const char* why;
        int oldItem;
        int newItem;
        bool held;
        LRESULT result;
    };
    const Case kCases[] = {
        {"moving while held: refused", ID_FILE_OPEN, ID_FILE_SAVE, true, 1},
        {"moving with the button up: accepted", ID_FILE_OPEN, ID_FILE_SAVE, false, 0},
        {"the same item while held: accepted", ID_FILE_OPEN, ID_FILE_OPEN, true, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        NMTBHOTITEM hot = {};
        hot.hdr.hwndFrom = bar.m_hWnd;
        hot.hdr.idFrom = bar.GetDlgCtrlID();
        hot.hdr.code = TBN_HOTITEMCHANGE;
        hot.idOld = c.oldItem;
        hot.idNew = c.newItem;
        if (c.held) {
            LeftButtonDown held;
            EXPECT_EQ(c.result, owner.SendMessage(WM_NOTIFY, hot.hdr.idFrom, reinterpret_cast<LPARAM>(&hot)));
        } else {
            EXPECT_EQ(c.result, owner.SendMessage(WM_NOTIFY, hot.hdr.idFrom, reinterpret_cast<LPARAM>(&hot)));
        }
    }
}

TEST_F(ToolbarDropDownTest, ColourRecordOpensAPopupWhoseChoiceBecomesTheButtonsColourAndReachesTheOwner)
{
    MakeBar(&dockTop, CBRS_ALIGN_TOP);
    QZ_DROPDOWNBUTTON* record = ColourButton(bar);
    DropDown(ID_FILE_PRINT);
    CQZColorPopup* popup = bar.m_pColorPopup;
    ASSERT_NE(nullptr, popup);
    ASSERT_TRUE(::IsWindow(popup->m_hWnd));
    EXPECT_TRUE(bar.IsColorPopupOpen(ID_FILE_PRINT));
    EXPECT_EQ(3, bar.m_nDropDownIndex);
    EXPECT_EQ(ScreenItem(ID_FILE_PRINT), CQZCoolMenu::m_rcOpener);
    EXPECT_EQ(RGB(255, 0, 0), popup->m_clrCurrent);
    EXPECT_EQ(RGB(0, 0, 0), popup->m_clrDefault);
    CRect window;
    popup->GetWindowRect(&window);
    EXPECT_EQ(CPoint(ScreenItem(ID_FILE_PRINT).left, ScreenItem(ID_FILE_PRINT).bottom), window.TopLeft()) << "below the button";
    // The button draws its image itself while its popup is open.
    {
        PaperCanvas canvas(200, 40);
        NMCUSTOMDRAW draw = {};
        draw.hdc = canvas.get();
        draw.dwItemSpec = ID_FILE_PRINT;
        EXPECT_TRUE(bar.DrawButton(CDC::FromHandle(canvas.get()), &draw));
    }

    // A second press while it is open changes nothing.
    DropDown(ID_FILE_PRINT);
    EXPECT_EQ(popup, bar.m_pColorPopup);

    // A colour chosen: the button shows it and the owner hears of it, then of the close.
    const QZ_COLOR_CELL* cell = popup->GetCellAt(2);
    ASSERT_NE(nullptr, cell);
    const COLORREF chosen = cell->color;
    ASSERT_NE(RGB(255, 0, 0), chosen);
    popup->EndSelection(2);
    EXPECT_EQ(chosen, record->clrCurrent);
    PumpPending();
    ASSERT_EQ(2u, owner.colours.size());
    EXPECT_EQ(static_cast<UINT>(WM_QZ_COLORCHANGED), owner.colours[0].message);
    EXPECT_EQ(chosen, owner.colours[0].colour);
    EXPECT_EQ(static_cast<LPARAM>(ID_FILE_PRINT), owner.colours[0].command);
    EXPECT_EQ(static_cast<UINT>(WM_QZ_COLORCLOSEUP), owner.colours[1].message);
    EXPECT_EQ(static_cast<LPARAM>(ID_FILE_PRINT), owner.colours[1].command);
    EXPECT_EQ(-1, bar.m_nDropDownIndex);
    EXPECT_EQ(-1, bar.m_nColorPopupCommand);
    EXPECT_FALSE(bar.IsColorPopupOpen(ID_FILE_PRINT));
    {
        PaperCanvas canvas(200, 40);
        NMCUSTOMDRAW draw = {};
        draw.hdc = canvas.get();
        draw.dwItemSpec = ID_FILE_PRINT;
        EXPECT_FALSE(bar.DrawButton(CDC::FromHandle(canvas.get()), &draw)) << "the control draws it again";
    }

    // The popup object stays with the toolbar until the next one, and goes with it.
    EXPECT_EQ(popup, bar.m_pColorPopup);
    const int held = LiveBlocksOfSize(sizeof(CQZColorPopup));
    DropDown(ID_FILE_PRINT);
    EXPECT_NE(nullptr, bar.m_pColorPopup);
    EXPECT_EQ(held, LiveBlocksOfSize(sizeof(CQZColorPopup))) << "the old one replaced, not kept";
    bar.DestroyWindow();
    PumpPending();
}

TEST_F(ToolbarDropDownTest, ColourPopupThatCannotBeMadeLeavesTheButtonClosedAndNothingBehind)
{
    MakeBar(&dockTop, CBRS_ALIGN_TOP);
    ColourButton(bar);
    const int before = LiveBlocksOfSize(sizeof(CQZColorPopup));
    {
        const DialogFramePopupRefusal refusal;
        DropDown(ID_FILE_PRINT);
    }
    EXPECT_EQ(nullptr, bar.m_pColorPopup);
    EXPECT_EQ(-1, bar.m_nDropDownIndex);
    EXPECT_EQ(-1, bar.m_nColorPopupCommand);
    EXPECT_EQ(before, LiveBlocksOfSize(sizeof(CQZColorPopup)));
}

TEST_F(ToolbarDropDownTest, ColourButtonInTheChevronPopupColoursTheToolbarsButtonAndClosesThePopup)
{
    MakeBar(&dockTop, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
    QZ_DROPDOWNBUTTON* record = ColourButton(bar);
    bar.HideButtonsToFit(bar.CalcFixedLayout(FALSE, TRUE).cx, 10, TRUE);
    CQZExpMenuWnd* chevronPopup = CQZExpMenuWnd::Open(&owner, WM_QZ_CHEVRONCLOSED, CRect(300, 100, 312, 122), &bar);
    ASSERT_NE(nullptr, chevronPopup);
    CQZToolBar& copies = chevronPopup->m_wndHiddenButtons;
    EXPECT_EQ(record, copies.FindDropDownButton(ID_FILE_PRINT)) << "the record is shared";
    DropDown(ID_FILE_PRINT, &copies);
    CQZColorPopup* colours = copies.m_pColorPopup;
    ASSERT_NE(nullptr, colours);
    EXPECT_EQ(2, colours->m_arrNotifyWnds.GetSize()) << "the copy's bar and the toolbar";
    const COLORREF chosen = colours->GetCellAt(3)->color;
    colours->EndSelection(3);
    PumpPending();
    EXPECT_EQ(chosen, record->clrCurrent);
    EXPECT_FALSE(CQZExpMenuWnd::IsOpen(chevronPopup)) << "the colour popup's close closes the chevron's";
    EXPECT_EQ(-1, bar.m_nColorPopupCommand);
}
