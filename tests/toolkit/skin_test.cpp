// Skins and the XP drawing proxies: the current skin follows the look, the drag mode,
// and the XP toolbar proxy's fills, borders, image places and texts for each kind and
// state of button on a real toolbar control, its separators, drop-down shadow, and the
// flat combo box in its three states.
#include "toolkit/foundation/QZSkinProxies.h"

#include "control_bar_test_support.h"
#include "toolkit/foundation/QZAuxData.h"

#include <set>

using namespace toolkit_test;

namespace {

class XPLookScope {
public:
    explicit XPLookScope(int xpLook = 1) : m_saved(qzAfxData.xpLook) { qzAfxData.xpLook = xpLook; }
    ~XPLookScope() { qzAfxData.xpLook = m_saved; }

private:
    int m_saved;
};

} // namespace

TEST(QZSkins, CurrentSkinFollowsTheLookAndOnlyTheXPSkinHasProxies)
{
    XPLookScope classic(0);
    IQZSkin* skin = QZGetCurrentSkin();
    EXPECT_EQ(nullptr, skin->GetToolbarProxy());
    EXPECT_EQ(nullptr, skin->GetFlatComboProxy());
    skin->SetDragMode(TRUE);

    XPLookScope xp(1);
    IQZSkin* xpSkin = QZGetCurrentSkin();
    ASSERT_NE(skin, xpSkin);
    auto* site = dynamic_cast<IQZProxySite*>(xpSkin);
    ASSERT_NE(nullptr, site);
    EXPECT_FALSE(site->IsDragMode()) << "the classic skin's drag mode reaches nothing";
    IQZToolbarProxy* proxy = xpSkin->GetToolbarProxy();
    ASSERT_NE(nullptr, proxy);
    EXPECT_EQ(proxy, QZGetCurrentSkin()->GetToolbarProxy()) << "the same proxy every time";
    EXPECT_EQ(xpSkin->GetFlatComboProxy(), QZGetCurrentSkin()->GetFlatComboProxy());
    EXPECT_NE(nullptr, xpSkin->GetFlatComboProxy());
    xpSkin->SetDragMode(2);
    EXPECT_TRUE(site->IsDragMode());
    xpSkin->SetDragMode(FALSE);
    EXPECT_FALSE(site->IsDragMode());
}

namespace {

constexpr COLORREF kImageColour = RGB(200, 0, 0);
constexpr COLORREF kDisabledImageColour = RGB(0, 0, 200);
constexpr int kPlain = 0;
constexpr int kCheck = 1;
constexpr int kDropDown = 2;
constexpr int kSeparator = 3;
constexpr int kWithText = 4;

HIMAGELIST SolidImageList(COLORREF colour)
{
    HIMAGELIST list = ImageList_Create(16, 15, ILC_COLOR24, 1, 1);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 15);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all = {0, 0, 16, 15};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, previous);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ImageList_Add(list, bitmap, nullptr);
    DeleteObject(bitmap);
    return list;
}

// Records the icons the proxy takes from image lists.
std::vector<HICON> g_iconsHandedOut;
HICON RecordingIconSource(HIMAGELIST list, int image, UINT flags)
{
    HICON icon = ImageList_GetIcon(list, image, flags);
    g_iconsHandedOut.push_back(icon);
    return icon;
}

// A toolbar whose command update the tests do not need.
class ProxyToolBar : public CQZToolBar {
public:
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    // The texts the toolbar's strings would hold: text to pool index.
    void AddText(int index, LPCSTR text)
    {
        char pooled[64] = {};
        lstrcpyA(pooled, text);
        const INT_PTR poolIndex = SendMessage(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(pooled));
        if (!m_pStringMap)
            m_pStringMap = new CMapStringToPtr;
        m_pStringMap->SetAt(text, reinterpret_cast<void*>(poolIndex));
        TBBUTTON button = {};
        SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
        // Texts attach through the button record: delete and insert it with its string.
        button.iString = poolIndex;
        SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(index));
        SendMessage(TB_INSERTBUTTONA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    }
};

class ToolbarProxyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, 10, 10, 400, 80, nullptr, nullptr));
        CreateBar(TBSTYLE_FLAT);
        GetKeyboardState(savedKeys);
        MouseAway();
        proxy = QZGetCurrentSkin()->GetToolbarProxy();
        ASSERT_NE(nullptr, proxy);
    }
    void TearDown() override
    {
        SetKeyboardState(savedKeys);
        bar.DestroyWindow();
        parent.DestroyWindow();
        for (HIMAGELIST list : lists)
            ImageList_Destroy(list);
    }

    void CreateBar(DWORD controlStyle)
    {
        if (bar.m_hWnd)
            bar.DestroyWindow();
        ASSERT_TRUE(bar.CreateEx(0, TOOLBARCLASSNAMEA, nullptr,
                                 WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER |
                                     controlStyle,
                                 CRect(0, 0, 380, 60), &parent, AFX_IDW_TOOLBAR));
        bar.SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
        bar.SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(16, 15));
        lists.push_back(SolidImageList(kImageColour));
        bar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(lists.back()));
        const TBBUTTON buttons[] = {
            {0, 101, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
            {0, 102, TBSTATE_ENABLED, BTNS_CHECK, {}, 0, -1},
            {0, 103, TBSTATE_ENABLED, BTNS_DROPDOWN, {}, 0, -1},
            {6, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, -1},
            {0, 105, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
        };
        bar.SendMessage(TB_ADDBUTTONSA, 5, reinterpret_cast<LPARAM>(buttons));
        bar.SendMessage(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
        bar.SendMessage(TB_AUTOSIZE);
    }
    CRect Item(int index)
    {
        CRect rect;
        bar.SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    void SetState(int index, BYTE state)
    {
        TBBUTTONINFOA info = {};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_BYINDEX | TBIF_STATE;
        info.fsState = state;
        bar.SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
    }
    void MouseAway()
    {
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_LBUTTON] = 0;
        SetKeyboardState(keys);
    }
    void MouseOver(int index, bool leftButtonDown)
    {
        CRect item = Item(index);
        POINT centre = {item.left + 4, item.bottom - 3};
        bar.ClientToScreen(&centre);
        SetCursorPos(centre.x, centre.y);
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_LBUTTON] = leftButtonDown ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    // Where the image's top-left pixel landed in the item, or (-99, -99).
    CPoint ImageCornerIn(const PaperCanvas& canvas, const CRect& item, COLORREF colour)
    {
        for (int y = item.top; y < item.bottom; ++y)
            for (int x = item.left; x < item.right; ++x)
                if (canvas.At(x, y) == colour)
                    return CPoint(x - item.left, y - item.top);
        return CPoint(-99, -99);
    }

    CWnd parent;
    ProxyToolBar bar;
    std::vector<HIMAGELIST> lists;
    BYTE savedKeys[256] = {};
    IQZToolbarProxy* proxy = nullptr;
    XPLookScope look;
};

} // namespace

