// Shows the shell folder tree and file list side by side on a real display, linked both
// ways as the workspace links them, and saves a picture of each state into the folder
// given on the command line: a typed path several folders deep selected, then only the
// .jpg files after the filter is set, then the list refilled after a file was added, with
// its focus and top item kept. The folders it shows are made in the temporary folder and
// removed at the end.
#include "lib/src/Win2/Wnd/iShellListCtrl.h"
#include "lib/src/Win2/Wnd/iShellTreeCtrl.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void Pump(DWORD milliseconds)
{
    const DWORD end = ::GetTickCount() + milliseconds;
    while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::Sleep(20);
    }
}

// The window as the screen shows it, saved as a 24-bit BMP.
void SaveWindowPicture(HWND window, const std::string& path)
{
    RECT rect;
    ::GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP picture = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, picture);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, old);
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + rowBytes * static_cast<DWORD>(height);
    if (FILE* out = fopen(path.c_str(), "wb")) {
        fwrite(&file, sizeof file, 1, out);
        fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        fwrite(bits, rowBytes, static_cast<size_t>(height), out);
        fclose(out);
    }
    ::DeleteObject(picture);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileA(path.c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(folder.c_str());
}

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
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof temp, temp);
    char longTemp[MAX_PATH] = {};
    ::GetLongPathNameA(temp, longTemp, sizeof longTemp);
    const std::string root = std::string(longTemp) + "Sorvanta preview";
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
    Pump(1500);

    tree->SelectPath(day.c_str());
    Pump(1500);
    SaveWindowPicture(container.m_hWnd, pictures + "\\1-typed-path.bmp");

    list->AddExtension("*.jpg");
    list->Refresh();
    Pump(1500);
    SaveWindowPicture(container.m_hWnd, pictures + "\\2-jpg-only.bmp");

    list->ClearExtensions();
    list->Refresh();
    list->SetFocus();
    list->SetItemFocus(20, TRUE);
    CRect row;
    list->GetItemRect(0, &row, LVIR_BOUNDS);
    list->Scroll(CSize(0, row.Height() * (12 - list->GetTopIndex())));
    Pump(1500);
    SaveWindowPicture(container.m_hWnd, pictures + "\\3-before-save.bmp");
    MakeFile(day + "\\beach 20 saved.jpg", 2500, 2004);
    list->RefreshKeepSelection();
    Pump(1500);
    SaveWindowPicture(container.m_hWnd, pictures + "\\4-refilled-after-save.bmp");

    delete list;
    delete tree;
    container.DestroyWindow();
    ::SetCurrentDirectoryA(longTemp);
    RemoveTree(root);
    ::OleUninitialize();
    return 0;
}
