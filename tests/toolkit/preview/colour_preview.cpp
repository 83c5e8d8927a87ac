// Shows the toolkit's colour selection on a real display and works it as a user would
// (not a test): a colour picker drops its popup, the arrow keys walk to "More Colors...",
// Return opens the colour sheet, a click and an arrow key pick a colour on the Standard
// page, a click and arrow keys in the field and arrow keys on the luminance bar change it
// on the Custom page, OK closes the sheet and the picker shows the colour, which is
// printed. Clicks and keys go through SendInput. With /shots, a picture of the screen is saved at each step as a BMP.
//   colour_preview [/xp] [/shots <folder, a Windows path>] [/step milliseconds]
#include "framework/Framework.h"
#include "toolkit/colour/QZColorDialog.h"
#include "toolkit/colour/QZColorPageCustom.h"
#include "toolkit/colour/QZColorPageStandard.h"
#include "toolkit/colour/QZColorPicker.h"
#include "toolkit/colour/QZColorPopup.h"
#include "toolkit/colour/QZColorHexPalette.h"
#include "toolkit/foundation/QZAuxData.h"
#include "tests/framework/preview_support.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kPickerId = 300;
std::string g_shots;
UINT g_stepMs = 800;

// The screen as a 24-bit BMP in the shots folder.
void SaveScreen(const char* name)
{
    if (g_shots.empty())
        return;
    const RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (!preview_support::SaveScreenPicture(screen, g_shots + "\\" + name + ".bmp")) {
        std::printf("shot %s not saved\n", name);
        return;
    }
    std::printf("shot %s\n", name);
    std::fflush(stdout);
}

void Key(WORD key)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

// A left click at the screen point.
void Click(POINT point)
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input[3] = {};
    for (INPUT& i : input) {
        i.type = INPUT_MOUSE;
        i.mi.dx = point.x * 65535 / (width - 1);
        i.mi.dy = point.y * 65535 / (height - 1);
        i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    input[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    ::SendInput(3, input, sizeof(INPUT));
}

POINT OnScreen(HWND window, POINT client)
{
    ::ClientToScreen(window, &client);
    return client;
}

// The sheet that is open now: the active window.
CQZColorDialog* OpenSheet()
{
    HWND focus = ::GetActiveWindow();
    return dynamic_cast<CQZColorDialog*>(CWnd::FromHandlePermanent(focus));
}

class PreviewFrame : public CFrameWnd {
public:
    CQZColorPicker picker;

    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        // Near the bottom, so that the popup reaches past the frame: a bare Xvfb shows no
        // popup lying wholly over its owner.
        if (!picker.Create("Fill", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 150, 140, 174), this, kPickerId))
            return -1;
        picker.SelectColor(RGB(255, 0, 0));
        return 0;
    }
    afx_msg void OnColorNotice(UINT id)
    {
        (void)id;
        const MSG* msg = GetCurrentMessage();
        const COLORREF colour = picker.GetEffectiveColor();
        std::printf("picker notification 0x%04X, colour now RGB(%d, %d, %d)\n", HIWORD(msg->wParam),
                    GetRValue(colour), GetGValue(colour), GetBValue(colour));
        std::fflush(stdout);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PreviewFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_CONTROL_RANGE(0x65A8, kPickerId, kPickerId, OnColorNotice)
    ON_CONTROL_RANGE(0x65A9, kPickerId, kPickerId, OnColorNotice)
    ON_CONTROL_RANGE(0x65AA, kPickerId, kPickerId, OnColorNotice)
    ON_CONTROL_RANGE(0x65AB, kPickerId, kPickerId, OnColorNotice)
    ON_CONTROL_RANGE(0x65AC, kPickerId, kPickerId, OnColorNotice)
END_MESSAGE_MAP()

PreviewFrame* g_frame = nullptr;

// The scripted steps, one per tick of a thread timer (which also ticks inside the popup's
// capture and the sheet's modal loop).
std::vector<std::function<void()>> g_steps;
size_t g_nextStep = 0;

void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_nextStep < g_steps.size())
        g_steps[g_nextStep++]();
}

