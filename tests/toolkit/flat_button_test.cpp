// The flat button: its deferred set-up, frames by style and state, image and text places,
// hot tracking through the timer step, colours that survive a system colour change, and
// images that are freed when replaced.
#include "toolkit/controls/QZButton.h"

#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMessages.h"
#include "toolkit_test_resources.h"
#include "toolkit_test_support.h"

using namespace toolkit_test;

namespace {

constexpr COLORREF kIconGreen = RGB(0, 160, 0);
constexpr COLORREF kIconBlue = RGB(0, 0, 160);

class FlatButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, 50, 50, 300, 100, nullptr, nullptr));
        ASSERT_TRUE(button.Create("&Open", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 110, 34), &parent, 300));
        PumpPending();
    }
    void TearDown() override
    {
        button.DestroyWindow();
        parent.DestroyWindow();
        PumpPending();
    }
    // The button's owner drawing for a state, on a canvas as large as the button.
    void Draw(PaperCanvas& canvas, UINT state)
    {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.hwndItem = button.m_hWnd;
        item.hDC = canvas.get();
        item.itemState = state;
        button.GetClientRect(&item.rcItem);
        button.DrawItem(&item);
    }
    CPoint FirstPixel(const PaperCanvas& canvas, COLORREF colour)
    {
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 100; ++x)
                if (canvas.At(x, y) == colour)
                    return CPoint(x, y);
        return CPoint(-1, -1);
    }
    int FirstColumnWith(const PaperCanvas& canvas, COLORREF colour)
    {
        for (int x = 0; x < 100; ++x)
            for (int y = 0; y < 24; ++y)
                if (canvas.At(x, y) == colour)
                    return x;
        return -1;
    }
    int TextWidth(LPCSTR text)
    {
        CClientDC dc(&button);
        HGDIOBJ previous = SelectObject(dc.m_hDC, reinterpret_cast<HGDIOBJ>(button.SendMessage(WM_GETFONT)));
        SIZE size = {};
        GetTextExtentPoint32A(dc.m_hDC, text, lstrlenA(text), &size);
        SelectObject(dc.m_hDC, previous);
        return size.cx;
    }

    CWnd parent;
    CQZButton button;
};

} // namespace

TEST_F(FlatButtonTest, SetUpRunsOnceAfterTheWindowIsCompleteOnlyForTheLatestRequest)
{
    EXPECT_EQ(0, button.m_nInitRequest);
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button.GetStyle() & 0x0F);
    EXPECT_EQ(qzAfxData.fontNormal.m_hObject, reinterpret_cast<HGDIOBJ>(button.SendMessage(WM_GETFONT)));

    // Attached to a dialog's control: nothing changes while attaching, all after one pass.
    HWND control = CreateWindowExA(0, "BUTTON", "Attached", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 120, 10, 80, 24,
                                   parent.m_hWnd, reinterpret_cast<HMENU>(301), nullptr, nullptr);
    CQZButton attached;
    ASSERT_TRUE(attached.SubclassWindow(control));
    EXPECT_EQ(0u, attached.GetStyle() & 0x0F);
    EXPECT_EQ(2, attached.m_nInitRequest);
    // A stale request does nothing.
    attached.SendMessage(WM_QZ_INITCONTROL, 0, 1);
    EXPECT_EQ(0u, attached.GetStyle() & 0x0F);
    PumpPending();
    EXPECT_EQ(0, attached.m_nInitRequest);
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), attached.GetStyle() & 0x0F);
    EXPECT_EQ(qzAfxData.fontNormal.m_hObject, reinterpret_cast<HGDIOBJ>(attached.SendMessage(WM_GETFONT)));
    attached.DestroyWindow();
}

