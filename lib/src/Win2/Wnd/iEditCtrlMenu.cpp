// The edit's own context menu: Undo, Cut, Copy, Paste, Clear and Select All, each enabled
// only when it can act, drawn as an image menu. The chosen item comes back to the edit as
// a standard edit command.
#include "lib/src/Win2/Wnd/iEditCtrl.h"
#include "lib/src/Win2/Wnd/iMenu.h"
#include "lib/src/Win2/Wnd/iVeltraCoolMenu.h"

namespace {

struct MenuRow {
    UINT id;  // 0: a separator
    const char* text;
};

const MenuRow kMenuRows[] = {
    {ID_EDIT_UNDO, "&Undo\t<Ctrl+Z>"},
    {0, nullptr},
    {ID_EDIT_CUT, "Cu&t\t<Ctrl+X>"},
    {ID_EDIT_COPY, "&Copy\t<Ctrl+C>"},
    {ID_EDIT_PASTE, "&Paste\t<Ctrl+V>"},
    {ID_EDIT_CLEAR, "Cle&ar\t<Del>"},
    {0, nullptr},
    {ID_EDIT_SELECT_ALL, "Select &All"},
};

} // namespace

void iEditCtrl::OnContextMenu(CWnd* pWnd, CPoint point)
{
    // The menu key and Shift+F10 give no point: open near the field's top-left corner.
    if (point.x == -1 && point.y == -1) {
        CRect client;
        GetClientRect(&client);
        ClientToScreen(&client);
        point = client.TopLeft();
        point.Offset(5, 5);
    }

    // The edit owns the menu it tracks and receives its initialisation, measuring and
    // drawing messages: the image menus hook the edit while the menu is shown.
    iVeltraCoolMenu coolMenu(this);
    iPopupMenu menu;
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool hasSelection = start < end;
    const bool canUndo = SendMessage(EM_CANUNDO) != 0;
    const bool canPaste = ::IsClipboardFormatAvailable(CF_TEXT) != FALSE;

    for (const MenuRow& row : kMenuRows) {
        if (!row.id) {
            menu.AppendMenu(MF_SEPARATOR);
            continue;
        }
        bool enabled = true;
        switch (row.id) {
        case ID_EDIT_UNDO:
            enabled = canUndo;
            break;
        case ID_EDIT_CUT:
        case ID_EDIT_COPY:
        case ID_EDIT_CLEAR:
            enabled = hasSelection;
            break;
        case ID_EDIT_PASTE:
            enabled = canPaste;
            break;
        default:
            break;
        }
        menu.AppendMenu(MF_STRING | (enabled ? MF_ENABLED : MF_DISABLED), row.id, row.text);
    }
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
}