TEST_F(ToolbarProxyTest, FillBorderAndImageOffsetByButtonKindAndState)
{
    const QZ_AUX_DATA& d = qzAfxData;
    const COLORREF barBack = bar.GetBackColor();
    enum Mouse { Away, Over, OverPressing };
    enum Shadow { NoShadow, HotShadow };
    struct Case {
        const char* why;
        int index;
        BYTE state;
        bool reportedHot;
        Mouse mouse;
        bool dragMode;
        COLORREF back;
        COLORREF border;  // the item's left edge
        int imageOffset;
        COLORREF image;
        Shadow shadow;  // the hot image's shadow, 2 pixels right of and below it
    };
    const BYTE on = TBSTATE_ENABLED;
    const Case cases[] = {
        {"plain, normal", kPlain, on, false, Away, false, barBack, barBack, 0, kImageColour, NoShadow},
        {"plain, hot under the mouse", kPlain, on, true, Over, false, d.colorXPHot, d.colorSelection, -1,
         kImageColour, HotShadow},
        {"plain, hot but the mouse elsewhere: normal", kPlain, on, true, Away, false, barBack, barBack, 0,
         kImageColour, NoShadow},
        {"plain, pressed by its state", kPlain, on | TBSTATE_PRESSED, false, Away, false, d.colorXPPushed,
         d.colorSelection, 1, kImageColour, NoShadow},
        {"plain, hot with the left button down: pressed", kPlain, on, true, OverPressing, false, d.colorXPPushed,
         d.colorSelection, 1, kImageColour, NoShadow},
        {"plain, the same during a bar drag: stays hot", kPlain, on, true, OverPressing, true, d.colorXPHot,
         d.colorSelection, -1, kImageColour, HotShadow},
        {"plain, disabled: a silhouette in the shadow colour", kPlain, 0, false, Away, false, barBack, barBack, 0,
         d.colorShadow, NoShadow},
        {"checked, normal", kCheck, on | TBSTATE_CHECKED, false, Away, false, d.colorXPChecked, d.colorSelection, -1,
         kImageColour, NoShadow},
        {"checked, hot: pushed fill, no hot shadow", kCheck, on | TBSTATE_CHECKED, true, Over, false, d.colorXPPushed,
         d.colorSelection, -1, kImageColour, NoShadow},
        {"checked, pressed", kCheck, on | TBSTATE_CHECKED | TBSTATE_PRESSED, false, Away, false, d.colorXPPushed,
         d.colorSelection, -1, kImageColour, NoShadow},
        {"checked, disabled", kCheck, TBSTATE_CHECKED, false, Away, false, d.colorFace, d.colorXPBorder, -1,
         d.colorShadow, NoShadow},
        {"indeterminate, normal", kCheck, on | TBSTATE_INDETERMINATE, false, Away, false, barBack, barBack, 0,
         kImageColour, NoShadow},
        {"indeterminate, hot: no border", kCheck, on | TBSTATE_INDETERMINATE, true, Over, false, d.colorXPHot,
         d.colorXPHot, 0, kImageColour, HotShadow},
        {"indeterminate, pressed", kCheck, on | TBSTATE_INDETERMINATE | TBSTATE_PRESSED, false, Away, false,
         d.colorXPPushed, d.colorXPPushed, 0, kImageColour, NoShadow},
        {"indeterminate, disabled", kCheck, TBSTATE_INDETERMINATE, false, Away, false, d.colorFaceLight,
         d.colorFaceLight, 0, d.colorShadow, NoShadow},
    };
    auto* xpSkin = dynamic_cast<IQZProxySite*>(QZGetCurrentSkin());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        SetState(c.index, c.state);
        bar.SendMessage(TB_SETHOTITEM, c.reportedHot ? static_cast<WPARAM>(c.index) : static_cast<WPARAM>(-1));
        if (c.mouse == Away)
            MouseAway();
        else
            MouseOver(c.index, c.mouse == OverPressing);
        QZGetCurrentSkin()->SetDragMode(c.dragMode);
        PaperCanvas canvas(400, 60);
        EXPECT_TRUE(proxy->DrawButton(&canvas.m_dc, &bar, c.index));
        QZGetCurrentSkin()->SetDragMode(FALSE);
        ASSERT_FALSE(xpSkin->IsDragMode());
        const CRect item = Item(c.index);
        EXPECT_EQ(c.back, canvas.At(item.left + 1, item.bottom - 2)) << "fill";
        EXPECT_EQ(c.border, canvas.At(item.left, item.top + 5)) << "left edge";
        const int imageX = (item.Width() - (16 + (c.index == kDropDown ? 16 : 0))) / 2 + c.imageOffset;
        const CPoint corner = ImageCornerIn(canvas, item, c.image);
        EXPECT_EQ(CPoint(imageX, 3 + c.imageOffset), corner) << "image corner";
        // Just right of the image, halfway down: its shadow, or the fill.
        const COLORREF pastTheImage = canvas.At(item.left + corner.x + 16, item.top + corner.y + 8);
        EXPECT_EQ(c.shadow == HotShadow ? d.colorShadow : c.back, pastTheImage) << "hot shadow";
        SetState(c.index, on);
    }
}

