// What the previews share, which run on a real display and keep pictures of what it shows:
// part of the screen saved as a 24-bit BMP file, and the thread's messages run for a while.
// Header only: the toolkit's and the window library's previews both use it.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace preview_support {

// The screen's pixels in the area (screen coordinates), written as a bottom-up 24-bit BMP
// file; false when the picture could not be made or written.
[[nodiscard]] inline bool SaveScreenPicture(const RECT& area, const std::string& path)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
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
    bool isSaved = false;
    if (picture) {
        HGDIOBJ previous = ::SelectObject(memory, picture);
        ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        ::GdiFlush();
        ::SelectObject(memory, previous);
        const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
        const DWORD size = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER header = {};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof header + sizeof info.bmiHeader;
        header.bfSize = header.bfOffBits + size;
        if (FILE* file = std::fopen(path.c_str(), "wb")) {
            isSaved = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                      std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
                      std::fwrite(bits, 1, size, file) == size;
            isSaved = std::fclose(file) == 0 && isSaved;
        }
        ::DeleteObject(picture);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return isSaved;
}

// The window as the screen shows it.
[[nodiscard]] inline bool SaveWindowPicture(HWND window, const std::string& path)
{
    RECT rect;
    return ::GetWindowRect(window, &rect) && SaveScreenPicture(rect, path);
}

// Runs the thread's messages for a while: on a real display, what a window shows can be
// read from the screen only once it has painted there.
inline void PumpFor(DWORD milliseconds)
{
    const DWORD end = ::GetTickCount() + milliseconds;
    while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(10);
    }
}

} // namespace preview_support
