// The toolbar's creation, buttons and images: a toolbar resource loaded into the real
// control, records in the toolkit's convention, the record size the control is told and
// the records' round trip through the 64-bit control, replacement only of changed
// records, texts, child controls, command update and the tools under the mouse.
#include "toolbar_test_support.h"

#include "framework/FrameWnd.h"
#include "toolkit/bars/QZExpButton.h"
#include "toolkit/foundation/QZAuxData.h"

#include <vector>

using namespace toolkit_test;

namespace {

// Refuses the creation of the chevron (the button with the customise command as its id).
HHOOK g_refuseChevronHook = nullptr;
LRESULT CALLBACK RefuseChevron(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (reinterpret_cast<UINT_PTR>(cs->hMenu) == ID_QZ_CUSTOMIZE_TOOLBAR && (cs->style & WS_CHILD))
            return 1;
    }
    return CallNextHookEx(g_refuseChevronHook, code, wParam, lParam);
}

// Puts a recorder in front of the toolbar control's class procedure while it lives, so a
// toolbar made meanwhile is seen from its first message, whatever it sends its control
// directly. Records the record size each TB_BUTTONSTRUCTSIZE gives, and how many
// buttons had arrived by then.
class ToolbarClassRecorder {
public:
    struct SizeMessage {
        WPARAM recordSize;
        int buttonsBefore;
    };

    explicit ToolbarClassRecorder(CWnd* parent)
    {
        s_sizes.clear();
        s_buttons = 0;
        m_scratch = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD, 0, 0, 10, 10, parent->m_hWnd,
                                    nullptr, nullptr, nullptr);
        if (m_scratch)
            s_previous = reinterpret_cast<WNDPROC>(
                SetClassLongPtrA(m_scratch, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ToolbarClassRecorder::Proc)));
    }
    ~ToolbarClassRecorder()
    {
        if (!m_scratch)
            return;
        SetClassLongPtrA(m_scratch, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_previous));
        DestroyWindow(m_scratch);
    }
    ToolbarClassRecorder(const ToolbarClassRecorder&) = delete;
    ToolbarClassRecorder& operator=(const ToolbarClassRecorder&) = delete;

    bool IsInPlace() const { return m_scratch && s_previous; }
    static const std::vector<SizeMessage>& Sizes() { return s_sizes; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == TB_BUTTONSTRUCTSIZE)
            s_sizes.push_back({wParam, s_buttons});
        else if (message == TB_ADDBUTTONSA || message == TB_INSERTBUTTONA)
            s_buttons += message == TB_ADDBUTTONSA ? static_cast<int>(wParam) : 1;
        return CallWindowProcA(s_previous, window, message, wParam, lParam);
    }
    HWND m_scratch = nullptr;
    static inline WNDPROC s_previous = nullptr;
    static inline std::vector<SizeMessage> s_sizes;
    static inline int s_buttons = 0;
};

} // namespace

