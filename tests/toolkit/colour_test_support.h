// What the colour selection tests share: a window that records the colour messages and
// colour notifications it receives, in order, a pump that gives windows their
// pre-translation as the program's message loop does, and a script that works the colour
// sheet from inside its modal loop.
#pragma once

#include "framework/Framework.h"
#include "toolkit/colour/QZColorDialog.h"
#include "toolkit/foundation/QZMessages.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace colour_test {

// One colour message (WM_QZ_COLOR*, WM_QZ_SETCOLOR) or WM_COMMAND as received.
struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;

    bool operator==(const Received& other) const
    {
        return message == other.message && wParam == other.wParam && lParam == other.lParam;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Received& r)
{
    return out << "{0x" << std::hex << r.message << ", 0x" << r.wParam << ", 0x" << r.lParam << std::dec << "}";
}

// A visible top-level window that records what it is told.
class RecordingWnd : public CWnd {
public:
    BOOL Make(int x = 100, int y = 100, int width = 300, int height = 200)
    {
        return CreateEx(0, nullptr, "recorder", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr);
    }
    std::vector<Received> received;
    // The popup's colour messages only, without the notifications.
    std::vector<UINT> Messages() const
    {
        std::vector<UINT> messages;
        for (const Received& r : received)
            if (r.message != WM_COMMAND && r.message != WM_QZ_SETCOLOR)
                messages.push_back(r.message);
        return messages;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if ((message >= WM_QZ_COLORUNCHANGED && message <= WM_QZ_COLORNOFILL) || message == WM_COMMAND ||
            message == WM_QZ_SETCOLOR)
            received.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Dispatches everything queued, each message first offered to the windows' pre-translation.
inline void PumpTranslated()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        if (CWnd::WalkPreTranslateTree(nullptr, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The thread's colour sheet once it shows, or null.
inline CQZColorDialog* FindShownColorSheet()
{
    CQZColorDialog* found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            auto* sheet = dynamic_cast<CQZColorDialog*>(CWnd::FromHandlePermanent(window));
            if (!sheet || !::IsWindowVisible(window))
                return TRUE;
            *reinterpret_cast<CQZColorDialog**>(result) = sheet;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Runs the steps once the colour sheet shows, from a thread timer inside its modal loop.
// The steps end the sheet; one they leave open is cancelled (and reported) rather than
// left waiting for a person, and a sheet that never shows is reported too.
class SheetScript {
public:
    explicit SheetScript(std::function<void(CQZColorDialog&)> steps) : m_steps(std::move(steps))
    {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 20, &Tick);
    }
    ~SheetScript()
    {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
        EXPECT_TRUE(m_ran) << "the colour sheet never showed";
        EXPECT_FALSE(m_leftOpen) << "the steps left the sheet open";
    }
    SheetScript(const SheetScript&) = delete;
    SheetScript& operator=(const SheetScript&) = delete;

    // Lets the next sheet run the steps again.
    void Rearm() { m_ran = false; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        SheetScript* script = s_current;
        CQZColorDialog* sheet = FindShownColorSheet();
        if (!script || !sheet)
            return;
        if (!script->m_ran) {
            script->m_ran = true;
            script->m_steps(*sheet);
        } else {
            script->m_leftOpen = true;
            sheet->EndDialog(IDCANCEL);
        }
    }

    std::function<void(CQZColorDialog&)> m_steps;
    UINT_PTR m_timer = 0;
    bool m_ran = false;
    bool m_leftOpen = false;
    static inline SheetScript* s_current = nullptr;
};

// Presses the sheet's OK or Cancel as the button would.
inline void PressSheetButton(CQZColorDialog& sheet, int id)
{
    sheet.PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(sheet.GetDlgItem(id)->GetSafeHwnd()));
}

} // namespace colour_test
