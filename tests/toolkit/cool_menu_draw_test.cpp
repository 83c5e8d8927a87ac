// Image menu items drawn into a canvas: checks, radio dots, images, the classic selection
// bar, disabled text, the accelerator column, the XP border and joint, the chevron glyph,
// mnemonic underlines, and items of other code left to their owner.
#include "menu_test_support.h"

#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMenuItemInfo.h"

namespace toolkit_test {
namespace {

using test_support::kPaper;


class CoolMenuDrawTest : public MenuFrameTest {
protected:
    void SetUp() override
    {
        MenuFrameTest::SetUp();
        SetDrawingColours();
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendMenu(MF_STRING | MF_CHECKED, ID_TEST_FIRST, "&Checked");
        menu.AppendMenu(MF_STRING, ID_FILE_OPEN, "&Open\tCtrl+O");
        menu.AppendMenu(MF_STRING, ID_TEST_SECOND, "&Plain");
        menu.AppendMenu(MF_STRING | MF_GRAYED, ID_EDIT_CUT, "Cu&t");
        menu.AppendMenu(MF_STRING, ID_FILE_SAVE, "&Last\tCtrl+S");
    }
    void TearDown() override
    {
        qzAfxData.xpLook = 0;
        EndMenuLoop(frame->m_hWnd);
        qzAfxData.UpdateSysColors();
        MenuFrameTest::TearDown();
    }
    void Open() { InitPopup(frame->m_hWnd, menu.m_hMenu); }
    // Draws item index into the canvas at rect as the system asks for it.
    LRESULT Draw(PaperCanvas& canvas, int index, UINT state, const CRect& rect)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = GetMenuItemID(menu.m_hMenu, index);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = state;
        dis.hwndItem = reinterpret_cast<HWND>(menu.m_hMenu);
        dis.hDC = canvas.get();
        dis.rcItem = rect;
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_DATA;
        GetMenuItemInfoA(menu.m_hMenu, static_cast<UINT>(index), TRUE, &info);
        dis.itemData = info.dwItemData;
        return SendMessageA(frame->m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    }
    // The classic check's glyph origin in a 22-pixel item at the top of the canvas.
    static constexpr int kGlyphX = 6;
    static constexpr int kGlyphY = 9;

