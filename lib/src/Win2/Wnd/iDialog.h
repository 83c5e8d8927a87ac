// The library's dialog: the framework's dialog as a container of the controls created on
// it, and buildable in code. Its in-memory forms make the template from a rectangle, a
// style and a caption and create the window at once (a modal one hidden, with its owner
// disabled), so the caller creates its controls with new on the window and then runs the
// modal loop on it. Rectangles are in dialog units unless the dialog-units flag is cleared.
#pragma once

#include "lib/src/Win2/Wnd/iDialogTemplate.h"
#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "lib/src/iString.h"

#include "framework/Framework.h"

class iDialog : public CDialog, public iWindowSetContainer {
public:
    iDialog();
    iDialog(LPCSTR templateName, CWnd* parent);
    iDialog(UINT templateId, CWnd* parent);
    // In-memory forms. The template is built without WS_MAXIMIZE; menu 0 or -1 is none.
    // A modeless dialog is an ordinary modeless window; a modal one is created hidden
    // (unless the style shows it) with its owner disabled, ready for DoModal.
    iDialog(CWnd* parent, const RECT& rect, DWORD style, LPCSTR caption, int menu, BOOL modeless);
    iDialog(CWnd* parent, const RECT& rect, DWORD style, LPCSTR caption, int menu, DWORD exStyle, BOOL modeless);
    // Deletes the controls created on the dialog. A modal dialog never run gives its owner
    // back enabled.
    ~iDialog() override;

    // Cleared by a caller that gives pixel rectangles, after construction and before it
    // creates controls.
    void SetDialogUnits(int flag) { m_dialogUnits = flag; }
    int GetDialogUnits() const { return m_dialogUnits; }

    // In pixel mode, places an in-memory dialog at its rectangle (centred when the
    // rectangle starts at 0,0); then the framework's initialisation; then focuses the first
    // tab item, selecting all of its text when it is an edit. Subclasses that build their
    // controls in code call it again once the controls exist.
    BOOL OnInitDialog() override;
    // The resource forms run the framework's modal run; the in-memory modal form runs the
    // loop on the window its constructor made. The value given to EndDialog, or -1.
    INT_PTR DoModal() override;

    iString GetText() const;

    iWindowSet& GetWindowSet() override { return m_windowSet; }
    bool UsesDialogUnits() const override { return m_dialogUnits != 0; }

protected:
    iDialogTemplate m_template;
    int m_created = 0;       // 1: an in-memory form, whose window exists before DoModal
    int m_dialogUnits = 1;   // 0: the dialog's and its controls' rectangles are in pixels
    HWND m_owner = nullptr;  // found by the modal in-memory form
    int m_ownerDisabled = 0; // the dialog disabled its owner and has not given it back
    RECT m_rect = {0, 0, 0, 0};
    DWORD m_style = 0;       // as given, WS_MAXIMIZE kept
    iWindowSet m_windowSet;

private:
    void CreateInMemory(CWnd* parent, const RECT& rect, DWORD style, LPCSTR caption, int menu, DWORD exStyle,
                        BOOL modeless);
    // The first half of a modal run: owner found and disabled, window created.
    void CreateModal(CWnd* parent);
    // Places the window at the recorded pixel rectangle.
    void PlaceInPixels();
};
