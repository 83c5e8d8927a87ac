// The library's printer list.
#include "lib/src/Win2/Wnd/iPrinterComboBox.h"

#include "lib/src/Win2/Wnd/PrinterNames.h"

#include <winspool.h>

BEGIN_MESSAGE_MAP(iPrinterComboBox, iComboBox)
END_MESSAGE_MAP()

iPrinterComboBox::iPrinterComboBox() = default;

iPrinterComboBox::iPrinterComboBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
    : iComboBox(parent, rect, style, text, id)
{
    FillPrinters();
}

iPrinterComboBox::iPrinterComboBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id,
                                   DWORD exStyle, LPVOID param)
    : iComboBox(parent, rect, style, text, id, exStyle, param)
{
    FillPrinters();
}

iPrinterComboBox::~iPrinterComboBox() = default;

void iPrinterComboBox::FillPrinters()
{
    ResetContent();
    AddPrinters(PRINTER_ENUM_LOCAL);
    AddPrinters(PRINTER_ENUM_CONNECTIONS);
}

void iPrinterComboBox::AddPrinters(DWORD flags)
{
    for (const std::string& name : EnumPrinterNames(flags))
        AddString(name.c_str());
}

void iPrinterComboBox::Refresh()
{
    CString selectedText;
    const bool hadSelection = GetCurSel() >= 0;
    if (hadSelection)
        selectedText = GetSelectedText();
    FillPrinters();
    if (hadSelection)
        SelectString(-1, selectedText);
}