    CMenu menu;
};

TEST_F(CoolMenuDrawTest, CheckedItemWithoutImageShowsATickAndARadioItemADot)
{
    Open();
    struct Case {
        const char* why;
        bool checked;
        bool checkedBitmap;
        bool uncheckedBitmap;
        bool tick;
        bool dot;
    };
    const Case cases[] = {
        {"checked: a tick", true, false, false, true, false},
        {"checked with a check bitmap (a radio item): the dot", true, true, false, false, true},
        {"unchecked with an unchecked bitmap: the dot as well", false, false, true, false, true},
    };
    HBITMAP mark = CreateBitmap(13, 13, 1, 1, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        SetMenuItemBitmaps(menu.m_hMenu, ID_TEST_FIRST, MF_BYCOMMAND, c.uncheckedBitmap ? mark : nullptr,
                           c.checkedBitmap ? mark : nullptr);
        PaperCanvas canvas(200, 22);
        EXPECT_EQ(1, Draw(canvas, 0, c.checked ? ODS_CHECKED : 0, CRect(0, 0, 200, 22)));
        EXPECT_EQ(c.tick, canvas.At(kGlyphX, kGlyphY + 1) == kDrawDarkShadow) << "the tick's first pixel";
        EXPECT_EQ(c.tick, canvas.At(kGlyphX + 6, kGlyphY - 1) == kDrawDarkShadow) << "the tick's last pixel";
        // The dot's middle rows run through the current (black) pen from one pixel in.
        EXPECT_EQ(c.dot, canvas.At(kGlyphX + 1, kGlyphY + 2) == RGB(0, 0, 0));
        EXPECT_EQ(c.dot, canvas.At(kGlyphX + 5, kGlyphY + 2) == RGB(0, 0, 0));
    }
    DeleteObject(mark);
}

TEST_F(CoolMenuDrawTest, ClassicSelectionBarStartsBesideTheImageOrAtTheEdgeWithoutOne)
{
    Open();
    const int cell = frame->m_coolMenu.m_sizeButton.cx;
    {
        SCOPED_TRACE("selected item with an image");
        PaperCanvas canvas(200, 22);
        Draw(canvas, 1, ODS_SELECTED, CRect(0, 0, 200, 22));
        EXPECT_EQ(RGB(255, 255, 0), canvas.At(9, 11)) << "the image (yellow) in its cell";
        EXPECT_EQ(kDrawMenu, canvas.At(cell - 1, 11)) << "the cell keeps the menu colour";
        EXPECT_EQ(kDrawMenu, canvas.At(cell + 1, 11));
        EXPECT_EQ(kDrawSelection, canvas.At(cell + 2, 11)) << "the bar starts 2 pixels right of the cell";
    }
    {
        SCOPED_TRACE("selected item without image or check");
        PaperCanvas canvas(200, 22);
        Draw(canvas, 2, ODS_SELECTED, CRect(0, 0, 200, 22));
        EXPECT_EQ(kDrawSelection, canvas.At(1, 11));
    }
}

TEST_F(CoolMenuDrawTest, ClassicDisabledTextIsEmbossedUnlessSelected)
{
    Open();
    const CRect text(frame->m_coolMenu.m_sizeButton.cx + 7, 0, 200, 22);
    PaperCanvas plain(200, 22);
    Draw(plain, 3, ODS_GRAYED, CRect(0, 0, 200, 22));
    EXPECT_GT(plain.Count(text, kDrawHilite), 0) << "the highlight copy one pixel down and right";
    EXPECT_GT(plain.Count(text, kDrawGray), 0);
    PaperCanvas selected(200, 22);
    Draw(selected, 3, ODS_GRAYED | ODS_SELECTED, CRect(0, 0, 200, 22));
    EXPECT_EQ(0, selected.Count(text, kDrawHilite));
    EXPECT_GT(selected.Count(text, kDrawFace), 0) << "the face colour on the selection";
}

TEST_F(CoolMenuDrawTest, AcceleratorTextStandsRightAlignedBeforeTheLastCell)
{
    Open();
    const int cell = frame->m_coolMenu.m_sizeButton.cx;
    PaperCanvas canvas(240, 22);
    Draw(canvas, 1, 0, CRect(0, 0, 240, 22));
    EXPECT_GT(canvas.Count(CRect(240 - cell - 30, 0, 240 - cell, 22), kDrawMenuText), 0) << "the accelerator";
    EXPECT_EQ(0, canvas.Count(CRect(240 - cell, 0, 240, 22), kDrawMenuText)) << "nothing in the last cell";
    EXPECT_EQ(0, canvas.Count(CRect(90, 0, 240 - cell - 60, 22), kDrawMenuText)) << "a gap between the columns";
}

TEST_F(CoolMenuDrawTest, XPFirstItemCarriesTheTopBorderWithAGapWhereThePopupMeetsItsButton)
{
    qzAfxData.xpLook = 1;
    CQZCoolMenu::m_nPopupSide = CBRS_ALIGN_TOP;
    CQZCoolMenu::m_rcOpener = CRect(0, 0, 60, 22);
    Open();
    PaperCanvas canvas(220, 24);
    Draw(canvas, 0, 0, CRect(0, 0, 200, 24));
    test_support::ExpectPixels(canvas, {
                                           {"top-left corner of the border", 0, 0, kDrawXPBorder},
                                           {"the joint with the button", 30, 0, kDrawXPBarFace},
                                           {"the joint ends 2 pixels short of the button", 59, 0, kDrawXPBorder},
                                           {"the image column", 23, 12, kDrawXPBarFace},
                                           {"the menu background", 120, 20, kDrawXPMenuBack},
                                       });
    EXPECT_EQ(kDrawXPBorder, canvas.At(200 + 2 * CQZCoolMenu::m_sizeFrame.cx - 1, 12))
        << "the right border lies in the room of the removed frame";
    CQZCoolMenu::m_rcOpener = CRect(-1, -1, -1, -1);
}

TEST_F(CoolMenuDrawTest, XPSelectedItemIsFramedInTheSelectionColour)
{
    qzAfxData.xpLook = 1;
    Open();
    PaperCanvas canvas(220, 24);
    Draw(canvas, 2, ODS_SELECTED, CRect(0, 0, 200, 24));
    EXPECT_EQ(kDrawSelection, canvas.At(2, 12)) << "the frame's left side";
    EXPECT_EQ(kDrawXPHot, canvas.At(120, 12));
}

TEST_F(CoolMenuDrawTest, ItemOfOtherCodeIsLeftToItsOwner)
{
    menu.AppendMenu(MF_OWNERDRAW, 77, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(0x1234)));
    Open();
    PaperCanvas canvas(200, 22);
    Draw(canvas, 5, 0, CRect(0, 0, 200, 22));
    EXPECT_EQ(200 * 22, canvas.Count(CRect(0, 0, 200, 22), kPaper));
}

TEST_F(CoolMenuDrawTest, ChevronGlyphIsCentredInTheLowest13Pixels)
{
    PaperCanvas canvas(100, 30);
    frame->m_coolMenu.DrawChevron(&canvas.m_dc, CRect(0, 0, 100, 30), FALSE);
    CQZCoolMenu::m_bMenuBarLoopEnded = false;
    const int x = (100 - 5) / 2;
    const int y = 17 + (13 - 8) / 2;
    test_support::ExpectPixels(canvas, {
                                           {"upper chevron, left arm", x, y, kDrawMenuText},
                                           {"upper chevron, tip", x + 2, y + 3, kDrawMenuText},
                                           {"upper chevron, right arm", x + 4, y, kDrawMenuText},
                                           {"lower chevron, left arm", x, y + 4, kDrawMenuText},
                                           {"lower chevron, tip", x + 2, y + 7, kDrawMenuText},
                                       });
    EXPECT_EQ(0, canvas.Count(CRect(0, 0, 100, 17), kDrawMenuText)) << "nothing above the lowest 13 pixels";
    EXPECT_EQ(10 * 2, canvas.Count(CRect(0, 0, 100, 30), kDrawMenuText));
}

TEST_F(CoolMenuDrawTest, MnemonicsAreUnderlinedOnlyWithKeyboardCues)
{
    BOOL systemCues = TRUE;
    SystemParametersInfoA(SPI_GETMENUUNDERLINES, 0, &systemCues, 0);
    SystemParametersInfoA(SPI_SETMENUUNDERLINES, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(FALSE)), 0);
    Open();
    auto inked = [&] {
        PaperCanvas canvas(200, 22);
        Draw(canvas, 2, 0, CRect(0, 0, 200, 22));
        return canvas.Count(CRect(0, 0, 200, 22), kDrawMenuText);
    };
    CQZMenuBar::m_bKeyboardCues = false;
    const int hidden = inked();
    CQZMenuBar::m_bKeyboardCues = true;
    const int shown = inked();
    CQZMenuBar::m_bKeyboardCues = false;
    SystemParametersInfoA(SPI_SETMENUUNDERLINES, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(systemCues)), 0);
    EXPECT_GT(shown, hidden) << "opened from the keyboard through the menu bar: the underline is drawn";
}