TEST_F(ToolbarProxyTest, HotImageFloatsOverAShadowAndADisabledListDrawsInColour)
{
    const CRect item = Item(kPlain);
    bar.SendMessage(TB_SETHOTITEM, kPlain);
    MouseOver(kPlain, false);
    PaperCanvas hot(400, 60);
    proxy->DrawButton(&hot.m_dc, &bar, kPlain);
    const CPoint corner = ImageCornerIn(hot, item, kImageColour);
    // The shadow, 2 pixels right and below, shows past the image's bottom-right corner.
    EXPECT_EQ(qzAfxData.colorShadow, hot.At(item.left + corner.x + 16, item.top + corner.y + 16));

    lists.push_back(SolidImageList(kDisabledImageColour));
    bar.SendMessage(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(lists.back()));
    bar.SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(-1));
    MouseAway();
    SetState(kPlain, 0);
    PaperCanvas disabled(400, 60);
    proxy->DrawButton(&disabled.m_dc, &bar, kPlain);
    EXPECT_EQ(CPoint((item.Width() - 16) / 2, 3), ImageCornerIn(disabled, item, kDisabledImageColour))
        << "drawn from the disabled list, in colour";
    EXPECT_EQ(CPoint(-99, -99), ImageCornerIn(disabled, item, qzAfxData.colorShadow)) << "no silhouette";
}

TEST_F(ToolbarProxyTest, DropDownArrowAndTheOpenDropDownsFrame)
{
    const CRect item = Item(kDropDown);
    PaperCanvas canvas(400, 60);
    proxy->DrawButton(&canvas.m_dc, &bar, kDropDown);
    // The arrow's widest row, 5 pixels in the text colour, in the right 14 pixels.
    const int arrowX = (item.right - 14 + item.right - 3) / 2;
    const int arrowY = (item.top + item.bottom - 1) / 2;
    for (int x = arrowX; x < arrowX + 5; ++x)
        EXPECT_EQ(qzAfxData.colorMenuText, canvas.At(x, arrowY));
    EXPECT_NE(qzAfxData.colorMenuText, canvas.At(arrowX + 5, arrowY));

    bar.m_nDropDownIndex = kDropDown;
    PaperCanvas open(400, 60);
    proxy->DrawButton(&open.m_dc, &bar, kDropDown);
    EXPECT_EQ(qzAfxData.colorXPBorder, open.At(item.left + 5, item.top)) << "top line";
    EXPECT_EQ(qzAfxData.colorXPBorder, open.At(item.left, item.top + 5)) << "left line";
    EXPECT_EQ(qzAfxData.colorXPBorder, open.At(item.right - 1, item.top + 5)) << "right line";
    EXPECT_NE(qzAfxData.colorXPBorder, open.At(item.left + 5, item.bottom - 1)) << "open at the bottom";
    bar.m_nDropDownIndex = -1;
}

TEST_F(ToolbarProxyTest, ColourBarOfAColourDropDownUnderTheImage)
{
    auto* record = new QZ_DROPDOWNBUTTON;
    record->nCommand = 103;
    record->bShowColor = TRUE;
    record->bColorPopup = TRUE;
    record->clrCurrent = RGB(0, 200, 100);
    QZ_TBBUTTON element;
    element.pDropDown = record;
    bar.m_listButtons.AddTail(element);
    const CRect item = Item(kDropDown);
    PaperCanvas canvas(400, 60);
    proxy->DrawButton(&canvas.m_dc, &bar, kDropDown);
    EXPECT_EQ(RGB(0, 200, 100), canvas.At(item.left + 5, item.bottom - 5));
    EXPECT_EQ(RGB(0, 200, 100), canvas.At(item.left + 8, item.bottom - 7)) << "the image does not cover it";
    SetState(kDropDown, 0);
    PaperCanvas disabled(400, 60);
    proxy->DrawButton(&disabled.m_dc, &bar, kDropDown);
    EXPECT_EQ(qzAfxData.colorShadow, disabled.At(item.left + 5, item.bottom - 5));
}

