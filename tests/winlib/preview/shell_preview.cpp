// Shows the shell folder tree and file list side by side on a real display, linked both
// ways as the workspace links them, and saves a picture of each state into the folder
// given on the command line: a typed path several folders deep selected, then only the
// .jpg files after the filter is set, then the list refilled after a file was added, with
// its focus and top item kept. The folders it shows are made in the temporary folder and
// removed at the end.
#include "lib/src/Win2/Wnd/iShellListCtrl.h"
#include "lib/src/Win2/Wnd/iShellTreeCtrl.h"
#include "lib/src/Win2/Wnd/iWnd.h"
#include "tests/framework/preview_support.h"
#include "tests/winlib/scratch_folder.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using preview_support::PumpFor;
using shell_test::LongTempFolder;
using shell_test::RemoveTree;

void MakeFile(const std::string& path, unsigned long long bytes, WORD year)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(bytes);
    ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    ::SetEndOfFile(file);
    SYSTEMTIME when = {year, 6, 0, 15, 14, 25, 0, 0};
    FILETIME written;
    ::SystemTimeToFileTime(&when, &written);
    ::SetFileTime(file, nullptr, nullptr, &written);
    ::CloseHandle(file);
}

} // namespace

IID g_iidShellFolder = IID_IShellFolder;
IID g_iidContextMenu = IID_IContextMenu;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    const std::string pictures = commandLine && *commandLine ? commandLine : ".";
    ::OleInitialize(nullptr);
    const std::string temp = LongTempFolder();
    const std::string root = temp + "Sorvanta preview";
    RemoveTree(root);
    std::string day = root;
    for (const char* folder : {"", "\\Photos", "\\2004", "\\Holiday", "\\Day one"}) {
        day += folder;
        ::CreateDirectoryA(day.c_str(), nullptr);
    }
    ::CreateDirectoryA((root + "\\Photos\\2004\\Holiday\\Day two").c_str(), nullptr);
    ::CreateDirectoryA((root + "\\Photos\\2005").c_str(), nullptr);
    const char* kinds[] = {"jpg", "txt", "JPG", "bmp", "tif", "gif"};
    for (int index = 0; index < 36; ++index) {
        char name[64];
        snprintf(name, sizeof name, "\\beach %02d.%s", index, kinds[index % 6]);
        MakeFile(day + name, 1500ull * static_cast<unsigned long long>(index * index + 1),
                 static_cast<WORD>(2004 + index % 3));
    }
    MakeFile(day + "\\empty note.txt", 0, 2004);
    MakeFile(day + "\\panorama.tif", 5000000000ull, 2040);
    MakeFile(day + "\\old scan.bmp", 4096, 1969);

    iWnd container(nullptr, CRect(20, 20, 1000, 540), WS_OVERLAPPEDWINDOW | WS_VISIBLE, "Shell browsing", 0, 0,
                   nullptr);
    auto* tree = new iShellTreeCtrl(&container, CRect(4, 4, 300, 480),
                                    WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, nullptr, 1,
                                    WS_EX_CLIENTEDGE, nullptr);
    auto* list = new iShellListCtrl(&container, CRect(306, 4, 960, 480), WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL,
                                    nullptr, 2, WS_EX_CLIENTEDGE, nullptr);
    tree->SetListCtrl(list);
    tree->SetEnumFlags(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, true);
    list->SetTreeCtrl(tree);
    list->SetFullRowSelect(TRUE);
    list->m_enumFlags = SHCONTF_NONFOLDERS;
    PumpFor(1500);

    auto keepPicture = [&](const char* name) {
        if (!preview_support::SaveWindowPicture(container.m_hWnd, pictures + "\\" + name + ".bmp"))
            fprintf(stderr, "shell_preview: the picture %s was not saved\n", name);
    };
    tree->SelectPath(day.c_str());
    PumpFor(1500);
    keepPicture("1-typed-path");

    list->AddExtension("*.jpg");
    list->Refresh();
    PumpFor(1500);
    keepPicture("2-jpg-only");

    list->ClearExtensions();
    list->Refresh();
    list->SetFocus();
    list->SetItemFocus(20, TRUE);
    CRect row;
    list->GetItemRect(0, &row, LVIR_BOUNDS);
    list->Scroll(CSize(0, row.Height() * (12 - list->GetTopIndex())));
    PumpFor(1500);
    keepPicture("3-before-save");
    MakeFile(day + "\\beach 20 saved.jpg", 2500, 2004);
    list->RefreshKeepSelection();
    PumpFor(1500);
    keepPicture("4-refilled-after-save");

    delete list;
    delete tree;
    container.DestroyWindow();
    ::SetCurrentDirectoryA(temp.c_str());
    RemoveTree(root);
    ::OleUninitialize();
    return 0;
}
