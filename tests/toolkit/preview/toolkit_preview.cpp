// Shows the toolkit's bars, flat buttons and a drop shadow on a real display for a look
// (not a test): a frame with a bar on each side (grippers, border bits), a row of flat
// buttons (icon, bitmap, text, disabled; one hot under the cursor, one pressed) and a
// popup with its shadow over a patterned view. Closes after the seconds given.
//   toolkit_preview [/xp] [/child-popup] [/seconds N]
//                                            the classic look, or the XP look; the popup
//                                            inside the view (Wine without a window manager
//                                            shows no popup that lies over its owner)
//   toolkit_preview /write-settings FILE     writes settings to the registry and FILE, prints them
//   toolkit_preview /read-settings FILE      reads them back, prints them, removes them
#include "framework/Framework.h"
#include "toolkit/bars/QZControlBar.h"
#include "toolkit/controls/QZButton.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZRegistryManager.h"
#include "toolkit/foundation/QZShadow.h"
#include "tests/framework/preview_support.h"

#include "../toolkit_test_resources.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using preview_support::PumpFor;

constexpr char kRegistryKey[] = "SorvantaToolkitPreview";
constexpr UINT kCloseTimer = 1;

// A bar of fixed thickness whose borders and gripper are its non-client area.
class PreviewBar : public CQZControlBar {
public:
    explicit PreviewBar(int thickness) : m_thickness(thickness) {}

    BOOL CreateBar(CWnd* parent, DWORD barStyle, UINT id, LPCSTR title)
    {
        m_dwStyle = barStyle;
        return CWnd::Create(nullptr, title, WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), parent, id);
    }
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
        CRect inside(0, 0, 0, 0);
        CalcInsideRect(inside, bHorz);
        if (bHorz)
            size.cy = m_thickness - inside.Height();
        else
            size.cx = m_thickness - inside.Width();
        return size;
    }
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override
    {
        UpdateDialogControls(pTarget, FALSE);
    }

protected:
    afx_msg void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
    {
        CRect inside(0, 0, 0, 0);
        CalcInsideRect(inside, IsHorzBar());
        params->rgrc[0].left += inside.left;
        params->rgrc[0].top += inside.top;
        params->rgrc[0].right += inside.right;
        params->rgrc[0].bottom += inside.bottom;
    }
    DECLARE_MESSAGE_MAP()

private:
    int m_thickness;
};
BEGIN_MESSAGE_MAP(PreviewBar, CQZControlBar)
    ON_WM_NCCALCSIZE()
END_MESSAGE_MAP()

// Diagonal stripes, so that a shadow's darkening shows over every colour.
class PatternView : public CWnd {
protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        const COLORREF colours[] = {RGB(255, 255, 255), RGB(250, 200, 60), RGB(90, 160, 230)};
        for (int x = -client.Height(); x < client.Width(); x += 6) {
            for (int i = 0; i < 3; ++i) {
                CPen pen(PS_SOLID, 2, colours[(x / 6 + 300) % 3]);
                CPen* previous = dc.SelectObject(&pen);
                dc.MoveTo(x + i * 2, 0);
                dc.LineTo(x + i * 2 + client.Height(), client.Height());
                dc.SelectObject(previous);
            }
        }
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PatternView, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// A popup holding a line of text.
class NotePopup : public CWnd {
protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, qzAfxData.xpLook ? qzAfxData.colorXPMenuBack : qzAfxData.colorMenu);
        dc.SetBkMode(TRANSPARENT);
        CFont* previous = dc.SelectObject(&qzAfxData.fontNormal);
        dc.DrawText("A popup with a drop shadow", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.SelectObject(previous);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(NotePopup, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

class PreviewFrame : public CFrameWnd {
public:
    PreviewBar top{34};
    PreviewBar bottom{24};
    PreviewBar left{28};
    PreviewBar right{28};
    PatternView view;
    CQZButton buttons[4];
    NotePopup popup;
    // The popup as a child of the view, for displays that draw no popup over its owner.
    bool m_bChildPopup = false;

    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        const DWORD grip = CBRS_GRIPPER | CBRS_BORDER_3D;
        if (!top.CreateBar(this, CBRS_TOP | CBRS_BORDER_ANY | grip, AFX_IDW_TOOLBAR, "Buttons") ||
            !bottom.CreateBar(this, CBRS_BOTTOM | grip, AFX_IDW_TOOLBAR + 1, "Bottom") ||
            !left.CreateBar(this, CBRS_LEFT | grip, AFX_IDW_TOOLBAR + 2, "Left") ||
            !right.CreateBar(this, CBRS_RIGHT | CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM | grip, AFX_IDW_TOOLBAR + 3,
                             "Right"))
            return -1;
        right.ModifyBarStyleEx(0, QZ_BARSTYLE_DOUBLE_GRIPPER, FALSE);
        if (!view.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST))
            return -1;
        const char* texts[] = {"&Open", "&Save", "Text only", "Disabled"};
        const DWORD style = qzAfxData.xpLook ? QZ_BTN_XP : QZ_BTN_FLAT;
        for (int i = 0; i < 4; ++i) {
            if (!buttons[i].Create(texts[i], WS_VISIBLE | BS_PUSHBUTTON, CRect(4 + i * 96, 2, 96 + i * 96, 26), &top,
                                   100 + i))
                return -1;
            buttons[i].SetDrawStyle(style, FALSE);
        }
        buttons[0].SetIcon(16, 16, IDI_TEST_ICON, IDI_TEST_PRESSED_ICON);
        buttons[1].SetBitmap(16, 16, IDB_TEST_BUTTON_BITMAP, FALSE);
        buttons[3].SetIcon(16, 16, IDI_TEST_ICON);
        buttons[3].EnableWindow(FALSE);
        return 0;
    }

    // The popup over the view, its shadow, one button hot and one pressed.
    void ShowScene()
    {
        if (m_bChildPopup) {
            // Inside the view, where every display draws it.
            popup.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_BORDER, 60, 60, 240, 90, view.m_hWnd, nullptr);
        } else {
            CRect viewRect;
            view.GetWindowRect(&viewRect);
            popup.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_BORDER, viewRect.left + 60, viewRect.top + 60,
                           240, 90, m_hWnd, nullptr);
        }
        popup.ShowWindow(SW_SHOWNA);
        popup.UpdateWindow();
        view.UpdateWindow();
        PumpFor(500);
        new CQZWndShadow(popup.m_hWnd, TRUE, TRUE);

