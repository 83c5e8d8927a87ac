// The colour button: owner-drawn whether created or taken over from a template (unless
// the template gave it a type), its swatch, sunken frame, caption in the true inverse
// colour straight on the swatch and focus mark drawn into a memory DC, and the colour dialog on a click,
// answered from a thread timer.
#include "lib/src/Win2/Wnd/iColorButton.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "framework/window_test_support.h"
#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using test_support::FindVisibleDialog;
using winlib_test::ClickCounter;

constexpr UINT kColorButtonId = 601;

// Records the parent's share of the button's commands.
class ColorParent : public iWnd {
public:
    ColorParent() : iWnd(nullptr, CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW, "parent", 0, 0, nullptr) {}
    int m_clicksSeen = 0;
    int m_colorChanges = 0;
    HWND m_colorSender = nullptr;

protected:
    void OnClicked() { ++m_clicksSeen; }
    void OnColorChanged()
    {
        ++m_colorChanges;
        m_colorSender = reinterpret_cast<HWND>(GetCurrentMessage()->lParam);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ColorParent, iWnd)
    ON_BN_CLICKED(kColorButtonId, OnClicked)
    ON_CONTROL(iColorButton::kColorChanged, kColorButtonId, OnColorChanged)
END_MESSAGE_MAP()

// A 32-bit memory bitmap the button draws into, read back pixel by pixel.
class ColorButtonCanvas {
public:
    ColorButtonCanvas(int width, int height) : m_width(width), m_height(height)
    {
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateBitmap(width, height, 1, 32, nullptr);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~ColorButtonCanvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    ColorButtonCanvas(const ColorButtonCanvas&) = delete;
    ColorButtonCanvas& operator=(const ColorButtonCanvas&) = delete;

    void Draw(iColorButton& button, UINT itemState)
    {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = itemState;
        item.hwndItem = button.m_hWnd;
        item.hDC = m_dc;
        item.rcItem = {0, 0, m_width, m_height};
        button.DrawItem(&item);
    }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }
    // Pixels of the colour, leaving out a border of inset pixels.
    int Count(COLORREF color, int inset = 0) const
    {
        int count = 0;
        for (int y = inset; y < m_height - inset; ++y)
            for (int x = inset; x < m_width - inset; ++x)
                count += At(x, y) == color ? 1 : 0;
        return count;
    }
    HDC m_dc;

private:
    int m_width;
    int m_height;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

TEST(ColorButton, IsOwnerDrawnUnlessATemplateGaveItAType)
{
    ColorParent parent;
    iColorButton item(&parent, CRect(0, 0, 60, 24), WS_VISIBLE, "item", kColorButtonId);
    iColorButton window(&parent, CRect(0, 30, 60, 54), WS_VISIBLE, "window", kColorButtonId + 1, 0, nullptr);
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), item.GetButtonStyle() & 0x0F);
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), window.GetButtonStyle() & 0x0F);
    EXPECT_EQ(RGB(0, 0, 0), item.m_color);
    EXPECT_EQ(static_cast<DWORD>(CC_ANYCOLOR), item.m_dialogFlags);

    struct Case {
        const char* why;
        DWORD style;
        UINT type;
    };
    const Case kCases[] = {
        {"a plain push button", BS_PUSHBUTTON, BS_OWNERDRAW},
        {"a check box keeps its type", BS_CHECKBOX, BS_CHECKBOX},
        {"a default push button keeps its type", BS_DEFPUSHBUTTON, BS_DEFPUSHBUTTON},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        HWND templateButton =
            CreateWindowExA(0, "Button", "t", WS_CHILD | c.style, 0, 60, 60, 24, parent.m_hWnd,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kColorButtonId + 2)), nullptr, nullptr);
        iColorButton subclassed;
        ASSERT_TRUE(subclassed.SubclassWindow(templateButton));
        EXPECT_EQ(c.type, subclassed.GetButtonStyle() & 0x0F);
    }
}

TEST(ColorButton, DrawsASunkenSwatchWithTheCaptionInTheInverseColour)
{
    ColorParent parent;
    iColorButton button(&parent, CRect(0, 0, 80, 30), WS_VISIBLE, "WWW", kColorButtonId);
    struct Case {
        const char* why;
        COLORREF swatch;
        COLORREF caption;
        COLORREF swapped;  // the complement with red and blue exchanged
    };
    const Case kCases[] = {
        {"red: cyan, not yellow", RGB(255, 0, 0), RGB(0, 255, 255), RGB(255, 255, 0)},
        {"mid grey", RGB(128, 128, 128), RGB(127, 127, 127), RGB(127, 127, 127)},
        {"blue-ish: channels stay in place", RGB(10, 20, 200), RGB(245, 235, 55), RGB(55, 235, 245)},
    };
    const int w = 80, h = 30;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        ColorButtonCanvas canvas(w, h);
        // A DC as the system hands it over: text drawn on an opaque white box.
        SetBkMode(canvas.m_dc, OPAQUE);
        SetBkColor(canvas.m_dc, RGB(255, 255, 255));
        button.m_color = c.swatch;
        canvas.Draw(button, 0);
        EXPECT_EQ(c.swatch, canvas.At(6, 6)) << "swatch";
        EXPECT_GT(canvas.Count(c.caption), 0) << "caption";
        EXPECT_EQ(0, canvas.Count(RGB(255, 255, 255), 3)) << "inside the frame, the caption sits on the swatch";
        EXPECT_EQ(OPAQUE, GetBkMode(canvas.m_dc)) << "the DC's mode is given back";
        if (c.swapped != c.caption) {
            EXPECT_EQ(0, canvas.Count(c.swapped)) << "no caption with red and blue swapped";
        }

        // The frame, line by line from the outside in.
        struct Line {
            int x, y;
            int sysColor;
        };
        const Line kFrame[] = {
            {0, 10, COLOR_BTNSHADOW},      {1, 10, COLOR_BTNSHADOW},    {2, 10, COLOR_3DDKSHADOW},
            {10, 0, COLOR_BTNSHADOW},      {10, 1, COLOR_BTNSHADOW},    {10, 2, COLOR_3DDKSHADOW},
            {w - 1, 10, COLOR_BTNHIGHLIGHT}, {w - 2, 10, COLOR_BTNHIGHLIGHT}, {w - 3, 10, COLOR_3DLIGHT},
            {10, h - 1, COLOR_BTNHIGHLIGHT}, {10, h - 2, COLOR_BTNHIGHLIGHT}, {10, h - 3, COLOR_3DLIGHT},
        };
        for (const Line& line : kFrame) {
            SCOPED_TRACE("frame at " + std::to_string(line.x) + "," + std::to_string(line.y));
            EXPECT_EQ(GetSysColor(line.sysColor), canvas.At(line.x, line.y));
        }
    }
}

