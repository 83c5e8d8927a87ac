// Times the image menus and the menu bar under Wine (median of many runs, not a test): a
// 40-item popup converted to image items as it opens, each item measured, and the items
// given back their plain form as the menu loop ends, beside a plain walk of the same items
// with GetMenuItemInfo in the same run (its peer); and the menu bar's layout for 50 lengths,
// docked at the top and floating.
//   wine build/cmake/bench/menu_bench.exe [runs]
#include "bench/bench_timing.h"
#include "framework/Framework.h"
#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMenuItemInfo.h"
#include "toolkit/menus/QZCoolMenu.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using bench::FirstRun;
using bench::MedianMs;

// 40 items as an application's popup has them: labels with mnemonics, every fourth with an
// accelerator text, a separator after every eighth.
HMENU MakePopup(int items)
{
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < items; ++i) {
        if (i % 8 == 7) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::string text = "&Command number " + std::to_string(i);
        if (i % 4 == 0)
            text += "\tCtrl+Shift+" + std::string(1, static_cast<char>('A' + i % 26));
        AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(0xE100 + i), text.c_str());
    }
    return menu;
}

void PlainWalk(HMENU menu)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256];
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    }
}

// What the system does for an image popup: initialise it, measure every item, end the loop.
void OpenMeasureClose(HWND owner, HMENU menu, bool measure = true)
{
    SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    const int count = measure ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_ID | MIIM_DATA;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        MEASUREITEMSTRUCT measure = {};
        measure.CtlType = ODT_MENU;
        measure.itemID = info.wID;
        measure.itemData = info.dwItemData;
        SendMessageA(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    }
    SendMessageA(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
}

class BenchFrame : public CFrameWnd {
public:
    CQZMenuBar m_wndMenuBar;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        if (!m_wndMenuBar.CreateEx(this, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR))
            return -1;
        HMENU menu = CreateMenu();
        for (const char* title : {"&File", "&Edit", "&View", "&Image", "&Options", "&Window", "&Help"})
            AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(MakePopup(8)), title);
        m_wndMenuBar.BuildMenuItems(menu, nullptr);
        EnableDocking(CBRS_ALIGN_ANY);
        m_wndMenuBar.EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndMenuBar);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(BenchFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class BenchApp : public CWinApp {
public:
    BenchApp() : CWinApp("MenuBench") {}
};

void PrintRow(const char* name, const char* size, double ms, double peerMs)
{
    std::printf("%-44s %-10s %10.4f %10.4f %8.2f\n", name, size, ms, peerMs, peerMs > 0 ? ms / peerMs : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    BenchApp app;
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 200;
    auto* frame = new BenchFrame;
    if (!frame->Create(nullptr, "Menu bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 300)))
        return 1;
    // The popup's owner: a plain window, so that only the image menus' work is timed (a
    // frame would also update every item through its command handlers).
    CWnd owner;
    if (!owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr))
        return 1;
    CQZCoolMenu cool;
    cool.Install(&owner);
    const UINT toolbarCommands[] = {0xE100, 0xE101, 0xE104, 0xE108};
    HBITMAP strip = CreateBitmap(64, 16, 1, 32, nullptr);
    cool.AddImages(strip, toolbarCommands, 4);
    DeleteObject(strip);

    std::printf("%-44s %-10s %10s %10s %8s\n", "case", "size", "menus ms", "peer ms", "ratio");
    HMENU popup = MakePopup(40);
    const double walk = MedianMs(runs, FirstRun::LeftOut, [&] { PlainWalk(popup); });
    for (bool xp : {false, true}) {
        qzAfxData.xpLook = xp ? 1 : 0;
        const double cycle = MedianMs(runs, FirstRun::LeftOut, [&] { OpenMeasureClose(owner.m_hWnd, popup); });
        PrintRow(xp ? "convert, measure, restore (XP look)" : "convert, measure, restore (classic look)",
                 "40 items", cycle, walk);
    }
    const double convert = MedianMs(runs, FirstRun::LeftOut, [&] { OpenMeasureClose(owner.m_hWnd, popup, false); });
    PrintRow("  of which convert and restore", "40 items", convert, walk);
    // The floor of any measuring: each item's text measured once in the menu font.
    HDC screen = CreateCompatibleDC(nullptr);
    const double texts = MedianMs(runs, FirstRun::LeftOut, [&] {
        HGDIOBJ old = SelectObject(screen, qzAfxData.fontNormal.m_hObject);
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            char text[256];
            const int length = GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            SIZE size;
            GetTextExtentPoint32A(screen, text, length, &size);
        }
        SelectObject(screen, old);
    });
    DeleteDC(screen);
    PrintRow("  floor: the item texts measured once", "40 items", texts, walk);
    // The floor of any conversion: each item written once to convert and once to restore.
    const double writes = MedianMs(runs, FirstRun::LeftOut, [&] {
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < GetMenuItemCount(popup); ++i) {
                QZ_MENUITEMINFO info;
                info.fMask = MIIM_FTYPE;
                info.fType = (GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) ? MFT_SEPARATOR
                                                                                                        : MFT_STRING;
                SetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &info);
            }
        }
    });
    PrintRow("  floor: every item written twice", "40 items", writes, walk);
    DestroyMenu(popup);
    qzAfxData.xpLook = 0;

    CQZMenuBar& bar = frame->m_wndMenuBar;
    const DWORD docked = bar.m_dwStyle;
    struct LayoutCase {
        const char* name;
        DWORD style;
        DWORD mode;
    } layouts[] = {
        {"menu bar layout, docked at the top", docked, LM_HORZ},
        {"menu bar layout, floating", (docked & ~CBRS_ALIGN_ANY) | CBRS_FLOATING | CBRS_ALIGN_TOP, LM_HORZ},
    };
    for (const LayoutCase& layout : layouts) {
        bar.m_dwStyle = layout.style;
        const double fifty = MedianMs(runs, FirstRun::LeftOut, [&] {
            for (int length = 20; length < 20 + 50 * 12; length += 12)
                bar.CalcDynamicLayout(length, layout.mode);
        });
        PrintRow(layout.name, "per call", fifty / 50.0, 0.0);
    }
    bar.m_dwStyle = docked;
    cool.HookWindow(static_cast<HWND>(nullptr));
    owner.DestroyWindow();
    frame->DestroyWindow();
    return 0;
}