        CRect hot;
        buttons[2].GetWindowRect(&hot);
        ::SetCursorPos(hot.left + 10, hot.top + 10);
        buttons[2].SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        buttons[0].SetState(TRUE);
    }

    afx_msg void OnTimer(UINT_PTR id)
    {
        if (id == kCloseTimer)
            PostMessage(WM_CLOSE);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PreviewFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

class PreviewApp : public CWinApp {
public:
    PreviewApp() : CWinApp("ToolkitPreview") {}
};

// The same values through both kinds of store, printed the same way by writer and reader.
void PrintSettings(const char* where, int number, const CString& text, const BYTE* bytes, UINT count)
{
    std::printf("%s: int %d, string \"%s\", bytes", where, number, static_cast<LPCSTR>(text));
    for (UINT i = 0; i < count; ++i)
        std::printf(" %02X", bytes[i]);
    std::printf("\n");
}

int WriteSettings(const char* file)
{
    BYTE bytes[] = {0x00, 0x3C, 0xFF, 0x80, 0x11};
    for (bool toFile : {false, true}) {
        qzAfxData.iniFileName = toFile ? file : "";
        CQZRegistryManager store(HKEY_CURRENT_USER);
        if (!store.WriteProfileInt("Preview", "Number", -1234) ||
            !store.WriteProfileString("Preview", "Text", "Toolkit settings") ||
            !store.WriteProfileBinary("Preview", "Bytes", bytes, sizeof bytes)) {
            std::printf("writing to the %s failed\n", toFile ? "profile file" : "registry");
            return 1;
        }
        PrintSettings(toFile ? "profile file" : "registry", -1234, "Toolkit settings", bytes, sizeof bytes);
    }
    return 0;
}

int ReadSettings(const char* file)
{
    int result = 0;
    for (bool toFile : {false, true}) {
        qzAfxData.iniFileName = toFile ? file : "";
        CQZRegistryManager store(HKEY_CURRENT_USER);
        BYTE* bytes = nullptr;
        UINT count = 0;
        if (!store.GetProfileBinary("Preview", "Bytes", &bytes, &count))
            result = 1;
        PrintSettings(toFile ? "profile file" : "registry", store.GetProfileInt("Preview", "Number", 0),
                      store.GetProfileString("Preview", "Text", "(missing)"), bytes, count);
        delete[] bytes;
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaToolkitPreview");
    ::DeleteFileA(file);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    PreviewApp app;
    app.SetRegistryKey(kRegistryKey);
    int seconds = 30;
    bool childPopup = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "/xp")
            qzAfxData.xpLook = 1;
        else if (arg == "/child-popup")
            childPopup = true;
        else if (arg == "/seconds" && i + 1 < argc)
            seconds = std::atoi(argv[++i]);
        else if (arg == "/write-settings" && i + 1 < argc)
            return WriteSettings(argv[i + 1]);
        else if (arg == "/read-settings" && i + 1 < argc)
            return ReadSettings(argv[i + 1]);
    }
    auto* frame = new PreviewFrame;
    frame->m_bChildPopup = childPopup;
    if (!frame->Create(nullptr, qzAfxData.xpLook ? "Toolkit preview - XP look" : "Toolkit preview - classic look",
                       WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 660, 420)))
        return 1;
    app.m_pMainWnd = frame;
    frame->RecalcLayout();
    frame->UpdateWindow();
    PumpFor(500);
    frame->ShowScene();
    frame->SetTimer(kCloseTimer, static_cast<UINT>(seconds > 0 ? seconds : 30) * 1000, nullptr);
    return app.Run();
}
