// The colour sheet: its hex text, its fixed layout whatever the font, the swatches, the
// new colour before and while it shows, the clipboard copy and its failures, and "More
// Colors..." from the colour popup end to end, with the recent colours it keeps.
#include "toolkit/colour/QZColorDialog.h"

#include "colour_test_support.h"
#include "toolkit/colour/QZColorPageCustom.h"
#include "toolkit/colour/QZColorPageStandard.h"
#include "toolkit/colour/QZColorPopup.h"
#include "toolkit/colour/QZColorHexPalette.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/res/ToolkitResources.h"
#include "toolkit_test_support.h"

#include <cstring>
#include <memory>
#include <string>

using colour_test::PressSheetButton;
using colour_test::Received;
using colour_test::RecordingWnd;
using colour_test::SheetScript;
using toolkit_test::PaperCanvas;
using toolkit_test::PumpPending;

namespace {

constexpr COLORREF kSheetRed = RGB(255, 0, 0);

CRect ChildRectIn(CWnd& parent, CWnd* child)
{
    CRect rect;
    child->GetWindowRect(&rect);
    parent.ScreenToClient(&rect);
    return rect;
}

// Committed private memory of the process: what a block left unfreed keeps.
SIZE_T CommittedPrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION info = {};
    for (const char* at = nullptr; VirtualQuery(at, &info, sizeof info) == sizeof info;
         at = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += info.RegionSize;
    }
    return total;
}

// Owns the clipboard's contents and, told they are being emptied, closes the clipboard
// under whoever opened it on this thread: the clipboard then refuses the data offered next.
class ClipboardCloser : public CWnd {
public:
    BOOL Make() { return CreateEx(0, nullptr, "closer", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr); }
    BOOL TakeClipboard()
    {
        if (!::OpenClipboard(m_hWnd))
            return FALSE;
        const BOOL emptied = ::EmptyClipboard();
        ::CloseClipboard();
        return emptied && ::GetClipboardOwner() == m_hWnd;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DESTROYCLIPBOARD)
            ::CloseClipboard();
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

} // namespace

