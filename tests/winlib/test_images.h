// Image files made in code for the picture tests: a 24-bit image whose pixels a function
// gives, saved through the imaging library in any format it writes, in a scratch folder
// of the test's own. Header only: the window library's and the application's test
// programs both use it.
#pragma once

#include "imaging/BitmapStorage.h"
#include "imaging/ImagingApi.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

namespace test_images {

using ColourAt = std::function<COLORREF(int x, int y)>;

// The library's result of saving a width x height image at the resolution (pixels per
// inch) with colour(x, y) at each pixel.
inline int SaveImage(const std::string& path, int width, int height, int format, int resolution,
                     const ColourAt& colour)
{
    imaging::OwnedBitmap image;
    const int allocated = image.Allocate(width, height, 24, imaging::kViewTopDown);
    if (allocated != imaging::kSuccess)
        return allocated;
    const imaging::PixelBuffer rows = imaging::TopDownView(image.get());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            std::uint8_t* p = rows.data + y * rows.stride + 3 * x;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    image.get().xResolution = image.get().yResolution = resolution;
    return L_SaveBitmap(path.c_str(), &image.get(), format, 0, 0, nullptr);
}

inline ColourAt Plain(COLORREF colour)
{
    return [colour](int, int) { return colour; };
}

// A folder below the temporary folder named for the running test, emptied and removed
// when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const char* prefix)
    {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::string(base) + prefix + "_" + (test ? test->name() : "any");
        for (char& c : m_path)
            if (c == '/')
                c = '_';
        Empty();
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~ScratchFolder()
    {
        Empty();
        RemoveDirectoryA(m_path.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string Path(const std::string& name) const { return m_path + "\\" + name; }

private:
    // Files only: the tests make no folders inside. Read-only files are made writable first.
    void Empty() const
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((m_path + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            const std::string file = m_path + "\\" + found.cFileName;
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }

    std::string m_path;
};

} // namespace test_images
