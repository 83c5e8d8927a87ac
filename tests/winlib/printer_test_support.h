// A scripted spooler for the printer-list tests: it answers EnumPrinters at level 1 the
// way the system's spooler does, records first and the strings they point to packed
// after them, and records how it was called.
#pragma once

#include "lib/src/Win2/Wnd/PrinterNames.h"

#include <windows.h>

#include <string>
#include <vector>

namespace winlib_test {

struct ScriptedSpooler {
    struct Call {
        DWORD flags;
        DWORD level;
        bool hadBuffer;
        DWORD bufferBytes;
        bool bufferAligned;  // aligned for the level-1 record
    };

    // What the spooler lists for PRINTER_ENUM_LOCAL and for PRINTER_ENUM_CONNECTIONS.
    static inline std::vector<std::string> local;
    static inline std::vector<std::string> connections;
    // Ways to misbehave: a filling call that fails as when a printer was added after the
    // size was asked for; a count larger or smaller than the records written; a size asked
    // for in place of the one the records need (0: the one they need).
    static inline bool failFilling = false;
    static inline DWORD extraCount = 0;
    static inline DWORD withheldCount = 0;
    static inline DWORD claimedBytes = 0;
    static inline std::vector<Call> calls;

    // The bytes the spooler asks for: the records and every string they point to.
    static DWORD NeededBytes(const std::vector<std::string>& names);
    static BOOL WINAPI EnumPrinters(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD bufferBytes,
                                    LPDWORD neededBytes, LPDWORD returned);
};

// Puts the scripted spooler in place, empty, for the life of the object.
class ScopedScriptedSpooler {
public:
    ScopedScriptedSpooler();
    ~ScopedScriptedSpooler();
    ScopedScriptedSpooler(const ScopedScriptedSpooler&) = delete;
    ScopedScriptedSpooler& operator=(const ScopedScriptedSpooler&) = delete;

private:
    EnumPrintersFunction m_previous;
};

} // namespace winlib_test
