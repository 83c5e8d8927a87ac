// The rebar's band layout in the toolkit's settings store. One section holds, for each
// band n in order from 0, "n.wID" (its identifier), "n.cx" (width), "n.fStyle" (style
// bits) and "n.iIndex" (n), and "Count" the number of bands; every value an integer.
#include "toolkit/bars/QZReBar.h"

#include "toolkit/foundation/QZRegistryManager.h"

namespace {

CString BandEntry(int nBand, LPCSTR lpszField)
{
    CString entry;
    entry.Format("%d.%s", nBand, lpszField);
    return entry;
}

} // namespace

void CQZReBar::SaveState(LPCSTR lpszSection)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    const int count = static_cast<int>(SendMessage(RB_GETBANDCOUNT));
    for (int i = 0; i < count; ++i) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
        SendMessage(RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
        store.WriteProfileInt(lpszSection, BandEntry(i, "wID"), static_cast<int>(band.wID));
        store.WriteProfileInt(lpszSection, BandEntry(i, "cx"), static_cast<int>(band.cx));
        store.WriteProfileInt(lpszSection, BandEntry(i, "fStyle"), static_cast<int>(band.fStyle));
        store.WriteProfileInt(lpszSection, BandEntry(i, "iIndex"), i);
    }
    store.WriteProfileInt(lpszSection, "Count", count);
}

void CQZReBar::LoadState(LPCSTR lpszSection)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    const int count = store.GetProfileInt(lpszSection, "Count", 0);
    // A layout stored for another set of bands is left alone.
    if (count != static_cast<int>(SendMessage(RB_GETBANDCOUNT)))
        return;
    for (int i = 0; i < count; ++i) {
        const int id = store.GetProfileInt(lpszSection, BandEntry(i, "wID"), 0);
        const int width = store.GetProfileInt(lpszSection, BandEntry(i, "cx"), 0);
        const int style = store.GetProfileInt(lpszSection, BandEntry(i, "fStyle"), 0);
        const int position = store.GetProfileInt(lpszSection, BandEntry(i, "iIndex"), 0);
        // -1 for an identifier no band carries: the control refuses what follows.
        const int current = static_cast<int>(SendMessage(RB_IDTOINDEX, static_cast<WPARAM>(id)));
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_STYLE | RBBIM_SIZE;
        SendMessage(RB_GETBANDINFOA, current, reinterpret_cast<LPARAM>(&band));
        band.cx = static_cast<UINT>(width);
        band.fStyle = static_cast<UINT>(style);
        SendMessage(RB_SETBANDINFOA, current, reinterpret_cast<LPARAM>(&band));
        if (current != position)
            SendMessage(RB_MOVEBAND, current, position);
    }
}
