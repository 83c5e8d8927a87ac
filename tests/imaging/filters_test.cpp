// L_IgnoreFilters: files of ignored formats fail L_FileInfo and L_LoadBitmap; the others
// stay readable; saving is not affected.
#include "ImageFixtures.h"

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace filters_test {

using namespace imaging;
using namespace imaging_test;

namespace {

// The program's own list, as start-up passes it.
const char kProgramFilters[] = "CMP,DIC,WND,FAX,LMA,PSD,MAC,IMG,MSP,RAS,PCT,TGA,WMF,PNG,ICA,WFX,CAL,PCD,AVI,EPS,FPX,LMB,AWD,JBG";

// A 4 x 3 colour PNG: the library reads PNG but never writes it.
void WritePng(const std::string& path)
{
    Bytes scanlines;
    for (int y = 0; y < 3; ++y) {
        scanlines.push_back(0);
        for (int i = 0; i < 12; ++i)
            scanlines.push_back(static_cast<std::uint8_t>(y * 40 + i * 10));
    }
    WriteBytes(path, MakePng(4, 3, 8, 2, scanlines));
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
