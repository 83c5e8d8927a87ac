// Shows the toolkit's list and shortcut sheet on a real display and works them as a user
// would, saving a picture of the screen at each step (not a test):
//   1 the toolkit list sorted descending by its last column, the arrow in its flat header;
//   2 the header's right-click menu open on that column;
//   3 the shortcut sheet of the frame, opened from the frame's shortcut manager;
//   4 the sheet made larger by dragging its size grip with the mouse;
//   5 Ctrl+K typed into the sheet and assigned to File\Save;
//   6 the frame after OK, where Ctrl+K now runs Save.
//   controls_preview [/shots FOLDER] [/seconds N]
// Input is the system's (SendInput); the pictures are BMP files in FOLDER (a Windows path).
// The grip is pressed, moved and released on separate ticks: Wine's sizing loop follows only
// the moves made once it runs, and ends only on a release it sees.
// Wine on a bare Xvfb draws no popup that lies entirely over its owner, so the frame is
// kept short and the menu opens at its right edge. The preview's registry key goes at the end.
#include "framework/Framework.h"
#include "toolkit/controls/QZListCtrl.h"
#include "toolkit/res/ToolkitResources.h"
#include "toolkit/shortcuts/QZAccelManager.h"
#include "toolkit/shortcuts/QZAccelSheet.h"
#include "tests/framework/preview_support.h"

#include "controls_preview_resources.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT WM_PREVIEW_OPEN_SHEET = WM_APP + 1;
constexpr UINT kStepMs = 700;
constexpr char kRegistryKey[] = "SorvantaControlsPreview";
constexpr int kListId = 100;
constexpr int kStatusHeight = 20;

std::string g_shots;
int g_seconds = 60;

const char* const kRows[][3] = {
    {"harbour.jpg", "2,400 x 1,600", "Bicubic"},  {"market.jpg", "1,024 x 768", "Tamrow"},
    {"bridge.tif", "3,000 x 2,000", "Bilinear"},  {"garden.bmp", "800 x 600", "Normal"},
    {"portrait.gif", "640 x 960", "Tamrow Progressive"}, {"skyline.pcx", "1,920 x 1,080", "Bicubic"},
};

// The list sorts its rows by the text of the sorted column (row data: the row's index in kRows).
class PreviewList : public CQZListCtrl {
public:
    BOOL SortList(int nColumn, BOOL bAscending) override
    {
        m_column = nColumn;
        m_ascending = bAscending;
        return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
                                             reinterpret_cast<LPARAM>(&Compare)));
    }

private:
    static int CALLBACK Compare(LPARAM first, LPARAM second, LPARAM list)
    {
        auto* self = reinterpret_cast<PreviewList*>(list);
        const int order = lstrcmpA(kRows[first][self->m_column], kRows[second][self->m_column]);
        return self->m_ascending ? order : -order;
    }
    int m_column = 0;
    BOOL m_ascending = TRUE;
};

class PreviewFrame : public CFrameWnd {
public:
    PreviewList list;
    // The last command the frame ran (a window manager would show it in the caption).
    CStatic status;
    CQZAccelManager shortcuts;
    CString lastCommand;

    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        CRect client;
        GetClientRect(&client);
        if (!list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, client, this, kListId) ||
            !status.Create("No command run yet", WS_CHILD | WS_VISIBLE | SS_LEFT, client, this))
            return -1;
        const int kWidths[] = {120, 120, 150};
        const LPCSTR kHeadings[] = {"File", "Size", "Method"};
        list.BuildColumns(3, kWidths, kHeadings);
        for (int row = 0; row < 6; ++row) {
            list.InsertItem(row, kRows[row][0]);
            list.SetItemData(row, static_cast<DWORD_PTR>(row));
            list.SetItemText(row, 1, kRows[row][1]);
            list.SetItemText(row, 2, kRows[row][2]);
        }
        list.AddExtendedStyle(LVS_EX_FULLROWSELECT);
        list.SetColors(RGB(20, 40, 110), RGB(250, 248, 235));
        list.SubclassHeader();
        list.GetFlatHeaderCtrl()->ShowSortArrow(TRUE);
        // Sorted as a click on the heading would: the last column, descending.
        NMHEADERA click = {};
        click.hdr.hwndFrom = list.GetFlatHeaderCtrl()->m_hWnd;
        click.hdr.code = HDN_ITEMCLICKA;
        click.iItem = 2;
        list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
        list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));

        shortcuts.BuildCommandList(this, IDR_PREVIEW_FRAME, IDR_PREVIEW_FRAME, "Keyboard shortcuts of the preview",
                                   "Preview");
        return 0;
    }
    afx_msg void OnSize(UINT type, int cx, int cy)
    {
        CFrameWnd::OnSize(type, cx, cy);
        if (list.m_hWnd)
            list.MoveWindow(0, 0, cx, cy - kStatusHeight);
        if (status.m_hWnd)
            status.MoveWindow(4, cy - kStatusHeight + 2, cx - 8, kStatusHeight - 4);
    }
    afx_msg LRESULT OnOpenSheet(WPARAM, LPARAM)
    {
        shortcuts.RunShortcutDialog(this);
        return 0;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) >= ID_PREVIEW_OPEN && LOWORD(wParam) <= ID_PREVIEW_ZOOM_OUT) {
            CString name;
            shortcuts.GetCommandName(LOWORD(wParam), name);
            lastCommand = name;
            SetWindowText("Controls preview - ran " + name);
            status.SetWindowText("Ran " + name);
            return TRUE;
        }
        return CFrameWnd::OnCommand(wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PreviewFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_PREVIEW_OPEN_SHEET, OnOpenSheet)