TEST_F(FlatButtonTest, FrameByStyleAndState)
{
    const COLORREF face = button.GetFaceColor();
    const COLORREF light = button.m_clrHilite;
    const COLORREF dark = button.m_clrShadow;
    const QZ_AUX_DATA& d = qzAfxData;
    struct Case {
        const char* why;
        DWORD style;
        bool hot;
        UINT state;
        COLORREF topLeft;
        COLORREF bottomRight;
        COLORREF inside;
    };
    const Case cases[] = {
        {"flat, idle: no frame", QZ_BTN_FLAT, false, 0, face, face, face},
        {"flat, hot: raised", QZ_BTN_FLAT, true, 0, light, dark, face},
        {"flat, pushed: sunken", QZ_BTN_FLAT, false, ODS_SELECTED, dark, light, face},
        {"thin 3-D, idle: raised", QZ_BTN_THIN3D, false, 0, d.colorHilite, d.colorShadow, face},
        {"thin 3-D, pushed: sunken", QZ_BTN_THIN3D, false, ODS_SELECTED, d.colorShadow, d.colorHilite, face},
        {"full 3-D: dark outer ring", 0, false, 0, light, d.colorDarkShadow, face},
        {"XP, idle: shadow frame", QZ_BTN_XP, false, 0, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW),
         face},
        {"XP, hot: selection frame, hot fill", QZ_BTN_XP, true, 0, d.colorSelection, d.colorSelection, d.colorXPHot},
        {"XP, pushed: pushed fill", QZ_BTN_XP, false, ODS_SELECTED, d.colorSelection, d.colorSelection,
         d.colorXPPushed},
    };
    button.SetWindowText("");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        button.SetDrawStyle(c.style, FALSE);
        button.m_bHot = c.hot;
        PaperCanvas canvas(100, 24);
        Draw(canvas, c.state);
        EXPECT_EQ(c.topLeft, canvas.At(0, 10));
        EXPECT_EQ(c.bottomRight, canvas.At(99, 10));
        EXPECT_EQ(c.inside, canvas.At(50, 12));
    }
    button.m_bHot = FALSE;
}

TEST_F(FlatButtonTest, DitheredFaceWhilePushedAndOwnXPColours)
{
    button.SetWindowText("");
    button.SetDrawStyle(QZ_BTN_FLAT | QZ_BTN_DITHERPUSHED, FALSE);
    PaperCanvas dithered(100, 24);
    Draw(dithered, ODS_SELECTED);
    EXPECT_NE(dithered.At(50, 12), dithered.At(51, 12)) << "a checkerboard";

    button.SetDrawStyle(QZ_BTN_XP, FALSE);
    button.SetColors(RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9));
    button.m_bHot = TRUE;
    PaperCanvas own(100, 24);
    Draw(own, 0);
    EXPECT_EQ(RGB(1, 2, 3), own.At(0, 10));
    EXPECT_EQ(RGB(4, 5, 6), own.At(50, 12));
    button.m_bHot = FALSE;
}

TEST_F(FlatButtonTest, IconAndTextPlacesBesideAndAbove)
{
    ASSERT_TRUE(button.SetIcon(16, 16, IDI_TEST_ICON));
    const int textWidth = TextWidth("Open");
    // Style 1, centred: the icon at the border gap, centred down; the text centred in the rest.
    PaperCanvas beside(100, 24);
    Draw(beside, 0);
    EXPECT_EQ(CPoint(4 + 2, 4 + 2), FirstPixel(beside, kIconGreen)) << "icon at (4, 4), square inside a margin of 2";
    const int textX = 4 + 16 + (100 - 20 - textWidth - 4) / 2;
    const int firstInk = FirstColumnWith(beside, button.m_clrText);
    EXPECT_GE(firstInk, textX);
    EXPECT_LE(firstInk, textX + 2);
    EXPECT_GT(firstInk, 20) << "right of the icon";

    // Pushed: both move by a pixel; with a pressed icon the image stays.
    PaperCanvas pushed(100, 24);
    Draw(pushed, ODS_SELECTED);
    EXPECT_EQ(CPoint(7, 7), FirstPixel(pushed, kIconGreen));
    ASSERT_TRUE(button.SetIcon(16, 16, IDI_TEST_ICON, IDI_TEST_PRESSED_ICON));
    PaperCanvas pressedIcon(100, 24);
    Draw(pressedIcon, ODS_SELECTED);
    EXPECT_EQ(CPoint(6, 6), FirstPixel(pressedIcon, kIconBlue));
    EXPECT_EQ(CPoint(-1, -1), FirstPixel(pressedIcon, kIconGreen));

    // Image above the text (style 0x05): centred across, moved up by half the text height plus 4.
    button.SetDrawStyle(QZ_BTN_FLAT | QZ_BTN_IMAGEABOVE, FALSE);
    button.MoveWindow(10, 10, 100, 60);
    CClientDC dc(&button);
    CRect client;
    button.GetClientRect(&client);
    const CPoint image = button.GetImagePosition(&dc, 0, client, FALSE);
    SIZE extent = {};
    HGDIOBJ previous = SelectObject(dc.m_hDC, reinterpret_cast<HGDIOBJ>(button.SendMessage(WM_GETFONT)));
    GetTextExtentPoint32A(dc.m_hDC, "Open", 4, &extent);
    SelectObject(dc.m_hDC, previous);
    EXPECT_EQ((100 - 16) / 2, image.x);
    EXPECT_EQ((60 - 16) / 2 - (extent.cy / 2 + 4), image.y);
}

