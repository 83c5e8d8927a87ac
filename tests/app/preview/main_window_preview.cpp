// Shows the program's own main window on a real display for a look (not a test), in the
// toolkit's classic or XP look, with an image picked in the Files list and opened as a
// user would, then closes it after the seconds given:
//   main_window_preview.exe [/classic] [/open NAME] [/seconds N]
// NAME is a file in the "Default Open In" folder of the settings. The program itself
// always takes the XP look; the classic look is the toolkit's other one.
#include "app/Main.h"
#include "app/Workspace.h"

#include "lib/src/Win2/Wnd/iShellListCtrl.h"
#include "toolkit/foundation/QZAuxData.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct PreviewArguments {
    bool isClassic = false;
    std::string fileName;
    int seconds = 30;
};

PreviewArguments ParsePreviewArguments(const char* commandLine)
{
    PreviewArguments arguments;
    std::vector<std::string> words;
    std::string word;
    for (const char* c = commandLine ? commandLine : ""; ; ++c) {
        if (*c == ' ' || *c == '\0') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
            if (*c == '\0')
                break;
        } else {
            word += *c;
        }
    }
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "/classic")
            arguments.isClassic = true;
        else if (words[i] == "/open" && i + 1 < words.size())
            arguments.fileName = words[++i];
        else if (words[i] == "/seconds" && i + 1 < words.size())
            arguments.seconds = std::atoi(words[++i].c_str());
    }
    return arguments;
}

void CALLBACK CloseMainWindow(HWND window, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(window, timer);
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// Selects the file's row in the Files list, as a click does, and opens it.
void OpenInList(Workspace& workspace, const std::string& fileName)
{
    iShellListCtrl& list = *workspace.GetFileList();
    for (int item = 0; item < list.GetItemCount(); ++item) {
        const CString shown = list.GetItemText(item, iShellListCtrl::kNameColumn);
        if (fileName.compare(0, static_cast<size_t>(shown.GetLength()), shown) == 0) {
            list.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            list.EnsureVisible(item, FALSE);
            workspace.OpenSelectedFile();
            return;
        }
    }
}

class PreviewMain : public Main {
public:
    BOOL InitInstance() override
    {
        const PreviewArguments arguments = ParsePreviewArguments(m_lpCmdLine);
        static char programArguments[] = "/NoSplash";
        m_lpCmdLine = programArguments;
        if (!Main::InitInstance())
            return FALSE;
        qzAfxData.xpLook = arguments.isClassic ? 0 : 1;
        auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
        auto* workspace = frame ? dynamic_cast<Workspace*>(frame->GetActiveView()) : nullptr;
        if (workspace && !arguments.fileName.empty())
            OpenInList(*workspace, arguments.fileName);
        m_pMainWnd->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        SetTimer(m_pMainWnd->m_hWnd, 1, static_cast<UINT>(arguments.seconds > 0 ? arguments.seconds : 30) * 1000,
                 CloseMainWindow);
        return TRUE;
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    PreviewMain app;
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
