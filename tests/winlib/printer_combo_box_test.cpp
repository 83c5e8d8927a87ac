// The library's printer list on a real parent window: filled when it is made, local
// printers before connected ones, refilled by Refresh, which selects again the first
// entry that begins with the text selected before.
#include "lib/src/Win2/Wnd/iPrinterComboBox.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "printer_test_support.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using winlib_test::ScopedScriptedSpooler;
using winlib_test::ScriptedSpooler;
using Entries = std::vector<std::string>;

constexpr UINT kPrinterComboId = 331;

Entries EntriesOf(const CComboBox& combo)
{
    Entries entries;
    for (int i = 0; i < combo.GetCount(); ++i) {
        CString text;
        combo.GetLBText(i, text);
        entries.emplace_back(text);
    }
    return entries;
}

class PrinterComboBoxTest : public ::testing::Test {
protected:
    iPrinterComboBox* NewPrinterCombo(DWORD style = CBS_DROPDOWNLIST)
    {
        return new iPrinterComboBox(m_parent.get(), CRect(10, 10, 210, 200), style | WS_VISIBLE, nullptr,
                                    kPrinterComboId);
    }

    std::unique_ptr<iWnd> m_parent = std::make_unique<iWnd>(nullptr, CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW,
                                                            "parent", 0, 0, nullptr);
};

TEST_F(PrinterComboBoxTest, BothFormsListLocalPrintersThenConnectedOnes)
{
    ScopedScriptedSpooler spooler;
    ScriptedSpooler::local = {"Office Laser", "Desk Inkjet"};
    ScriptedSpooler::connections = {"\\\\server\\Shared Plotter"};
    const Entries kSpoolerOrder = {"Office Laser", "Desk Inkjet", "\\\\server\\Shared Plotter"};

    iPrinterComboBox* item = NewPrinterCombo();
    auto* window = new iPrinterComboBox(m_parent.get(), CRect(10, 40, 210, 200), CBS_DROPDOWNLIST, "ignored",
                                        kPrinterComboId + 1, 0, nullptr);
    for (iPrinterComboBox* combo : {item, window}) {
        ASSERT_TRUE(IsWindow(combo->m_hWnd));
        EXPECT_EQ(kSpoolerOrder, EntriesOf(*combo));
        EXPECT_EQ(CB_ERR, combo->GetCurSel());
        EXPECT_EQ(1u, m_parent->GetWindowSet().count(combo));
    }

    iPrinterComboBox* sorted = NewPrinterCombo(CBS_DROPDOWNLIST | CBS_SORT);
    EXPECT_EQ((Entries{"\\\\server\\Shared Plotter", "Desk Inkjet", "Office Laser"}), EntriesOf(*sorted));

    HWND itemWindow = item->m_hWnd;
    m_parent.reset();
    EXPECT_FALSE(IsWindow(itemWindow));
}

TEST_F(PrinterComboBoxTest, FillingEmptiesTheListFirst)
{
    ScopedScriptedSpooler spooler;
    ScriptedSpooler::local = {"Laser"};
    iPrinterComboBox* combo = NewPrinterCombo();
    combo->AddString("left from before");
    combo->FillPrinters();
    EXPECT_EQ(Entries{"Laser"}, EntriesOf(*combo));
}

TEST_F(PrinterComboBoxTest, RefreshSelectsTheFirstEntryBeginningWithTheOldSelection)
{
    struct Case {
        const char* why;
        Entries before;
        int selectBefore;  // -1: nothing selected
        Entries after;
        int selectedAfter;
    };
    const Case kCases[] = {
        {"the selected printer is still listed", {"Laser", "Inkjet"}, 1, {"Laser", "Inkjet"}, 1},
        {"it moved in the list", {"Laser", "Inkjet"}, 1, {"Inkjet", "Laser"}, 0},
        {"a new printer is listed as well", {"Laser"}, 0, {"Plotter", "Laser"}, 1},
        {"a name that is a prefix of a later one keeps its entry", {"Laser", "Laser Color"}, 0,
         {"Laser", "Laser Color"}, 0},
        {"a name that is a prefix of an earlier one selects that one", {"Laser Color", "Laser"}, 1,
         {"Laser Color", "Laser"}, 0},
        {"case is ignored", {"LASER"}, 0, {"Inkjet", "laser"}, 1},
        {"the selected printer is gone", {"Laser", "Inkjet"}, 1, {"Laser"}, CB_ERR},
        {"nothing was selected", {"Laser", "Inkjet"}, -1, {"Laser", "Inkjet"}, CB_ERR},
        {"no printers at all", {}, -1, {}, CB_ERR},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        ScopedScriptedSpooler spooler;
        ScriptedSpooler::local = c.before;
        iPrinterComboBox* combo = NewPrinterCombo();
        combo->SetCurSel(c.selectBefore);

        ScriptedSpooler::local = c.after;
        combo->Refresh();
        EXPECT_EQ(c.after, EntriesOf(*combo));
        EXPECT_EQ(c.selectedAfter, combo->GetCurSel());
        delete combo;
    }
}

TEST_F(PrinterComboBoxTest, ListsWhatTheSystemsSpoolerReports)
{
    Entries expected;
    for (DWORD flags : {static_cast<DWORD>(PRINTER_ENUM_LOCAL), static_cast<DWORD>(PRINTER_ENUM_CONNECTIONS)}) {
        std::vector<BYTE> buffer(64 * 1024);
        DWORD needed = 0;
        DWORD returned = 0;
        if (EnumPrintersA(flags, nullptr, 1, buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &returned)) {
            const auto* records = reinterpret_cast<const PRINTER_INFO_1A*>(buffer.data());
            for (DWORD i = 0; i < returned; ++i)
                expected.emplace_back(records[i].pName);
        }
    }
    iPrinterComboBox* combo = NewPrinterCombo();
    EXPECT_EQ(expected, EntriesOf(*combo));
    combo->Refresh();
    EXPECT_EQ(expected, EntriesOf(*combo));
    EXPECT_EQ(CB_ERR, combo->GetCurSel()) << "nothing was selected before";
}

} // namespace