TEST_F(FlatButtonTest, DisabledDrawsGreyTextAndAnEmbossedIconPushedXPDrawsWhiteText)
{
    ASSERT_TRUE(button.SetIcon(16, 16, IDI_TEST_ICON));
    PaperCanvas disabled(100, 24);
    Draw(disabled, ODS_DISABLED);
    EXPECT_GT(disabled.Count(CRect(20, 0, 100, 24), qzAfxData.colorGrayText), 0);
    EXPECT_EQ(0, disabled.Count(CRect(20, 0, 100, 24), button.m_clrText));
    EXPECT_EQ(CPoint(-1, -1), FirstPixel(disabled, kIconGreen)) << "the icon is embossed, not in colour";

    button.SetDrawStyle(QZ_BTN_XP, FALSE);
    PaperCanvas pushed(100, 24);
    Draw(pushed, ODS_SELECTED);
    EXPECT_GT(pushed.Count(CRect(20, 0, 100, 24), RGB(255, 255, 255)), 0) << "white text";
    EXPECT_EQ(CPoint(7, 7), FirstPixel(pushed, kIconGreen)) << "an icon without a pressed one moves in every look";
    // The XP text stays where it was; the classic text moves by a pixel.
    PaperCanvas idle(100, 24);
    Draw(idle, 0);
    EXPECT_EQ(FirstColumnWith(idle, button.m_clrText), FirstColumnWith(pushed, RGB(255, 255, 255)));
    button.SetDrawStyle(QZ_BTN_FLAT, FALSE);
    PaperCanvas flatIdle(100, 24);
    Draw(flatIdle, 0);
    PaperCanvas flatPushed(100, 24);
    Draw(flatPushed, ODS_SELECTED);
    EXPECT_EQ(FirstColumnWith(flatIdle, button.m_clrText) + 1, FirstColumnWith(flatPushed, button.m_clrText));
}

TEST_F(FlatButtonTest, HotWhileTheCursorIsOverItUntilPressedOrGone)
{
    CRect window;
    button.GetWindowRect(&window);
    if (!SetCursorPos(window.left + 5, window.top + 5))
        GTEST_SKIP() << "the display cannot place the cursor";
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(button.m_bHot);
    EXPECT_TRUE(button.m_bHotDrawn);
    button.StepHover(CPoint(window.left + 6, window.top + 6));
    EXPECT_TRUE(button.m_bHot) << "still inside";

    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(button.m_bPressed);
    button.SendMessage(WM_TIMER, 1);
    EXPECT_FALSE(button.m_bHot) << "the hot look goes while pressed";
    button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(button.m_bPressed);

    button.StepHover(CPoint(window.left + 5, window.top + 5));
    EXPECT_TRUE(button.m_bHot);
    button.StepHover(CPoint(window.right + 10, window.top + 5));
    EXPECT_FALSE(button.m_bHot);
    EXPECT_FALSE(button.m_bHotDrawn);

    // A style without hot tracking never turns hot.
    button.SetDrawStyle(0, FALSE);
    button.StepHover(CPoint(window.left + 5, window.top + 5));
    EXPECT_FALSE(button.m_bHot);

    // A double click presses again.
    button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(button.m_bPressed);
    button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(FlatButtonTest, OwnColoursSurviveASystemColourChange)
{
    const COLORREF systemFace = GetSysColor(COLOR_BTNFACE);
    button.SetFaceColor(RGB(9, 9, 9));
    button.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(systemFace, button.GetFaceColor()) << "a colour of its own only through SetButtonColors";
    button.SetButtonColors(RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4));
    button.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(RGB(1, 1, 1), button.GetFaceColor());
    EXPECT_EQ(RGB(4, 4, 4), button.m_clrText);
}

