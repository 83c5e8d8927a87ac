// The custom page: its numbers for a colour, conversions both ways, the luminance bar
// painted on every row from white to black with the arrow at the picked row, the focus
// colours of the crosshair and the arrow, and in the sheet: a refused number changes
// nothing, and one edit's handler does not set off another's.
#include "toolkit/colour/QZColorPageCustom.h"

#include "colour_test_support.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit_test_support.h"

#include <cmath>
#include <cstdlib>

using colour_test::PressSheetButton;
using colour_test::Received;
using colour_test::RecordingWnd;
using colour_test::SheetScript;
using test_support::MessageBoxRecorder;
using toolkit_test::PaperCanvas;
using toolkit_test::PumpPending;

namespace {

double LuminanceOf(COLORREF colour)
{
    double hue = 0, saturation = 0, luminance = 0;
    CQZColorBase::ColorToHSL(colour, hue, saturation, luminance);
    return luminance;
}

// A field and a bar on a plain window that records what they tell it.
class ColourControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(page.Make(50, 50, 260, 200));
        ASSERT_TRUE(field.Create("", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME, CRect(0, 0, 120, 90), &page, 5550));
        ASSERT_TRUE(bar.Create("", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME, CRect(130, 0, 170, 150), &page, 5551));
        bar.SetColor(RGB(255, 0, 0), TRUE);
        field.UpdateWindow();
        bar.UpdateWindow();
        PumpPending();
        page.received.clear();
    }
    void TearDown() override
    {
        field.DestroyWindow();
        bar.DestroyWindow();
        page.DestroyWindow();
        PumpPending();
        CQZColorBase::s_nFocusState = kQZColorFocusNone;
    }
    // What the controls told the page (the statics' own click notices aside).
    std::vector<Received> Told() const
    {
        std::vector<Received> told;
        for (const Received& r : page.received)
            if (r.message == WM_QZ_SETCOLOR)
                told.push_back(r);
        return told;
    }
    // The bar's rows: the control is 150 high, the bar 8 shorter.
    static constexpr int kRows = 142;

    RecordingWnd page;
    CQZColorWnd field;
    CQZColorLum bar;
};

} // namespace

TEST(ColourCustomPage, NumbersOfAColour)
{
    struct Case {
        const char* why;
        COLORREF colour;
        int hue, saturation, luminance;
    };
    const Case cases[] = {
        {"red", RGB(255, 0, 0), 0, 255, 127},
        {"white", RGB(255, 255, 255), 0, 0, 255},
        {"a sky blue", RGB(0, 128, 255), 148, 255, 127},
        {"black", RGB(0, 0, 0), 0, 0, 0},
        {"a grey has neither hue nor saturation", RGB(128, 128, 128), 0, 0, 128},
        {"a dark green below half luminance", RGB(0, 100, 0), 85, 255, 50},
        {"magenta: the hue wraps below zero", RGB(255, 0, 255), 212, 255, 127},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        int hue = -1, saturation = -1, luminance = -1;
        CQZColorPageCustom::RGBtoHSL(c.colour, hue, saturation, luminance);
        EXPECT_EQ(c.hue, hue);
        EXPECT_EQ(c.saturation, saturation);
        EXPECT_EQ(c.luminance, luminance);
    }
}

TEST(ColourCustomPage, ConversionsComeBackWithinTheTruncation)
{
    for (COLORREF colour : {RGB(255, 0, 0), RGB(12, 200, 99), RGB(250, 250, 3), RGB(1, 2, 3), RGB(128, 128, 128),
                            RGB(90, 10, 240), RGB(255, 255, 255), RGB(0, 0, 0)}) {
        SCOPED_TRACE(colour);
        double hue = 0, saturation = 0, luminance = 0;
        CQZColorBase::ColorToHSL(colour, hue, saturation, luminance);
        const COLORREF back = CQZColorBase::HSLToColor(hue, luminance, saturation);
        EXPECT_LE(std::abs(GetRValue(back) - GetRValue(colour)), 1);
        EXPECT_LE(std::abs(GetGValue(back) - GetGValue(colour)), 1);
        EXPECT_LE(std::abs(GetBValue(back) - GetBValue(colour)), 1);
    }
}

TEST_F(ColourControlsTest, BarPaintsEveryRowFromWhiteDownToBlack)
{
    ASSERT_NE(nullptr, bar.m_dcPicture.m_hDC);
    EXPECT_EQ(RGB(255, 255, 255), bar.m_dcPicture.GetPixel(0, 0));
    EXPECT_EQ(RGB(0, 0, 0), bar.m_dcPicture.GetPixel(0, kRows - 1));
    double previous = 2.0;
    for (int row = 0; row < kRows; ++row) {
        const COLORREF colour = bar.m_dcPicture.GetPixel(0, row);
        ASSERT_EQ(bar.RowColor(row), colour) << "row " << row;
        EXPECT_EQ(colour, bar.m_dcPicture.GetPixel(13, row)) << "the row's full width";
        const double luminance = LuminanceOf(colour);
        EXPECT_LE(luminance, previous) << "row " << row;
        previous = luminance;
    }
    EXPECT_NE(RGB(0, 0, 0), bar.m_dcPicture.GetPixel(0, kRows - 2)) << "only the last row is black";
    EXPECT_EQ(CLR_INVALID, bar.m_dcPicture.GetPixel(0, kRows)) << "no rows beyond the bar";
}