TEST_F(ToolbarTest, ResourceGivesButtonsImagesSizesSnapshotAndRegistryNames)
{
    CreateToolBar(bar, &dockTop, CBRS_TOP | CBRS_SIZE_DYNAMIC);
    ASSERT_EQ(kToolbarCount, bar.SendMessage(TB_BUTTONCOUNT));
    EXPECT_EQ(kToolbarCount, bar.m_nCount);
    const int expectedImages[] = {0, 1, -1, 2, -1, 3};
    for (int i = 0; i < kToolbarCount; ++i) {
        SCOPED_TRACE(i);
        TBBUTTON button = {};
        ASSERT_TRUE(bar.GetButton(i, &button));
        EXPECT_EQ(static_cast<int>(kToolbarIds[i]), button.idCommand);
        if (kToolbarIds[i] == 0) {
            EXPECT_EQ(TBSTYLE_SEP, button.fsStyle);
            EXPECT_EQ(6, button.iBitmap) << "a flat control's separator";
        } else {
            EXPECT_EQ(0, button.fsStyle);
            EXPECT_EQ(expectedImages[i], button.iBitmap);
        }
        EXPECT_EQ(0, button.fsState & QZ_TBSTATE_DISABLED) << "enabled in the toolkit's convention";
    }
    EXPECT_EQ(CSize(23, 23), bar.m_sizeButton);
    EXPECT_EQ(CSize(16, 16), bar.m_sizeImage);
    const DWORD buttonSize = static_cast<DWORD>(bar.SendMessage(TB_GETBUTTONSIZE));
    EXPECT_EQ(23, LOWORD(buttonSize));
    EXPECT_EQ(23, HIWORD(buttonSize));
    ASSERT_NE(nullptr, bar.m_hbmImageWell);
    BITMAP strip = {};
    GetObjectA(bar.m_hbmImageWell, sizeof strip, &strip);
    EXPECT_EQ(64, strip.bmWidth);
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(bar.SendMessage(TB_GETIMAGELIST));
    EXPECT_EQ(4, ImageList_GetImageCount(images));

    ASSERT_EQ(kToolbarCount, bar.m_listButtons.GetCount());
    POSITION position = bar.m_listButtons.GetHeadPosition();
    for (int i = 0; i < kToolbarCount; ++i) {
        const QZ_TBBUTTON& element = bar.m_listButtons.GetNext(position);
        EXPECT_EQ(static_cast<int>(kToolbarIds[i]), element.button.idCommand);
        EXPECT_EQ(0, element.bHiddenAtSnapshot);
        EXPECT_EQ(nullptr, element.pControl);
    }
    EXPECT_STREQ("ToolbarTest-Bar59392", bar.m_strRegValue);
    EXPECT_STREQ("Software\\SorvantaToolbarTest\\ToolbarTest\\Settings", bar.m_strRegKey);
    EXPECT_EQ(static_cast<DWORD>(CBRS_TOP | CBRS_SIZE_DYNAMIC | CBRS_HIDE_INPLACE), bar.GetBarStyle())
        << "the standard toolbar's id hides it in place";
    EXPECT_EQ(CRect(6, 3, 6, 3), bar.GetBorders());
}

TEST_F(ToolbarTest, SizesWaitForTheWindowAndFollowOnlyWhatTheControlAccepts)
{
    bar.SetSizes(CSize(30, 28), CSize(20, 18));
    EXPECT_EQ(CSize(30, 28), bar.m_sizeButton) << "no window yet: only stored";
    const CRect borders = bar.GetBorders();
    ASSERT_TRUE(bar.CreateEx(&dockTop, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, borders, AFX_IDW_TOOLBAR));
    EXPECT_EQ(CSize(30, 28), bar.m_sizeButton) << "sent at creation and accepted";
    EXPECT_EQ(CSize(20, 18), bar.m_sizeImage);
    bar.SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(33, 31));
    EXPECT_EQ(CSize(33, 31), bar.m_sizeButton) << "what the control accepts is kept";

    // The control's own sizing runs flat and transparent; the window keeps its style.
    const DWORD style = bar.GetStyle();
    bar.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(bar.m_fontBold.m_hObject), FALSE);
    bar.SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(16, 16));
    EXPECT_EQ(style, bar.GetStyle());

    const int saved = qzAfxData.xpLook;
    qzAfxData.xpLook = 1;
    bar.ModifyStyle(0, TBSTYLE_LIST);
    bar.SetSizes(CSize(40, 24), CSize(16, 16));
    qzAfxData.xpLook = saved;
    EXPECT_EQ(CSize(36, 24), bar.m_sizeButton) << "an XP list toolbar's button is 4 pixels narrower";
}

TEST_F(ToolbarTest, ImagesFollowTheSystemColoursAndBordersAreTheNonClientArea)
{
    CreateToolBar(bar, &dockTop, CBRS_TOP | CBRS_BORDER_BOTTOM);
    auto cornerOfStrip = [&] {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc.m_hDC, bar.m_hbmImageWell);
        const COLORREF corner = dc.GetPixel(0, 0);
        SelectObject(dc.m_hDC, previous);
        return corner;
    };
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), cornerOfStrip()) << "the image's grey is the button face";
    {
        SysColorScope colours({{COLOR_BTNFACE, RGB(200, 180, 160)}});
        bar.SendMessage(WM_SYSCOLORCHANGE);
        EXPECT_EQ(RGB(200, 180, 160), cornerOfStrip()) << "reloaded in the new colours";
    }
    bar.SendMessage(WM_SYSCOLORCHANGE);

    CRect window;
    bar.GetWindowRect(&window);
    CRect client;
    bar.GetClientRect(&client);
    EXPECT_EQ(window.Width() - 12, client.Width()) << "6-pixel margins left and right";
    EXPECT_EQ(window.Height() - 6 - 2, client.Height()) << "3 above and below, 2 for the bottom border";
    POINT inBorder = {window.left + 2, window.top + 1};
    EXPECT_EQ(HTCLIENT, bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(inBorder.x, inBorder.y)));
}