TEST(ColourSheetHex, ShowsTheThreeBytesAsTwoUpperCaseDigitsEach)
{
    struct Case {
        const char* why;
        COLORREF colour;
        const char* text;
    };
    const Case cases[] = {
        {"red and blue below 16", RGB(10, 255, 5), "Hex: 0AFF05"},
        {"black", RGB(0, 0, 0), "Hex: 000000"},
        {"white", RGB(255, 255, 255), "Hex: FFFFFF"},
        {"only red below 16", RGB(15, 16, 200), "Hex: 0F10C8"},
        {"only green below 16", RGB(16, 1, 171), "Hex: 1001AB"},
        {"only blue below 16", RGB(171, 205, 14), "Hex: ABCD0E"},
        {"none below 16", RGB(16, 16, 16), "Hex: 101010"},
        {"red and green below 16", RGB(1, 2, 254), "Hex: 0102FE"},
        {"green and blue below 16", RGB(128, 0, 15), "Hex: 80000F"},
        {"the high byte is not a component", 0xFF123456, "Hex: 563412"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_STREQ(c.text, CQZColorDialog::FormatHex(c.colour));
    }
}

TEST(ColourSheet, NewColourBeforeTheWindowIsOnlyStored)
{
    CQZColorDialog sheet(kSheetRed, kSheetRed, 0x20, nullptr);
    sheet.SetNewColor(RGB(1, 2, 3), TRUE);
    EXPECT_EQ(RGB(1, 2, 3), sheet.GetColor());
    EXPECT_EQ(nullptr, sheet.m_hWnd);
    EXPECT_EQ(2, sheet.GetPageCount());
    EXPECT_TRUE(sheet.m_rectNew.IsRectEmpty()) << "nothing painted";
}

TEST(ColourSheet, HasItsFixedLayoutWithTheHexTextOnlyWhenAsked)
{
    for (DWORD style : {0x00u, 0x20u}) {
        SCOPED_TRACE(style);
        CQZColorDialog sheet(RGB(10, 255, 5), kSheetRed, style, nullptr);
        CRect window, tab, ok, cancel;
        bool hasHexText = false;
        CString hexText;
        SheetScript script([&](CQZColorDialog& shown) {
            shown.GetWindowRect(&window);
            shown.GetTabControl()->GetWindowRect(&tab);
            ok = ChildRectIn(shown, shown.GetDlgItem(IDOK));
            cancel = ChildRectIn(shown, shown.GetDlgItem(IDCANCEL));
            CWnd* hex = shown.GetDlgItem(IDC_QZ_COLOR_HEX_TEXT);
            hasHexText = hex != nullptr;
            if (hex)
                hex->GetWindowText(hexText);
            PressSheetButton(shown, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, sheet.DoModal());
        EXPECT_EQ(CSize(329, 341), window.Size());
        EXPECT_EQ(CSize(226, 280), tab.Size());
        EXPECT_EQ(CRect(243, 29, 243 + 75, 29 + 22), ok);
        EXPECT_EQ(CRect(243, 58, 243 + 75, 58 + 22), cancel);
        EXPECT_EQ(style == 0x20, hasHexText);
        if (hasHexText) {
            EXPECT_STREQ("Hex: 0AFF05", hexText);
        }
    }
}

TEST(ColourSheet, SwatchesShowNewAboveCurrentInTheirFrame)
{
    struct Case {
        const char* why;
        DWORD style;
        COLORREF outerCorner;  // three pixels outside the box's top-left corner
        COLORREF boxCorner;
    };
    const Case cases[] = {
        {"a plain frame", 0x00, qzAfxData.colorFace, qzAfxData.colorWindowFrame},
        {"a raised and sunken frame", 0x40, qzAfxData.colorHilite, qzAfxData.colorShadow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQZColorDialog sheet(RGB(0, 0, 200), RGB(0, 150, 0), c.style, nullptr);
        CRect client;
        std::unique_ptr<PaperCanvas> canvas;
        SheetScript script([&](CQZColorDialog& shown) {
            shown.GetClientRect(&client);
            canvas = std::make_unique<PaperCanvas>(client.Width(), client.Height());
            canvas->m_dc.FillSolidRect(&client, qzAfxData.colorFace);
            shown.DrawSwatches(&canvas->m_dc);
            PressSheetButton(shown, IDCANCEL);
        });
        sheet.DoModal();
        ASSERT_TRUE(canvas);
        // The 68 x 66 box, 9 from the right and 32 from the bottom; inside its one-pixel
        // frame the upper half is New, the lower half Current.
        const CRect box(client.right - 9 - 68, client.bottom - 32 - 66, client.right - 9, client.bottom - 32);
        EXPECT_EQ(CRect(box.left + 1, box.top + 1, box.right - 1, box.top + 1 + 32), sheet.m_rectNew);
        EXPECT_EQ(CRect(box.left + 1, box.top + 33, box.right - 1, box.top + 65), sheet.m_rectCurrent);
        EXPECT_EQ(c.boxCorner, canvas->At(box.left, box.top));
        EXPECT_EQ(c.outerCorner, canvas->At(box.left - 3, box.top - 3));
        EXPECT_EQ(RGB(0, 0, 200), canvas->At(box.left + 30, box.top + 10));
        EXPECT_EQ(RGB(0, 150, 0), canvas->At(box.left + 30, box.bottom - 10));
        EXPECT_LT(0, canvas->Count(CRect(box.left, box.top - 22, box.right, box.top), qzAfxData.colorWindowText))
            << "the New label above";
        EXPECT_LT(0, canvas->Count(CRect(box.left, box.bottom, box.right, box.bottom + 22), qzAfxData.colorWindowText))
            << "the Current label below";
    }
}

TEST(ColourSheet, NewColourWhileShowingUpdatesTheHexTextAndToldPages)
{
    CQZColorDialog sheet(kSheetRed, kSheetRed, 0x20, nullptr);
    CString hexText;
    int customRed = -1;
    SheetScript script([&](CQZColorDialog& shown) {
        shown.SetActivePage(1);
        shown.SetNewColor(RGB(10, 20, 30), TRUE);
        shown.GetDlgItem(IDC_QZ_COLOR_HEX_TEXT)->GetWindowText(hexText);
        customRed = shown.GetCustomPage()->m_nRed;
        PressSheetButton(shown, IDOK);
    });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_STREQ("Hex: 0A141E", hexText);
    EXPECT_EQ(10, customRed) << "the custom page took the colour";
    EXPECT_EQ(RGB(10, 20, 30), sheet.GetColor());
}

TEST(ColourSheet, CopiesTextToTheClipboardAndLeavesNothingBehindWhenItCannot)
{
    CQZColorDialog sheet(kSheetRed, kSheetRed, 0, nullptr);
    if (!::OpenClipboard(nullptr))
        GTEST_SKIP() << "this display driver has no clipboard";
    ::CloseClipboard();

    ASSERT_TRUE(sheet.CopyToClipboard("Hex: 0AFF05"));
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_TEXT);
    ASSERT_NE(nullptr, data);
    EXPECT_STREQ("Hex: 0AFF05", static_cast<const char*>(::GlobalLock(data)));
    ::GlobalUnlock(data);
    ::CloseClipboard();
    EXPECT_EQ(nullptr, ::GetOpenClipboardWindow()) << "closed after a copy";

    // Another window holds the clipboard open: refused, and the holder keeps it.
    RecordingWnd holder;
    ASSERT_TRUE(holder.Make(0, 0, 10, 10));
    ASSERT_TRUE(::OpenClipboard(holder.m_hWnd));
    EXPECT_FALSE(sheet.CopyToClipboard("Hex: 000000"));
    EXPECT_EQ(holder.m_hWnd, ::GetOpenClipboardWindow());
    ::CloseClipboard();
    ASSERT_TRUE(::OpenClipboard(nullptr));
    data = ::GetClipboardData(CF_TEXT);
    ASSERT_NE(nullptr, data);
    EXPECT_STREQ("Hex: 0AFF05", static_cast<const char*>(::GlobalLock(data))) << "the earlier text stays";
    ::GlobalUnlock(data);
    ::CloseClipboard();
    holder.DestroyWindow();

    // The clipboard opens but refuses the block: refused, and the block is freed. A large
    // text makes a block left behind plain in the process's committed memory.
    ClipboardCloser closer;
    ASSERT_TRUE(closer.Make());
    ASSERT_TRUE(closer.TakeClipboard());
    const std::string large(8 << 20, 'x');
    const SIZE_T before = CommittedPrivateBytes();
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(sheet.CopyToClipboard(large.c_str()));
    const SIZE_T after = CommittedPrivateBytes();
    EXPECT_LT(after, before + large.size()) << "grew by " << (after - before) / 1024 << " KB";
    EXPECT_EQ(nullptr, ::GetOpenClipboardWindow());
    closer.DestroyWindow();
}

namespace {

// A popup with "More Colors..." opened over a recording parent; the tests choose it.
class MoreColoursTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Make());
        m_saved.Copy(CQZColorPopup::m_arrUserColors);
        CQZColorPopup::m_arrUserColors.RemoveAll();
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        PumpPending();
        CQZColorPopup::m_arrUserColors.Copy(m_saved);
    }
    // Opens a popup with the current colour and chooses "More Colors..." with the keyboard.
    void ChooseMoreColours(COLORREF current)
    {
        parent.received.clear();
        const CRect opener(100, 100, 150, 124);
        CQZColorPopup popup(FALSE, 5);
        popup.m_bShadow = FALSE;
        ASSERT_TRUE(popup.Create(&opener, &parent, 0x06, current, RGB(0, 0, 0)));
        // Up from the first cell is "More Colors...".
        popup.SetCurSel(0);
        popup.SendMessage(WM_KEYDOWN, VK_UP, 1);
        ASSERT_EQ(popup.m_nMoreColorsPos, popup.GetCurSel());
        popup.SendMessage(WM_KEYDOWN, VK_RETURN, 1);
        PumpPending();
    }
    std::vector<COLORREF> Recent() const
    {
        std::vector<COLORREF> colours;
        for (int i = 0; i < CQZColorPopup::m_arrUserColors.GetSize(); ++i)
            colours.push_back(CQZColorPopup::m_arrUserColors[i]);
        return colours;
    }

    RecordingWnd parent;

private:
    CUIntArray m_saved;
};

} // namespace

