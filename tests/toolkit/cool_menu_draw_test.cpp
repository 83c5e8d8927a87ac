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

// Colours no two of which are alike, so every pixel tells who drew it.
constexpr COLORREF kMenu = RGB(230, 230, 210);
constexpr COLORREF kMenuText = RGB(20, 20, 120);
constexpr COLORREF kSelection = RGB(40, 90, 200);
constexpr COLORREF kSelectionText = RGB(250, 250, 200);
constexpr COLORREF kGray = RGB(128, 120, 128);
constexpr COLORREF kHilite = RGB(255, 255, 254);
constexpr COLORREF kDarkShadow = RGB(60, 50, 40);
constexpr COLORREF kFace = RGB(200, 196, 190);
constexpr COLORREF kXPBorder = RGB(10, 120, 10);
constexpr COLORREF kXPBarFace = RGB(220, 210, 180);
constexpr COLORREF kXPMenuBack = RGB(249, 248, 247);
constexpr COLORREF kXPHot = RGB(180, 200, 240);

class CoolMenuDrawTest : public MenuFrameTest {
protected:
    void SetUp() override
    {
        MenuFrameTest::SetUp();
        qzAfxData.colorMenu = kMenu;
        qzAfxData.colorMenuText = kMenuText;
        qzAfxData.colorSelection = kSelection;
        qzAfxData.colorSelectionText = kSelectionText;
        qzAfxData.colorGrayText = kGray;
        qzAfxData.colorHilite = kHilite;
        qzAfxData.colorDarkShadow = kDarkShadow;
        qzAfxData.colorFace = kFace;
        qzAfxData.colorXPBorder = kXPBorder;
        qzAfxData.colorXPBarFace = kXPBarFace;
        qzAfxData.colorXPMenuBack = kXPMenuBack;
        qzAfxData.colorXPHot = kXPHot;
        qzAfxData.colorButtonText = kMenuText;
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
        EXPECT_EQ(c.tick, canvas.At(kGlyphX, kGlyphY + 1) == kDarkShadow) << "the tick's first pixel";
        EXPECT_EQ(c.tick, canvas.At(kGlyphX + 6, kGlyphY - 1) == kDarkShadow) << "the tick's last pixel";
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
        EXPECT_EQ(kMenu, canvas.At(cell - 1, 11)) << "the cell keeps the menu colour";
        EXPECT_EQ(kMenu, canvas.At(cell + 1, 11));
        EXPECT_EQ(kSelection, canvas.At(cell + 2, 11)) << "the bar starts 2 pixels right of the cell";
    }
    {
        SCOPED_TRACE("selected item without image or check");
        PaperCanvas canvas(200, 22);
        Draw(canvas, 2, ODS_SELECTED, CRect(0, 0, 200, 22));
        EXPECT_EQ(kSelection, canvas.At(1, 11));
    }
}

TEST_F(CoolMenuDrawTest, ClassicDisabledTextIsEmbossedUnlessSelected)
{
    Open();
    const CRect text(frame->m_coolMenu.m_sizeButton.cx + 7, 0, 200, 22);
    PaperCanvas plain(200, 22);
    Draw(plain, 3, ODS_GRAYED, CRect(0, 0, 200, 22));
    EXPECT_GT(plain.Count(text, kHilite), 0) << "the highlight copy one pixel down and right";
    EXPECT_GT(plain.Count(text, kGray), 0);
    PaperCanvas selected(200, 22);
    Draw(selected, 3, ODS_GRAYED | ODS_SELECTED, CRect(0, 0, 200, 22));
    EXPECT_EQ(0, selected.Count(text, kHilite));
    EXPECT_GT(selected.Count(text, kFace), 0) << "the face colour on the selection";
}

TEST_F(CoolMenuDrawTest, AcceleratorTextStandsRightAlignedBeforeTheLastCell)
{
    Open();
    const int cell = frame->m_coolMenu.m_sizeButton.cx;
    PaperCanvas canvas(240, 22);
    Draw(canvas, 1, 0, CRect(0, 0, 240, 22));
    EXPECT_GT(canvas.Count(CRect(240 - cell - 30, 0, 240 - cell, 22), kMenuText), 0) << "the accelerator";
    EXPECT_EQ(0, canvas.Count(CRect(240 - cell, 0, 240, 22), kMenuText)) << "nothing in the last cell";
    EXPECT_EQ(0, canvas.Count(CRect(90, 0, 240 - cell - 60, 22), kMenuText)) << "a gap between the columns";
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
                                           {"top-left corner of the border", 0, 0, kXPBorder},
                                           {"the joint with the button", 30, 0, kXPBarFace},
                                           {"the joint ends 2 pixels short of the button", 59, 0, kXPBorder},
                                           {"the image column", 23, 12, kXPBarFace},
                                           {"the menu background", 120, 20, kXPMenuBack},
                                       });
    EXPECT_EQ(kXPBorder, canvas.At(200 + 2 * CQZCoolMenu::m_sizeFrame.cx - 1, 12))
        << "the right border lies in the room of the removed frame";
    CQZCoolMenu::m_rcOpener = CRect(-1, -1, -1, -1);
}

TEST_F(CoolMenuDrawTest, XPSelectedItemIsFramedInTheSelectionColour)
{
    qzAfxData.xpLook = 1;
    Open();
    PaperCanvas canvas(220, 24);
    Draw(canvas, 2, ODS_SELECTED, CRect(0, 0, 200, 24));
    EXPECT_EQ(kSelection, canvas.At(2, 12)) << "the frame's left side";
    EXPECT_EQ(kXPHot, canvas.At(120, 12));
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
                                           {"upper chevron, left arm", x, y, kMenuText},
                                           {"upper chevron, tip", x + 2, y + 3, kMenuText},
                                           {"upper chevron, right arm", x + 4, y, kMenuText},
                                           {"lower chevron, left arm", x, y + 4, kMenuText},
                                           {"lower chevron, tip", x + 2, y + 7, kMenuText},
                                       });
    EXPECT_EQ(0, canvas.Count(CRect(0, 0, 100, 17), kMenuText)) << "nothing above the lowest 13 pixels";
    EXPECT_EQ(10 * 2, canvas.Count(CRect(0, 0, 100, 30), kMenuText));
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
        return canvas.Count(CRect(0, 0, 200, 22), kMenuText);
    };
    CQZMenuBar::m_bKeyboardCues = false;
    const int hidden = inked();
    CQZMenuBar::m_bKeyboardCues = true;
    const int shown = inked();
    CQZMenuBar::m_bKeyboardCues = false;
    SystemParametersInfoA(SPI_SETMENUUNDERLINES, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(systemCues)), 0);
    EXPECT_GT(shown, hidden) << "opened from the keyboard through the menu bar: the underline is drawn";
}

} // namespace
} // namespace toolkit_test