TEST_F(ToolbarTest, MissingOrShortResourceIsRefusedAndTheStyleComesBack)
{
    const CRect borders = bar.GetBorders();
    ASSERT_TRUE(bar.CreateEx(&dockTop, TBSTYLE_LIST, WS_CHILD | CBRS_TOP, borders, AFX_IDW_TOOLBAR));
    const DWORD style = bar.GetStyle();
    EXPECT_FALSE(bar.LoadToolBar(7999));
    EXPECT_FALSE(bar.LoadToolBar(IDR_TEST_SHORT_TOOLBAR)) << "six items claimed, two held";
    EXPECT_EQ(0, bar.SendMessage(TB_BUTTONCOUNT));
    EXPECT_EQ(style, bar.GetStyle()) << "the flat and transparent bits were only for the load";
    EXPECT_TRUE(bar.LoadToolBar(IDR_TEST_TOOLBAR));
    EXPECT_EQ(style, bar.GetStyle());
    EXPECT_EQ(6, ControlButton(bar, 2).iBitmap) << "loaded while flat";
    const UINT ids[] = {ID_FILE_OPEN, 0};
    ASSERT_TRUE(bar.SetButtons(ids, 2));
    EXPECT_EQ(8, ControlButton(bar, 1).iBitmap) << "a separator of a control that is not flat";
}

TEST_F(ToolbarTest, RecordsRoundTripThroughTheControlWithTheirPointerSizedFields)
{
    CreateToolBar(bar, &dockTop, CBRS_TOP);
    TBBUTTON button = {};
    ASSERT_TRUE(bar.GetButton(1, &button));
    button.dwData = static_cast<DWORD_PTR>(0x123456789ABCull);
    button.fsState |= TBSTATE_CHECKED;
    button.fsStyle |= TBSTYLE_CHECK;
    bar.SetButton(1, &button);
    TBBUTTON read = {};
    ASSERT_TRUE(bar.GetButton(1, &read));
    EXPECT_EQ(static_cast<int>(ID_FILE_SAVE), read.idCommand);
    EXPECT_EQ(1, read.iBitmap);
    EXPECT_EQ(button.dwData, read.dwData);
    EXPECT_EQ(button.fsState, read.fsState);
    EXPECT_EQ(button.fsStyle, read.fsStyle);
    EXPECT_EQ(-1, read.iString);
    EXPECT_EQ(TBSTATE_ENABLED | TBSTATE_CHECKED, ControlButton(bar, 1).fsState)
        << "the control holds its own convention";

    // Disabled in the toolkit's records is the control's "not enabled".
    bar.SetButtonStyle(0, bar.GetButtonStyle(0) | QZ_TBBS_DISABLED);
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONENABLED, ID_FILE_OPEN));
    EXPECT_EQ(QZ_TBBS_DISABLED, bar.GetButtonStyle(0) & QZ_TBBS_DISABLED);
    bar.SetButtonStyle(0, bar.GetButtonStyle(0) & ~QZ_TBBS_DISABLED);
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONENABLED, ID_FILE_OPEN));
}

// A control told a smaller record size steps through a 64-bit program's records at the
// wrong stride: every record after the first is read from the wrong bytes. Wine's control
// ignores the size, so what the control is told is checked here.
TEST_F(ToolbarTest, TheControlLearnsTheRecordSizeOfThisProgramBeforeItsFirstButton)
{
    ToolbarClassRecorder recorder(frame);
    ASSERT_TRUE(recorder.IsInPlace());
    CreateToolBar(bar, &dockTop, CBRS_TOP);
    ASSERT_FALSE(ToolbarClassRecorder::Sizes().empty());
    EXPECT_EQ(sizeof(TBBUTTON), ToolbarClassRecorder::Sizes().front().recordSize);
    EXPECT_EQ(0, ToolbarClassRecorder::Sizes().front().buttonsBefore);
    for (const auto& told : ToolbarClassRecorder::Sizes())
        EXPECT_EQ(sizeof(TBBUTTON), told.recordSize) << "never told another size later";
    EXPECT_EQ(kToolbarCount, bar.SendMessage(TB_BUTTONCOUNT));
}

