// How the toolbar looks: the control paints into a canvas through its custom draw, and
// chosen pixels are checked against the toolkit's colours in the classic and the XP look
// (separators, colour bars of colour drop-downs, embossed disabled images, child controls,
// the shadow of an open drop-down), and a control that is not flat gets none of it.
#include "toolbar_test_support.h"

#include "toolkit/foundation/QZAuxData.h"

using namespace toolkit_test;

namespace {

// The XP look for one test.
class XPScope {
public:
    explicit XPScope(int xpLook) : m_saved(qzAfxData.xpLook) { qzAfxData.xpLook = xpLook; }
    ~XPScope() { qzAfxData.xpLook = m_saved; }

private:
    int m_saved;
};

constexpr COLORREF kBlueImage = RGB(0, 0, 255);

// A child control that paints itself in one colour, also when asked to print.
constexpr COLORREF kBoxColour = RGB(10, 120, 230);
class ColourBox : public CWnd {
protected:
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM)
    {
        CRect client;
        GetClientRect(&client);
        CDC::FromHandle(reinterpret_cast<HDC>(wParam))->FillSolidRect(&client, kBoxColour);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ColourBox, CWnd)
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
END_MESSAGE_MAP()

class ToolbarDrawTest : public ToolbarTest {
protected:
    void Paint(PaperCanvas& canvas) { bar.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.get()), PRF_CLIENT); }
    CRect Client()
    {
        CRect client;
        bar.GetClientRect(&client);
        return client;
    }
    // Gives Save a colour drop-down record showing the colour.
    QZ_DROPDOWNBUTTON* GiveSaveAColourBar(COLORREF colour)
    {
        auto* record = new QZ_DROPDOWNBUTTON;
        record->nCommand = ID_FILE_SAVE;
        record->bColorPopup = TRUE;
        record->bShowColor = TRUE;
        record->clrCurrent = colour;
        POSITION position = bar.m_listButtons.FindIndex(1);
        bar.m_listButtons.GetAt(position).pDropDown = record;
        return record;
    }
};

} // namespace

TEST_F(ToolbarDrawTest, ClassicSeparatorIsAnEtchedLineWithAShadowFoot)
{
    XPScope look(0);
    CreateToolBar(bar, &dockTop, CBRS_TOP);
    PaperCanvas canvas(Client().Width(), Client().Height());
    Paint(canvas);
    const CRect separator = Item(bar, 2);
    EXPECT_EQ(qzAfxData.colorShadow, canvas.At(separator.left + 2, separator.top + separator.Height() / 2));
    EXPECT_EQ(qzAfxData.colorShadow, canvas.At(separator.left + 2, separator.bottom - 1));
    EXPECT_EQ(qzAfxData.colorFace, canvas.At(separator.left, separator.top + 1)) << "the rest in the back colour";
    const CRect open = Item(bar, 0);
    EXPECT_EQ(qzAfxData.colorFace, canvas.At(open.left, open.top)) << "each button on the bar's back colour";
}

TEST_F(ToolbarDrawTest, ColourBarUnderTheImageShiftsWhenDownAndGreysWhenDisabled)
{
    XPScope look(0);
    CreateToolBar(bar, &dockTop, CBRS_TOP);
    GiveSaveAColourBar(RGB(200, 0, 100));
    const CRect save = Item(bar, 1);
    const int width = bar.m_sizeButton.cx - 8;
    struct Case {
        const char* why;
        UINT styleBits;
        CPoint offset;
        COLORREF colour;
    };
    const Case cases[] = {
        {"at rest", 0, CPoint(0, 0), RGB(200, 0, 100)},
        {"pressed: one pixel right and down", QZ_TBBS_PRESSED, CPoint(1, 1), RGB(200, 0, 100)},
        {"checked likewise", QZ_TBBS_CHECKED | TBSTYLE_CHECK, CPoint(1, 1), RGB(200, 0, 100)},
        {"disabled: the shadow colour", QZ_TBBS_DISABLED, CPoint(0, 0), qzAfxData.colorShadow},
    };
    const UINT plain = bar.GetButtonStyle(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        bar.SetButtonStyle(1, plain | c.styleBits);
        PaperCanvas canvas(Client().Width(), Client().Height());
        Paint(canvas);
        const CRect expected(save.left + 4 + c.offset.x, save.bottom - 7 + c.offset.y,
                             save.left + 4 + width + c.offset.x, save.bottom - 4 + c.offset.y);
        EXPECT_EQ(expected.Width() * expected.Height(), canvas.Count(expected, c.colour));
        EXPECT_NE(c.colour, canvas.At(expected.left, expected.top - 1)) << "3 pixels high";
        bar.SetButtonStyle(1, plain);
    }
}