TEST_F(MoreColoursTest, ChosenColourComesBackAndJoinsTheRecentColours)
{
    COLORREF sheetStart = 0;
    DWORD sheetStyle = 0xFFFF;
    SheetScript script([&](CQZColorDialog& sheet) {
        sheetStart = sheet.GetColor();
        sheetStyle = sheet.m_dwStyle;
        // A cell of the honeycomb, as a click would choose it.
        sheet.GetStandardPage()->m_wndColorHex.SelectCell(28);
        PressSheetButton(sheet, IDOK);
    });
    ChooseMoreColours(RGB(1, 2, 3));
    const COLORREF chosen = QZGetHexCells()[28].color;
    EXPECT_EQ(RGB(1, 2, 3), sheetStart) << "the sheet starts from the current colour";
    EXPECT_EQ(0u, sheetStyle) << "only the sheet's bits of the popup's style";
    EXPECT_EQ((std::vector<Received>{{WM_QZ_COLORDROPDOWN, RGB(1, 2, 3), 5},
                                     {WM_QZ_COLORCHANGED, chosen, 5},
                                     {WM_QZ_COLORCLOSEUP, RGB(1, 2, 3), 5}}),
              parent.received);
    EXPECT_EQ(std::vector<COLORREF>{chosen}, Recent());
}

