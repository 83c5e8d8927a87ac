// The program's start-up and exit, run in process through the framework's entry with
// the real application object, frame, document and view: what start-up builds and
// sets, the order the stores are read and written, the splash switch, a start that
// fails, and a main window that opens where it was closed.
#include "program_test_support.h"

#include "app/CustomOccManager.h"
#include "app/Document.h"
#include "app/Option.h"
#include "app/WebEndpoint.h"
#include "app/Workspace.h"

#include "banner/AffiliateLink.h"
#include "banner/CustomControlSite.h"

#include "imaging/ImagingApi.h"
#include "lib/src/Win2/Wnd/iSpinProgressCtrl.h"
#include "lib/src/Win2/Wnd/iVeltraToolBar.h"
#include "toolkit/foundation/QZAuxData.h"

#include <objbase.h>

#include <cstdio>
#include <string>

namespace program_start_up_test {

using namespace program_test;

namespace {

// A valid 1 x 1 PNG: start-up leaves the PNG format aside.
const unsigned char kTinyPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00,
    0x0D, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0x64, 0x60, 0xF8, 0x5F, 0x0F, 0x00, 0x02, 0x87, 0x01, 0x80,
    0xEB, 0x47, 0xBA, 0x92, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

std::string WriteTinyPng()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "program_start_up_tiny.png";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file) {
        std::fwrite(kTinyPng, 1, sizeof kTinyPng, file);
        std::fclose(file);
    }
    return path;
}

int PngInfoResult()
{
    const std::string path = WriteTinyPng();
    imaging::FileInfo info = {};
    const int result = L_FileInfo(path.c_str(), &info, 0, nullptr);
    DeleteFileA(path.c_str());
    return result;
}

FILETIME LastWrite(const std::string& keyPath)
{
    FILETIME time = {};
    HKEY key = nullptr;
    const std::string path = std::string(app_test::kTestApplicationKey) + "\\" + keyPath;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, &time);
        RegCloseKey(key);
    }
    return time;
}

struct SplashSearch {
    HWND mainWindow = nullptr;
    HWND splash = nullptr;
};

