// The colour picker: its caption colour follows the picked colour's luminance, the popup
// is asked for by a click or a key and opens below it, the popup's messages reach the
// owner as notifications in order, a picker nobody hears takes no colour over, and its
// owner drawing shows the swatch in the picked colour (face and shadow when disabled).
#include "toolkit/colour/QZColorPicker.h"

#include "colour_test_support.h"
#include "toolkit/colour/QZColorPopup.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolbar_test_support.h"
#include "toolkit_test_support.h"

using colour_test::PumpTranslated;
using colour_test::Received;
using colour_test::RecordingWnd;
using toolkit_test::LiveBlocksOfSize;
using toolkit_test::PaperCanvas;
using toolkit_test::PumpPending;

namespace {

constexpr UINT kPickerId = 1234;
constexpr COLORREF kNavy = RGB(0, 0, 128);

class ColourPickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Make(100, 100, 300, 200));
        ASSERT_TRUE(picker.Create("Fill", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 110, 34), &parent,
                                  kPickerId));
        PumpPending();
        parent.received.clear();
    }
    void TearDown() override
    {
        picker.DestroyWindow();
        parent.DestroyWindow();
        PumpPending();
    }
    Received Code(UINT code) const
    {
        return {WM_COMMAND, MAKEWPARAM(kPickerId, code), reinterpret_cast<LPARAM>(picker.m_hWnd)};
    }
    // The popup is the window holding the capture while it is open.
    CQZColorPopup* OpenPopup()
    {
        picker.ShowPopupAsync();
        PumpPending();
        return dynamic_cast<CQZColorPopup*>(CWnd::FromHandlePermanent(::GetCapture()));
    }
    bool Eats(UINT message, WPARAM wParam)
    {
        MSG msg = {picker.m_hWnd, message, wParam, 0};
        return picker.PreTranslateMessage(&msg) != FALSE;
    }

    RecordingWnd parent;
    CQZColorPicker picker;
};

} // namespace

TEST_F(ColourPickerTest, SetUpMakesItOwnerDrawnInTheToolkitFont)
{
    EXPECT_EQ(0, picker.m_bInitPending);
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), picker.GetStyle() & 0x0F);
    EXPECT_EQ(qzAfxData.fontNormal.m_hObject, reinterpret_cast<HGDIOBJ>(picker.SendMessage(WM_GETFONT)));
}

