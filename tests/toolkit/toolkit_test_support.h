// What the toolkit's tests share: pumping the queue, a recorder that answers the
// foundation's message boxes, a scope that changes system colours and puts them back,
// a scope that holds the left mouse button down, a scope that refuses the popups with a
// dialog frame, and a white canvas to draw on and read back (from the framework's tests).
#pragma once

#include "framework/Framework.h"
#include "framework/paper_canvas.h"
#include "framework/window_test_support.h"
#include "lib/src/MsgBox.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace toolkit_test {

using test_support::PaperCanvas;
using test_support::PumpPending;

// Records the boxes shown through a message-box hook while it lives and answers them
// with one button. `Install` puts a show function in and gives back the one it replaces.
template <auto Install>
class BoxRecorder {
public:
    explicit BoxRecorder(int answer = IDOK)
    {
        s_answer = answer;
        s_boxes.clear();
        m_previous = Install(&Record);
    }
    ~BoxRecorder() { Install(m_previous); }
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    struct Box {
        HWND owner;
        std::string text;
        std::string caption;
        UINT style;
    };
    static const std::vector<Box>& boxes() { return s_boxes; }

private:
    static int Record(HWND owner, const char* text, const char* caption, UINT style)
    {
        s_boxes.push_back({owner, text ? text : "", caption ? caption : "", style});
        return s_answer;
    }
    decltype(Install(nullptr)) m_previous;
    static inline int s_answer = IDOK;
    static inline std::vector<Box> s_boxes;
};

// The foundation's boxes, and the framework's.
using MsgBoxRecorder = BoxRecorder<&SetMsgBoxShowFunction>;
using FrameworkBoxRecorder = BoxRecorder<&AfxSetMessageBoxFunction>;

// Sets some system colours for the test prefix and puts the old ones back when it goes.
class SysColorScope {
public:
    SysColorScope(std::initializer_list<std::pair<int, COLORREF>> colours)
    {
        std::vector<int> elements;
        std::vector<COLORREF> values;
        for (const auto& [element, value] : colours) {
            m_saved.emplace_back(element, GetSysColor(element));
            elements.push_back(element);
            values.push_back(value);
        }
        SetSysColors(static_cast<int>(elements.size()), elements.data(), values.data());
    }
    ~SysColorScope()
    {
        std::vector<int> elements;
        std::vector<COLORREF> values;
        for (const auto& [element, value] : m_saved) {
            elements.push_back(element);
            values.push_back(value);
        }
        SetSysColors(static_cast<int>(elements.size()), elements.data(), values.data());
    }
    SysColorScope(const SysColorScope&) = delete;
    SysColorScope& operator=(const SysColorScope&) = delete;

private:
    std::vector<std::pair<int, COLORREF>> m_saved;
};

// Holds the left mouse button down in the thread's key state while it lives.
class LeftButtonDown {
public:
    LeftButtonDown() { Set(0x80); }
    ~LeftButtonDown() { Set(0); }
    LeftButtonDown(const LeftButtonDown&) = delete;
    LeftButtonDown& operator=(const LeftButtonDown&) = delete;

private:
    static void Set(BYTE state)
    {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_LBUTTON] = state;
        ::SetKeyboardState(keys);
    }
};

// Refuses, while it lives, every popup window of the thread with a dialog frame (the colour
// popup's and the chevron's), so that a test sees what happens when one cannot be made.
class DialogFramePopupRefusal {
public:
    DialogFramePopupRefusal() { s_hook = ::SetWindowsHookExA(WH_CBT, &Refuse, nullptr, ::GetCurrentThreadId()); }
    ~DialogFramePopupRefusal() { ::UnhookWindowsHookEx(s_hook); }
    DialogFramePopupRefusal(const DialogFramePopupRefusal&) = delete;
    DialogFramePopupRefusal& operator=(const DialogFramePopupRefusal&) = delete;

private:
    static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
            if ((cs->style & WS_POPUP) && (cs->style & WS_DLGFRAME))
                return 1;
        }
        return ::CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static inline HHOOK s_hook = nullptr;
};

// Takes the WM_QUIT a test expects from the queue; whether there was one.
inline bool TakeQuitMessage()
{
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

} // namespace toolkit_test
