// The five resize methods on the real workspace: the passes each makes (counted by the
// library's progress reports and told to the frame), the plain methods told apart by the
// pixels each resampling must give, the house methods' pixels against the library's own
// steps, a change of resolution alone, the no-op, the preview copy, Reset, sizes the
// library cannot make, and failures injected through the progress callback.
#include "workspace_test_support.h"

#include "app/Option.h"

#include "imaging/BitmapStorage.h"

#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iComboBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace resize_methods_test {
namespace {

using workspace_test::WorkspaceTest;

struct PassesCase {
    const char* why;
    double newWidth, newHeight, newResolution;
    int expected;
};

const PassesCase kPassesCases[] = {
    {"200 % at the same resolution", 2000, 2000, 72, 2},
    {"150 %", 1500, 1500, 72, 1},
    {"50 %: no sharpening", 500, 500, 72, 0},
    {"400 % at half the resolution", 4000, 4000, 36, 2},
    {"a higher resolution does not raise it", 2000, 2000, 144, 2},
    {"the mean of the two scale factors", 3000, 1000, 72, 2},
    {"just below 1", 999, 999, 72, 0},
};

TEST(ProgressivePasses, MeanScaleTimesAResolutionFactorOfAtMostOne)
{
    for (const PassesCase& c : kPassesCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.expected, Workspace::ProgressivePasses(c.newWidth, c.newHeight, c.newResolution, 1000, 1000, 72));
    }
}

struct LimitCase {
    const char* why;
    double width, height;
    int bitsPerPixel;
    bool fits;
};

// Rows on both sides of the library's 2 GB - 1 limit, with rows padded to 4 bytes.
const LimitCase kLimitCases[] = {
    {"grey, 46340 square: 2,147,395,600 bytes", 46340, 46340, 8, true},
    {"grey, 46341 square: its padded rows pass the limit", 46341, 46341, 8, false},
    {"colour, 46340 square: three times the bytes", 46340, 46340, 24, false},
    {"colour, 26754 square: 2,147,383,056 bytes", 26754, 26754, 24, true},
    {"colour, one column more", 26755, 26754, 24, false},
    {"grey, the widest by 32767 rows", 65535, 32767, 8, true},
    {"grey, the widest by 32768 rows: one byte over", 65535, 32768, 8, false},
    {"colour, the widest by 10922 rows", 65535, 10922, 24, true},
    {"colour, the widest by 10923 rows", 65535, 10923, 24, false},
    {"a side one pixel too wide", 65536, 1, 8, false},
    {"a side below one pixel", 0.5, 100, 8, false},
};

TEST(NewSizeLimits, TheOpenImagesDepthDecidesWhatFits)
{
    for (const LimitCase& c : kLimitCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.fits, Workspace::IsSizeWithinLimits(c.width, c.height, c.bitsPerPixel));
    }
}

// Counts the library's operations (each ends with exactly one report of 100, or with
// its cancel) and can cancel the operation with a given number by answering 0 to its
// first report.
class LibraryOperations {
public:
    explicit LibraryOperations(int cancelOperation = 0) : m_cancel(cancelOperation)
    {
        s_self = this;
        m_previous = L_SetStatusCallBack(&Report, nullptr);
    }
    ~LibraryOperations() { L_SetStatusCallBack(m_previous, nullptr); }
    int Count() const { return m_ended; }
    int Started() const { return m_started; }

private:
    static int Report(int percent, void*)
    {
        LibraryOperations& self = *s_self;
        if (percent == 100) {
            ++self.m_ended;
            self.m_isRunning = false;
            return 1;
        }
        if (!self.m_isRunning) {
            self.m_isRunning = true;
            ++self.m_started;
        }
        if (self.m_started != self.m_cancel)
            return 1;
        // A cancelled operation sends no 100: the next report starts the next operation,
        // which is not cancelled.
        self.m_isRunning = false;
        return 0;
    }
    static inline LibraryOperations* s_self = nullptr;
    imaging::StatusCallback m_previous;
    int m_cancel;
    int m_started = 0;
    int m_ended = 0;
    bool m_isRunning = false;
};

