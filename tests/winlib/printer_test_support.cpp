// The scripted spooler.
#include "printer_test_support.h"

#include <winspool.h>

#include <cstring>

namespace winlib_test {

namespace {

// Each printer's level-1 record points to its name, a description and a comment.
std::string DescriptionOf(const std::string& name)
{
    return name + ",Scripted Driver,Room 1";
}

const std::vector<std::string>& ListFor(DWORD flags)
{
    static const std::vector<std::string> none;
    if (flags == PRINTER_ENUM_LOCAL)
        return ScriptedSpooler::local;
    if (flags == PRINTER_ENUM_CONNECTIONS)
        return ScriptedSpooler::connections;
    return none;
}

} // namespace

DWORD ScriptedSpooler::NeededBytes(const std::vector<std::string>& names)
{
    size_t bytes = names.size() * sizeof(PRINTER_INFO_1A);
    for (const std::string& name : names)
        bytes += (name.size() + 1) + (DescriptionOf(name).size() + 1) + (std::strlen("comment") + 1);
    return static_cast<DWORD>(bytes);
}

BOOL WINAPI ScriptedSpooler::EnumPrinters(DWORD flags, LPSTR, DWORD level, LPBYTE buffer, DWORD bufferBytes,
                                          LPDWORD neededBytes, LPDWORD returned)
{
    calls.push_back({flags, level, buffer != nullptr, bufferBytes,
                     reinterpret_cast<UINT_PTR>(buffer) % alignof(PRINTER_INFO_1A) == 0});
    const std::vector<std::string>& names = ListFor(flags);
    *returned = 0;
    *neededBytes = claimedBytes != 0 ? claimedBytes : NeededBytes(names);
    if (names.empty())
        return TRUE;
    if (!buffer || bufferBytes < *neededBytes || failFilling) {
        if (failFilling)
            *neededBytes += 64;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    auto* records = reinterpret_cast<PRINTER_INFO_1A*>(buffer);
    char* strings = reinterpret_cast<char*>(buffer) + bufferBytes;
    // Strings are packed from the end of the buffer down, as the spooler packs them.
    auto place = [&strings](const std::string& text) {
        strings -= text.size() + 1;
        std::memcpy(strings, text.c_str(), text.size() + 1);
        return strings;
    };
    for (size_t i = 0; i < names.size(); ++i) {
        records[i].Flags = PRINTER_ENUM_ICON8;
        records[i].pComment = place("comment");
        records[i].pDescription = place(DescriptionOf(names[i]));
        records[i].pName = place(names[i]);
    }
    *returned = static_cast<DWORD>(names.size()) + extraCount - withheldCount;
    return TRUE;
}

ScopedScriptedSpooler::ScopedScriptedSpooler() : m_previous(SetEnumPrintersFunction(&ScriptedSpooler::EnumPrinters))
{
    ScriptedSpooler::local.clear();
    ScriptedSpooler::connections.clear();
    ScriptedSpooler::failFilling = false;
    ScriptedSpooler::extraCount = 0;
    ScriptedSpooler::withheldCount = 0;
    ScriptedSpooler::claimedBytes = 0;
    ScriptedSpooler::calls.clear();
}

ScopedScriptedSpooler::~ScopedScriptedSpooler()
{
    SetEnumPrintersFunction(m_previous);
}

} // namespace winlib_test