BOOL CALLBACK FindSplash(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<SplashSearch*>(lParam);
    if (window != search->mainWindow && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == search->mainWindow && (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
        search->splash = window;
    return TRUE;
}

HWND FindSplashOver(HWND mainWindow)
{
    SplashSearch search;
    search.mainWindow = mainWindow;
    EnumThreadWindows(GetCurrentThreadId(), FindSplash, reinterpret_cast<LPARAM>(&search));
    return search.splash;
}

// Refuses the creation of the main frame's window, as a frame that cannot be made.
HHOOK g_refusingHook = nullptr;
LRESULT CALLBACK RefuseMainFrame(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (!cs->hwndParent && cs->lpszName && !IS_INTRESOURCE(cs->lpszName) &&
            std::string(cs->lpszName) == MainFrame::kTitle)
            return 1;
    }
    return CallNextHookEx(g_refusingHook, code, wParam, lParam);
}

// What the script saw while the program ran.
struct Seen {
    bool isMainFrame = false;
    bool isWorkspaceView = false;
    std::string title;
    std::string titleWithDocument;
    std::string titleEmptied;
    CRect windowRect;
    POINT minTrack = {};
    std::string helpPath;
    bool hasWindowMenu = true;
    int menuBarDockedAt = 0;
    int menuItems = 0;
    std::string lastFileItem;
    UINT lastFileId = 0;
    int toolBarDockedAt = 0;
    std::vector<UINT> toolBarIds;
    bool isToolBarCustomisable = true;
    bool areImageMenusHooked = false;
    HRESULT multithreadedDuringRun = S_OK;
    int pngInfoDuringRun = 0;
    int progressHighAfterPasses = 0;
    int progressHighAfterReset = 0;
    int xpLook = 0;
};

std::string MenuText(HMENU menu, UINT position)
{
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST_F(ProgramTest, StartsIntoTheMainFrameAndSavesTheStoresAtExit)
{
    // One value per store, so that each store reads one back.
    ASSERT_TRUE(app_test::WriteDword("Option\\Common", "Confirm Overwrite", 0));
    ASSERT_TRUE(app_test::WriteDword("Setup\\Printer", "Gamma Value", 7));
    ASSERT_TRUE(app_test::WriteDword("Usage\\Exit", "Dialog", 0));
    ScriptedMain app;
    Seen seen;
    app.m_script = {
        [&seen](ScriptedMain& running) {
            MainFrame* frame = running.GetMainFrame();
            ASSERT_NE(nullptr, frame);
            seen.isMainFrame = true;
            seen.isWorkspaceView = dynamic_cast<Workspace*>(frame->GetActiveView()) != nullptr;
            seen.title = WindowText(frame->m_hWnd);
            frame->GetWindowRect(&seen.windowRect);
            MINMAXINFO limits = {};
            frame->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
            seen.minTrack = limits.ptMinTrackSize;
            seen.helpPath = running.m_pszHelpFilePath ? running.m_pszHelpFilePath : "";
            // The toolkit's menu bar shows menu 128; the window has no menu of its own.
            seen.hasWindowMenu = GetMenu(frame->m_hWnd) != nullptr;
            CQZMenuBar* menuBar = frame->GetMenuBar();
            seen.menuBarDockedAt = menuBar->m_pDockBar ? menuBar->m_pDockBar->GetDlgCtrlID() : 0;
            HMENU menu = menuBar->GetMenuHandle();
            seen.menuItems = GetMenuItemCount(menu);
            HMENU file = GetSubMenu(menu, 0);
            const int fileItems = GetMenuItemCount(file);
            seen.lastFileItem = MenuText(file, static_cast<UINT>(fileItems - 1));
            seen.lastFileId = GetMenuItemID(file, fileItems - 1);
            iVeltraToolBar* toolBar = frame->GetToolBar();
            seen.toolBarDockedAt = toolBar->m_pDockBar ? toolBar->m_pDockBar->GetDlgCtrlID() : 0;
            for (int i = 0; i < static_cast<int>(toolBar->SendMessage(TB_BUTTONCOUNT)); ++i)
                seen.toolBarIds.push_back(toolBar->GetItemID(i));
            seen.isToolBarCustomisable = (toolBar->GetStyle() & CCS_ADJUSTABLE) || toolBar->GetChevronState();
            seen.areImageMenusHooked = frame->GetCoolMenu()->IsHooked() != FALSE;
            seen.multithreadedDuringRun = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            if (SUCCEEDED(seen.multithreadedDuringRun))
                CoUninitialize();
            seen.pngInfoDuringRun = PngInfoResult();
            seen.xpLook = qzAfxData.xpLook;

            CDocument* document = frame->GetActiveDocument();
            document->SetTitle("photo.jpg");
            seen.titleWithDocument = WindowText(frame->m_hWnd);
            document->SetTitle("");
            seen.titleEmptied = WindowText(frame->m_hWnd);

            // A chained resize tells the frame through the view's parent.
            auto* workspace = static_cast<Workspace*>(frame->GetActiveView());
            int low = 0;
            workspace->SetProgress(3);
            frame->GetStatusBar()->GetProgressCtrl()->GetRange(low, seen.progressHighAfterPasses);
            workspace->SetProgress(0);
            frame->GetStatusBar()->GetProgressCtrl()->GetRange(low, seen.progressHighAfterReset);
        },
        [](ScriptedMain& running) { running.GetMainFrame()->SendMessage(WM_COMMAND, ID_APP_EXIT); },
    };
    // The web help follows the maker's host and port.
    const WebEndpoint previous = SetWebEndpoint({"help.sorvanta.invalid", 8088});
    EXPECT_EQ(0, Run(app, "C:\\Pictures\\photo.jpg /NoSplash"));
    SetWebEndpoint(previous);

    EXPECT_TRUE(seen.isMainFrame);
    EXPECT_TRUE(seen.isWorkspaceView);
    EXPECT_EQ("Tamrow Sorvanta [Standard]", seen.title) << "the file on the command line is not opened";
    EXPECT_EQ("Tamrow Sorvanta [Standard] - photo.jpg", seen.titleWithDocument);
    EXPECT_EQ("Tamrow Sorvanta [Standard]", seen.titleEmptied);
    // First start: 720 x 620, centred on the screen the system reports.
    EXPECT_EQ(720, seen.windowRect.Width());
    EXPECT_EQ(620, seen.windowRect.Height());
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 720) / 2, seen.windowRect.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 620) / 2, seen.windowRect.top);
    EXPECT_EQ(640, seen.minTrack.x);
    EXPECT_EQ(562, seen.minTrack.y);
    EXPECT_EQ("http://help.sorvanta.invalid:8088/help/", seen.helpPath) << "the help file's path gives way to the web address";
    EXPECT_FALSE(seen.hasWindowMenu) << "one menu: the menu bar's";
    EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, seen.menuBarDockedAt);
    EXPECT_EQ(4, seen.menuItems);
    EXPECT_EQ("E&xit", seen.lastFileItem);
    EXPECT_EQ(static_cast<UINT>(ID_APP_EXIT), seen.lastFileId);
    EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, seen.toolBarDockedAt);
    EXPECT_EQ((std::vector<UINT>{ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_FILE_PRINT, 0, ID_HELP_INDEX}), seen.toolBarIds);
    EXPECT_FALSE(seen.isToolBarCustomisable);
    EXPECT_TRUE(seen.areImageMenusHooked) << "menus show the toolbar's images";
    EXPECT_EQ(RPC_E_CHANGED_MODE, seen.multithreadedDuringRun) << "the user-interface thread is an apartment";
    EXPECT_EQ(imaging::kErrorFilterIgnored, seen.pngInfoDuringRun);
    EXPECT_EQ(1, seen.xpLook);
    EXPECT_EQ(300, seen.progressHighAfterPasses);
    EXPECT_EQ(100, seen.progressHighAfterReset);

    // Exit: stores read in creation order, written in the reverse, then gone.
    EXPECT_EQ((std::vector<std::string>{"Option", "Setup", "Usage"}), g_storeReads);
    EXPECT_EQ(nullptr, g_pOption);
    EXPECT_EQ(nullptr, g_pSetup);
    EXPECT_EQ(nullptr, g_pUsage);
    EXPECT_EQ(0u, app_test::ReadValue("Option\\Common", "Confirm Overwrite").Dword()) << "saved as loaded";
    const FILETIME usage = LastWrite("Usage\\Exit");
    const FILETIME setup = LastWrite("Setup\\Printer");
    const FILETIME option = LastWrite("Option\\Common");
    EXPECT_LE(CompareFileTime(&usage, &setup), 0) << "Usage is written before Setup";
    EXPECT_LE(CompareFileTime(&setup, &option), 0) << "Setup is written before Option";
    EXPECT_LT(CompareFileTime(&usage, &option), 0) << "Usage is written before Option";
    // The apartment ended with the run.
    const HRESULT after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(S_OK, after);
    if (SUCCEEDED(after))
        CoUninitialize();
}