std::vector<char> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ResizeMethods : public WorkspaceTest {
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        // Detail for the sharpening to work on: a diagonal pattern.
        m_source = MakeImage("source.bmp", 40, 30, imaging::kFormatBmp, 72, [](int x, int y) {
            return RGB((x * 37 + y * 11) % 256, (x * 5 + y * 53) % 256, ((x ^ y) * 29) % 256);
        });
        OpenImage(m_source);
    }
    void ChooseMethod(Workspace::Method method) { Choose(m_workspace->GetMethodCombo(), method); }
    void SetPercent(const char* percent) { Type(m_workspace->GetWidthEdit(), percent); }
    void PressResize() { Click(m_workspace->GetResizeButton()); }
    unsigned ResultWidth() const { return m_workspace->GetResultPicture()->GetBitmap().GetWidth(); }
    unsigned ResultHeight() const { return m_workspace->GetResultPicture()->GetBitmap().GetHeight(); }
    int ResultResolution() const { return m_workspace->GetResultPicture()->GetBitmap().GetResolution(); }

    // The library's own steps on the source: a bicubic resize, then each sharpen amount.
    std::vector<char> Reference(int width, int height, std::initializer_list<int> amounts)
    {
        imaging::BitmapHandle bitmap{};
        EXPECT_EQ(imaging::kSuccess, L_LoadBitmap(m_source.c_str(), &bitmap, 0, imaging::kColorOrderBgr, nullptr,
                                                  nullptr));
        EXPECT_EQ(imaging::kSuccess, L_SizeBitmap(&bitmap, width, height, imaging::kSizeBicubic));
        for (int amount : amounts)
            EXPECT_EQ(imaging::kSuccess, L_SharpenBitmap(&bitmap, amount));
        const std::string path = m_folder.Path("reference.bmp");
        EXPECT_EQ(imaging::kSuccess, L_SaveBitmap(path.c_str(), &bitmap, imaging::kFormatBmp, 0, 0, nullptr));
        L_FreeBitmap(&bitmap);
        return FileBytes(path);
    }
    std::vector<char> Result()
    {
        const std::string path = m_folder.Path("result.bmp");
        EXPECT_EQ(imaging::kSuccess, m_workspace->GetResultPicture()->GetBitmap().Save(path.c_str(),
                                                                                        imaging::kFormatBmp, 0, 0,
                                                                                        nullptr));
        return FileBytes(path);
    }

    // The greys of one row of the result, left to right (its pixels are grey: red, green
    // and blue alike; -1 marks one that is not).
    std::vector<int> ResultRowGreys(int row)
    {
        const std::string path = m_folder.Path("row.bmp");
        EXPECT_EQ(imaging::kSuccess, m_workspace->GetResultPicture()->GetBitmap().Save(path.c_str(),
                                                                                        imaging::kFormatBmp, 0, 0,
                                                                                        nullptr));
        imaging::BitmapHandle bitmap{};
        std::vector<int> greys;
        if (L_LoadBitmap(path.c_str(), &bitmap, 24, imaging::kColorOrderBgr, nullptr, nullptr) != imaging::kSuccess)
            return greys;
        const int stored = bitmap.viewPerspective == imaging::kViewBottomUp ? bitmap.height - 1 - row : row;
        const std::uint8_t* line = bitmap.pixels + std::size_t(stored) * bitmap.bytesPerLine;
        for (int x = 0; x < bitmap.width; ++x) {
            const std::uint8_t* bgr = line + 3 * x;
            greys.push_back(bgr[0] == bgr[1] && bgr[1] == bgr[2] ? bgr[0] : -1);
        }
        L_FreeBitmap(&bitmap);
        return greys;
    }

    std::string m_source;
};

struct MethodCase {
    const char* why;
    Workspace::Method method;
    const char* percent;
    int operations;                  // library operations the method runs
    std::vector<int> passCounts;     // what the frame is told
};

