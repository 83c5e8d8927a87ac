// The library's slider made in one step on a container: both creating forms, the
// rectangle taken in the container's dialog units, membership in its window set.
#include "lib/src/Win2/Wnd/iDialog.h"
#include "lib/src/Win2/Wnd/iSliderCtrl.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr UINT kSliderId = 321;

// The slider's rectangle in its parent's client coordinates.
CRect PlacedRect(const CWnd& control)
{
    CRect placed;
    control.GetWindowRect(&placed);
    MapWindowPoints(nullptr, ::GetParent(control.m_hWnd), reinterpret_cast<POINT*>(&placed), 2);
    return placed;
}

TEST(SliderCtrl, BothFormsMakeATrackbarInTheContainersSet)
{
    auto container = std::make_unique<iWnd>(nullptr, CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW, "container", 0, 0,
                                            nullptr);
    auto* item = new iSliderCtrl(container.get(), CRect(10, 10, 210, 40), WS_VISIBLE | TBS_AUTOTICKS, "ignored",
                                 kSliderId);
    auto* window = new iSliderCtrl(container.get(), CRect(10, 50, 210, 80), WS_VISIBLE | TBS_VERT, "ignored",
                                   kSliderId + 1, WS_EX_STATICEDGE, nullptr);
    for (iSliderCtrl* slider : {item, window}) {
        ASSERT_TRUE(IsWindow(slider->m_hWnd));
        char className[32] = {};
        GetClassNameA(slider->m_hWnd, className, sizeof className);
        EXPECT_STRCASEEQ("msctls_trackbar32", className);
        EXPECT_TRUE(slider->GetStyle() & WS_CHILD);
        EXPECT_EQ(container->m_hWnd, GetParent(slider->m_hWnd));
        EXPECT_EQ(1u, container->GetWindowSet().count(slider));
    }
    EXPECT_EQ(CRect(10, 10, 210, 40), PlacedRect(*item)) << "a plain window works in pixels";
    EXPECT_EQ(kSliderId + 1, static_cast<UINT>(window->GetDlgCtrlID()));
    EXPECT_TRUE(window->GetStyle() & TBS_VERT);
    EXPECT_TRUE(window->GetExStyle() & WS_EX_STATICEDGE);

    // It works as the system's slider does.
    item->SetRange(0, 20);
    item->SetPos(15);
    EXPECT_EQ(15, item->GetPos());

    delete window;
    EXPECT_EQ(1u, container->GetWindowSet().size());
    HWND itemWindow = item->m_hWnd;
    container.reset();
    EXPECT_FALSE(IsWindow(itemWindow));
}

TEST(SliderCtrl, TakesItsRectangleInTheDialogsUnits)
{
    iDialog dialog(nullptr, CRect(0, 0, 200, 100), WS_POPUP | DS_SETFONT, "units", 0, TRUE);
    ASSERT_TRUE(IsWindow(dialog.m_hWnd));
    const CRect inUnits(4, 8, 104, 20);
    CRect inPixels(inUnits);
    MapDialogRect(dialog.m_hWnd, &inPixels);
    ASSERT_NE(inUnits, inPixels) << "the dialog's units must differ from pixels to show the conversion";

    auto* item = new iSliderCtrl(&dialog, inUnits, WS_VISIBLE, nullptr, kSliderId);
    auto* window = new iSliderCtrl(&dialog, inUnits, WS_VISIBLE, nullptr, kSliderId + 1, 0, nullptr);
    EXPECT_EQ(inPixels, PlacedRect(*item));
    EXPECT_EQ(inPixels, PlacedRect(*window));
    EXPECT_EQ(2u, dialog.GetWindowSet().size());
}

TEST(SliderCtrl, WithoutAParentJoinsNoSet)
{
    iSliderCtrl orphan(nullptr, CRect(0, 0, 100, 30), WS_POPUP, nullptr, 0, 0, nullptr);
    EXPECT_EQ(nullptr, orphan.GetWindowSetAccess().GetSet());
}

} // namespace