TEST_F(ToolbarTest, UnchangedRecordTouchesNothingAndAChangeRepaintsOnlyItsButton)
{
    CreateToolBar(bar, &dockTop, CBRS_TOP);
    CRect first;
    bar.GetItemRect(0, &first);
    PumpPending();
    MessageCounter counter(bar.m_hWnd);
    TBBUTTON button = {};
    ASSERT_TRUE(bar.GetButton(3, &button));
    // Whatever the reserved bytes hold, they are no change.
    FillMemory(button.bReserved, sizeof button.bReserved, 0xCD);
    bar.ValidateRect(nullptr);
    bar.SetButton(3, &button);
    bar.SetButtonStyle(3, bar.GetButtonStyle(3));
    bar.SetButton(-1, &button);
    EXPECT_EQ(0, counter.Count(TB_DELETEBUTTON));
    EXPECT_EQ(0, counter.Count(TB_INSERTBUTTONA));
    CRect update;
    EXPECT_FALSE(GetUpdateRect(bar.m_hWnd, &update, FALSE));

    button.fsState |= TBSTATE_PRESSED;
    bar.SetButton(3, &button);
    EXPECT_EQ(1, counter.Count(TB_DELETEBUTTON));
    EXPECT_EQ(1, counter.Count(TB_INSERTBUTTONA));
    ASSERT_TRUE(GetUpdateRect(bar.m_hWnd, &update, FALSE));
    EXPECT_EQ(Item(bar, 3), update) << "only the changed button is drawn again";
    EXPECT_EQ(static_cast<int>(ID_FILE_PRINT), ControlButton(bar, 3).idCommand) << "in its place";

    bar.ValidateRect(nullptr);
    TBBUTTON separator = {};
    ASSERT_TRUE(bar.GetButton(2, &separator));
    separator.iBitmap = 20;
    bar.SetButton(2, &separator);
    ASSERT_TRUE(GetUpdateRect(bar.m_hWnd, &update, FALSE));
    CRect client;
    bar.GetClientRect(&client);
    EXPECT_EQ(client, update) << "a separator's width moves everything after it";
}

TEST_F(ToolbarTest, TextsArePooledOnceAndReadBackByButton)
{
    CreateToolBar(bar, &dockTop, CBRS_TOP);
    EXPECT_TRUE(bar.GetButtonText(0).IsEmpty());
    ASSERT_TRUE(bar.SetButtonText(0, "Open"));
    ASSERT_TRUE(bar.SetButtonText(1, "Save"));
    ASSERT_TRUE(bar.SetButtonText(3, "Open"));
    EXPECT_STREQ("Open", bar.GetButtonText(0));
    EXPECT_STREQ("Save", bar.GetButtonText(1));
    EXPECT_STREQ("Open", bar.GetButtonText(3)) << "the pooled text is shared";
    EXPECT_EQ(ControlButton(bar, 0).iString, ControlButton(bar, 3).iString);
    EXPECT_EQ(2, bar.m_pStringMap->GetCount());
    CString text;
    EXPECT_TRUE(bar.m_mapButtonTexts.Lookup(ID_FILE_OPEN, text));
    EXPECT_FALSE(bar.m_mapButtonTexts.Lookup(ID_FILE_PRINT, text)) << "a reused text names no second command";
    EXPECT_TRUE(bar.GetButtonText(5).IsEmpty());
    EXPECT_EQ(1u, bar.ApplyDrawTextFlags(1));
    bar.SendMessage(TB_SETDRAWTEXTFLAGS, DT_CENTER | DT_SINGLELINE, DT_SINGLELINE);
    EXPECT_EQ(static_cast<UINT>(DT_SINGLELINE | DT_VCENTER), bar.ApplyDrawTextFlags(DT_CENTER | DT_VCENTER));
}

