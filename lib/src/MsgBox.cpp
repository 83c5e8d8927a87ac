// Message boxes: formatting into the fixed buffer, then the show function.
#include "MsgBox.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {

constexpr size_t kTextSize = 2048;

int ShowWithWindows(HWND owner, const char* text, const char* caption, UINT style)
{
    return MessageBoxA(owner, text, caption, style);
}

// Read by any thread that shows a box; set by start-up code and tests.
std::atomic<MsgBoxShowFunction> g_show{ShowWithWindows};

WORD Show(UINT kind, UINT flags, const char* caption, HWND owner, const char* format, va_list args)
{
    char text[kTextSize] = "";
    if (format && vsnprintf(text, sizeof text, format, args) < 0)
        text[0] = '\0';
    return static_cast<WORD>(g_show.load()(owner, text, caption, kind | flags));
}

} // namespace

MsgBoxShowFunction SetMsgBoxShowFunction(MsgBoxShowFunction show)
{
    return g_show.exchange(show ? show : ShowWithWindows);
}

WORD MsgBox(UINT flags, const char* caption, HWND owner, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WORD answer = Show(0, flags, caption, owner, format, args);
    va_end(args);
    return answer;
}

WORD MsgBoxExclamation(UINT flags, const char* caption, HWND owner, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WORD answer = Show(MB_ICONEXCLAMATION, flags, caption, owner, format, args);
    va_end(args);
    return answer;
}

WORD MsgBoxQuestion(UINT flags, const char* caption, HWND owner, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WORD answer = Show(MB_ICONQUESTION, flags, caption, owner, format, args);
    va_end(args);
    return answer;
}

WORD MsgBoxStop(UINT flags, const char* caption, HWND owner, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WORD answer = Show(MB_ICONHAND, flags, caption, owner, format, args);
    va_end(args);
    return answer;
}