TEST_F(ProgramTest, FailedShellCommandStillSavesTheStoresAndSetsNothingMore)
{
    ASSERT_TRUE(app_test::WriteDword("Option\\Common", "Confirm Overwrite", 0));
    ASSERT_TRUE(app_test::WriteDword("Usage\\Exit", "Dialog", 0));
    g_refusingHook = SetWindowsHookExA(WH_CBT, RefuseMainFrame, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, g_refusingHook);
    ScriptedMain app;
    Run(app, "");
    UnhookWindowsHookEx(g_refusingHook);
    g_refusingHook = nullptr;

    EXPECT_EQ(nullptr, app.m_pMainWnd);
    EXPECT_EQ(nullptr, g_pOption) << "the stores were deleted";
    EXPECT_EQ(0u, app_test::ReadValue("Option\\Common", "Confirm Overwrite").Dword());
    EXPECT_EQ(0u, app_test::ReadValue("Usage\\Exit", "Dialog").Dword());
    EXPECT_TRUE(app_test::ReadValue("Setup\\Printer", "Gamma Value").exists) << "every store was written";
    const std::string helpPath = app.m_pszHelpFilePath ? app.m_pszHelpFilePath : "";
    EXPECT_NE(std::string::npos, helpPath.find("\\Halvexa.hlp")) << helpPath;
    EXPECT_EQ(imaging::kSuccess, PngInfoResult()) << "no formats were set aside";
}