END_MESSAGE_MAP()

class PreviewApp : public CWinApp {
public:
    PreviewApp() : CWinApp("ControlsPreview") { SetRegistryKey(kRegistryKey); }
};

PreviewFrame* g_frame = nullptr;

// The screen's top-left 900 x 700 pixels as a BMP file in the shots folder.
void SaveScreen(const char* name)
{
    if (g_shots.empty())
        return;
    const std::string path = g_shots + "\\" + name + ".bmp";
    if (!preview_support::SaveScreenPicture(RECT{0, 0, 900, 700}, path)) {
        std::printf("picture not saved: %s\n", path.c_str());
        return;
    }
    std::printf("picture: %s\n", path.c_str());
    std::fflush(stdout);
}

void SendMouse(DWORD flags, CPoint screenPoint)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    const int width = ::GetSystemMetrics(SM_CXSCREEN) - 1;
    const int height = ::GetSystemMetrics(SM_CYSCREEN) - 1;
    input.mi.dx = static_cast<LONG>(screenPoint.x * 65535 / width);
    input.mi.dy = static_cast<LONG>(screenPoint.y * 65535 / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    ::SendInput(1, &input, sizeof input);
}

void SendKey(WORD vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof input);
}

void SendCtrlKey(WORD vk)
{
    SendKey(VK_CONTROL, false);
    SendKey(vk, false);
    SendKey(vk, true);
    SendKey(VK_CONTROL, true);
}

CQZAccelPropertySheet* OpenSheet()
{
    CString caption;
    caption.LoadString(IDS_QZ_ACCEL_SHEET);
    HWND sheet = ::FindWindowA(nullptr, caption);
    CWnd* object = sheet ? CWnd::FromHandlePermanent(sheet) : nullptr;
    return object && object->IsKindOf(RUNTIME_CLASS(CQZAccelPropertySheet)) ? static_cast<CQZAccelPropertySheet*>(object)
                                                                            : nullptr;
}

// One step a tick of the thread's timer, which every modal loop (the menu's, the sheet's and
// the system's sizing) dispatches; a step that answers false is tried again next tick.
std::vector<std::function<bool()>> g_steps;
CPoint g_dragFrom;
size_t g_nextStep = 0;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    static bool busy = false;
    if (busy || g_nextStep >= g_steps.size())
        return;
    busy = true;
    if (g_steps[g_nextStep]())
        ++g_nextStep;
    busy = false;
}

