// Times the colour sheet under Wine (median of runs, not a test): from DoModal until both
// pages have been painted once (the honeycomb and the hue and saturation field are built
// pixel by pixel at their first paint), beside the system's colour dialog opened in full
// (ChooseColor with CC_FULLOPEN) until it has painted, in the same run (its peer). Both are
// timed to the first time their modal loop goes idle, which is when nothing is left to
// paint, and then closed; fresh runs make the pictures anew each time.
//   wine build/cmake/bench/colour_bench.exe [runs]
#include "bench/bench_timing.h"
#include "framework/Framework.h"
#include "toolkit/colour/QZColorDialog.h"
#include "toolkit/colour/QZColorPageCustom.h"
#include "toolkit/colour/QZColorPageStandard.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using bench::FirstRun;
using bench::MedianOfRuns;
using bench::NowMs;

// The owner of the dialogs: their modal loops tell it when they are idle.
class BenchOwner : public CWnd {
public:
    std::function<void(HWND dialog)> onIdle;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && onIdle)
            onIdle(reinterpret_cast<HWND>(lParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Both pages painted, and (in standardMs) the first page alone.
double TimeColourSheet(BenchOwner& owner, double* standardMs = nullptr)
{
    double end = 0;
    double standard = 0;
    CQZColorDialog sheet(RGB(255, 0, 0), RGB(255, 0, 0), 0, &owner);
    owner.onIdle = [&](HWND) {
        if (end != 0 || !sheet.IsWindowVisible())
            return;
        CQZColorPageCustom* custom = sheet.GetCustomPage();
        if (!sheet.GetStandardPage()->m_wndColorHex.m_dcPalette.m_hDC)
            return;
        if (!custom->m_wndColor.m_dcPicture.m_hDC) {
            standard = NowMs();
            sheet.SetActivePage(1);
            return;
        }
        end = NowMs();
        sheet.EndDialog(IDCANCEL);
    };
    const double start = NowMs();
    sheet.DoModal();
    owner.onIdle = nullptr;
    if (standardMs)
        *standardMs = standard - start;
    return end - start;
}

double TimeSystemDialog(BenchOwner& owner)
{
    double end = 0;
    COLORREF custom[16] = {};
    CHOOSECOLORA choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner.m_hWnd;
    choose.rgbResult = RGB(255, 0, 0);
    choose.lpCustColors = custom;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    owner.onIdle = [&](HWND dialog) {
        if (end != 0 || !::IsWindowVisible(dialog))
            return;
        end = NowMs();
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    const double start = NowMs();
    ::ChooseColorA(&choose);
    owner.onIdle = nullptr;
    return end - start;
}

class BenchApp : public CWinApp {
public:
    BenchApp() : CWinApp("ColourBench") {}
};

} // namespace

int main(int argc, char** argv)
{
    BenchApp app;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    BenchOwner owner;
    if (!owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr)) {
        std::printf("the owner window could not be made\n");
        return 1;
    }
    // One run more than asked for each case: its first loads the libraries and fonts.
    const double sheetMs = MedianOfRuns(runs + 1, FirstRun::LeftOut, [&] { return TimeColourSheet(owner); });
    const double standardMs = MedianOfRuns(runs + 1, FirstRun::LeftOut, [&] {
        double standard = 0;
        TimeColourSheet(owner, &standard);
        return standard;
    });
    const double systemMs = MedianOfRuns(runs + 1, FirstRun::LeftOut, [&] { return TimeSystemDialog(owner); });
    std::printf("%d runs per case; medians in ms\n\n", runs);
    std::printf("%-52s %10s %10s %8s\n", "case", "toolkit", "peer", "ratio");
    std::printf("%-52s %10.2f %10.2f %8.2f\n", "colour sheet opened, both pages painted", sheetMs, systemMs,
                systemMs > 0 ? sheetMs / systemMs : 0.0);
    std::printf("%-52s %10.2f %10.2f %8.2f\n", "  of which the Standard page shown", standardMs, systemMs,
                systemMs > 0 ? standardMs / systemMs : 0.0);
    std::printf("  (peer: the system's colour dialog opened in full until painted)\n");
    owner.DestroyWindow();
    return 0;
}