TEST_F(ColourControlsTest, ClickedRowAndArrowAgree)
{
    struct Case {
        const char* why;
        int clientY;
        int row;
    };
    const Case cases[] = {
        {"a row in the middle", 50, 46},
        {"the first row", 4, 0},
        {"above the bar: the first row", 1, 0},
        {"below the bar: the last row", 148, kRows - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        page.received.clear();
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, c.clientY));
        bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(6, c.clientY));
        const COLORREF picked = bar.m_dcPicture.GetPixel(0, c.row);
        EXPECT_EQ(picked, bar.GetColor());
        EXPECT_EQ(std::vector<Received>{(Received{WM_QZ_SETCOLOR, picked, 0})}, Told());
        EXPECT_EQ(c.row, bar.m_nArrowPos);
        // The arrow's tip (its one-pixel first column) stands next to the picked row.
        PaperCanvas canvas(40, 150);
        bar.DrawArrow(&canvas.m_dc);
        EXPECT_EQ(RGB(0, 0, 0), canvas.At(17, c.row + 4));
        EXPECT_EQ(qzAfxData.colorFace, canvas.At(17, c.row + 3));
        EXPECT_EQ(qzAfxData.colorFace, canvas.At(17, c.row + 5));
    }
}

TEST_F(ColourControlsTest, LuminanceMovesTheArrowToItsRow)
{
    for (double luminance : {0.0, 0.25, 0.5, 0.8, 1.0}) {
        SCOPED_TRACE(luminance);
        bar.SetLuminance(luminance);
        EXPECT_EQ(bar.m_dcPicture.GetPixel(0, bar.m_nArrowPos), bar.GetColor());
        EXPECT_NEAR(luminance, LuminanceOf(bar.GetColor()), 1.0 / (kRows - 1));
    }
    EXPECT_TRUE(Told().empty()) << "setting it tells nobody";
    bar.SetColor(RGB(255, 200, 200), TRUE);
    EXPECT_EQ(bar.RowOfLuminance(LuminanceOf(RGB(255, 200, 200))), bar.m_nArrowPos);
}

TEST_F(ColourControlsTest, FocusColoursTheCrosshairAndTheArrow)
{
    field.SetColor(RGB(0, 255, 0), TRUE);
    const CPoint marker = field.m_ptMarker;
    const CPoint arm(marker.x - 6, marker.y);
    auto crosshair = [&] {
        PaperCanvas canvas(120, 90);
        canvas.m_dc.FillSolidRect(0, 0, 120, 90, RGB(128, 0, 0));
        field.DrawMarker(&canvas.m_dc);
        return canvas.At(arm.x, arm.y);
    };
    auto arrowInside = [&] {
        PaperCanvas canvas(40, 150);
        bar.DrawArrow(&canvas.m_dc);
        return canvas.At(17 + 5, bar.m_nArrowPos + 4);
    };
    EXPECT_EQ(RGB(0, 0, 0), crosshair());
    EXPECT_EQ(qzAfxData.colorShadow, arrowInside()) << "shadow inside a black outline";

    field.SetFocus();
    EXPECT_EQ(kQZColorFocusField, CQZColorBase::s_nFocusState);
    EXPECT_EQ(RGB(255, 255, 255), crosshair());

    bar.SetFocus();
    EXPECT_EQ(kQZColorFocusBar, CQZColorBase::s_nFocusState);
    EXPECT_EQ(RGB(0, 0, 0), crosshair()) << "black again as soon as the bar has the focus";
    EXPECT_EQ(RGB(0, 0, 0), arrowInside()) << "solid black";
}

TEST_F(ColourControlsTest, FieldPicksTheColourUnderTheMouseAtHalfLuminance)
{
    field.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 20));
    field.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(60, 20));
    ASSERT_EQ(1u, Told().size());
    const COLORREF picked = static_cast<COLORREF>(Told()[0].wParam);
    EXPECT_EQ(field.m_dcPicture.GetPixel(60, 20), picked);
    EXPECT_NEAR(0.5, LuminanceOf(picked), 0.01);
    // Dragged past the edge: the crosshair follows, the colour stays.
    field.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 20));
    EXPECT_EQ(CPoint(200, 20), field.m_ptMarker);
    EXPECT_EQ(picked, field.GetColor());
}

