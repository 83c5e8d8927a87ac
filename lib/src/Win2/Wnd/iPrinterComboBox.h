// The library's printer list: a combo box filled with the printers installed on the
// machine and those it is connected to.
#pragma once

#include "lib/src/Win2/Wnd/iComboBox.h"

class iPrinterComboBox : public iComboBox {
public:
    // No window, no list.
    iPrinterComboBox();
    // iComboBox's two create forms, then the list of printers.
    iPrinterComboBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    iPrinterComboBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                     LPVOID param);
    ~iPrinterComboBox() override;

    // Empties the list, then adds the local printers and then the connected ones.
    void FillPrinters();
    // Adds the name of every printer the spooler lists for the PRINTER_ENUM_* flags, in
    // its order (a sorted list sorts them); nothing when it lists none or fails.
    void AddPrinters(DWORD flags);
    // Refills the list and selects the first entry that begins with the text of the one
    // selected before, ignoring case; nothing when none does or none was selected.
    void Refresh();

protected:
    DECLARE_MESSAGE_MAP()
};