const MethodCase kMethodCases[] = {
    {"Normal: one resize, no pass count", Workspace::kNormal, "200", 1, {}},
    {"Bilinear", Workspace::kBilinear, "200", 1, {}},
    {"Bicubic", Workspace::kBicubic, "200", 1, {}},
    {"Tamrow: resize and two sharpen passes", Workspace::kTamrow, "200", 3, {3, 0}},
    {"Tamrow Progressive at 200 %: sharpens twice", Workspace::kTamrowProgressive, "200", 3, {3, 0}},
    {"Tamrow Progressive at 150 %: once", Workspace::kTamrowProgressive, "150", 2, {2, 0}},
    {"Tamrow Progressive at 50 %: not at all", Workspace::kTamrowProgressive, "50", 1, {1, 0}},
};

TEST_F(ResizeMethods, EachMethodRunsItsPassesAndTellsTheFrameHowMany)
{
    for (const MethodCase& c : kMethodCases) {
        SCOPED_TRACE(c.why);
        Click(m_workspace->GetResetButton());
        m_frame->passCounts.clear();
        ChooseMethod(c.method);
        SetPercent(c.percent);
        LibraryOperations operations;
        PressResize();
        EXPECT_EQ(c.operations, operations.Count());
        EXPECT_EQ(c.passCounts, m_frame->passCounts);
        const unsigned expectedWidth = 40 * std::stoi(c.percent) / 100;
        EXPECT_EQ(expectedWidth, ResultWidth());
        EXPECT_EQ(30u * std::stoi(c.percent) / 100, ResultHeight());
        EXPECT_TRUE(m_workspace->IsModified());
        EXPECT_TRUE(m_boxes.Boxes().empty()) << m_boxes.Describe();
    }
}

