// The framework's global data (colours, border metrics, arrow cursor kept in step by the
// main window) and the search for the module that holds a resource.
#include "framework/Framework.h"

#include <gtest/gtest.h>

namespace {

// String 7303 is in this program's resources only.
constexpr UINT kProgramOnlyString = 7303;
// The system button bitmaps of the common controls library.
constexpr UINT kCommonControlsBitmap = 120;

// A string table block holds the string with id n as block n / 16 + 1.
LPCSTR StringBlockOf(UINT id)
{
    return MAKEINTRESOURCEA(id / 16 + 1);
}

class MainFrameApp : public CWinApp {
public:
    MainFrameApp() : CWinApp("GlobalDataTest") {}
};

} // namespace

TEST(AfxGlobalData, BorderIsTwiceTheSystemBorderAndTheCursorTheSystemArrow)
{
    EXPECT_EQ(2 * GetSystemMetrics(SM_CXBORDER), afxData.cxBorder2);
    EXPECT_EQ(2 * GetSystemMetrics(SM_CYBORDER), afxData.cyBorder2);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), afxData.hcurArrow);
}

TEST(AfxGlobalData, ColoursAreReadAgainWhenTheMainWindowSeesAChange)
{
    MainFrameApp app;
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "main"));
    auto* other = new CFrameWnd;
    ASSERT_TRUE(other->Create(nullptr, "other"));
    app.m_pMainWnd = frame;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF stale = face ^ 0x00FFFFFF;

    afxData.clrBtnFace = stale;
    other->SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(stale, afxData.clrBtnFace) << "only the main window refreshes the record";
    frame->SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(face, afxData.clrBtnFace);

    afxData.clrBtnFace = stale;
    afxData.cxBorder2 = 9;
    frame->SendMessage(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Metrics"));
    EXPECT_EQ(face, afxData.clrBtnFace);
    EXPECT_EQ(2 * GetSystemMetrics(SM_CXBORDER), afxData.cxBorder2);

    other->DestroyWindow();
    frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
}

TEST(AfxFindResourceHandle, CurrentModuleFirstThenTheProgram)
{
    HINSTANCE program = AfxGetInstanceHandle();
    HINSTANCE library = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(nullptr, library);
    ASSERT_NE(nullptr, FindResourceA(library, MAKEINTRESOURCEA(kCommonControlsBitmap), RT_BITMAP));
    const HINSTANCE saved = AfxGetResourceHandle();
    AfxSetResourceHandle(library);
    struct Case {
        const char* why;
        LPCSTR name;
        LPCSTR type;
        HINSTANCE expected;
    };
    const Case cases[] = {
        {"found in the current module", MAKEINTRESOURCEA(kCommonControlsBitmap), RT_BITMAP, library},
        {"only the program has it", StringBlockOf(kProgramOnlyString), RT_STRING, program},
        {"nobody has it: the current module", MAKEINTRESOURCEA(31999), RT_BITMAP, library},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.expected, AfxFindResourceHandle(c.name, c.type));
    }
    AfxSetResourceHandle(saved);
    EXPECT_EQ(program, AfxFindResourceHandle(StringBlockOf(kProgramOnlyString), RT_STRING));
}
