// The engine's messages, status log and fatal internal error, and its small shared routines.
// A status log that cannot be opened (a read-only program folder) is reported once and the
// engine goes on: the error being logged is still answered to its caller, and a warning
// must not end the image editor.
#include "database/mgRuntime.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "database/mgFile.h"
#include "database/mgOs.h"

namespace {

MsgBoxShowFunction g_display = nullptr;
mgExitFunction g_exit = nullptr;
// Process-wide, as the console state and the shown-once flags of the log are.
int g_hasConsole = -1;
HANDLE g_console = nullptr;
bool g_directoryMessageShown = false;
bool g_logFailureShown = false;

void ShowText(const char* text)
{
    if (g_display) {
        g_display(nullptr, text, " ", MB_ICONINFORMATION);
        return;
    }
    if (g_hasConsole < 0) {
        char title[25];
        if (GetConsoleTitleA(title, sizeof title) == 0 && GetLastError() == ERROR_INVALID_HANDLE) {
            g_hasConsole = 0;
        } else {
            g_hasConsole = 1;
            g_console = GetStdHandle(STD_OUTPUT_HANDLE);
        }
    }
    if (g_hasConsole) {
        DWORD written = 0;
        WriteConsoleA(g_console, text, DWORD(strlen(text)), &written, nullptr);
    } else {
        MessageBoxA(nullptr, text, " ", MB_ICONINFORMATION);
    }
}

FILE* OpenLog(int code)
{
    int attempts = code <= kMgLogTextOnly ? 1 : 12;
    for (int i = 0; i < attempts; ++i) {
        FILE* log = fopen("MGSTATUS.DMS", "a");
        if (log)
            return log;
        if (i + 1 < attempts && !mgCloseOneVirtually())
            break;
    }
    return nullptr;
}

} // namespace

MsgBoxShowFunction mgSetDisplayFunction(MsgBoxShowFunction display)
{
    MsgBoxShowFunction old = g_display;
    g_display = display;
    return old;
}

mgExitFunction mgSetExitFunction(mgExitFunction exitFunction)
{
    mgExitFunction old = g_exit;
    g_exit = exitFunction;
    return old;
}

void mgResetStatusLogState()
{
    g_directoryMessageShown = false;
    g_logFailureShown = false;
}

void mgShowMessage(const char* format, ...)
{
    // Bounded: a message with a long path is cut at 255 characters instead of running
    // past the buffer.
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    text[sizeof text - 1] = 0;
    ShowText(text);
}

void mgExitProcess(UINT code)
{
    if (g_exit)
        g_exit(code);
    ExitProcess(code);
}

void mgInternalError(int number)
{
    char text[128];
    mgInstanceContext* ctx = mgCtx();
    snprintf(text, sizeof text, "Unexpected internal m-grove(R) error #%d (uerr_cod=%d)", number,
             ctx ? ctx->uerr_cod : 0);
    mgShowMessage("\n%s\n", text);
    mgStatusLog(text, kMgLogTextOnly);
    mgExitProcess(UINT(number));
}

int mgStatusLog(const char* text, int code)
{
    FILE* log = OpenLog(code);
    if (code <= kMgLogTextOnly)
        code = kMgLogTextOnly - code;
    if (!log) {
        mgInstanceContext* ctx = mgCtx();
        if (code == kMgLogOpenTest && ctx && ctx->localDirectory[0]) {
            if (!g_directoryMessageShown)
                mgShowMessage("\nDunmere status log failure:  Please verify that the LOCAL_DIRECTORY\n"
                              "or SERVER_DIRECTORY path (%s) is valid.\n",
                              ctx->localDirectory);
            g_directoryMessageShown = true;
        } else if (!g_directoryMessageShown && !g_logFailureShown) {
            mgShowMessage("\nDunmere status log failure: %s (%d)\n", text ? text : "", code);
            g_logFailureShown = true;
        }
        return code;
    }
    if (code != kMgLogOpenTest) {
        char entry[1024];
        if (code == kMgLogPlain) {
            snprintf(entry, sizeof entry, "%s", text ? text : "");
        } else {
            char when[64];
            mgNowText(mgNow(), when, sizeof when);
            if (code != 0)
                snprintf(entry, sizeof entry, "%s\t%s: %d", when, text ? text : "", code);
            else
                snprintf(entry, sizeof entry, "%s\t%s", when, text ? text : "");
        }
        fprintf(log, "%s\n", entry);
    }
    fclose(log);
    return code;
}

void mgStatusLogFile(const char* text, const char* fileName, int code)
{
    mgStatusLog(text, code);
    mgStatusLog(fileName ? fileName : "", kMgLogTextOnly);
}

uint16_t mgSetError(uint16_t code)
{
    if (mgInstanceContext* ctx = mgCtx())
        ctx->uerr_cod = code;
    return code;
}

void mgCopyBounded(char* destination, const char* source, size_t size)
{
    if (size == 0)
        return;
    if (!source) {
        memset(destination, 0, size);
        return;
    }
    size_t n = strnlen(source, size - 1);
    memcpy(destination, source, n);
    destination[n] = 0;
    destination[size - 1] = 0;
}

void mgCopyOut(uint8_t*& destination, const void* source, size_t count)
{
    memcpy(destination, source, count);
    destination += count;
}

void mgCopyIn(void* destination, const uint8_t*& source, size_t count)
{
    memcpy(destination, source, count);
    source += count;
}

void mgReverseBytes(uint8_t* buffer, int length)
{
    for (int i = 0, j = length - 1; i < j; ++i, --j) {
        uint8_t t = buffer[i];
        buffer[i] = buffer[j];
        buffer[j] = t;
    }
}

void mgSwapWords(uint8_t* buffer, int count)
{
    for (int i = 0; i < count; ++i) {
        uint8_t t = buffer[2 * i];
        buffer[2 * i] = buffer[2 * i + 1];
        buffer[2 * i + 1] = t;
    }
}

int mgAllBytesEqual(const uint8_t* buffer, int length, uint8_t value)
{
    for (int i = 0; i < length; ++i)
        if (buffer[i] != value)
            return 1;
    return 0;
}

void mgListUnlink(mgRing* element)
{
    if (element->next) {
        element->next->prev = element->prev;
        element->prev->next = element->next;
    }
    element->next = element->prev = nullptr;
}

void mgRingInit(mgRing* anchor)
{
    anchor->next = anchor->prev = anchor;
    anchor->owner = nullptr;
}

mgRing* mgNewRings(int count)
{
    auto* rings = static_cast<mgRing*>(mgCalloc(size_t(count), sizeof(mgRing)));
    for (int i = 0; rings && i < count; ++i)
        mgRingInit(&rings[i]);
    return rings;
}

void mgListMove(mgRing* element, mgRing* anchor, bool atHead)
{
    mgListUnlink(element);
    if (atHead) {
        element->next = anchor->next;
        element->prev = anchor;
    } else {
        element->next = anchor;
        element->prev = anchor->prev;
    }
    element->next->prev = element;
    element->prev->next = element;
}