namespace {

HICON NewIcon()
{
    BYTE andMask[32 * 2] = {};
    BYTE xorMask[32 * 2] = {};
    return CreateIcon(nullptr, 16, 16, 1, 1, andMask, xorMask);
}

bool IsAlive(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return false;
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    return true;
}

} // namespace

TEST_F(FlatButtonTest, IconsGivenByHandleAreFreedWhenReplacedButNotWhenGivenAgain)
{
    std::vector<HICON> given;
    for (int i = 0; i < 20; ++i) {
        HICON icon = NewIcon();
        HICON pressed = NewIcon();
        given.push_back(icon);
        given.push_back(pressed);
        EXPECT_TRUE(button.SetIcon(16, 16, icon, pressed));
    }
    for (size_t i = 0; i + 2 < given.size(); ++i)
        EXPECT_FALSE(IsAlive(given[i])) << "icon " << i << " leaked";
    HICON last = given[given.size() - 2];
    HICON lastPressed = given.back();
    EXPECT_TRUE(button.SetIcon(16, 16, last, lastPressed));
    EXPECT_TRUE(IsAlive(last)) << "given again: kept";
    EXPECT_TRUE(IsAlive(lastPressed));
    EXPECT_TRUE(button.SetIcon(16, 16, lastPressed, nullptr));
    EXPECT_TRUE(IsAlive(lastPressed));
    EXPECT_FALSE(IsAlive(last));
    button.FreeImages();
    EXPECT_FALSE(IsAlive(lastPressed));
}

TEST_F(FlatButtonTest, ResourceImagesAndFailuresLeaveNoImages)
{
    EXPECT_FALSE(button.SetIcon(16, 16, 7599));
    EXPECT_EQ(nullptr, button.m_hIcon);
    EXPECT_FALSE(button.SetIcon(16, 16, IDI_TEST_ICON, 7599));
    EXPECT_EQ(nullptr, button.m_hIcon) << "a missing pressed icon leaves no images";

    ASSERT_TRUE(button.SetBitmap(16, 16, IDB_TEST_BUTTON_BITMAP));
    ASSERT_NE(nullptr, button.m_hBitmap);
    ASSERT_NE(nullptr, button.m_hBitmapDisabled);
    EXPECT_EQ(16, button.m_nImageWidth);
    button.SetWindowText("");
    PaperCanvas drawn(100, 24);
    Draw(drawn, 0);
    const CPoint at = button.GetImagePosition(&drawn.m_dc, 0, CRect(0, 0, 100, 24), FALSE);
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), drawn.At(at.x, at.y)) << "the black frame in the text colour";
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), drawn.At(at.x + 8, at.y + 8)) << "the white centre";

    button.ResetImage();
    EXPECT_EQ(nullptr, button.m_hBitmap);
    EXPECT_EQ(0, button.m_nImageWidth);
    EXPECT_FALSE(button.SetBitmap(16, 16, 7598));
}

TEST_F(FlatButtonTest, ShowsTheArrowCursor)
{
    SetCursor(nullptr);
    EXPECT_TRUE(button.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(button.m_hWnd), HTCLIENT));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), GetCursor());
}
