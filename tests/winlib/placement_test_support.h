// What the window placement tests of the library and of the program share: a place
// stored as an earlier run leaves it, the primary monitor's work area, and the check that
// a window opened where the user can reach its title bar. Header only: the window
// library's and the program's test programs both use it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace placement_test {

// Writes "Rect", and "Zoomed" and "Iconic" 0, below HKEY_CURRENT_USER\keyPath.
inline void StorePlace(const std::string& keyPath, const RECT& rect)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    const DWORD zoomed = 0;
    const DWORD iconic = 0;
    RegSetValueExA(key, "Rect", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&rect), sizeof rect);
    RegSetValueExA(key, "Zoomed", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&zoomed), sizeof zoomed);
    RegSetValueExA(key, "Iconic", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&iconic), sizeof iconic);
    RegCloseKey(key);
}

inline RECT PrimaryWorkArea()
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    const POINT origin = {0, 0};
    EXPECT_TRUE(GetMonitorInfoA(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &monitor));
    return monitor.rcWork;
}

// The whole title bar lies within the work area's height, and at least a title bar's
// height of it across.
inline void ExpectTitleBarInReach(const RECT& window, const RECT& work)
{
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    EXPECT_GE(window.top, work.top);
    EXPECT_LE(window.top + caption, work.bottom);
    EXPECT_GE(std::min(window.right, work.right) - std::max(window.left, work.left), caption);
}

} // namespace placement_test
