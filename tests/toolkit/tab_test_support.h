// What the tab tests share: a parent window for the controls, the toolkit's look and
// colours set for one test (distinct colours, so that every part of the XP picture can
// be told apart) and put back afterwards.
#pragma once

#include "toolkit_test_support.h"

#include "toolkit/controls/QZTabCtrl.h"
#include "toolkit/foundation/QZAuxData.h"

namespace toolkit_test {

constexpr UINT kTabId = 1000;

// A parent window for the controls a test makes.
class TabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "tabs", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400, nullptr,
                                    nullptr));
    }
    void TearDown() override { parent.DestroyWindow(); }

    CWnd parent;
};

// The XP look on or off and the colours the tab painting reads, while it lives.
class TabColourScope {
public:
    explicit TabColourScope(int xpLook)
        : m_xpLook(qzAfxData.xpLook), m_face(qzAfxData.colorFace), m_faceLighter(qzAfxData.colorFaceLighter),
          m_window(qzAfxData.colorWindow), m_windowFrame(qzAfxData.colorWindowFrame),
          m_shadow(qzAfxData.colorShadow), m_border(qzAfxData.colorXPBorder), m_text(qzAfxData.colorButtonText)
    {
        qzAfxData.xpLook = xpLook;
        if (!xpLook)
            return;  // the classic look is the control's own, in the system's colours
        qzAfxData.colorFace = RGB(200, 200, 200);
        qzAfxData.colorFaceLighter = RGB(230, 230, 230);
        qzAfxData.colorWindow = RGB(255, 255, 250);
        qzAfxData.colorWindowFrame = RGB(10, 0, 0);
        qzAfxData.colorShadow = RGB(128, 100, 100);
        qzAfxData.colorXPBorder = RGB(90, 60, 60);
        qzAfxData.colorButtonText = RGB(0, 0, 90);
    }
    ~TabColourScope()
    {
        qzAfxData.xpLook = m_xpLook;
        qzAfxData.colorFace = m_face;
        qzAfxData.colorFaceLighter = m_faceLighter;
        qzAfxData.colorWindow = m_window;
        qzAfxData.colorWindowFrame = m_windowFrame;
        qzAfxData.colorShadow = m_shadow;
        qzAfxData.colorXPBorder = m_border;
        qzAfxData.colorButtonText = m_text;
    }
    TabColourScope(const TabColourScope&) = delete;
    TabColourScope& operator=(const TabColourScope&) = delete;

private:
    int m_xpLook;
    COLORREF m_face, m_faceLighter, m_window, m_windowFrame, m_shadow, m_border, m_text;
};

} // namespace toolkit_test
