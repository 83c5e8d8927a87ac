// Small helpers for tests that drive real windows: pumping the queue, a fixture with a
// window to own what a test makes, a window that no framework object owns, a window's
// class name, finding the system's dialog, and a message-box stand-in that records
// instead of waiting.
#pragma once

#include "framework/AfxMessageBox.h"
#include "framework/Framework.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// Geometry in failure messages as its numbers, not as the address a rectangle converts
// to. Beside the classes' own namespace, where the test framework looks for them.
inline void PrintTo(const CRect& rect, std::ostream* out)
{
    *out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
}
inline void PrintTo(const CPoint& point, std::ostream* out) { *out << "(" << point.x << ", " << point.y << ")"; }
inline void PrintTo(const CSize& size, std::ostream* out) { *out << size.cx << " x " << size.cy; }

namespace test_support {

// Dispatches everything queued for the thread (WM_QUIT included is taken and returned).
inline bool PumpPending()
{
    bool sawQuit = false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            sawQuit = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return sawQuit;
}

// A visible top-level framework window, made before each test and destroyed after it, to
// own the dialogs or hold the controls the test makes.
class OwnerWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                   nullptr));
    }
    void TearDown() override { owner.DestroyWindow(); }

    CWnd owner;
};

// A plain window of a class with the system's default procedure.
inline HWND CreateForeignWindow(HWND parent = nullptr, int id = 0, LPCSTR className = nullptr)
{
    static const char* kClass = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SorvantaTestForeign";
        RegisterClassA(&wc);
        return "SorvantaTestForeign";
    }();
    DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
    return CreateWindowExA(0, className ? className : kClass, "", style, 0, 0, 100, 50, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

inline std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// For EnumThreadWindows: stores the thread's first visible dialog of the system's dialog
// class (a common dialog or message box) in the HWND that `found` points to.
inline BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM found)
{
    if (ClassOf(window) == "#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Records the last box and answers with a fixed button for as long as it lives.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK)
    {
        s_answer = answer;
        s_count = 0;
        m_previous = AfxSetMessageBoxFunction(&Record);
    }
    ~MessageBoxRecorder() { AfxSetMessageBoxFunction(m_previous); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    static int count() { return s_count; }
    static const std::string& text() { return s_text; }
    static const std::string& caption() { return s_caption; }
    static HWND owner() { return s_owner; }

private:
    static int Record(HWND owner, LPCSTR text, LPCSTR caption, UINT)
    {
        ++s_count;
        s_owner = owner;
        s_text = text ? text : "";
        s_caption = caption ? caption : "";
        return s_answer;
    }
    AFX_MESSAGEBOX_FUNCTION m_previous;
    static inline int s_answer = IDOK;
    static inline int s_count = 0;
    static inline HWND s_owner = nullptr;
    static inline std::string s_text;
    static inline std::string s_caption;
};

} // namespace test_support