void BuildSteps()
{
    g_steps = {
        [] { return g_frame->IsWindowVisible() != FALSE; },
        [] {
            SaveScreen("1-list-sorted");
            return true;
        },
        [] {
            // A right click on the sorted column's heading, at the frame's right edge.
            CQZFlatHeaderCtrl* header = g_frame->list.GetFlatHeaderCtrl();
            CRect item;
            header->GetItemRect(2, &item);
            const CPoint point(item.right - 20, item.CenterPoint().y);
            header->PostMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
            return true;
        },
        [] { return ::FindWindowA("#32768", nullptr) != nullptr; },
        [] {
            SaveScreen("2-header-menu");
            ::EndMenu();
            return true;
        },
        [] {
            g_frame->PostMessage(WM_PREVIEW_OPEN_SHEET);
            return true;
        },
        [] { return OpenSheet() && OpenSheet()->IsWindowVisible(); },
        [] {
            SaveScreen("3-shortcut-sheet");
            return true;
        },
        [] {
            // Drag the size grip 160 to the right and 100 down.
            CQZAccelPropertySheet* sheet = OpenSheet();
            CRect grip;
            ::GetWindowRect(::GetDlgItem(sheet->m_hWnd, QZ_IDC_SIZEICON), &grip);
            const CPoint from = grip.CenterPoint();
            SendMouse(0, from);
            SendMouse(MOUSEEVENTF_LEFTDOWN, from);
            g_dragFrom = from;
            return true;
        },
        [] {
            // The system's sizing runs now and follows the mouse.
            for (int step = 1; step <= 10; ++step)
                SendMouse(0, CPoint(g_dragFrom.x + 16 * step, g_dragFrom.y + 10 * step));
            return true;
        },
        [] {
            // Released once the system's sizing follows the mouse.
            POINT cursor;
            ::GetCursorPos(&cursor);
            SendMouse(MOUSEEVENTF_LEFTUP, cursor);
            return true;
        },
        [] {
            // The system's sizing ends with the button's release; then the size holds.
            static CRect last;
            CRect now;
            OpenSheet()->GetWindowRect(&now);
            const bool still = now == last && !(::GetAsyncKeyState(VK_LBUTTON) & 0x8000) && !::GetCapture();
            last = now;
            return still;
        },
        [] {
            SaveScreen("4-sheet-resized-by-its-grip");
            OpenSheet()->SetActivePage(1);
            return true;
        },
        [] {
            CQZAccelPropertyPage2& page = OpenSheet()->m_page2;
            page.m_cbCategory.SetCurSel(page.m_cbCategory.FindStringExact(-1, "File"));
            page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QZ_ACCEL_CATEGORY, CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(page.m_cbCategory.m_hWnd));
            page.m_lbCommands.SetCurSel(page.m_lbCommands.FindStringExact(-1, "Save"));
            page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QZ_ACCEL_COMMANDS, LBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(page.m_lbCommands.m_hWnd));
            page.m_edKey.SetFocus();
            SendCtrlKey('K');
            return true;
        },
        [] {
            CQZAccelPropertyPage2& page = OpenSheet()->m_page2;
            page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QZ_ACCEL_ASSIGN, BN_CLICKED),
                             reinterpret_cast<LPARAM>(::GetDlgItem(page.m_hWnd, IDC_QZ_ACCEL_ASSIGN)));
            return true;
        },
        [] {
            SaveScreen("5-ctrl-k-assigned-to-save");
            OpenSheet()->PostMessage(WM_COMMAND, IDOK);
            return true;
        },
        [] { return OpenSheet() == nullptr; },
        [] {
            g_frame->SetForegroundWindow();
            g_frame->list.SetFocus();
            SendCtrlKey('K');
            return true;
        },
        [] { return !g_frame->lastCommand.IsEmpty(); },
        [] {
            SaveScreen("6-ctrl-k-ran-save-in-the-frame");
            std::printf("Ctrl+K ran: %s\n", static_cast<LPCSTR>(g_frame->lastCommand));
            std::fflush(stdout);
            g_frame->PostMessage(WM_CLOSE);
            return true;
        },
    };
}

} // namespace

int main(int argc, char** argv)
{
    PreviewApp app;
    // A placement or shortcut set left by an earlier run that did not end would show here.
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaControlsPreview");
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "/shots" && i + 1 < argc)
            g_shots = argv[++i];
        else if (arg == "/seconds" && i + 1 < argc)
            g_seconds = std::atoi(argv[++i]);
    }
    g_frame = new PreviewFrame;
    if (!g_frame->Create(nullptr, "Controls preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 460, 210)))
        return 1;
    app.m_pMainWnd = g_frame;
    g_frame->SetForegroundWindow();
    BuildSteps();
    const UINT_PTR tick = ::SetTimer(nullptr, 0, kStepMs, &Tick);
    // Whatever happens, the preview ends.
    const UINT_PTR stop = ::SetTimer(nullptr, 0, static_cast<UINT>(g_seconds > 0 ? g_seconds : 60) * 1000,
                                     [](HWND, UINT, UINT_PTR, DWORD) {
                                         ::EndMenu();
                                         if (CQZAccelPropertySheet* sheet = OpenSheet())
                                             sheet->PostMessage(WM_COMMAND, IDCANCEL);
                                         if (g_frame && g_frame->m_hWnd)
                                             g_frame->PostMessage(WM_CLOSE);
                                     });
    const int result = app.Run();
    ::KillTimer(nullptr, tick);
    ::KillTimer(nullptr, stop);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaControlsPreview");
    return result;
}