TEST_F(ProgramTest, BannersBrowserIsHostedOnTheProgramsOwnSite)
{
    ScriptedMain app;
    bool isProgramsManager = false;
    bool hasBanner = false;
    bool isProgramsSite = false;
    DWORD downloadControl = 0;
    app.m_script = {
        [&](ScriptedMain& running) {
            isProgramsManager = dynamic_cast<CustomOccManager*>(AfxGetOccManager()) != nullptr;
            auto* workspace = static_cast<Workspace*>(running.GetMainFrame()->GetActiveView());
            AffiliateLink* banner = workspace->GetBanner();
            hasBanner = banner && banner->GetThread();
            if (auto* site = dynamic_cast<CustomControlSite*>(banner ? banner->m_pCtrlSite : nullptr)) {
                isProgramsSite = true;
                downloadControl = site->GetDownloadControl();
            }
            running.m_pMainWnd->PostMessage(WM_CLOSE);
        },
    };
    EXPECT_EQ(0, Run(app, "/NoSplash"));
    EXPECT_TRUE(isProgramsManager) << "containment is enabled with the program's manager before the view is made";
    EXPECT_TRUE(hasBanner);
    EXPECT_TRUE(isProgramsSite);
    EXPECT_EQ(kBrowserDownloadControl, downloadControl);
    EXPECT_EQ(nullptr, AfxGetOccManager()) << "and undone at exit";
}

TEST_F(ProgramTest, SplashShowsOverTheMainWindowUnlessTheSwitchSaysNo)
{
    struct Case {
        const char* commandLine;
        bool isSplashShown;
    };
    const Case cases[] = {{"", true}, {"/NoSplash", false}, {"-NoSplash", false}, {"NoSplash", true},
                          {"/nosplash", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        ScriptedMain app;
        bool isShown = false;
        app.m_script = {
            [&isShown](ScriptedMain& running) {
                isShown = FindSplashOver(running.m_pMainWnd->m_hWnd) != nullptr;
                running.m_pMainWnd->PostMessage(WM_CLOSE);
            },
        };
        EXPECT_EQ(0, Run(app, c.commandLine));
        EXPECT_EQ(c.isSplashShown, isShown);
    }
}

TEST_F(ProgramTest, MainWindowOpensWhereItWasClosedMaximisedToo)
{
    const CRect moved(40, 30, 40 + 700, 30 + 600);
    {
        ScriptedMain app;
        app.m_script = {[&moved](ScriptedMain& running) {
            running.m_pMainWnd->MoveWindow(&moved, TRUE);
            running.m_pMainWnd->PostMessage(WM_CLOSE);
        }};
        Run(app, "/NoSplash");
    }
    CRect reopened;
    bool wasZoomed = true;
    {
        ScriptedMain app;
        app.m_script = {[&](ScriptedMain& running) {
            running.m_pMainWnd->GetWindowRect(&reopened);
            wasZoomed = running.m_pMainWnd->IsZoomed() != FALSE;
            running.m_pMainWnd->ShowWindow(SW_MAXIMIZE);
            running.m_pMainWnd->PostMessage(WM_CLOSE);
        }};
        Run(app, "/NoSplash");
    }
    EXPECT_EQ(moved, reopened);
    EXPECT_FALSE(wasZoomed);

    bool isZoomed = false;
    CRect restored;
    {
        ScriptedMain app;
        app.m_script = {[&](ScriptedMain& running) {
            isZoomed = running.m_pMainWnd->IsZoomed() != FALSE;
            WINDOWPLACEMENT placement = {};
            placement.length = sizeof placement;
            ::GetWindowPlacement(running.m_pMainWnd->m_hWnd, &placement);
            restored = placement.rcNormalPosition;
            running.m_pMainWnd->PostMessage(WM_CLOSE);
        }};
        Run(app, "/NoSplash");
    }
    EXPECT_TRUE(isZoomed) << "shown maximised, as it was closed";
    EXPECT_EQ(moved, restored) << "the last normal rectangle is the size it restores to";
}

} // namespace
} // namespace program_start_up_test