TEST(ColorButton, MarksTheFocusInsideTheFrame)
{
    ColorParent parent;
    iColorButton button(&parent, CRect(0, 0, 80, 30), WS_VISIBLE, "", kColorButtonId);
    button.m_color = RGB(40, 90, 160);
    auto changedOnFocusRow = [&](UINT state) {
        ColorButtonCanvas canvas(80, 30);
        canvas.Draw(button, state);
        int changed = 0;
        for (int x = 4; x < 76; ++x)
            changed += canvas.At(x, 4) != button.m_color ? 1 : 0;
        return changed;
    };
    EXPECT_EQ(0, changedOnFocusRow(0));
    EXPECT_GT(changedOnFocusRow(ODS_FOCUS), 0);
}

// Answers the next colour dialog of this thread: optionally types a colour into its
// red, green and blue fields, then confirms or cancels.
struct ColorDialogScript {
    bool confirm = true;
    int red = -1, green = -1, blue = -1;  // -1 leaves the dialog's colour
    bool sawDialog = false;
    int ticks = 0;
};
ColorDialogScript g_colorDialog;

void CALLBACK AnswerColorDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) {
        if (++g_colorDialog.ticks > 100)
            KillTimer(nullptr, timer);
        return;
    }
    KillTimer(nullptr, timer);
    g_colorDialog.sawDialog = true;
    if (g_colorDialog.red >= 0) {
        // The dialog's red, green and blue fields (the system's ids 706 to 708).
        const int kFields[] = {706, 707, 708};
        const int values[] = {g_colorDialog.red, g_colorDialog.green, g_colorDialog.blue};
        for (int i = 0; i < 3; ++i) {
            SetDlgItemInt(dialog, kFields[i], static_cast<UINT>(values[i]), FALSE);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFields[i], EN_UPDATE),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, kFields[i])));
        }
    }
    PostMessageA(dialog, WM_COMMAND, g_colorDialog.confirm ? IDOK : IDCANCEL, 0);
}

class ColorButtonClick : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_button = new iColorButton(&m_parent, CRect(0, 0, 80, 30), WS_VISIBLE, "Colour", kColorButtonId);
        m_button->m_color = RGB(1, 2, 3);
        m_button->SetOnClicked(iConnector(&m_counter, &ClickCounter::OnClicked));
        m_parent.ShowWindow(SW_SHOW);
        m_parent.UpdateWindow();
    }
    void Click(bool confirm, int red = -1, int green = -1, int blue = -1)
    {
        g_colorDialog = ColorDialogScript();
        g_colorDialog.confirm = confirm;
        g_colorDialog.red = red;
        g_colorDialog.green = green;
        g_colorDialog.blue = blue;
        ASSERT_NE(0u, SetTimer(nullptr, 0, 50, AnswerColorDialog));
        m_button->SendMessage(BM_CLICK);
        m_neededPaint = NeedsPaint();
        // The notice is posted; let it arrive.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    bool NeedsPaint() const { return GetUpdateRect(m_button->m_hWnd, nullptr, FALSE) != FALSE; }

    ColorParent m_parent;
    iColorButton* m_button = nullptr;
    ClickCounter m_counter;
    bool m_neededPaint = false;  // right after the click, before anything was painted
};

TEST_F(ColorButtonClick, AChosenColourIsKeptAnnouncedAndShown)
{
    Click(true, 10, 20, 200);
    ASSERT_TRUE(g_colorDialog.sawDialog);
    EXPECT_EQ(RGB(10, 20, 200), m_button->m_color);
    EXPECT_EQ(1, m_parent.m_colorChanges);
    EXPECT_EQ(m_button->m_hWnd, m_parent.m_colorSender);
    EXPECT_TRUE(m_neededPaint);
    // The click itself is consumed.
    EXPECT_EQ(0, m_parent.m_clicksSeen);
    EXPECT_EQ(0, m_counter.m_count);
}

TEST_F(ColorButtonClick, CancelChangesNothingAndPostsNothing)
{
    Click(false, 10, 20, 200);
    ASSERT_TRUE(g_colorDialog.sawDialog);
    EXPECT_EQ(RGB(1, 2, 3), m_button->m_color);
    EXPECT_EQ(0, m_parent.m_colorChanges);
    EXPECT_EQ(0, m_parent.m_clicksSeen);
    EXPECT_FALSE(m_neededPaint);
}

} // namespace