TEST_F(CoolMenuDrawTest, SeparatorIsAnEtchedLineClassicAndAThinLineBesideTheImageColumnInXP)
{
    menu.InsertMenu(2, MF_BYPOSITION | MF_SEPARATOR);
    Open();
    const COLORREF separatorColour = RGB(90, 80, 70);
    qzAfxData.colorXPSeparator = separatorColour;
    {
        SCOPED_TRACE("classic");
        PaperCanvas canvas(200, 10);
        EXPECT_EQ(1, Draw(canvas, 2, 0, CRect(0, 0, 200, 10)));
        test_support::ExpectPixels(canvas, {
                                               {"the etched line's dark half", 100, 5, GetSysColor(COLOR_BTNSHADOW)},
                                               {"its light half below", 100, 6, GetSysColor(COLOR_BTNHIGHLIGHT)},
                                               {"12 pixels of menu before it", 11, 5, kDrawMenu},
                                               {"and after it", 188, 5, kDrawMenu},
                                               {"the menu colour around it", 100, 2, kDrawMenu},
                                           });
    }
    qzAfxData.xpLook = 1;
    {
        SCOPED_TRACE("XP");
        PaperCanvas canvas(220, 10);
        EXPECT_EQ(1, Draw(canvas, 2, 0, CRect(0, 0, 200, 10)));
        test_support::ExpectPixels(canvas, {
                                               {"the line", 100, 5, separatorColour},
                                               {"it starts beside the image column", 27, 5, separatorColour},
                                               {"the image column", 20, 5, kDrawXPBarFace},
                                               {"the menu background around it", 100, 2, kDrawXPMenuBack},
                                           });
        EXPECT_EQ(0, canvas.Count(CRect(0, 0, 220, 10), GetSysColor(COLOR_BTNSHADOW))) << "no etched line";
    }
}

