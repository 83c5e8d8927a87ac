// The status callback: during load, save, resize and sharpen it hears percentages rising
// from 0 and exactly one final 100; answering 0 cancels with kErrorCancelled and leaves
// the bitmap and the target file as they were.
#include "ImageFixtures.h"

#include "imaging/BmpCodec.h"
#include "imaging/GifCodec.h"
#include "imaging/JpegCodec.h"
#include "imaging/PcxCodec.h"
#include "imaging/StatusProgress.h"
#include "imaging/TiffCodec.h"

#include <functional>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace progress_test {

using namespace imaging;
using namespace imaging_test;

namespace {

class Progress : public ::testing::Test {
protected:
    void SetUp() override { MakeBitmap(image, 300, 200, 24, PhotoLike); }
    std::string Saved(int format)
    {
        const std::string path = folder.Path("saved" + std::to_string(format));
        EXPECT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &image.handle, format, 0, 0, nullptr));
        return path;
    }
    ScratchFolder folder;
    TestBitmap image;
};

TEST_F(Progress, EveryOperationRisesFromZeroToOneFinalHundred)
{
    struct Case { const char* why; std::function<int()> run; };
    const std::string jpeg = Saved(kFormatJpeg), pcx = Saved(kFormatPcx), tif = Saved(kFormatTif),
                      gif = Saved(kFormatGif);
    TestBitmap loaded;
    const auto load = [&](const std::string& path) {
        L_FreeBitmap(&loaded.handle);
        return L_LoadBitmap(path.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr);
    };
    const Case kCases[] = {
        {"load TIFF", [&] { return load(tif); }},
        {"load GIF", [&] { return load(gif); }},
        {"save JPEG", [&] { return L_SaveBitmap(folder.Path("a.jpg").c_str(), &image.handle, kFormatJpeg, 0, 2, nullptr); }},
        {"load JPEG", [&] { L_FreeBitmap(&loaded.handle);
             return L_LoadBitmap(jpeg.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr); }},
        {"load PCX", [&] { L_FreeBitmap(&loaded.handle);
             return L_LoadBitmap(pcx.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr); }},
        {"save TIFF", [&] { return L_SaveBitmap(folder.Path("a.tif").c_str(), &image.handle, kFormatTif, 0, 0, nullptr); }},
        {"save GIF", [&] { return L_SaveBitmap(folder.Path("a.gif").c_str(), &image.handle, kFormatGif, 0, 0, nullptr); }},
        {"save PCX", [&] { return L_SaveBitmap(folder.Path("a.pcx").c_str(), &image.handle, kFormatPcx, 0, 0, nullptr); }},
        {"resize", [&] { return L_SizeBitmap(&image.handle, 600, 400, kSizeBicubic); }},
        {"sharpen", [&] { return L_SharpenBitmap(&image.handle, 750); }},
        {"soften", [&] { return L_SharpenBitmap(&image.handle, -1000); }},
        {"sharpen by 0", [&] { return L_SharpenBitmap(&image.handle, 0); }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        StatusRecorder recorder;
        ASSERT_EQ(kSuccess, c.run());
        EXPECT_TRUE(IsCompleteProgress(recorder.Reports()));
    }
}

// Operations that fail after they started still end with their one 100, so a status bar
// counting passes stays in step; those refused at once report nothing.
TEST_F(Progress, FailuresEndWithOneHundredOnceStarted)
{
    const std::string pcx = Saved(kFormatPcx);
    Bytes cut = ReadBytes(pcx);
    cut.resize(cut.size() / 2);
    WriteBytes(pcx, cut);
    TestBitmap loaded;
    {
        StatusRecorder recorder;
        EXPECT_EQ(kErrorFileCorrupt, L_LoadBitmap(pcx.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr));
        EXPECT_TRUE(IsCompleteProgress(recorder.Reports()));
    }
    {
        StatusRecorder recorder;
        EXPECT_EQ(kErrorFileOpen, L_LoadBitmap(folder.Path("missing").c_str(), &loaded.handle, 0, kColorOrderBgr,
                                               nullptr, nullptr));
        EXPECT_EQ(kErrorInvalidParameter, L_SizeBitmap(&image.handle, 0, 10, kSizeBicubic));
        EXPECT_TRUE(recorder.Reports().empty());
    }
}

TEST_F(Progress, CancellingLeavesTheBitmapAsItWas)
{
    struct Case { const char* why; int cancelAt; std::function<int()> run; };
    const std::string tif = Saved(kFormatTif), jpeg = Saved(kFormatJpeg), gif = Saved(kFormatGif);
    const Case kCases[] = {
        {"load, at the first report", 0,
         [&] { return L_LoadBitmap(tif.c_str(), &image.handle, 0, kColorOrderBgr, nullptr, nullptr); }},
        {"load, half-way", 1, [&] { return L_LoadBitmap(tif.c_str(), &image.handle, 0, kColorOrderBgr, nullptr, nullptr); }},
        {"load JPEG, half-way", 1,
         [&] { return L_LoadBitmap(jpeg.c_str(), &image.handle, 0, kColorOrderBgr, nullptr, nullptr); }},
        {"load GIF, half-way", 1, [&] { return L_LoadBitmap(gif.c_str(), &image.handle, 0, kColorOrderBgr, nullptr, nullptr); }},
        {"resize, half-way", 1, [&] { return L_SizeBitmap(&image.handle, 900, 600, kSizeBilinear); }},
        {"sharpen, half-way", 1, [&] { return L_SharpenBitmap(&image.handle, 750); }},
        {"soften, at the first report", 0, [&] { return L_SharpenBitmap(&image.handle, -1000); }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const BitmapSnapshot before(image.handle);
        StatusRecorder recorder(c.cancelAt);
        EXPECT_EQ(kErrorCancelled, c.run());
        EXPECT_TRUE(before.Matches(image.handle));
        // The answer 0 was the last thing the callback heard: no 100 after a cancel.
        ASSERT_FALSE(recorder.Reports().empty());
        EXPECT_GE(recorder.Reports().back(), c.cancelAt);
        EXPECT_NE(100, recorder.Reports().back());
    }
}

TEST_F(Progress, CancellingASaveLeavesTheOldFileAndNoLeftovers)
{
    const std::string path = folder.Path("kept.gif");
    const Bytes before{'o', 'l', 'd'};
    for (int format : {kFormatGif, kFormatBmp, kFormatPcx, kFormatJpeg, kFormatTif}) {
        SCOPED_TRACE(format);
        WriteBytes(path, before);
        StatusRecorder recorder(1);
        EXPECT_EQ(kErrorCancelled, L_SaveBitmap(path.c_str(), &image.handle, format, 0, 0, nullptr));
        EXPECT_EQ(before, ReadBytes(path));
        EXPECT_EQ(std::vector<std::string>{"kept.gif"}, folder.FileNames());
    }
}

// Each encoder stops where the cancel came instead of encoding the rest of the image only
// for the save to throw it away: it answers kErrorCancelled, and an encoder that makes its
// file as it goes has made well under the whole of it.
TEST_F(Progress, EveryEncoderStopsAtTheRowWhereTheCancelCame)
{
    using Encoder = int (*)(int, const BitmapHandle&, int, ProgressReporter&, FileBytes&);
    struct Case { const char* why; Encoder encode; int format; int cancelAt; bool isMadeAsItGoes; };
    const Case kCases[] = {
        // A BMP's size is known from its header, so its whole file is made at once.
        {"BMP", &BmpEncode, kFormatBmp, 10, false},
        {"PCX", &PcxEncode, kFormatPcx, 10, true},
        {"JPEG", &JpegEncode, kFormatJpeg, 10, true},
        {"TIFF", &TiffEncode, kFormatTif, 10, true},
        // The first half of a GIF's progress is its palette; its rows come after.
        {"GIF", &GifEncode, kFormatGif, 55, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        FileBytes whole;
        {
            ProgressReporter progress;
            ASSERT_EQ(kSuccess, c.encode(c.format, image.handle, 0, progress, whole));
        }
        StatusRecorder recorder(c.cancelAt);
        FileBytes cut;
        ProgressReporter progress;
        ASSERT_TRUE(progress.Start());
        EXPECT_EQ(kErrorCancelled, c.encode(c.format, image.handle, 0, progress, cut));
        if (c.isMadeAsItGoes) {
            EXPECT_LT(cut.size(), whole.size() / 2);
        }
    }
}

TEST(StatusCallBack, InstallingAnswersThePreviousCallback)
{
    auto first = [](int, void*) { return 1; };
    auto second = [](int, void*) { return 1; };
    const StatusCallback original = L_SetStatusCallBack(first, nullptr);
    EXPECT_EQ(static_cast<StatusCallback>(first), L_SetStatusCallBack(second, nullptr));
    EXPECT_EQ(static_cast<StatusCallback>(second), L_SetStatusCallBack(original, nullptr));
}

// The user data given with the callback comes back with every report.
TEST(StatusCallBack, PassesTheUserDataBack)
{
    int reports = 0;
    const StatusCallback original = L_SetStatusCallBack([](int, void* data) { ++*static_cast<int*>(data); return 1; },
                                                        &reports);
    TestBitmap image;
    MakeBitmap(image, 20, 20, 24, PhotoLike);
    EXPECT_EQ(kSuccess, L_SharpenBitmap(&image.handle, 750));
    L_SetStatusCallBack(original, nullptr);
    EXPECT_GE(reports, 2);
}

} // namespace

} // namespace progress_test
