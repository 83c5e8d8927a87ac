// iPicture: loading from the program's resources, from files and from memory (a GIF
// written by WIC), measuring and drawing every pixel of the picture, and every way a load
// fails: missing, damaged or empty data, a file it cannot open, and global memory that
// cannot be had. A failed load is no picture, never a crash.
#include "lib/src/Win2/Wnd/iPicture.h"

#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <wincodec.h>

#include <cstring>
#include <thread>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using winlib_test::ExpectPixels;
using winlib_test::kPaper;
using winlib_test::PaperCanvas;
using winlib_test::SplashResourceBytes;
using winlib_test::TempPath;
using winlib_test::WriteBytes;

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);

HGLOBAL BlockOf(const std::vector<BYTE>& bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

// A GIF of cx x cy written by WIC: the left half red, the right half blue, and the
// bottom row green.
std::vector<BYTE> WicGif(UINT cx, UINT cy)
{
    std::vector<BYTE> result;
    IWICImagingFactory* factory = nullptr;
    IStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    IWICPalette* palette = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatGif, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(cx, cy)) && SUCCEEDED(factory->CreatePalette(&palette))) {
        WICColor colours[4] = {0xFFFF0000, 0xFF0000FF, 0xFF00FF00, 0xFFFFFFFF};
        WICPixelFormatGUID format = GUID_WICPixelFormat8bppIndexed;
        std::vector<BYTE> indices(cx * cy);
        for (UINT y = 0; y < cy; ++y)
            for (UINT x = 0; x < cx; ++x)
                indices[y * cx + x] = y == cy - 1 ? 2 : (x < cx / 2 ? 0 : 1);
        LARGE_INTEGER start = {};
        STATSTG stat = {};
        HGLOBAL memory = nullptr;
        if (SUCCEEDED(palette->InitializeCustom(colours, 4)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
            SUCCEEDED(frame->SetPalette(palette)) &&
            SUCCEEDED(frame->WritePixels(cy, cx, cx * cy, indices.data())) && SUCCEEDED(frame->Commit()) &&
            SUCCEEDED(encoder->Commit()) && SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) &&
            SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && SUCCEEDED(GetHGlobalFromStream(stream, &memory))) {
            const auto* bytes = static_cast<const BYTE*>(GlobalLock(memory));
            result.assign(bytes, bytes + stat.cbSize.QuadPart);
            GlobalUnlock(memory);
        }
    }
    for (IUnknown* object : std::initializer_list<IUnknown*>{palette, frame, encoder, stream, factory})
        if (object)
            object->Release();
    return result;
}

int g_allocations = 0;

HGLOBAL WINAPI RefusingAlloc(UINT, SIZE_T)
{
    ++g_allocations;
    return nullptr;
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override { m_comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
    void TearDown() override
    {
        if (m_comReady)
            CoUninitialize();
    }
    bool m_comReady = false;
};

} // namespace

TEST_F(PictureTest, ResourcePictureMeasuresAndDrawsEveryPixel)
{
    const iPicture picture(nullptr, "SPLASH", nullptr);
    ASSERT_TRUE(picture.IsValid());
    // 8 x 6 pixels at the DC's resolution, in 0.01 mm.
    PaperCanvas canvas(12, 10);
    const int dpiX = GetDeviceCaps(canvas.get(), LOGPIXELSX);
    const int dpiY = GetDeviceCaps(canvas.get(), LOGPIXELSY);
    EXPECT_NEAR(8.0 * 2540 / dpiX, picture.GetWidth(), 1.0);
    EXPECT_NEAR(6.0 * 2540 / dpiY, picture.GetHeight(), 1.0);
    const SIZE pixels = picture.GetSizeInPixels(canvas.get());
    EXPECT_EQ(8, pixels.cx);
    EXPECT_EQ(6, pixels.cy);

    ASSERT_TRUE(picture.Render(canvas.get()));
    ExpectPixels(canvas, {
        {"first pixel", 0, 0, kBlue},
        {"last pixel", 7, 5, kGreen},
        {"inside", 4, 3, kRed},
        {"last column, first row", 7, 0, kRed},
        {"first column, last row", 0, 5, kRed},
        {"right of the picture", 8, 0, kPaper},
        {"below the picture", 0, 6, kPaper},
    });
}

TEST_F(PictureTest, ResourceModuleAndTypeCanBeNamed)
{
    const iPicture picture(GetModuleHandleA(nullptr), "Splash", reinterpret_cast<LPCSTR>(RT_RCDATA));
    EXPECT_TRUE(picture.IsValid()) << "resource names are not case-sensitive";
}

TEST_F(PictureTest, DataThatIsNoPictureLeavesTheObjectEmpty)
{
    struct Case {
        const char* why;
        const char* name;
        LPCSTR type;
    };
    const Case kCases[] = {
        {"no such resource", "NOSUCHPICTURE", nullptr},
        {"a GIF header and nothing else", "BROKEN", nullptr},
        {"no bytes at all", "EMPTY", nullptr},
        {"the right name under another type", "SPLASH", reinterpret_cast<LPCSTR>(RT_BITMAP)},
    };
    PaperCanvas canvas(4, 4);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const iPicture picture(nullptr, c.name, c.type);
        EXPECT_FALSE(picture.IsValid());
        EXPECT_FALSE(picture.Render(canvas.get()));
        EXPECT_EQ(kPaper, canvas.At(0, 0));
    }
}