TEST_F(ToolbarProxyTest, TextBelowTheImageOrBesideItInAListToolbar)
{
    bar.AddText(kWithText, "Go");
    bar.SendMessage(TB_AUTOSIZE);
    CRect item = Item(kWithText);
    PaperCanvas below(400, 60);
    proxy->DrawButton(&below.m_dc, &bar, kWithText);
    const CRect textBox(item.left + 3, item.top + 15 + 5, item.right - 3, item.top + 15 + 5 + 15);
    EXPECT_GT(below.Count(textBox, qzAfxData.colorMenuText), 0) << "text under the image";
    EXPECT_EQ(0, below.Count(CRect(item.left, item.top, item.right, item.top + 18), qzAfxData.colorMenuText));

    CreateBar(TBSTYLE_FLAT | TBSTYLE_LIST);
    bar.AddText(kWithText, "Go");
    bar.SendMessage(TB_AUTOSIZE);
    item = Item(kWithText);
    PaperCanvas beside(400, 60);
    proxy->DrawButton(&beside.m_dc, &bar, kWithText);
    const int imageX = (bar.m_sizeButton.cx - 16) / 2 + 2;
    EXPECT_EQ(CPoint(imageX, (item.Height() - 15) / 2), ImageCornerIn(beside, item, kImageColour));
    const CRect textArea(item.left + imageX + 16 + 3, item.top, item.right, item.bottom);
    EXPECT_GT(beside.Count(textArea, qzAfxData.colorMenuText), 0) << "text right of the image";

    // A disabled text is a silhouette in the shadow colour.
    SetState(kWithText, 0);
    PaperCanvas disabled(400, 60);
    proxy->DrawButton(&disabled.m_dc, &bar, kWithText);
    EXPECT_GT(disabled.Count(textArea, qzAfxData.colorShadow), 0);
    EXPECT_EQ(0, disabled.Count(textArea, qzAfxData.colorMenuText));
}

TEST_F(ToolbarProxyTest, SeparatorsAcrossAWrappedRowOrDownTheItem)
{
    CRect item = Item(kSeparator);
    PaperCanvas canvas(400, 60);
    proxy->DrawSeparator(&canvas.m_dc, &bar, kSeparator);
    EXPECT_EQ(qzAfxData.colorXPSeparator, canvas.At(item.left + 3, item.top + 2));
    EXPECT_EQ(qzAfxData.colorXPSeparator, canvas.At(item.left + 3, item.bottom - 3));
    EXPECT_EQ(bar.GetBackColor(), canvas.At(item.left + 3, item.bottom - 2));
    EXPECT_EQ(bar.GetBackColor(), canvas.At(item.left + 1, item.top + 5));

    SetState(kSeparator, TBSTATE_ENABLED | TBSTATE_WRAP);
    item = Item(kSeparator);
    CRect client;
    bar.GetClientRect(&client);
    PaperCanvas wrapped(400, 60);
    proxy->DrawSeparator(&wrapped.m_dc, &bar, kSeparator);
    const int width = item.Width();
    const int y = (item.bottom - width + item.bottom) / 2 - 1;
    EXPECT_EQ(qzAfxData.colorXPSeparator, wrapped.At(item.left, y));
    EXPECT_EQ(qzAfxData.colorXPSeparator, wrapped.At(client.right - 1, y)) << "across the toolbar's width";

    PaperCanvas placeholder(400, 60);
    proxy->FillButtonBackground(&placeholder.m_dc, &bar, kPlain);
    const CRect plain = Item(kPlain);
    EXPECT_EQ(plain.Width() * plain.Height(), placeholder.Count(plain, bar.GetBackColor()));
}

