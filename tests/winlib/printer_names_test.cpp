// Printer names read from the spooler's level-1 records: the buffer is sized from the
// spooler's own answer (records plus their strings), the count comes from the filling
// call, and nothing is read outside the buffer whatever the spooler answers.
#include "lib/src/Win2/Wnd/PrinterNames.h"

#include "printer_test_support.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <string>
#include <vector>

namespace {

using winlib_test::ScopedScriptedSpooler;
using winlib_test::ScriptedSpooler;
using Names = std::vector<std::string>;

DWORD RoundedToRecordAlignment(DWORD bytes)
{
    return (bytes + alignof(PRINTER_INFO_1A) - 1) / alignof(PRINTER_INFO_1A) * alignof(PRINTER_INFO_1A);
}

TEST(PrinterNames, TheBufferIsTheSizeTheSpoolerAsksForAndTheCountIsItsOwn)
{
    struct Case {
        const char* why;
        Names printers;
    };
    const Case kCases[] = {
        {"one printer whose strings outweigh several records", {std::string(150, 'P')}},
        {"two printers, listed in the spooler's order", {"Zeta Laser", "Alpha Inkjet"}},
        {"many short names", {"A", "B", "C", "D", "E", "F", "G", "H", "I"}},
        {"a name the size of a record", {std::string(sizeof(PRINTER_INFO_1A), 'r')}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        ScopedScriptedSpooler spooler;
        ScriptedSpooler::local = c.printers;
        EXPECT_EQ(c.printers, EnumPrinterNames(PRINTER_ENUM_LOCAL));

        ASSERT_EQ(2u, ScriptedSpooler::calls.size());
        const ScriptedSpooler::Call& sizing = ScriptedSpooler::calls[0];
        const ScriptedSpooler::Call& filling = ScriptedSpooler::calls[1];
        EXPECT_FALSE(sizing.hadBuffer);
        EXPECT_EQ(0u, sizing.bufferBytes);
        EXPECT_EQ(1u, filling.level);
        EXPECT_TRUE(filling.hadBuffer);
        EXPECT_TRUE(filling.bufferAligned);
        EXPECT_EQ(RoundedToRecordAlignment(ScriptedSpooler::NeededBytes(c.printers)), filling.bufferBytes);
    }
}

TEST(PrinterNames, NothingIsListedWhenTheSpoolerHasNothingOrFails)
{
    struct Case {
        const char* why;
        Names printers;
        bool failFilling;
        DWORD claimedBytes;
        size_t expectedCalls;
    };
    const Case kCases[] = {
        {"no printers: the sizing call succeeds and no buffer is made", {}, false, 0, 1},
        {"a printer added between the calls makes the filling call fail", {"Laser"}, true, 0, 2},
        {"a size that cannot be rounded up to whole records makes no buffer", {"Laser"}, false, MAXDWORD - 1, 1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        ScopedScriptedSpooler spooler;
        ScriptedSpooler::local = c.printers;
        ScriptedSpooler::failFilling = c.failFilling;
        ScriptedSpooler::claimedBytes = c.claimedBytes;
        EXPECT_EQ(Names{}, EnumPrinterNames(PRINTER_ENUM_LOCAL));
        EXPECT_EQ(c.expectedCalls, ScriptedSpooler::calls.size());
    }
}

TEST(PrinterNames, AClaimedCountBeyondTheRecordsReadsNothingOutsideTheBuffer)
{
    ScopedScriptedSpooler spooler;
    ScriptedSpooler::local = {"Laser", "Inkjet"};
    // The strings after the records would be read as further records: their "names" lie
    // nowhere in the buffer and are left out.
    ScriptedSpooler::extraCount = 1000;
    EXPECT_EQ((Names{"Laser", "Inkjet"}), EnumPrinterNames(PRINTER_ENUM_LOCAL));
}

TEST(PrinterNames, ARecordBeyondTheSpoolersCountIsNotRead)
{
    ScopedScriptedSpooler spooler;
    ScriptedSpooler::local = {"Laser", "Inkjet"};
    // Both records are written and whole, but only the first is counted.
    ScriptedSpooler::withheldCount = 1;
    EXPECT_EQ(Names{"Laser"}, EnumPrinterNames(PRINTER_ENUM_LOCAL));
}

TEST(PrinterNames, TheSystemsSpoolerIsAskedWhenNoneIsScripted)
{
    // Whatever this machine has installed (often nothing here): the same names the
    // spooler gives a caller that sizes its buffer generously.
    for (DWORD flags : {static_cast<DWORD>(PRINTER_ENUM_LOCAL), static_cast<DWORD>(PRINTER_ENUM_CONNECTIONS)}) {
        SCOPED_TRACE(flags);
        std::vector<BYTE> buffer(64 * 1024);
        DWORD needed = 0;
        DWORD returned = 0;
        Names expected;
        if (EnumPrintersA(flags, nullptr, 1, buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &returned)) {
            const auto* records = reinterpret_cast<const PRINTER_INFO_1A*>(buffer.data());
            for (DWORD i = 0; i < returned; ++i)
                expected.emplace_back(records[i].pName);
        }
        EXPECT_EQ(expected, EnumPrinterNames(flags));
    }
}

} // namespace