TEST_F(MoreColoursTest, CancelledSheetCancelsAndRemembersNothing)
{
    SheetScript script([](CQZColorDialog& sheet) {
        sheet.GetStandardPage()->m_wndColorHex.SelectCell(3);
        PressSheetButton(sheet, IDCANCEL);
    });
    ChooseMoreColours(kSheetRed);
    EXPECT_EQ((std::vector<UINT>{WM_QZ_COLORDROPDOWN, WM_QZ_COLORCANCEL, WM_QZ_COLORCLOSEUP}), parent.Messages());
    EXPECT_EQ(kSheetRed, parent.received[1].wParam);
    EXPECT_TRUE(Recent().empty());
}

TEST_F(MoreColoursTest, NineChoicesKeepTheLastEightOldestFirst)
{
    int round = 0;
    SheetScript script([&](CQZColorDialog& sheet) {
        // The current colour itself the first time: unchanged, and still remembered.
        if (round > 0)
            sheet.GetStandardPage()->m_wndColorHex.SelectCell(round);
        PressSheetButton(sheet, IDOK);
    });
    std::vector<COLORREF> chosen;
    for (round = 0; round < 9; ++round) {
        script.Rearm();
        ChooseMoreColours(RGB(1, 2, 3));
        chosen.push_back(round > 0 ? QZGetHexCells()[round].color : RGB(1, 2, 3));
        EXPECT_EQ(round > 0 ? WM_QZ_COLORCHANGED : WM_QZ_COLORUNCHANGED, parent.Messages().at(1)) << round;
    }
    EXPECT_EQ(std::vector<COLORREF>(chosen.begin() + 1, chosen.end()), Recent());
}