TEST_F(ToolbarProxyTest, DropDownShadowOnlyWithShadowsAndItsAreaRedrawnWhenClosed)
{
    const CRect item = Item(kDropDown);
    PaperCanvas canvas(400, 60);
    const int saved = qzAfxData.popupShadows;
    qzAfxData.popupShadows = 0;
    proxy->DrawDropDownShadow(&canvas.m_dc, &bar, kDropDown);
    EXPECT_EQ(400 * 60, canvas.Count(CRect(0, 0, 400, 60), test_support::kPaper));
    qzAfxData.popupShadows = 1;
    proxy->DrawDropDownShadow(&canvas.m_dc, &bar, kDropDown);
    EXPECT_EQ(RGB(195, 195, 195), canvas.At(item.right, item.top + 5)) << "next to the button";
    EXPECT_EQ(RGB(240, 240, 240), canvas.At(item.right + 3, item.top + 5));
    qzAfxData.popupShadows = saved;

    bar.ValidateRect(nullptr);
    proxy->InvalidateDropDown(&bar, kDropDown);
    CRect update;
    ASSERT_TRUE(GetUpdateRect(bar.m_hWnd, &update, FALSE));
    EXPECT_EQ(CRect(item.left, item.top, item.right + 4, item.bottom + 4), update);
}

TEST_F(ToolbarProxyTest, EveryIconTakenFromAnImageListIsDestroyed)
{
    lists.push_back(SolidImageList(kDisabledImageColour));
    bar.SendMessage(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(lists.back()));
    QZToolbarIconSource previous = QZSetToolbarIconSource(&RecordingIconSource);
    g_iconsHandedOut.clear();
    bar.SendMessage(TB_SETHOTITEM, kPlain);
    MouseOver(kPlain, false);
    PaperCanvas canvas(400, 60);
    for (int round = 0; round < 3; ++round) {
        for (int index : {kPlain, kCheck, kDropDown, kWithText})
            proxy->DrawButton(&canvas.m_dc, &bar, index);
    }
    QZSetToolbarIconSource(previous);
    // The hot button takes two (its image and its shadow from the disabled list).
    EXPECT_EQ(3u * 5u, g_iconsHandedOut.size());
    for (HICON icon : g_iconsHandedOut) {
        ICONINFO info = {};
        EXPECT_FALSE(GetIconInfo(icon, &info)) << "icon " << icon << " is still alive";
    }
}

TEST(FlatComboProxy, ThreeStatesOfBorderFillAndArrow)
{
    XPLookScope look;
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr));
    CWnd combo;
    ASSERT_TRUE(combo.CreateEx(0, "COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(10, 10, 130, 150),
                               &parent, 5));
    combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
    IQZFlatComboProxy* proxy = QZGetCurrentSkin()->GetFlatComboProxy();
    const QZ_AUX_DATA& d = qzAfxData;
    CRect client;
    combo.GetClientRect(&client);
    const int buttonLeft = client.right - 1 - d.thumbWidth - 2;
    auto draw = [&](BOOL hot, PaperCanvas& canvas) { proxy->DrawFlatCombo(&combo, &canvas.m_dc, hot); };
    struct Case {
        const char* why;
        BOOL hot;
        bool dropped;
        bool dragMode;
        COLORREF border;
        COLORREF fill;
    };
    const Case cases[] = {
        {"neither hot nor dropped", FALSE, false, false, d.colorCaptionText, d.colorFace},
        {"hot", TRUE, false, false, d.colorSelection, d.colorXPHot},
        {"hot during a bar drag counts as not hot", TRUE, false, true, d.colorCaptionText, d.colorFace},
        {"dropped keeps the highlight border even when not hot", FALSE, true, false, d.colorSelection,
         d.colorXPChecked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        if (c.dropped) {
            combo.SendMessage(CB_SHOWDROPDOWN, TRUE);
            if (!combo.SendMessage(CB_GETDROPPEDSTATE))
                GTEST_SKIP() << "the display does not drop the list down";
        }
        QZGetCurrentSkin()->SetDragMode(c.dragMode);
        PaperCanvas canvas(client.Width(), client.Height());
        draw(c.hot, canvas);
        QZGetCurrentSkin()->SetDragMode(FALSE);
        EXPECT_EQ(d.colorFace, canvas.At(0, 5)) << "outer frame";
        EXPECT_EQ(c.border, canvas.At(1, 5)) << "field border";
        EXPECT_EQ(c.border, canvas.At(buttonLeft, 5)) << "button border";
        EXPECT_EQ(c.fill, canvas.At(buttonLeft + 1, 2)) << "button fill";
        combo.SendMessage(CB_SHOWDROPDOWN, FALSE);
    }
    parent.DestroyWindow();
}
