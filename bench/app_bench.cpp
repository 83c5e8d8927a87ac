// Times the two waits a user feels, through the real main frame and workspace view built
// in process: each method's Resize, from the button press to the repainted result, with
// "Automatic Preview Display" off and on, beside the imaging library's own bicubic resize
// of the same source to the same size into a new target (as the program allocates each
// result anew); and selecting a 24-megapixel JPEG to the painted preview, beside the
// library's own load of that file. Also the memory a house method adds at its peak.
// Medians of several runs (the first argument, default 3) on a 4000 x 3000 24-bit image
// with detail (gradients and noise from a fixed seed, as the imaging bench makes it).
#include "app/BitmapCtrl.h"
#include "app/Document.h"
#include "app/MainFrame.h"
#include "app/Option.h"
#include "app/Workspace.h"

#include "imaging/BitmapStorage.h"
#include "imaging/ImagingApi.h"
#include "imaging/PixelBufferReuse.h"
#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iComboBox.h"
#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/MsgBox.h"
#include "lib/src/iRegistry.h"

#include "bench/bench_timing.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kSourceWidth = 4000;
constexpr int kSourceHeight = 3000;
constexpr const char* kBenchCompany = "SorvantaAppBench";

// Diagonal gradients per channel plus +-24 levels of noise, as the imaging bench's image.
int SaveDetailedImage(const std::string& path, int width, int height, int format)
{
    imaging::OwnedBitmap image;
    if (const int allocated = image.Allocate(width, height, 24, imaging::kViewTopDown); allocated != imaging::kSuccess)
        return allocated;
    const imaging::PixelBuffer rows = imaging::TopDownView(image.get());
    std::uint32_t state = 12345;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = rows.data + y * rows.stride;
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) {
                state ^= state << 13;
                state ^= state >> 17;
                state ^= state << 5;
                const int base = c == 0 ? x * 255 / width : c == 1 ? y * 255 / height : (x + y) * 255 / (width + height);
                *p++ = static_cast<std::uint8_t>(std::clamp(base + static_cast<int>(state % 49) - 24, 0, 255));
            }
    }
    image.get().xResolution = image.get().yResolution = 72;
    return L_SaveBitmap(path.c_str(), &image.get(), format, 0, 0, nullptr);
}

// Committed memory of the process, now or at its highest so far.
SIZE_T CommittedBytes(bool peak)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return peak ? counters.PeakPagefileUsage : counters.PagefileUsage;
}