TEST_F(ToolbarTest, ChildControlTakesItsSeparatorsPlaceAndHidesWithIt)
{
    const CRect borders = bar.GetBorders();
    ASSERT_TRUE(bar.CreateEx(&dockTop, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, borders, AFX_IDW_TOOLBAR));
    constexpr UINT kComboId = 4242;
    const UINT ids[] = {ID_FILE_OPEN, kComboId, ID_FILE_SAVE};
    ASSERT_TRUE(bar.SetButtons(ids, 3));
    TBBUTTON placeholder = {};
    ASSERT_TRUE(bar.GetButton(1, &placeholder));
    placeholder.fsStyle = TBSTYLE_SEP;
    bar.SetButton(1, &placeholder);
    bar.SaveOriginalButtons();
    CWnd combo;
    ASSERT_TRUE(combo.Create("COMBOBOX", nullptr, WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 80, 100), &bar, kComboId));

    CWnd stray;
    ASSERT_TRUE(stray.Create("STATIC", nullptr, WS_CHILD, CRect(0, 0, 10, 10), &bar, 4343));
    EXPECT_TRUE(bar.AddControl(&stray)) << "no separator of that id: nothing, but TRUE";
    EXPECT_FALSE(stray.IsWindowVisible());

    ASSERT_TRUE(bar.AddControl(&combo, TRUE));
    EXPECT_TRUE(combo.IsWindowVisible());
    EXPECT_EQ(reinterpret_cast<HFONT>(bar.m_fontBold.m_hObject), reinterpret_cast<HFONT>(combo.SendMessage(WM_GETFONT)));
    CRect window;
    combo.GetWindowRect(&window);
    bar.ScreenToClient(&window);
    CRect item = Item(bar, 1);
    EXPECT_EQ(window.Width(), item.Width()) << "the separator is as wide as the control";
    EXPECT_EQ(item.left, window.left);
    EXPECT_EQ(std::max<int>(0, (item.top + item.bottom - window.Height()) / 2), window.top) << "centred";

    TBBUTTON hidden = {};
    ASSERT_TRUE(bar.GetButton(1, &hidden));
    hidden.fsState |= TBSTATE_HIDDEN;
    bar.SetButton(1, &hidden);
    EXPECT_FALSE(combo.IsWindowVisible());
    bar.PositionControl(&combo);
    EXPECT_FALSE(combo.IsWindowVisible()) << "a hidden place keeps its control hidden";
    hidden.fsState &= ~TBSTATE_HIDDEN;
    bar.SetButton(1, &hidden);
    EXPECT_TRUE(combo.IsWindowVisible()) << "shown with its place";
    combo.GetWindowRect(&window);
    bar.ScreenToClient(&window);
    EXPECT_EQ(Item(bar, 1).TopLeft(), window.TopLeft());
    stray.DestroyWindow();
    combo.DestroyWindow();
}

TEST_F(ToolbarTest, IdleUpdateTakesButtonStatesFromTheFramesHandlers)
{
    CreateToolBar(bar, frame, CBRS_TOP);
    bar.SetOwner(frame);
    // A pressed Save that its handler disables is left unpressed.
    bar.SetButtonStyle(1, bar.GetButtonStyle(1) | QZ_TBBS_PRESSED);
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONENABLED, ID_FILE_OPEN));
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONENABLED, ID_FILE_SAVE));
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONPRESSED, ID_FILE_SAVE));
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONCHECKED, ID_FILE_PRINT));
    EXPECT_EQ(TBSTYLE_CHECK, ControlButton(bar, 3).fsStyle & TBSTYLE_CHECK) << "checking makes a check box";
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONENABLED, ID_HELP_INDEX)) << "the frame carries out Help Index";
    constexpr UINT kUnhandled = 4711;
    bar.SetButtonInfo(5, kUnhandled, 0, 3);
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONENABLED, kUnhandled)) << "no handler at all: disabled";
    EXPECT_EQ(QZ_TBBS_DISABLED, bar.GetButtonStyle(5) & QZ_TBBS_DISABLED);
    bar.SendMessage(WM_IDLEUPDATECMDUI, FALSE);
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONENABLED, kUnhandled)) << "left as it was";

    frame->m_bSaveEnabled = TRUE;
    frame->m_nPrintCheck = 2;
    bar.OnUpdateCmdUI(frame, FALSE);
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONENABLED, ID_FILE_SAVE));
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONINDETERMINATE, ID_FILE_PRINT));
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONCHECKED, ID_FILE_PRINT));
}

