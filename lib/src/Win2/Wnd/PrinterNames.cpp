// Printer names from the spooler's level-1 records.
#include "lib/src/Win2/Wnd/PrinterNames.h"

#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace {

EnumPrintersFunction g_enumPrinters = nullptr;

BOOL EnumPrintersCall(DWORD flags, DWORD level, LPBYTE buffer, DWORD bufferBytes, LPDWORD neededBytes,
                      LPDWORD returned)
{
    return (g_enumPrinters ? g_enumPrinters : ::EnumPrintersA)(flags, nullptr, level, buffer, bufferBytes,
                                                               neededBytes, returned);
}

} // namespace

EnumPrintersFunction SetEnumPrintersFunction(EnumPrintersFunction enumerate)
{
    EnumPrintersFunction previous = g_enumPrinters;
    g_enumPrinters = enumerate;
    return previous;
}

std::vector<std::string> EnumPrinterNames(DWORD flags)
{
    std::vector<std::string> names;
    DWORD neededBytes = 0;
    DWORD returned = 0;
    // Success with no buffer means there is nothing to list.
    if (EnumPrintersCall(flags, 1, nullptr, 0, &neededBytes, &returned) || neededBytes == 0)
        return names;

    // The spooler's size covers the records and the strings they point to, so it says
    // nothing about how many records there are: the buffer is exactly that size, rounded
    // up to whole record alignments, and the count comes from the filling call. Memory
    // from new[] is aligned for the records.
    constexpr DWORD kAlign = alignof(PRINTER_INFO_1A);
    if (neededBytes > MAXDWORD - kAlign)
        return names;
    const DWORD bufferBytes = (neededBytes + kAlign - 1) / kAlign * kAlign;
    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[bufferBytes]);
    if (!buffer)
        return names;
    if (!EnumPrintersCall(flags, 1, buffer.get(), bufferBytes, &neededBytes, &returned))
        return names;

    // Nothing is read outside the buffer: a count it cannot hold is cut to what it holds,
    // and a name is taken only when it lies in the buffer and ends there.
    const DWORD count = std::min<DWORD>(returned, bufferBytes / sizeof(PRINTER_INFO_1A));
    const auto* records = reinterpret_cast<const PRINTER_INFO_1A*>(buffer.get());
    const char* begin = reinterpret_cast<const char*>(buffer.get());
    const char* end = begin + bufferBytes;
    for (DWORD i = 0; i < count; ++i) {
        const char* name = records[i].pName;
        if (!name || name < begin || name >= end)
            continue;
        const void* terminator = std::memchr(name, '\0', static_cast<size_t>(end - name));
        if (terminator)
            names.emplace_back(name, static_cast<const char*>(terminator));
    }
    return names;
}