class Bench {
public:
    explicit Bench(int runs) : m_runs(runs)
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_source = std::string(temp) + "app_bench_source.bmp";
        m_photo = std::string(temp) + "app_bench_photo.jpg";
    }

    bool Prepare()
    {
        if (SaveDetailedImage(m_source, kSourceWidth, kSourceHeight, imaging::kFormatBmp) != imaging::kSuccess ||
            SaveDetailedImage(m_photo, 6000, 4000, imaging::kFormatJpeg) != imaging::kSuccess)
            return false;
        g_pOption = new Option;
        m_frame = new MainFrame;
        auto* document = new Document;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(Workspace);
        context.m_pCurrentDoc = document;
        if (!m_frame->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
            return false;
        m_frame->InitialUpdateFrame(document, TRUE);
        m_workspace = dynamic_cast<Workspace*>(m_frame->GetActiveView());
        return m_workspace != nullptr;
    }

    ~Bench()
    {
        if (m_frame && m_frame->m_hWnd)
            m_frame->DestroyWindow();
        delete g_pOption;
        g_pOption = nullptr;
        DeleteFileA(m_source.c_str());
        DeleteFileA(m_photo.c_str());
    }

    // The library's bicubic resize of the source to width x height into a new target;
    // measured once per size, so that the methods of one size share one reference.
    double LibraryBicubicMs(int width, int height)
    {
        const long long key = static_cast<long long>(width) << 32 | static_cast<unsigned>(height);
        if (const auto known = m_bicubicMs.find(key); known != m_bicubicMs.end())
            return known->second;
        imaging::BitmapHandle loaded = {};
        L_LoadBitmap(m_source.c_str(), &loaded, 24, imaging::kColorOrderBgr, nullptr, nullptr);
        std::vector<double> times;
        for (int run = 0; run < m_runs; ++run) {
            imaging::BitmapHandle copy = {};
            L_CopyBitmap(&copy, &loaded);
            times.push_back(bench::TimeMs([&] { L_SizeBitmap(&copy, width, height, imaging::kSizeBicubic); }));
            L_FreeBitmap(&copy);
        }
        L_FreeBitmap(&loaded);
        return m_bicubicMs[key] = bench::Median(times);
    }

    // The Resize button of the workspace, from the press to the repainted frame.
    double ResizeMs(int method, int percent, bool isPreviewAutomatic)
    {
        g_pOption->m_common.m_automaticPreviewDisplay.Value() = isPreviewAutomatic ? 1 : 0;
        std::vector<double> times;
        for (int run = 0; run < m_runs; ++run) {
            OpenSource();
            SetNewSize(method, percent);
            times.push_back(bench::TimeMs([&] { PressResizeAndPaint(); }));
        }
        return bench::Median(times);
    }

    // What a house method adds to the process's memory at its peak, the preview and the
    // source being loaded already. Measured first, while the process's peak is still low.
    SIZE_T HouseMethodPeakBytes(int method, int percent)
    {
        g_pOption->m_common.m_automaticPreviewDisplay.Value() = 0;
        OpenSource();
        SetNewSize(method, percent);
        const SIZE_T before = CommittedBytes(false);
        PressResizeAndPaint();
        const SIZE_T peak = CommittedBytes(true);
        return peak > before ? peak - before : 0;
    }

    // Selecting the 24-megapixel JPEG: information, details, load, layout and paint.
    double SelectPhotoMs()
    {
        std::vector<double> times;
        for (int run = 0; run < m_runs; ++run) {
            m_workspace->CloseFile();
            m_workspace->ShowSelectedFile(m_source.c_str());
            times.push_back(bench::TimeMs([&] {
                m_workspace->ShowSelectedFile(m_photo.c_str());
                Paint();
            }));
        }
        return bench::Median(times);
    }

    double LibraryLoadPhotoMs()
    {
        std::vector<double> times;
        for (int run = 0; run < m_runs; ++run) {
            imaging::BitmapHandle loaded = {};
            times.push_back(bench::TimeMs(
                [&] { L_LoadBitmap(m_photo.c_str(), &loaded, 0, imaging::kColorOrderBgr, nullptr, nullptr); }));
            L_FreeBitmap(&loaded);
        }
        return bench::Median(times);
    }

    // Where a 200% "Bicubic" with the automatic preview spends its time, step by step.
    void PrintBreakdown()
    {
        g_pOption->m_common.m_automaticPreviewDisplay.Value() = 0;
        OpenSource();
        SetNewSize(Workspace::kBicubic, 200);
        iLBitmap& result = m_workspace->GetResultPicture()->GetBitmap();
        const double resize = bench::TimeMs([&] {
            CWnd* button = m_workspace->GetResizeButton();
            m_workspace->SendMessage(WM_COMMAND, MAKEWPARAM(button->GetDlgCtrlID(), BN_CLICKED),
                                     reinterpret_cast<LPARAM>(button->m_hWnd));
        });
        const double resultPaint = bench::TimeMs([&] { Paint(); });
        BitmapCtrl* preview = m_workspace->GetPreview();
        const double copy = bench::TimeMs([&] { preview->GetBitmap().Copy(result); });
        preview->RecalcLayout();
        preview->Invalidate();
        const double previewPaint = bench::TimeMs([&] { Paint(); });
        std::printf("\"Bicubic\" 200%% step by step: handler %.1f ms, result paint %.1f ms, preview copy %.1f ms, "
                    "preview paint %.1f ms\n",
                    resize, resultPaint, copy, previewPaint);
    }

    // Where "Tamrow Progressive" 400% with the automatic preview spends its time: the same
    // library steps as its handler, each timed, then the paints and the preview's copy.
    void PrintProgressiveBreakdown()
    {
        g_pOption->m_common.m_automaticPreviewDisplay.Value() = 1;
        OpenSource();
        imaging::ScopedPixelBufferReuse reuse;
        BitmapCtrl* result = m_workspace->GetResultPicture();
        const double resize =
            bench::TimeMs([&] { result->Resize(kSourceWidth * 4, kSourceHeight * 4, imaging::kSizeBicubic); });
        std::string passes;
        for (int pass = 0; pass < 4; ++pass) {
            char text[32];
            std::snprintf(text, sizeof text, "%s%.1f", pass ? " + " : "", bench::TimeMs([&] { result->Sharpen(-1000); }));
            passes += text;
        }
        result->Invalidate();
        const double resultPaint = bench::TimeMs([&] { Paint(); });
        BitmapCtrl* preview = m_workspace->GetPreview();
        const double copy = bench::TimeMs([&] { preview->GetBitmap().Copy(result->GetBitmap()); });
        preview->RecalcLayout();
        preview->Invalidate();
        const double previewPaint = bench::TimeMs([&] { Paint(); });
        std::printf("\"Tamrow Progressive\" 400%% step by step: resize %.1f ms, sharpen passes %s ms, result paint "
                    "%.1f ms, preview copy %.1f ms, preview paint %.1f ms\n",
                    resize, passes.c_str(), resultPaint, copy, previewPaint);
    }

    // Where selecting the JPEG spends its time: the library's file information and load of
    // it beside the whole selection.
    void PrintSelectionBreakdown()
    {
        m_workspace->CloseFile();
        m_workspace->ShowSelectedFile(m_source.c_str());
        const double select = bench::TimeMs([&] {
            m_workspace->ShowSelectedFile(m_photo.c_str());
            Paint();
        });
        imaging::FileInfo info = {};
        const double fileInfo = bench::TimeMs([&] { L_FileInfo(m_photo.c_str(), &info, 0, nullptr); });
        imaging::BitmapHandle loaded = {};
        const double load =
            bench::TimeMs([&] { L_LoadBitmap(m_photo.c_str(), &loaded, 0, imaging::kColorOrderBgr, nullptr, nullptr); });
        L_FreeBitmap(&loaded);
        std::printf("JPEG selection step by step: whole %.1f ms, of which file information %.1f ms, load %.1f ms, "
                    "the rest (details, layout, paint) %.1f ms\n",
                    select, fileInfo, load, select - fileInfo - load);
    }

private:
    void OpenSource()
    {
        m_workspace->CloseFile();
        m_workspace->ShowSelectedFile(m_source.c_str());
        m_workspace->OpenSelectedFile();
        Paint();
    }

    void SetNewSize(int method, int percent)
    {
        m_workspace->GetMethodCombo()->SelectByData(static_cast<DWORD>(method));
        m_workspace->GetWidthEdit()->SetWindowText(std::to_string(percent).c_str());
    }

    void PressResizeAndPaint()
    {
        CWnd* button = m_workspace->GetResizeButton();
        m_workspace->SendMessage(WM_COMMAND, MAKEWPARAM(button->GetDlgCtrlID(), BN_CLICKED),
                                 reinterpret_cast<LPARAM>(button->m_hWnd));
        Paint();
    }

    void Paint()
    {
        ::RedrawWindow(m_frame->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    int m_runs;
    std::map<long long, double> m_bicubicMs;
    std::string m_source;
    std::string m_photo;
    MainFrame* m_frame = nullptr;
    Workspace* m_workspace = nullptr;
};

struct MethodCase {
    const char* name;
    int method;
    int percent;
    // Library operations the method chains (1 for the plain methods).
    int passes;
};

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    // The frame's placement goes below a key of the bench's own, removed at the end.
    static_cast<void>(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", kBenchCompany, "App"));
    // Closing a resized image asks about its changes: they are dropped.
    SetMsgBoxShowFunction([](HWND, const char*, const char*, UINT) { return IDNO; });
    int exitCode = 0;
    {
        Bench bench(runs);
        if (!bench.Prepare()) {
            std::printf("could not build the frame or the images\n");
            return 1;
        }
        const SIZE_T peak = bench.HouseMethodPeakBytes(Workspace::kTamrow, 200);
        bench.PrintBreakdown();
        bench.PrintSelectionBreakdown();
        bench.PrintProgressiveBreakdown();
        const double select = bench.SelectPhotoMs();
        const double load = bench.LibraryLoadPhotoMs();
        std::printf("select a 6000 x 4000 JPEG to the painted preview: %.1f ms; the library's load: %.1f ms; "
                    "ratio %.2f (goal 1.25)\n",
                    select, load, select / load);
        const double targetMb = 8000.0 * 6000.0 * 3 / (1024 * 1024);
        std::printf("\"Tamrow\" 200%%: %.1f MB added at the peak over the loaded preview and source; the target is "
                    "%.1f MB (goal: at most two targets, %.1f MB)\n",
                    peak / (1024.0 * 1024.0), targetMb, 2 * targetMb);
        // "Tamrow Progressive" makes trunc(scale) sharpen passes after its resize.
        const MethodCase cases[] = {
            {"Normal", Workspace::kNormal, 200, 1},
            {"Bilinear", Workspace::kBilinear, 200, 1},
            {"Bicubic", Workspace::kBicubic, 200, 1},
            {"Tamrow", Workspace::kTamrow, 200, 3},
            {"Tamrow Progressive", Workspace::kTamrowProgressive, 200, 3},
            {"Tamrow Progressive", Workspace::kTamrowProgressive, 150, 2},
            {"Normal", Workspace::kNormal, 400, 1},
            {"Bilinear", Workspace::kBilinear, 400, 1},
            {"Bicubic", Workspace::kBicubic, 400, 1},
            {"Tamrow", Workspace::kTamrow, 400, 3},
            {"Tamrow Progressive", Workspace::kTamrowProgressive, 400, 5},
        };
        std::printf("Resize of %d x %d, 24-bit; median of %d runs; bicubic = the library's bicubic resize of the "
                    "same source to the same size into a new target\n",
                    kSourceWidth, kSourceHeight, runs);
        std::printf("%-20s %5s %6s %9s %12s %10s %8s %6s\n", "method", "scale", "passes", "preview", "resize ms",
                    "bicubic ms", "ratio", "goal");
        for (const MethodCase& c : cases) {
            const int width = kSourceWidth * c.percent / 100;
            const int height = kSourceHeight * c.percent / 100;
            const double bicubic = bench.LibraryBicubicMs(width, height);
            for (bool isPreviewAutomatic : {false, true}) {
                const double resize = bench.ResizeMs(c.method, c.percent, isPreviewAutomatic);
                const double ratio = resize / bicubic;
                double goal = 0;
                if (c.method == Workspace::kBicubic)
                    goal = isPreviewAutomatic ? 2.25 : 1.25;
                else if (c.passes > 1)
                    goal = c.passes + 1;
                char goalText[16] = "-";
                if (goal > 0)
                    std::snprintf(goalText, sizeof goalText, "%.2f%s", goal, ratio <= goal ? "" : " MISSED");
                std::printf("%-20s %4d%% %6d %9s %12.1f %10.1f %8.2f %6s\n", c.name, c.percent, c.passes,
                            isPreviewAutomatic ? "automatic" : "off", resize, bicubic, ratio, goalText);
                if (goal > 0 && ratio > goal)
                    exitCode = 2;
            }
        }
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kBenchCompany).c_str());
    return exitCode;
}
