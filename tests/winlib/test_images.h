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
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

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

// The files the imaging library cannot read that a user may still pick, each with the
// words the program tells the user why.
enum class Unreadable { kEmpty, kNoise, kCutJpeg, kHugeBmp };

struct UnreadableFile {
    const char* name;
    Unreadable kind;
    const char* reason;
};

inline const UnreadableFile kUnreadableFiles[] = {
    {"empty.bmp", Unreadable::kEmpty, "The file is not in a format this program reads."},
    {"noise.jpg", Unreadable::kNoise, "The file is not in a format this program reads."},
    {"cut.jpg", Unreadable::kCutJpeg, "The file is damaged or incomplete."},
    {"wide.bmp", Unreadable::kHugeBmp, "The file is damaged or incomplete."},
};

inline bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A BMP whose header claims 50000 x 50000 pixels of 24 bits and holds 16 bytes of them.
inline std::vector<std::uint8_t> HugeBmpHeader()
{
    std::vector<std::uint8_t> bytes(14 + 40 + 16, 0);
    const auto put = [&bytes](size_t at, std::uint32_t value, size_t size) { std::memcpy(&bytes[at], &value, size); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, static_cast<std::uint32_t>(bytes.size()), 4);  // file size
    put(10, 14 + 40, 4);                                  // where the pixels start
    put(14, 40, 4);                                       // info header size
    put(18, 50000, 4);                                    // width
    put(22, 50000, 4);                                    // height, bottom-up
    put(26, 1, 2);                                        // planes
    put(28, 24, 2);                                       // bits per pixel
    return bytes;
}

// Writes the kind of unreadable file at path; false when it could not be made.
inline bool MakeUnreadable(const std::string& path, Unreadable kind)
{
    switch (kind) {
    case Unreadable::kEmpty:
        return WriteBytes(path, {});
    case Unreadable::kNoise: {
        std::vector<std::uint8_t> noise(300);
        for (size_t i = 0; i < noise.size(); ++i)
            noise[i] = static_cast<std::uint8_t>(i * 131 + 7);
        return WriteBytes(path, noise);
    }
    case Unreadable::kCutJpeg: {
        // Detail in every block, so that the cut falls inside the coded scan.
        const ColourAt detail = [](int x, int y) { return RGB((x * 37 + y * 11) % 256, (x * y) % 256, (x ^ y) * 5 % 256); };
        if (SaveImage(path, 96, 64, imaging::kFormatJpeg, 72, detail) != imaging::kSuccess)
            return false;
        std::vector<std::uint8_t> bytes = ReadBytes(path);
        bytes.resize(bytes.size() / 2);
        return WriteBytes(path, bytes);
    }
    case Unreadable::kHugeBmp:
        return WriteBytes(path, HugeBmpHeader());
    }
    return false;
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