// The plain methods told apart by what each resampling must do to a sharp step from grey
// 50 to grey 200, enlarged four times: "Normal" picks source pixels, so the step stays
// sharp and in place; "Bilinear" blends neighbours, so values between the two appear and
// none beyond them; "Bicubic" (a cubic convolution with negative lobes) overshoots on
// both sides of the step.
TEST_F(ResizeMethods, EachPlainMethodResamplesAStepTheWayItsNameSays)
{
    constexpr int kDark = 50;
    constexpr int kLight = 200;
    const std::string step = MakeImage("step.bmp", 8, 2, imaging::kFormatBmp, 72, [](int x, int) {
        const int grey = x < 4 ? kDark : kLight;
        return RGB(grey, grey, grey);
    });
    m_workspace->CloseFile();
    OpenImage(step);

    struct Case {
        const char* why;
        Workspace::Method method;
        std::function<void(const std::vector<int>&)> check;
    };
    const auto between = [](const std::vector<int>& greys) {
        return std::count_if(greys.begin(), greys.end(), [](int g) { return g > kDark && g < kLight; });
    };
    const auto beyond = [](const std::vector<int>& greys) {
        return std::count_if(greys.begin(), greys.end(), [](int g) { return g < kDark || g > kLight; });
    };
    const Case cases[] = {
        {"Normal: the source's pixels, four each", Workspace::kNormal,
         [&](const std::vector<int>& greys) {
             EXPECT_EQ(std::vector<int>(16, kDark), std::vector<int>(greys.begin(), greys.begin() + 16));
             EXPECT_EQ(std::vector<int>(16, kLight), std::vector<int>(greys.begin() + 16, greys.end()));
         }},
        {"Bilinear: a ramp across the step, nothing beyond it", Workspace::kBilinear,
         [&](const std::vector<int>& greys) {
             EXPECT_GT(between(greys), 0);
             EXPECT_EQ(0, beyond(greys));
             EXPECT_EQ(kDark, greys.front());
             EXPECT_EQ(kLight, greys.back());
         }},
        {"Bicubic: a ramp that overshoots on both sides", Workspace::kBicubic,
         [&](const std::vector<int>& greys) {
             EXPECT_GT(between(greys), 0);
             EXPECT_GT(std::count_if(greys.begin(), greys.end(), [](int g) { return g < kDark; }), 0);
             EXPECT_GT(std::count_if(greys.begin(), greys.end(), [](int g) { return g > kLight; }), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Click(m_workspace->GetResetButton());
        ChooseMethod(c.method);
        SetPercent("400");
        PressResize();
        ASSERT_EQ(32u, ResultWidth());
        ASSERT_EQ(8u, ResultHeight());
        const std::vector<int> greys = ResultRowGreys(4);
        ASSERT_EQ(32u, greys.size());
        std::string shown;
        for (int grey : greys)
            shown += std::to_string(grey) + " ";
        SCOPED_TRACE("row: " + shown);
        ASSERT_EQ(0, std::count(greys.begin(), greys.end(), -1)) << "grey in, grey out";
        c.check(greys);
    }
}

TEST_F(ResizeMethods, TheHouseMethodsAreABicubicResizeThenTheirSharpenAmounts)
{
    ChooseMethod(Workspace::kTamrow);
    SetPercent("200");
    PressResize();
    EXPECT_EQ(Reference(80, 60, {-1000, 750}), Result());

    Click(m_workspace->GetResetButton());
    ChooseMethod(Workspace::kTamrowProgressive);
    SetPercent("300");
    PressResize();
    EXPECT_EQ(Reference(120, 90, {-1000, -1000, -1000}), Result());
}

TEST_F(ResizeMethods, AChangeOfResolutionAloneKeepsThePrintedSize)
{
    const std::string square = MakeImage("square.bmp", 100, 100, imaging::kFormatBmp, 72);
    m_workspace->CloseFile();
    OpenImage(square);
    ChooseMethod(Workspace::kBicubic);
    Type(m_workspace->GetResolutionEdit(), "144");
    PressResize();
    EXPECT_EQ(200u, ResultWidth());
    EXPECT_EQ(200u, ResultHeight());
    EXPECT_EQ(144, ResultResolution());
    EXPECT_TRUE(m_workspace->IsModified());
}

TEST_F(ResizeMethods, AResolutionTheImageCannotKeepLeavesItTheLastOneTaken)
{
    ChooseMethod(Workspace::kBicubic);
    Type(m_workspace->GetResolutionEdit(), "300");
    Choose(m_workspace->GetResolutionUnit(), Workspace::kPixelsPerCentimetre);
    // 2,286,000,000 pixels per inch: past the largest whole number the image keeps.
    Type(m_workspace->GetResolutionEdit(), "900000000");
    SetPercent("200");
    PressResize();
    EXPECT_EQ(80u, ResultWidth());
    EXPECT_EQ(300, ResultResolution());
}

TEST_F(ResizeMethods, AnUnchangedSizeAndResolutionDoNothing)
{
    LibraryOperations operations;
    PressResize();
    EXPECT_EQ(0, operations.Count());
    EXPECT_FALSE(m_workspace->IsModified());
    EXPECT_TRUE(m_frame->passCounts.empty());
}

TEST_F(ResizeMethods, TheAutomaticPreviewShowsTheResultOtherwiseOnlyItsFrameMoves)
{
    ChooseMethod(Workspace::kBicubic);
    SetPercent("200");
    PressResize();
    EXPECT_EQ(40u, m_workspace->GetPreview()->GetBitmap().GetWidth());
    EXPECT_EQ(m_workspace->GetResultPicture()->GetViewRect(), m_workspace->GetPreview()->GetCopiedView());

    Click(m_workspace->GetResetButton());
    g_pOption->m_common.m_automaticPreviewDisplay.Value() = 1;
    SetPercent("200");
    PressResize();
    EXPECT_EQ(80u, m_workspace->GetPreview()->GetBitmap().GetWidth());
    EXPECT_EQ(60u, m_workspace->GetPreview()->GetBitmap().GetHeight());
}

TEST_F(ResizeMethods, ResetStartsAgainFromTheFile)
{
    SetPercent("200");
    PressResize();
    ASSERT_EQ(80u, ResultWidth());
    Click(m_workspace->GetResetButton());
    EXPECT_EQ(40u, ResultWidth());
    EXPECT_FALSE(m_workspace->IsModified());
    EXPECT_TRUE(m_workspace->IsOpen());
    EXPECT_EQ("100", Text(m_workspace->GetWidthEdit()));
    EXPECT_EQ(40, m_workspace->GetNewWidth());
}

// Enlarged, saved, then Reset: the saved file is what the workspace starts from again.
// Were its sizes still the opened image's, Resize at "100 Percent" would shrink the
// enlargement back and the next Save would overwrite it.
TEST_F(ResizeMethods, AfterASaveResetAndTheNewSizeStartFromTheSavedFile)
{
    SetPercent("200");
    PressResize();
    ASSERT_TRUE(m_workspace->SaveFile());
    EXPECT_EQ("80 x 60 x 24b", Text(m_workspace->GetDimensionsValue()));
    EXPECT_EQ("100", Text(m_workspace->GetWidthEdit()));
    EXPECT_EQ(80, m_workspace->GetNewWidth());

    Click(m_workspace->GetResetButton());
    EXPECT_EQ(80u, ResultWidth());
    EXPECT_EQ(80, m_workspace->GetNewWidth());
    EXPECT_EQ(60, m_workspace->GetNewHeight());
    PressResize();
    EXPECT_EQ(80u, ResultWidth()) << "100 percent of the saved file changes nothing";
    EXPECT_FALSE(m_workspace->IsModified());

    // Percentages count from the saved file too.
    SetPercent("50");
    PressResize();
    EXPECT_EQ(40u, ResultWidth());
    EXPECT_EQ(30u, ResultHeight());
}

TEST_F(ResizeMethods, ResetTakesTheFileAsAnotherProgramLeftIt)
{
    ASSERT_EQ(imaging::kSuccess, test_images::SaveImage(m_source, 16, 12, imaging::kFormatBmp, 72,
                                                        test_images::Plain(RGB(1, 2, 3))));
    Click(m_workspace->GetResetButton());
    EXPECT_EQ(16u, ResultWidth());
    EXPECT_EQ(16, m_workspace->GetNewWidth());
    EXPECT_EQ(12, m_workspace->GetNewHeight());
    EXPECT_EQ("16 x 12 x 24b", Text(m_workspace->GetDimensionsValue()));
    PressResize();
    EXPECT_EQ(16u, ResultWidth());
    EXPECT_FALSE(m_workspace->IsModified());
}

TEST_F(ResizeMethods, SizesTheLibraryCannotMakeAreRefusedWithAMessage)
{
    struct Case {
        const char* why;
        const char* width;
    } const cases[] = {
        {"zero", "0"},
        {"wider than the library's widest", "70000"},
        {"more pixels than the library holds", "60000"},
    };
    ChooseMethod(Workspace::kBicubic);
    Choose(m_workspace->GetWidthUnit(), Workspace::kPixels);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        m_boxes.Clear();
        Type(m_workspace->GetWidthEdit(), c.width);
        LibraryOperations operations;
        PressResize();
        EXPECT_EQ(0, operations.Count());
        ASSERT_EQ(1u, m_boxes.Boxes().size());
        EXPECT_NE(std::string::npos, m_boxes.Boxes()[0].text.find("is not possible")) << m_boxes.Describe();
        EXPECT_EQ(40u, ResultWidth());
        EXPECT_FALSE(m_workspace->IsModified());
    }
}

TEST_F(ResizeMethods, AGreyImagesNewSizeIsCheckedAtOneBytePerPixel)
{
    // 30000 x 30000 grey levels take 900 MB, within the library's limit; at three bytes a
    // pixel they would not. The library is stopped at its first report, after it has
    // reserved the rows and before it fills them.
    imaging::OwnedBitmap grey;
    ASSERT_EQ(imaging::kSuccess, grey.Allocate(40, 40, 8, imaging::kViewTopDown));
    std::memset(grey.get().pixels, 128, grey.get().pixelBytes);
    const std::string path = m_folder.Path("grey.bmp");
    ASSERT_EQ(imaging::kSuccess, L_SaveBitmap(path.c_str(), &grey.get(), imaging::kFormatBmp, 0, 0, nullptr));
    m_workspace->CloseFile();
    OpenImage(path);
    ASSERT_EQ(8, m_workspace->GetResultPicture()->GetBitmap().GetBitsPerPixel());
    m_workspace->GetProportions()->SetCheck(BST_UNCHECKED);
    ChooseMethod(Workspace::kNormal);
    Choose(m_workspace->GetWidthUnit(), Workspace::kPixels);
    Choose(m_workspace->GetHeightUnit(), Workspace::kPixels);
    Type(m_workspace->GetWidthEdit(), "30000");
    Type(m_workspace->GetHeightEdit(), "30000");
    m_boxes.Clear();
    LibraryOperations operations(1);
    PressResize();
    EXPECT_EQ(1, operations.Started()) << "the library was asked";
    for (const std::string& text : m_boxes.Texts())
        EXPECT_EQ(std::string::npos, text.find("is not possible")) << text;
    EXPECT_EQ(40u, ResultWidth());
}

struct FailureCase {
    const char* why;
    Workspace::Method method;
    int cancelledOperation;
    bool isModified;
    unsigned width;
    int resolution;
};

const FailureCase kFailureCases[] = {
    {"a cancelled plain resize", Workspace::kBicubic, 1, false, 40, 72},
    {"Tamrow's resize cancelled", Workspace::kTamrow, 1, false, 40, 72},
    {"Tamrow's first sharpen cancelled: resized already", Workspace::kTamrow, 2, true, 80, 144},
    {"Tamrow's second sharpen cancelled", Workspace::kTamrow, 3, true, 80, 144},
    {"Tamrow Progressive's resize cancelled", Workspace::kTamrowProgressive, 1, false, 40, 72},
    {"Tamrow Progressive's first pass cancelled: the second does not run", Workspace::kTamrowProgressive, 2, true,
     80, 144},
    {"Tamrow Progressive's second pass cancelled", Workspace::kTamrowProgressive, 3, true, 80, 144},
};

TEST_F(ResizeMethods, AFailingStepIsReportedAndStopsTheMethod)
{
    for (const FailureCase& c : kFailureCases) {
        SCOPED_TRACE(c.why);
        Click(m_workspace->GetResetButton());
        m_boxes.Clear();
        m_frame->passCounts.clear();
        ChooseMethod(c.method);
        // Twice the size at twice the resolution: a plain change of both.
        SetPercent("200");
        Type(m_workspace->GetResolutionEdit(), "144");
        {
            LibraryOperations operations(c.cancelledOperation);
            PressResize();
            EXPECT_EQ(c.cancelledOperation, operations.Started()) << "no step runs after the failing one";
        }
        EXPECT_EQ(std::vector<std::string>{"Error -11"}, m_boxes.Texts());
        EXPECT_EQ("Error", m_boxes.Boxes().empty() ? "" : m_boxes.Boxes()[0].caption);
        EXPECT_EQ(c.isModified, m_workspace->IsModified());
        EXPECT_EQ(c.width, ResultWidth());
        EXPECT_EQ(c.resolution, ResultResolution());
        if (c.method != Workspace::kBicubic) {
            ASSERT_FALSE(m_frame->passCounts.empty());
            EXPECT_EQ(0, m_frame->passCounts.back());
        }
        // The view is laid out for the bitmap as it is, not left pre-scaled.
        const CRect client = m_workspace->GetResultPicture()->GetClientRectAsMeasured();
        EXPECT_EQ(CRect(0, 0, client.Width(), client.Height()), m_workspace->GetResultPicture()->GetViewRect());
    }
}

TEST_F(ResizeMethods, NothingIsResizedWhileNoImageIsOpen)
{
    m_workspace->CloseFile();
    LibraryOperations operations;
    m_workspace->OnResize(nullptr);
    m_workspace->OnReset(nullptr);
    EXPECT_EQ(0, operations.Count());
    EXPECT_FALSE(m_workspace->IsOpen());
}

} // namespace
} // namespace resize_methods_test