TEST_F(ColourPickerTest, CaptionTakesTheContrastOfThePickedColour)
{
    struct Case {
        const char* why;
        BOOL colourFlag;
        COLORREF colour;
        COLORREF swatch;
        COLORREF caption;
    };
    const Case cases[] = {
        {"dark navy gets a white caption", TRUE, kNavy, kNavy, RGB(255, 255, 255)},
        {"yellow gets a black caption", TRUE, RGB(255, 255, 0), RGB(255, 255, 0), RGB(0, 0, 0)},
        {"a luminance of exactly 128 is still dark", TRUE, RGB(128, 128, 128), RGB(128, 128, 128),
         RGB(255, 255, 255)},
        {"just above 128 is light", TRUE, RGB(129, 128, 128), RGB(129, 128, 128), RGB(0, 0, 0)},
        {"flag clear: the caption is the colour, the swatch its contrast", FALSE, kNavy, RGB(255, 255, 255), kNavy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        picker.SetColorFlag(c.colourFlag);
        picker.ApplyColor(c.colour);
        EXPECT_EQ(c.swatch, picker.m_clrColor);
        EXPECT_EQ(c.caption, picker.m_clrText);
        EXPECT_EQ(c.colour, picker.GetEffectiveColor());
    }
}

TEST_F(ColourPickerTest, FaceColourStandsForTheMarkedValue)
{
    picker.SetColor(kQZFaceColor);
    picker.SetTextColor(kQZFaceColor);
    EXPECT_EQ(qzAfxData.colorFace, picker.GetColor());
    EXPECT_EQ(qzAfxData.colorFace, picker.GetTextColor());
}

TEST_F(ColourPickerTest, SelectingTheColourShownRepaintsNothing)
{
    picker.SelectColor(kNavy);
    picker.ValidateRect(nullptr);
    picker.SelectColor(kNavy);
    EXPECT_FALSE(::GetUpdateRect(picker.m_hWnd, nullptr, FALSE));
    picker.SelectColor(RGB(255, 0, 0));
    EXPECT_TRUE(::GetUpdateRect(picker.m_hWnd, nullptr, FALSE));
    EXPECT_EQ(RGB(255, 0, 0), picker.GetEffectiveColor());
}

TEST_F(ColourPickerTest, PopupMessagesReachTheOwnerAsNotificationsInOrder)
{
    struct Case {
        const char* why;
        UINT message;
        std::vector<UINT> codes;
        COLORREF colourAfter;
    };
    const Case cases[] = {
        {"unchanged", WM_QZ_COLORUNCHANGED, {0x65A8}, RGB(255, 255, 255)},
        {"dropped down", WM_QZ_COLORDROPDOWN, {0x65A9}, RGB(255, 255, 255)},
        {"closed", WM_QZ_COLORCLOSEUP, {0x65AA}, RGB(255, 255, 255)},
        {"changed: closed, then changed, the colour taken first", WM_QZ_COLORCHANGED, {0x65AA, 0x65AB}, kNavy},
        {"cancelled: closed, then cancelled", WM_QZ_COLORCANCEL, {0x65AA, 0x65AC}, RGB(255, 255, 255)},
        {"no fill", WM_QZ_COLORNOFILL, {0x65AD}, kNavy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        picker.SetColor(RGB(255, 255, 255));
        parent.received.clear();
        picker.SendMessage(c.message, kNavy, 0);
        std::vector<Received> expected;
        for (UINT code : c.codes)
            expected.push_back(Code(code));
        EXPECT_EQ(expected, parent.received);
        EXPECT_EQ(c.colourAfter, picker.GetEffectiveColor());
    }
}

TEST_F(ColourPickerTest, OwnerTakesPrecedenceOverTheParent)
{
    RecordingWnd owner;
    ASSERT_TRUE(owner.Make(0, 0, 50, 50));
    picker.SetOwner(&owner);
    picker.SendMessage(WM_QZ_COLORCANCEL, 0, 0);
    EXPECT_EQ(2u, owner.received.size());
    EXPECT_TRUE(parent.received.empty());
    picker.SetOwner(nullptr);
    owner.DestroyWindow();
}

TEST(ColourPickerAlone, WithoutOwnerOrParentTakesNoColourOver)
{
    CQZColorPicker alone;
    ASSERT_TRUE(alone.CreateEx(0, "Button", "alone", WS_POPUP | BS_PUSHBUTTON, 0, 0, 100, 24, nullptr, nullptr));
    alone.SetColor(RGB(255, 255, 255));
    alone.m_bPopupOpen = TRUE;
    alone.SendMessage(WM_QZ_COLORCHANGED, RGB(0, 0, 128), 0);
    alone.SendMessage(WM_QZ_COLORNOFILL, 0xFFFFFFFF, 0);
    EXPECT_EQ(RGB(255, 255, 255), alone.GetColor());
    alone.SendMessage(WM_QZ_COLORCLOSEUP, 0, 0);
    EXPECT_FALSE(alone.m_bPopupOpen) << "closing still ends the wait for the popup";
    alone.DestroyWindow();
}

TEST_F(ColourPickerTest, OpensThePopupBelowItselfAndTakesThePickedColour)
{
    picker.SelectColor(RGB(255, 0, 0));
    picker.SetAutomaticColor(kNavy);
    CQZColorPopup* popup = OpenPopup();
    ASSERT_NE(nullptr, popup);
    EXPECT_TRUE(picker.m_bPopupOpen);
    CRect pickerRect, popupRect;
    picker.GetWindowRect(&pickerRect);
    popup->GetWindowRect(&popupRect);
    EXPECT_EQ(CRect(pickerRect.left, pickerRect.bottom, pickerRect.left + 158, pickerRect.bottom + 154), popupRect);
    EXPECT_EQ(17, popup->GetCurSel()) << "red is current";
    EXPECT_EQ(kNavy, popup->m_clrDefault);

    popup->SendMessage(WM_KEYDOWN, VK_RIGHT, 1);
    popup->SendMessage(WM_KEYDOWN, VK_RETURN, 1);
    PumpPending();
    // The closing is told twice: once with the change, once as the popup's window goes.
    EXPECT_EQ((std::vector<Received>{Code(0x65A9), Code(0x65AA), Code(0x65AB), Code(0x65AA)}), parent.received);
    EXPECT_EQ(RGB(255, 153, 0), picker.GetEffectiveColor()) << "light orange, right of red";
    EXPECT_FALSE(picker.m_bPopupOpen);
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(ColourPickerTest, KeysAndClicksAskForOnePopupAtATime)
{
    struct Case {
        const char* why;
        UINT message;
        WPARAM key;
        bool eaten;
        bool asks;
    };
    const Case cases[] = {
        {"Space", WM_KEYDOWN, VK_SPACE, true, true},
        {"Return", WM_KEYDOWN, VK_RETURN, true, true},
        {"down arrow", WM_KEYDOWN, VK_DOWN, true, true},
        {"other keys behave as on a button", WM_KEYDOWN, VK_LEFT, false, false},
        {"a click still reaches the button", WM_LBUTTONDOWN, 0, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        picker.m_bPopupOpen = FALSE;
        EXPECT_EQ(c.eaten, Eats(c.message, c.key));
        EXPECT_EQ(c.asks, picker.m_bPopupOpen != FALSE);
        MSG queued;
        EXPECT_EQ(c.asks, PeekMessageA(&queued, picker.m_hWnd, WM_QZ_SHOWPOPUP, WM_QZ_SHOWPOPUP, PM_REMOVE) != FALSE);
    }
    // Asked for already: neither a click nor a key asks again.
    picker.m_bPopupOpen = TRUE;
    EXPECT_FALSE(Eats(WM_LBUTTONDOWN, 0));
    EXPECT_FALSE(Eats(WM_KEYDOWN, VK_SPACE));
    MSG queued;
    EXPECT_FALSE(PeekMessageA(&queued, picker.m_hWnd, WM_QZ_SHOWPOPUP, WM_QZ_SHOWPOPUP, PM_REMOVE));
    picker.m_bPopupOpen = FALSE;
}

TEST_F(ColourPickerTest, PopupThatCannotBeMadeLeavesThePickerReadyForTheNextClick)
{
    const int before = LiveBlocksOfSize(sizeof(CQZColorPopup));
    ASSERT_GE(before, 0);
    {
        const toolkit_test::DialogFramePopupRefusal refusal;
        EXPECT_FALSE(Eats(WM_LBUTTONDOWN, 0));
        PumpPending();
    }
    EXPECT_FALSE(picker.m_bPopupOpen) << "no longer waits for the popup";
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(before, LiveBlocksOfSize(sizeof(CQZColorPopup))) << "the popup object went";
    EXPECT_TRUE(parent.received.empty()) << "nothing opened, nothing to report";

    // The next click opens a popup.
    EXPECT_FALSE(Eats(WM_LBUTTONDOWN, 0));
    PumpPending();
    auto* popup = dynamic_cast<CQZColorPopup*>(CWnd::FromHandlePermanent(::GetCapture()));
    ASSERT_NE(nullptr, popup);
    EXPECT_TRUE(picker.m_bPopupOpen);
    EXPECT_EQ(before + 1, LiveBlocksOfSize(sizeof(CQZColorPopup))) << "the count sees an open popup";
    popup->SendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
    PumpPending();
    EXPECT_FALSE(picker.m_bPopupOpen);
    EXPECT_EQ(before, LiveBlocksOfSize(sizeof(CQZColorPopup)));
}

TEST_F(ColourPickerTest, DrawsTheSwatchInThePickedColourOrGreyedWhenDisabled)
{
    struct Case {
        const char* why;
        UINT state;
        COLORREF fill;
        COLORREF outline;
    };
    const Case cases[] = {
        {"enabled", 0, kNavy, RGB(0, 0, 0)},
        {"disabled", ODS_DISABLED, qzAfxData.colorFace, qzAfxData.colorShadow},
    };
    picker.SelectColor(kNavy);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        PaperCanvas canvas(100, 24);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.hwndItem = picker.m_hWnd;
        item.hDC = canvas.get();
        item.itemState = c.state;
        item.rcItem = {0, 0, 100, 24};
        picker.DrawItem(&item);
        // Inside the push frame (2 pixels), the swatch is 2 further in, up to the arrow's left - 4.
        const int arrowLeft = 96 - qzAfxData.thumbWidth;
        EXPECT_EQ(c.outline, canvas.At(4, 4)) << "outline";
        EXPECT_EQ(c.fill, canvas.At(6, 6)) << "fill";
        EXPECT_EQ(c.outline, canvas.At(arrowLeft - 5, 12)) << "right edge of the outline";
        EXPECT_EQ(qzAfxData.colorShadow, canvas.At(arrowLeft - 1, 6)) << "the separator";
    }
}
