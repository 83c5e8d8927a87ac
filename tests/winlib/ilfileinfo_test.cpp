// iLFileInfo: reads, the kept path, the file name, and a failed read after a good one.
#include "lib/src/Win2/Wnd/iLFileInfo.h"

#include "imaging/BitmapStorage.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

class LFileInfo : public ::testing::Test {
protected:
    void SetUp() override
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        folder = std::string(base) + "ilfileinfo_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder.c_str(), nullptr);
        imaging::OwnedBitmap image;
        ASSERT_EQ(imaging::kSuccess, image.Allocate(64, 48, 24, imaging::kViewTopDown));
        std::fill(image.get().pixels, image.get().pixels + image.get().pixelBytes, 0x40);
        image.get().xResolution = image.get().yResolution = 200;
        ASSERT_EQ(imaging::kSuccess, L_SaveBitmap(Path("photo.bmp").c_str(), &image.get(), imaging::kFormatBmp, 0, 0, nullptr));
    }
    void TearDown() override
    {
        DeleteFileA(Path("photo.bmp").c_str());
        RemoveDirectoryA(folder.c_str());
    }
    std::string Path(const char* name) const { return folder + "\\" + name; }

    std::string folder;
};

TEST(LFileInfoName, FileNameIsWhatFollowsTheLastBackslash)
{
    struct Case { const char* path; const char* name; };
    const Case kCases[] = {
        {"C:\\pictures\\photo.jpg", "photo.jpg"},
        {"photo.jpg", "photo.jpg"},
        {"C:\\pictures\\", ""},
        {"\\\\server\\share\\a b.tif", "a b.tif"},
        {"", ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.path);
        iLFileInfo info;
        info.Read(c.path, 0, nullptr);
        EXPECT_STREQ(c.path, info.GetPath());
        EXPECT_STREQ(c.name, info.GetFileName());
    }
}

TEST(LFileInfoName, StartsEmptyAndNotValid)
{
    iLFileInfo info;
    EXPECT_FALSE(info.IsValid());
    EXPECT_STREQ("", info.GetPath());
}

TEST_F(LFileInfo, AGoodReadFillsTheRecord)
{
    iLFileInfo info;
    ASSERT_TRUE(info.Read(Path("photo.bmp").c_str(), 0, nullptr));
    EXPECT_TRUE(info.IsValid());
    EXPECT_EQ(imaging::kFormatBmp, info.GetInfo().format);
    EXPECT_EQ(64, info.GetInfo().width);
    EXPECT_EQ(48, info.GetInfo().height);
    EXPECT_EQ(24, info.GetInfo().bitsPerPixel);
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    ASSERT_TRUE(GetFileAttributesExA(Path("photo.bmp").c_str(), GetFileExInfoStandard, &attributes));
    EXPECT_EQ(static_cast<int>(attributes.nFileSizeLow), info.GetInfo().sizeDisk);
    EXPECT_EQ(200, info.GetInfo().xResolution);
    EXPECT_STREQ("photo.bmp", info.GetFileName());
}

TEST_F(LFileInfo, TheConstructorReadsAtOnce)
{
    const iLFileInfo info(Path("photo.bmp").c_str(), 0, nullptr);
    EXPECT_TRUE(info.IsValid());
    EXPECT_EQ(64, info.GetInfo().width);
}

// The record keeps the earlier file's values, but the path and the flag follow the failure.
TEST_F(LFileInfo, AFailedReadAfterAGoodOneIsNotValid)
{
    iLFileInfo info;
    ASSERT_TRUE(info.Read(Path("photo.bmp").c_str(), 0, nullptr));
    const std::string missing = Path("missing.jpg");
    EXPECT_FALSE(info.Read(missing.c_str(), 0, nullptr));
    EXPECT_FALSE(info.IsValid());
    EXPECT_EQ(missing, static_cast<const char*>(info.GetPath()));
    EXPECT_STREQ("missing.jpg", info.GetFileName());
    EXPECT_EQ(64, info.GetInfo().width);
}

// Reading the stored path again works, although the new path is the old one's own text.
TEST_F(LFileInfo, RereadsItsOwnPath)
{
    iLFileInfo info;
    ASSERT_TRUE(info.Read(Path("photo.bmp").c_str(), 0, nullptr));
    EXPECT_TRUE(info.Read(info.GetPath(), 0, nullptr));
    EXPECT_STREQ(Path("photo.bmp").c_str(), info.GetPath());
}

} // namespace