TEST_F(CoolMenuDrawTest, DefaultItemIsWrittenInBold)
{
    Open();
    auto ink = [&] {
        PaperCanvas canvas(200, 22);
        Draw(canvas, 2, 0, CRect(0, 0, 200, 22));
        return canvas.Count(CRect(0, 0, 200, 22), kDrawMenuText);
    };
    const int plain = ink();
    ASSERT_TRUE(SetMenuDefaultItem(menu.m_hMenu, ID_TEST_SECOND, FALSE));
    const int bold = ink();
    EXPECT_GT(plain, 0);
    EXPECT_GT(bold, plain + plain / 10) << "the bold font's thicker strokes";
}

// Item 1 has the yellow image of the open command.
TEST_F(CoolMenuDrawTest, CheckedItemWithAnImageSitsInASunkenDitheredCellClassicAndInABoxInXP)
{
    qzAfxData.colorXPChecked = RGB(150, 170, 210);
    qzAfxData.colorXPPushed = RGB(120, 140, 190);
    Open();
    const CSize button = frame->m_coolMenu.m_sizeButton;
    const int cellTop = (22 - button.cy) / 2;  // the cell as the item centres it, grown by a pixel
    const int middle = cellTop + button.cy / 2;
    {
        SCOPED_TRACE("classic, not selected");
        PaperCanvas canvas(200, 22);
        Draw(canvas, 1, ODS_CHECKED, CRect(0, 0, 200, 22));
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), canvas.At(0, middle)) << "sunken: dark on the left";
        EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), canvas.At(button.cx, middle)) << "light on the right";
        const COLORREF a = canvas.At(1, cellTop + 1), b = canvas.At(2, cellTop + 1);
        EXPECT_TRUE((a == kDrawFace && b == kDrawHilite) || (a == kDrawHilite && b == kDrawFace))
            << "dithered in face and highlight";
        EXPECT_GT(canvas.Count(CRect(0, 0, button.cx, 22), RGB(255, 255, 0)), 0) << "the image over it";
    }
    {
        SCOPED_TRACE("classic, selected");
        PaperCanvas canvas(200, 22);
        Draw(canvas, 1, ODS_CHECKED | ODS_SELECTED, CRect(0, 0, 200, 22));
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), canvas.At(0, middle));
        EXPECT_EQ(kDrawMenu, canvas.At(1, cellTop + 1)) << "no dither on the selection";
        EXPECT_EQ(kDrawMenu, canvas.At(2, cellTop + 1));
        EXPECT_EQ(kDrawSelection, canvas.At(button.cx + 2, 11)) << "the bar beside the cell";
    }
    qzAfxData.xpLook = 1;
    struct Case {
        const char* why;
        UINT state;
        COLORREF inside;
    };
    const Case cases[] = {
        {"XP, not selected: the checked fill", ODS_CHECKED, qzAfxData.colorXPChecked},
        {"XP, selected: the pushed fill", ODS_CHECKED | ODS_SELECTED, qzAfxData.colorXPPushed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        PaperCanvas canvas(220, 22);
        Draw(canvas, 1, c.state, CRect(0, 0, 200, 22));
        // The cell starts at 1, inside the border the item draws; the box 2 pixels into it.
        EXPECT_EQ(kDrawSelection, canvas.At(3, middle)) << "the box's left side";
        EXPECT_EQ(c.inside, canvas.At(4, cellTop + 2));
        EXPECT_GT(canvas.Count(CRect(0, 0, button.cx, 22), RGB(255, 255, 0)), 0) << "the image in the box";
    }
}

// Item 4 has the blue image of the save command.
TEST_F(CoolMenuDrawTest, XPDisabledImageIsDrawnInTheShadowColourAlone)
{
    qzAfxData.xpLook = 1;
    Open();
    const CRect column(0, 0, frame->m_coolMenu.m_sizeButton.cx, 24);
    PaperCanvas enabled(220, 24);
    Draw(enabled, 4, 0, CRect(0, 0, 200, 24));
    EXPECT_GT(enabled.Count(column, RGB(0, 0, 255)), 20) << "enabled: the image in its colours";
    EXPECT_EQ(0, enabled.Count(column, kDrawShadow));
    PaperCanvas disabled(220, 24);
    Draw(disabled, 4, ODS_GRAYED, CRect(0, 0, 200, 24));
    EXPECT_EQ(0, disabled.Count(column, RGB(0, 0, 255)));
    int imagePixels = 0, shadowed = 0;
    for (int y = column.top; y < column.bottom; ++y) {
        for (int x = column.left; x < column.right; ++x) {
            if (enabled.At(x, y) == RGB(0, 0, 255)) {
                ++imagePixels;
                shadowed += disabled.At(x, y) == kDrawShadow;
            }
        }
    }
    EXPECT_EQ(imagePixels, shadowed) << "every pixel of the image in the shadow colour";
}