TEST_F(ToolbarDrawTest, DisabledImageEmbossedOnlyWhenAskedAndNeverWithAText)
{
    XPScope look(0);
    CreateToolBar(bar, &dockTop, CBRS_TOP);
    bar.SetButtonStyle(1, bar.GetButtonStyle(1) | QZ_TBBS_DISABLED);
    const CRect save = Item(bar, 1);
    bar.m_bEmbossDisabled = TRUE;
    PaperCanvas embossed(Client().Width(), Client().Height());
    Paint(embossed);
    EXPECT_EQ(0, embossed.Count(save, kBlueImage)) << "the image's colour is gone";
    EXPECT_GT(embossed.Count(save, qzAfxData.colorShadow), 0);
    EXPECT_GT(embossed.Count(save, qzAfxData.colorHilite), 0);

    // A button with a text is left to the control.
    ASSERT_TRUE(bar.SetButtonText(1, "Save"));
    bar.SendMessage(TB_AUTOSIZE);
    NMCUSTOMDRAW draw = {};
    draw.dwItemSpec = ID_FILE_SAVE;
    PaperCanvas canvas(Client().Width(), Client().Height());
    EXPECT_FALSE(bar.DrawButton(&canvas.m_dc, &draw));
    bar.m_bEmbossDisabled = FALSE;
    ASSERT_TRUE(bar.SetButtonText(1, ""));
    EXPECT_FALSE(bar.DrawButton(&canvas.m_dc, &draw)) << "not asked to emboss";
}

TEST_F(ToolbarDrawTest, XPLookHandsButtonsSeparatorsAndTheOpenDropDownsShadowToTheProxy)
{
    XPScope look(1);
    const int shadows = qzAfxData.popupShadows;
    qzAfxData.popupShadows = 1;
    CreateToolBar(bar, &dockTop, CBRS_TOP);
    bar.SetButtonStyle(3, bar.GetButtonStyle(3) | QZ_TBBS_CHECKED | TBSTYLE_CHECK);
    bar.m_nDropDownIndex = 0;
    PaperCanvas canvas(Client().Width(), Client().Height());
    Paint(canvas);
    qzAfxData.popupShadows = shadows;
    const CRect separator = Item(bar, 2);
    EXPECT_EQ(qzAfxData.colorXPSeparator, canvas.At(separator.left + 3, separator.top + 2));
    const CRect print = Item(bar, 3);
    EXPECT_EQ(qzAfxData.colorXPChecked, canvas.At(print.left + 2, print.top + 2)) << "the checked fill";
    const CRect open = Item(bar, 0);
    const COLORREF besideOpen = canvas.At(open.right + 1, open.top + 6);
    EXPECT_NE(qzAfxData.colorXPBarFace, besideOpen) << "the open drop-down casts its shadow";
}

TEST_F(ToolbarDrawTest, ChildControlIsPaintedIntoTheBarsImage)
{
    XPScope look(0);
    const CRect borders = bar.GetBorders();
    ASSERT_TRUE(bar.CreateEx(&dockTop, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, borders, AFX_IDW_TOOLBAR));
    constexpr UINT kBoxId = 4400;
    const UINT ids[] = {ID_FILE_OPEN, kBoxId};
    ASSERT_TRUE(bar.SetButtons(ids, 2));
    TBBUTTON placeholder = {};
    bar.GetButton(1, &placeholder);
    placeholder.fsStyle = TBSTYLE_SEP;
    bar.SetButton(1, &placeholder);
    bar.SaveOriginalButtons();
    bar.SetWindowPos(nullptr, 0, 0, 200, 30, SWP_NOZORDER);
    ColourBox box;
    ASSERT_TRUE(box.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 30, 10), &bar, kBoxId));
    bar.AddControl(&box);
    CRect window;
    box.GetWindowRect(&window);
    bar.ScreenToClient(&window);
    PaperCanvas canvas(Client().Width(), Client().Height());
    Paint(canvas);
    EXPECT_EQ(kBoxColour, canvas.At(window.left + 5, window.top + 5));
    EXPECT_EQ(window.Width() * window.Height(), canvas.Count(Client(), kBoxColour)) << "in its place only";

    box.DestroyWindow();
}

TEST_F(ToolbarDrawTest, ControlThatIsNotFlatGetsNoToolkitDrawing)
{
    XPScope look(0);
    CreateToolBar(bar, &dockTop, CBRS_TOP, 0);
    GiveSaveAColourBar(RGB(200, 0, 100));
    PaperCanvas canvas(Client().Width(), Client().Height());
    Paint(canvas);
    EXPECT_EQ(0, canvas.Count(Item(bar, 1), RGB(200, 0, 100)));
    const CRect separator = Item(bar, 2);
    EXPECT_NE(qzAfxData.colorShadow, canvas.At(separator.left + 2, separator.bottom - 1));
}
