// L_IgnoreFilters: files of ignored formats fail L_FileInfo and L_LoadBitmap; the others
// stay readable; saving is not affected.
#include "ImageFixtures.h"

#include "imaging/ComRef.h"

#include <windows.h>
#include <wincodec.h>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace filters_test {

using namespace imaging;
using namespace imaging_test;

namespace {

// The program's own list, as start-up passes it.
const char kProgramFilters[] = "CMP,DIC,WND,FAX,LMA,PSD,MAC,IMG,MSP,RAS,PCT,TGA,WMF,PNG,ICA,WFX,CAL,PCD,AVI,EPS,FPX,LMB,AWD,JBG";

// A 4 x 3 PNG written by the platform's encoder: the library reads PNG but never writes it.
void WritePng(const std::string& path)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        ComRef<IWICImagingFactory> factory;
        ComRef<IStream> stream;
        ComRef<IWICBitmapEncoder> encoder;
        ComRef<IWICBitmapFrameEncode> frame;
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                                  IID_PPV_ARGS(&factory)));
        ASSERT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream));
        ASSERT_HRESULT_SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder));
        ASSERT_HRESULT_SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache));
        ASSERT_HRESULT_SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr));
        ASSERT_HRESULT_SUCCEEDED(frame->Initialize(nullptr));
        ASSERT_HRESULT_SUCCEEDED(frame->SetSize(4, 3));
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        ASSERT_HRESULT_SUCCEEDED(frame->SetPixelFormat(&format));
        BYTE pixels[3][12];
        for (int y = 0; y < 3; ++y)
            for (int i = 0; i < 12; ++i)
                pixels[y][i] = static_cast<BYTE>(y * 40 + i * 10);
        ASSERT_HRESULT_SUCCEEDED(frame->WritePixels(3, 12, sizeof pixels, &pixels[0][0]));
        ASSERT_HRESULT_SUCCEEDED(frame->Commit());
        ASSERT_HRESULT_SUCCEEDED(encoder->Commit());
        HGLOBAL memory = nullptr;
        ASSERT_HRESULT_SUCCEEDED(GetHGlobalFromStream(stream.Get(), &memory));
        STATSTG stat{};
        ASSERT_HRESULT_SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME));
        const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(memory));
        WriteBytes(path, Bytes(bytes, bytes + stat.cbSize.QuadPart));
        GlobalUnlock(memory);
    }
    CoUninitialize();
}

class IgnoredFilters : public ::testing::Test {
protected:
    void SetUp() override
    {
        WritePng(png);
        TestBitmap image;
        MakeBitmap(image, 4, 3, 24, FewColours);
        ASSERT_EQ(kSuccess, L_SaveBitmap(bmp.c_str(), &image.handle, kFormatBmp, 0, 0, nullptr));
    }
    void TearDown() override { L_IgnoreFilters(nullptr); }

    int Info(const std::string& path)
    {
        FileInfo info{};
        return L_FileInfo(path.c_str(), &info, 0, nullptr);
    }
    int Load(const std::string& path)
    {
        TestBitmap bitmap;
        return L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr);
    }

    ScratchFolder folder;
    const std::string png = folder.Path("picture.png");
    const std::string bmp = folder.Path("picture.bmp");
};

TEST_F(IgnoredFilters, PngIsReadUntilTheProgramsListIgnoresIt)
{
    FileInfo info{};
    ASSERT_EQ(kSuccess, L_FileInfo(png.c_str(), &info, 0, nullptr));
    EXPECT_EQ(kFormatPng, info.format);
    EXPECT_EQ(4, info.width);
    EXPECT_EQ(kSuccess, Load(png));

    EXPECT_EQ(kSuccess, L_IgnoreFilters(kProgramFilters));
    EXPECT_EQ(kErrorFilterIgnored, Info(png));
    EXPECT_EQ(kErrorFilterIgnored, Load(png));
    EXPECT_EQ(kSuccess, Info(bmp));
    EXPECT_EQ(kSuccess, Load(bmp));
}

// The format is known by the file's signature, so a renamed file is ignored just the same.
TEST_F(IgnoredFilters, ARenamedFileIsKnownByItsContents)
{
    const std::string disguised = folder.Path("picture.bmp.jpg");
    WriteBytes(disguised, ReadBytes(png));
    ASSERT_EQ(kSuccess, L_IgnoreFilters(kProgramFilters));
    EXPECT_EQ(kErrorFilterIgnored, Load(disguised));
}

TEST_F(IgnoredFilters, NamesAreTrimmedAndCaseDoesNotMatter)
{
    struct Case { const char* why; const char* list; bool isBmpIgnored; };
    const Case kCases[] = {
        {"lower case with blanks", " png , bmp ", true},
        {"unknown names are passed over", "XYZ,,BMP", true},
        {"a name is not a prefix", "BM,BMPX", false},
        {"an empty list clears", "", false},
        {"null clears", nullptr, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        L_IgnoreFilters("BMP");
        EXPECT_EQ(kSuccess, L_IgnoreFilters(c.list));
        EXPECT_EQ(c.isBmpIgnored ? kErrorFilterIgnored : kSuccess, Load(bmp));
    }
}

TEST_F(IgnoredFilters, SavingIsNotAffected)
{
    ASSERT_EQ(kSuccess, L_IgnoreFilters("BMP"));
    TestBitmap image;
    MakeBitmap(image, 4, 3, 24, FewColours);
    EXPECT_EQ(kSuccess, L_SaveBitmap(folder.Path("again.bmp").c_str(), &image.handle, kFormatBmp, 0, 0, nullptr));
}

} // namespace

} // namespace filters_test
