// Keeping a remembered window rectangle on a monitor and at least its minimum size.
#include "lib/src/Win2/Wnd/WindowOnMonitor.h"

#include <algorithm>

namespace {

// Stored values beyond these are damage: no window is larger, no monitor lies farther.
// Held to them, the rectangle's arithmetic cannot overflow.
constexpr LONG kLargestSidePx = 65535;
constexpr LONG kFarthestPx = 1 << 24;

LONG Side(LONG from, LONG to, LONG minPx)
{
    const long long side = static_cast<long long>(to) - from;
    return static_cast<LONG>(std::clamp<long long>(side, std::min(minPx, kLargestSidePx), kLargestSidePx));
}

} // namespace

bool IsTitleBarReachable(const RECT& rect, const RECT& workArea, int captionPx)
{
    if (rect.top < workArea.top || rect.top + captionPx > workArea.bottom)
        return false;
    const LONG across = std::min(rect.right, workArea.right) - std::max(rect.left, workArea.left);
    return across >= captionPx;
}

RECT CentreOnWorkArea(const RECT& rect, const RECT& workArea)
{
    const LONG areaWidth = workArea.right - workArea.left;
    const LONG areaHeight = workArea.bottom - workArea.top;
    const LONG width = std::min(rect.right - rect.left, areaWidth);
    const LONG height = std::min(rect.bottom - rect.top, areaHeight);
    const LONG left = workArea.left + (areaWidth - width) / 2;
    const LONG top = workArea.top + (areaHeight - height) / 2;
    return RECT{left, top, left + width, top + height};
}

RECT KeepOnMonitor(const RECT& rect, SIZE minSize)
{
    RECT kept;
    kept.left = std::clamp(rect.left, -kFarthestPx, kFarthestPx);
    kept.top = std::clamp(rect.top, -kFarthestPx, kFarthestPx);
    kept.right = kept.left + Side(rect.left, rect.right, minSize.cx);
    kept.bottom = kept.top + Side(rect.top, rect.bottom, minSize.cy);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    const bool isOnAMonitor = ::MonitorFromRect(&kept, MONITOR_DEFAULTTONULL) != nullptr;
    if (!::GetMonitorInfoA(::MonitorFromRect(&kept, MONITOR_DEFAULTTONEAREST), &monitor))
        return kept;
    if (isOnAMonitor && IsTitleBarReachable(kept, monitor.rcWork, ::GetSystemMetrics(SM_CYCAPTION)))
        return kept;
    return CentreOnWorkArea(kept, monitor.rcWork);
}