TEST_F(PictureTest, LoadsFromAFileAndRefusesFilesThatAreNoPicture)
{
    const std::vector<BYTE> gif = SplashResourceBytes();
    const std::string good = TempPath("ipicture_good.gif");
    const std::string empty = TempPath("ipicture_empty.gif");
    const std::string truncated = TempPath("ipicture_truncated.gif");
    WriteBytes(good, gif);
    WriteBytes(empty, {});
    WriteBytes(truncated, std::vector<BYTE>(gif.begin(), gif.begin() + 30));

    const iPicture fromFile(good.c_str());
    ASSERT_TRUE(fromFile.IsValid());
    PaperCanvas canvas(8, 6);
    ASSERT_TRUE(fromFile.Render(canvas.get()));
    EXPECT_EQ(kGreen, canvas.At(7, 5));

    struct Case {
        const char* why;
        std::string path;
    };
    const Case kCases[] = {
        {"missing file", TempPath("ipicture_missing.gif")},
        {"empty file: its zero-sized block never locks", empty},
        {"file cut short", truncated},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_FALSE(iPicture(c.path.c_str()).IsValid());
    }

    // Opened without sharing: a file someone else has open cannot be read.
    HANDLE held = CreateFileA(good.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(iPicture(good.c_str()).IsValid());
    CloseHandle(held);

    for (const std::string& path : {good, empty, truncated})
        DeleteFileA(path.c_str());
}

TEST_F(PictureTest, LoadsAGifWrittenByWicFromMemory)
{
    const std::vector<BYTE> gif = WicGif(40, 30);
    ASSERT_FALSE(gif.empty());
    iPicture picture(nullptr, "NOSUCHPICTURE", nullptr);
    ASSERT_FALSE(picture.IsValid());
    ASSERT_TRUE(picture.LoadFromMemory(BlockOf(gif), static_cast<DWORD>(gif.size())));
    PaperCanvas canvas(42, 32);
    const SIZE pixels = picture.GetSizeInPixels(canvas.get());
    EXPECT_EQ(40, pixels.cx);
    EXPECT_EQ(30, pixels.cy);
    ASSERT_TRUE(picture.Render(canvas.get()));
    EXPECT_EQ(kRed, canvas.At(0, 0));
    EXPECT_EQ(kRed, canvas.At(19, 28));
    EXPECT_EQ(kBlue, canvas.At(20, 0));
    EXPECT_EQ(kBlue, canvas.At(39, 28));
    EXPECT_EQ(kGreen, canvas.At(0, 29));
    EXPECT_EQ(kGreen, canvas.At(39, 29));
    EXPECT_EQ(kPaper, canvas.At(40, 29));
    EXPECT_EQ(kPaper, canvas.At(39, 30));
}

TEST_F(PictureTest, SecondLoadReplacesThePicture)
{
    iPicture picture(nullptr, "SPLASH", nullptr);
    ASSERT_TRUE(picture.IsValid());
    const std::vector<BYTE> gif = WicGif(40, 30);
    ASSERT_TRUE(picture.LoadFromMemory(BlockOf(gif), static_cast<DWORD>(gif.size())));
    PaperCanvas canvas(1, 1);
    EXPECT_EQ(40, picture.GetSizeInPixels(canvas.get()).cx);
    // A failed load leaves no picture rather than the old one.
    const std::vector<BYTE> damaged(gif.begin(), gif.begin() + 12);
    EXPECT_FALSE(picture.LoadFromMemory(BlockOf(damaged), static_cast<DWORD>(damaged.size())));
    EXPECT_FALSE(picture.IsValid());
}

TEST_F(PictureTest, MemoryLoadFreesItsBlockOnEveryPath)
{
    const std::vector<BYTE> gif = SplashResourceBytes();
    iPicture picture(nullptr, "NOSUCHPICTURE", nullptr);
    EXPECT_FALSE(picture.LoadFromMemory(nullptr, 10));

    HGLOBAL loaded = BlockOf(gif);
    ASSERT_TRUE(picture.LoadFromMemory(loaded, static_cast<DWORD>(gif.size())));
    EXPECT_EQ(static_cast<UINT>(GMEM_INVALID_HANDLE), GlobalFlags(loaded));

    HGLOBAL refused = BlockOf(std::vector<BYTE>(gif.begin(), gif.begin() + 10));
    EXPECT_FALSE(picture.LoadFromMemory(refused, 10));
    EXPECT_EQ(static_cast<UINT>(GMEM_INVALID_HANDLE), GlobalFlags(refused));
}

TEST_F(PictureTest, GlobalMemoryThatCannotBeHadMeansNoPicture)
{
    const std::string path = TempPath("ipicture_alloc.gif");
    WriteBytes(path, SplashResourceBytes());
    g_allocations = 0;
    const iPicture::GlobalAllocFunction previous = iPicture::SetGlobalAlloc(&RefusingAlloc);
    const iPicture fromResource(nullptr, "SPLASH", nullptr);
    const iPicture fromFile(path.c_str());
    iPicture::SetGlobalAlloc(previous);

    EXPECT_EQ(2, g_allocations) << "both loaders ask for a block";
    EXPECT_FALSE(fromResource.IsValid());
    EXPECT_FALSE(fromFile.IsValid());
    EXPECT_TRUE(iPicture(path.c_str()).IsValid()) << "the usual allocator is back";
    DeleteFileA(path.c_str());
}

TEST_F(PictureTest, LoadsOnAThreadThatHasNotStartedCom)
{
    bool isValid = false;
    COLORREF last = 0;
    std::thread worker([&] {
        const iPicture picture(nullptr, "SPLASH", nullptr);
        isValid = picture.IsValid() != FALSE;
        PaperCanvas canvas(8, 6);
        if (picture.Render(canvas.get()))
            last = canvas.At(7, 5);
    });
    worker.join();
    EXPECT_TRUE(isValid);
    EXPECT_EQ(kGreen, last);
}