TEST_F(ToolbarTest, ToolUnderTheMouseWithA64BitToolRecord)
{
    CreateToolBar(bar, &dockTop, CBRS_TOP);
    const CRect save = Item(bar, 1);
    struct Case {
        const char* why;
        CPoint point;
        int expected;
    };
    const Case cases[] = {
        {"inside Save", CPoint(save.left + 3, save.top + 3), static_cast<int>(ID_FILE_SAVE)},
        {"the row just below still belongs to it", CPoint(save.left + 3, save.bottom), static_cast<int>(ID_FILE_SAVE)},
        {"on a separator", Item(bar, 2).CenterPoint(), -1},
        {"right of every button", CPoint(Item(bar, 5).right + 20, save.top + 3), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.expected, bar.OnToolHitTest(c.point, nullptr));
    }

    const UINT sizes[] = {TTTOOLINFOA_V2_SIZE, sizeof(TOOLINFOA)};
    for (UINT size : sizes) {
        SCOPED_TRACE(size);
        TOOLINFOA info = {};
        info.cbSize = size;
        ASSERT_EQ(static_cast<int>(ID_FILE_SAVE), bar.OnToolHitTest(save.CenterPoint(), &info));
        EXPECT_EQ(bar.m_hWnd, info.hwnd);
        EXPECT_EQ(static_cast<UINT_PTR>(ID_FILE_SAVE), info.uId);
        EXPECT_EQ(CRect(save.left, save.top, save.right + 1, save.bottom + 1), CRect(info.rect));
        EXPECT_EQ(LPSTR_TEXTCALLBACKA, info.lpszText);
    }
    // A record of the 32-bit size is too short for these fields: it is left alone.
    TOOLINFOA shortInfo = {};
    shortInfo.cbSize = 40;
    EXPECT_EQ(static_cast<int>(ID_FILE_SAVE), bar.OnToolHitTest(save.CenterPoint(), &shortInfo));
    EXPECT_EQ(nullptr, shortInfo.hwnd);
    EXPECT_EQ(nullptr, shortInfo.lpszText);
}

TEST_F(ToolbarTest, ChevronIsAHiddenChildAndAToolbarWithoutOneIsNotMade)
{
    CreateToolBar(bar, &dockTop, CBRS_TOP);
    CWnd* chevron = bar.GetDlgItem(ID_QZ_CUSTOMIZE_TOOLBAR);
    ASSERT_NE(nullptr, chevron);
    EXPECT_TRUE(chevron->IsKindOf(RUNTIME_CLASS(CQZExpButton)));
    EXPECT_FALSE(chevron->IsWindowVisible());
    EXPECT_EQ(&bar, static_cast<CQZExpButton*>(chevron)->m_pToolBar);

    g_refuseChevronHook = SetWindowsHookExA(WH_CBT, &RefuseChevron, nullptr, GetCurrentThreadId());
    CQZToolBar refused;
    const CRect borders = refused.GetBorders();
    const BOOL created = refused.CreateEx(&dockTop, 0, WS_CHILD | CBRS_TOP, borders, AFX_IDW_TOOLBAR + 1);
    UnhookWindowsHookEx(g_refuseChevronHook);
    EXPECT_FALSE(created);
    EXPECT_EQ(nullptr, refused.m_hWnd);
}

TEST(CQZExpButton, ObjectWhoseWindowCannotBeMadeStaysWithItsCreator)
{
    // Made on the stack: had the failed creation deleted it, the test would crash here.
    CQZToolBar noWindow;
    CQZExpButton chevron;
    EXPECT_FALSE(chevron.Create(&noWindow, ID_QZ_CUSTOMIZE_TOOLBAR));
    EXPECT_EQ(nullptr, chevron.m_hWnd);
    EXPECT_EQ(nullptr, chevron.m_pToolBar);
}
