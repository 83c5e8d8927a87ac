// Spin and progress controls made in one step on a container: the spin control's fixed
// 32-bit range whatever its style, which forms take the parent's font, and membership
// in the container's window set.
#include "lib/src/Win2/Wnd/iSpinProgressCtrl.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A container that answers a font, as a dialog or page does.
class FontContainer : public iWnd {
public:
    FontContainer() : iWnd(nullptr, CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW, "container", 0, 0, nullptr) {}
    HFONT m_font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));

protected:
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_font); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FontContainer, iWnd)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

TEST(SpinButtonCtrl, CountsFromZeroToAMillionWhateverItsStyle)
{
    FontContainer container;
    const DWORD kStyles[] = {0, UDS_HORZ, UDS_ARROWKEYS | UDS_WRAP, UDS_SETBUDDYINT | UDS_ALIGNRIGHT};
    for (DWORD style : kStyles) {
        SCOPED_TRACE(style);
        auto* dialogItem = new iSpinButtonCtrl(&container, CRect(0, 0, 16, 24), style | WS_VISIBLE, nullptr, 10);
        auto* window = new iSpinButtonCtrl(&container, CRect(20, 0, 36, 24), style | WS_VISIBLE, "ignored", 11, 0,
                                           nullptr);
        for (iSpinButtonCtrl* spin : {dialogItem, window}) {
            ASSERT_TRUE(IsWindow(spin->m_hWnd));
            EXPECT_TRUE(spin->GetStyle() & WS_CHILD);
            int lower = -1, upper = -1;
            spin->GetRange32(lower, upper);
            EXPECT_EQ(0, lower);
            EXPECT_EQ(1000000, upper);
            EXPECT_EQ(0, spin->GetPos32());
            EXPECT_EQ(1u, container.GetWindowSet().count(spin));
        }
        delete dialogItem;
        delete window;
        EXPECT_TRUE(container.GetWindowSet().empty());
    }
}

TEST(SpinButtonCtrl, TheArrowKeyCountsUpFromZero)
{
    FontContainer container;
    auto* spin = new iSpinButtonCtrl(&container, CRect(0, 0, 16, 24), WS_VISIBLE | UDS_ARROWKEYS, nullptr, 10);
    spin->SendMessage(WM_KEYDOWN, VK_UP, 0);
    spin->SendMessage(WM_KEYUP, VK_UP, 0);
    EXPECT_EQ(1, spin->GetPos32());
}

TEST(ProgressCtrl, TakesTheParentsFontAndJoinsItsSet)
{
    auto container = std::make_unique<FontContainer>();
    auto* progress = new iProgressCtrl(container.get(), CRect(0, 0, 200, 16), WS_VISIBLE, "ignored", 12);
    ASSERT_TRUE(IsWindow(progress->m_hWnd));
    EXPECT_TRUE(progress->GetStyle() & WS_CHILD);
    EXPECT_EQ(12, progress->GetDlgCtrlID());
    EXPECT_EQ(reinterpret_cast<LRESULT>(container->m_font), progress->SendMessage(WM_GETFONT));
    EXPECT_EQ(1u, container->GetWindowSet().count(progress));
    progress->SetRange(0, 50);
    progress->SetPos(20);
    EXPECT_EQ(20, progress->GetPos());

    HWND window = progress->m_hWnd;
    container.reset();
    EXPECT_FALSE(IsWindow(window));
}

TEST(ProgressCtrl, WithoutAParentJoinsNoSet)
{
    iProgressCtrl progress(nullptr, CRect(0, 0, 200, 16), 0, nullptr, 0);
    EXPECT_EQ(nullptr, progress.GetWindowSetAccess().GetSet());
}

} // namespace