void BuildScript()
{
    auto& s = g_steps;
    s.push_back([] { Click(OnScreen(g_frame->picker.m_hWnd, {60, 12})); });
    s.push_back([] { SaveScreen("1-popup"); });
    // From red (17) along the bottom row to "More Colors..." (41).
    s.push_back([] { Key(VK_DOWN); Key(VK_DOWN); Key(VK_DOWN); });
    s.push_back([] { SaveScreen("2-popup-more-colors"); });
    s.push_back([] { Key(VK_RETURN); });
    s.push_back([] { SaveScreen("3-sheet-opened"); });
    s.push_back([] {
        if (CQZColorDialog* sheet = OpenSheet()) {
            CQZColorHex& hex = sheet->GetStandardPage()->m_wndColorHex;
            // A cell of row 3 (FFCC33), then one to the right with the arrow key.
            const POINT origin = QZGetHexCells()[28].origin;
            Click(OnScreen(hex.m_hWnd, {origin.x + 6, origin.y + 4}));
        }
    });
    s.push_back([] { Key(VK_RIGHT); });
    s.push_back([] { SaveScreen("4-standard-page"); });
    s.push_back([] {
        if (CQZColorDialog* sheet = OpenSheet())
            sheet->SetActivePage(1);
    });
    s.push_back([] {
        if (CQZColorDialog* sheet = OpenSheet()) {
            CQZColorWnd& field = sheet->GetCustomPage()->m_wndColor;
            CRect client;
            field.GetClientRect(&client);
            Click(OnScreen(field.m_hWnd, {client.Width() * 2 / 3, client.Height() / 4}));
        }
    });
    s.push_back([] { Key(VK_LEFT); Key(VK_LEFT); });
    // The luminance bar is next in the tab order (under Wine it lies past the tab's right
    // edge, so it is reached by the keyboard).
    s.push_back([] { Key(VK_TAB); });
    s.push_back([] { Key(VK_DOWN); Key(VK_DOWN); Key(VK_DOWN); });
    s.push_back([] {
        if (CQZColorDialog* sheet = OpenSheet()) {
            const COLORREF colour = sheet->GetColor();
            std::printf("sheet's new colour RGB(%d, %d, %d)\n", GetRValue(colour), GetGValue(colour),
                        GetBValue(colour));
        }
        SaveScreen("5-custom-page");
    });
    s.push_back([] {
        if (CQZColorDialog* sheet = OpenSheet())
            if (CWnd* ok = sheet->GetDlgItem(IDOK)) {
                CRect rect;
                ok->GetClientRect(&rect);
                Click(OnScreen(ok->m_hWnd, rect.CenterPoint()));
            }
    });
    s.push_back([] { SaveScreen("6-picker-after"); });
    s.push_back([] {
        const COLORREF colour = g_frame->picker.GetEffectiveColor();
        std::printf("picker's colour RGB(%d, %d, %d), recent colours %d\n", GetRValue(colour), GetGValue(colour),
                    GetBValue(colour), CQZColorPopup::m_arrUserColors.GetSize());
        std::fflush(stdout);
        g_frame->PostMessage(WM_CLOSE);
    });
}

class PreviewApp : public CWinApp {
public:
    PreviewApp() : CWinApp("ColourPreview") {}
};

} // namespace

int main(int argc, char** argv)
{
    PreviewApp app;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "/xp")
            qzAfxData.xpLook = 1;
        else if (arg == "/shots" && i + 1 < argc)
            g_shots = argv[++i];
        else if (arg == "/step" && i + 1 < argc)
            g_stepMs = static_cast<UINT>(std::atoi(argv[++i]));
    }
    g_frame = new PreviewFrame;
    if (!g_frame->Create(nullptr, qzAfxData.xpLook ? "Colour preview - XP look" : "Colour preview - classic look",
                         WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 400, 260)))
        return 1;
    app.m_pMainWnd = g_frame;
    BuildScript();
    ::SetTimer(nullptr, 0, g_stepMs > 0 ? g_stepMs : 800, &Step);
    return app.Run();
}