namespace {

// The sheet with its custom page showing for the colour, the steps run there.
void OnCustomPage(COLORREF colour, const std::function<void(CQZColorDialog&, CQZColorPageCustom&)>& steps)
{
    CQZColorDialog sheet(colour, colour, 0, nullptr);
    SheetScript script([&](CQZColorDialog& shown) {
        shown.SetActivePage(1);
        steps(shown, *shown.GetCustomPage());
        PressSheetButton(shown, IDCANCEL);
    });
    sheet.DoModal();
}

} // namespace

TEST(ColourCustomPageInSheet, ShowsTheSheetsColourAsItsNumbers)
{
    OnCustomPage(RGB(0, 128, 255), [](CQZColorDialog&, CQZColorPageCustom& page) {
        CString text;
        page.m_editHue.GetWindowText(text);
        EXPECT_STREQ("148", text);
        page.m_editBlue.GetWindowText(text);
        EXPECT_STREQ("255", text);
        EXPECT_EQ(RGB(0, 128, 255), page.m_wndColor.GetColor());
    });
}

TEST(ColourCustomPageInSheet, NumberOutOfRangeChangesNoColour)
{
    MessageBoxRecorder boxes;
    OnCustomPage(RGB(200, 100, 50), [](CQZColorDialog& sheet, CQZColorPageCustom& page) {
        page.m_editRed.SetWindowText("300");
        EXPECT_EQ(1, MessageBoxRecorder::count()) << "the exchange refused it";
        EXPECT_EQ(RGB(200, 100, 50), sheet.GetColor());
        EXPECT_EQ(RGB(200, 100, 50), page.m_wndColor.GetColor());
        EXPECT_EQ(RGB(200, 100, 50), page.m_wndLuminance.GetColor());
        page.m_editRed.SetWindowText("44");
        EXPECT_EQ(RGB(44, 100, 50), sheet.GetColor()) << "a number in range is taken";
    });
}

TEST(ColourCustomPageInSheet, HueEditLeavesTheArrowAndTheOtherNumbersAlone)
{
    // Light pink: the arrow stands far from half luminance.
    OnCustomPage(RGB(255, 200, 200), [](CQZColorDialog& sheet, CQZColorPageCustom& page) {
        const int arrow = page.m_wndLuminance.m_nArrowPos;
        const CPoint marker = page.m_wndColor.m_ptMarker;
        page.m_editHue.SetWindowText("85");
        // The red, green and blue numbers it writes back must not run their own handler,
        // which would move the crosshair and the arrow to the new colour.
        EXPECT_EQ(arrow, page.m_wndLuminance.m_nArrowPos);
        EXPECT_NE(marker.x, page.m_wndColor.m_ptMarker.x) << "the crosshair went to the new hue";
        EXPECT_EQ(marker.y, page.m_wndColor.m_ptMarker.y);
        EXPECT_NEAR(0.5, LuminanceOf(sheet.GetColor()), 0.01) << "a colour of the field";
        EXPECT_EQ(85, page.m_nHue);
        EXPECT_EQ(GetRValue(sheet.GetColor()), page.m_nRed);
        CString text;
        page.m_editLuminance.GetWindowText(text);
        EXPECT_STREQ("227", text) << "the luminance number stays";
    });
}

TEST(ColourCustomPageInSheet, EveryControlLiesInsideTheTab)
{
    OnCustomPage(RGB(0, 128, 255), [](CQZColorDialog& sheet, CQZColorPageCustom& page) {
        // What of the sheet the tab leaves to its pages, in the sheet's client coordinates.
        CTabCtrl* tab = sheet.GetTabControl();
        CRect area;
        tab->GetClientRect(&area);
        tab->AdjustRect(FALSE, &area);
        tab->MapWindowPoints(&sheet, &area);
        for (CWnd* child = page.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
            if (child == &page.m_wndLuminance)
                continue;
            CRect rect;
            child->GetWindowRect(&rect);
            sheet.ScreenToClient(&rect);
            SCOPED_TRACE(child->GetDlgCtrlID());
            EXPECT_EQ(rect, rect & area);
        }
        // The bar's last dialog unit maps one pixel past the page, onto its black frame;
        // the bar and its arrow (tip at 17, 9 pixels wide) are what must show.
        CRect bar = page.m_wndLuminance.GetBarRect();
        bar.right = 17 + 9;
        page.m_wndLuminance.MapWindowPoints(&sheet, &bar);
        EXPECT_EQ(bar, bar & area);
        // The template's layout, as its own dialog units place it (position and size each
        // mapped): the toolkit's font has letters as wide as the template's.
        CRect placed(3, 15, 119, 86);
        page.MapDialogRect(&placed);
        const CRect field(placed.left, placed.top, placed.left + placed.right, placed.top + placed.bottom);
        CRect fieldNow;
        page.m_wndColor.GetWindowRect(&fieldNow);
        page.ScreenToClient(&fieldNow);
        EXPECT_EQ(field, fieldNow);
    });
}