// A full menu shows the hidden commands apart from the others: a lighter background with
// lines at the ends of their run in the classic look, a darker image column in the XP look.
class HiddenItemsDrawTest : public MenuFrameTest {
protected:
    static constexpr UINT kHiddenA = 101;
    static constexpr UINT kHiddenB = 102;
    static constexpr COLORREF kFaceLight = RGB(236, 233, 216);
    static constexpr COLORREF kBarFaceDark = RGB(190, 180, 150);

    void SetUp() override
    {
        hiddenCommands = {kHiddenA, kHiddenB};
        CreateFrame();
        SetDrawingColours();
        qzAfxData.colorFaceLight = kFaceLight;
        qzAfxData.colorXPBarFaceDark = kBarFaceDark;
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendMenu(MF_STRING, ID_TEST_FIRST, "One");
        menu.AppendMenu(MF_STRING, kHiddenA, "Hidden A");
        menu.AppendMenu(MF_STRING, kHiddenB, "Hidden B");
        menu.AppendMenu(MF_STRING, ID_TEST_SECOND, "Two");
        menu.AppendMenu(MF_STRING, ID_FILE_OPEN, "Three");
        CQZCoolMenu::m_bShowFullMenus = true;
        InitPopup(frame->m_hWnd, menu.m_hMenu);
    }
    void TearDown() override
    {
        qzAfxData.xpLook = 0;
        EndMenuLoop(frame->m_hWnd);
        CQZCoolMenu::m_bShowFullMenus = false;
        qzAfxData.UpdateSysColors();
        MenuFrameTest::TearDown();
    }
    // Draws item index into a 24-pixel band of the canvas at its place in the menu.
    void Draw(PaperCanvas& canvas, int index)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = GetMenuItemID(menu.m_hMenu, index);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = reinterpret_cast<HWND>(menu.m_hMenu);
        dis.hDC = canvas.get();
        dis.rcItem = CRect(0, 24 * index, 200, 24 * index + 24);
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_DATA;
        GetMenuItemInfoA(menu.m_hMenu, static_cast<UINT>(index), TRUE, &info);
        dis.itemData = info.dwItemData;
        SendMessageA(frame->m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    }

    // The toolkit's own menu is tracking.
    CQZMenu active;
    CMenu menu;
};

TEST_F(HiddenItemsDrawTest, ClassicRunOfHiddenItemsIsLighterWithLinesAtItsEnds)
{
    ASSERT_EQ(5, menu.GetMenuItemCount()) << "a full menu keeps the hidden items";
    PaperCanvas canvas(200, 5 * 24);
    for (int index = 4; index >= 0; --index)
        Draw(canvas, index);
    test_support::ExpectPixels(canvas, {
                                           {"a shown item", 150, 12, kDrawMenu},
                                           {"the first hidden item", 150, 24 + 12, kFaceLight},
                                           {"a line where the run starts", 150, 24, kDrawShadow},
                                           {"the second hidden item", 150, 48 + 12, kFaceLight},
                                           {"no line inside the run", 150, 48, kFaceLight},
                                           {"a light line where it ends", 150, 72, kDrawHilite},
                                           {"the shown item after it", 150, 72 + 12, kDrawMenu},
                                       });
}

TEST_F(HiddenItemsDrawTest, XPHiddenItemsHaveADarkerImageColumn)
{
    qzAfxData.xpLook = 1;
    PaperCanvas canvas(220, 4 * 24);
    for (int index = 0; index < 4; ++index)
        Draw(canvas, index);
    test_support::ExpectPixels(canvas, {
                                           {"a shown item's column", 10, 12, kDrawXPBarFace},
                                           {"a hidden item's column", 10, 24 + 12, kBarFaceDark},
                                           {"the other hidden item's", 10, 48 + 12, kBarFaceDark},
                                           {"the last shown item's", 10, 72 + 12, kDrawXPBarFace},
                                           {"a hidden item's background", 150, 24 + 12, kDrawXPMenuBack},
                                       });
}

} // namespace
} // namespace toolkit_test
