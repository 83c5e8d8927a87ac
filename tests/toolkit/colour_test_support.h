// What the colour selection tests share: a window that records the colour messages and
// colour notifications it receives, in order, and a pump that gives windows their
// pre-translation as the program's message loop does.
#pragma once

#include "framework/Framework.h"
#include "toolkit/foundation/QZMessages.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace colour_test {

// One colour message (WM_QZ_COLOR*) or WM_COMMAND as received.
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
    // The colour messages only, without the notifications.
    std::vector<UINT> Messages() const
    {
        std::vector<UINT> messages;
        for (const Received& r : received)
            if (r.message != WM_COMMAND)
                messages.push_back(r.message);
        return messages;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if ((message >= WM_QZ_COLORUNCHANGED && message <= WM_QZ_COLORNOFILL) || message == WM_COMMAND)
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

} // namespace colour_test
