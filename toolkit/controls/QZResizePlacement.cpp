// The resizable window's placement in the application profile: entry "WindowPlacement" of
// a section the caller names, the window's WINDOWPLACEMENT (44 bytes: length, flags,
// showCmd, minimised and maximised positions, normal rectangle; little-endian).
// The stored value is user-editable: it is applied only when it describes a window that
// can be used. A modal sheet restored hidden or minimised while its owner is disabled would
// leave the program without a usable window, so any other showCmd shows it normal.
#include "toolkit/controls/QZResize.h"

#include "framework/WinApp.h"

#include <cstring>

namespace {

constexpr char kPlacementEntry[] = "WindowPlacement";
constexpr UINT kPlacementBytes = 44;
static_assert(sizeof(WINDOWPLACEMENT) == kPlacementBytes, "the stored placement is the system's structure");

} // namespace

void CQZResize::LoadPlacement(LPCSTR lpszSection)
{
    CWinApp* app = AfxGetApp();
    if (!app || !m_pWnd->GetSafeHwnd())
        return;
    BYTE* data = nullptr;
    UINT bytes = 0;
    if (!app->GetProfileBinary(lpszSection, kPlacementEntry, &data, &bytes))
        return;
    WINDOWPLACEMENT placement = {};
    const bool whole = bytes == kPlacementBytes;
    if (whole)
        std::memcpy(&placement, data, kPlacementBytes);
    delete[] data;
    const CRect normal(placement.rcNormalPosition);
    if (!whole || placement.length != kPlacementBytes || normal.IsRectEmpty())
        return;
    if (placement.showCmd != SW_SHOWNORMAL && placement.showCmd != SW_SHOWMAXIMIZED)
        placement.showCmd = SW_SHOWNORMAL;
    ::SetWindowPlacement(m_pWnd->m_hWnd, &placement);
}

void CQZResize::SavePlacement(LPCSTR lpszSection)
{
    CWinApp* app = AfxGetApp();
    if (!app || !m_pWnd->GetSafeHwnd())
        return;
    WINDOWPLACEMENT placement = {};
    placement.length = kPlacementBytes;
    if (!::GetWindowPlacement(m_pWnd->m_hWnd, &placement))
        return;
    placement.length = kPlacementBytes;
    app->WriteProfileBinary(lpszSection, kPlacementEntry, reinterpret_cast<LPBYTE>(&placement), kPlacementBytes);
}
