// The names of the printers the spooler lists, read through a replaceable spooler call so
// that tests can play the spooler, whose answers depend on the machine.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

using EnumPrintersFunction = BOOL(WINAPI*)(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD bufferBytes,
                                           LPDWORD neededBytes, LPDWORD returned);

// Makes enumerate the spooler call (null: EnumPrintersA); returns the one it replaces.
EnumPrintersFunction SetEnumPrintersFunction(EnumPrintersFunction enumerate);

// The names (level-1 records) of the printers the spooler lists for the PRINTER_ENUM_*
// flags, in its order; none when it lists none or a call fails.
std::vector<std::string> EnumPrinterNames(DWORD flags);
