// The library's property page: the framework's page as a container of the controls
// created on it, buildable in code. The in-memory form makes its own template, adds itself
// to its sheet, and creates its controls in CreateControls each time its window is made.
// Controls on the page mark it modified, which enables the sheet's Apply button.
#pragma once

#include "lib/src/Win2/Wnd/iDialogTemplate.h"
#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "framework/Framework.h"

class iPropertySheet;

class iPropertyPage : public CPropertyPage, public iWindowSetContainer {
    DECLARE_DYNCREATE(iPropertyPage)
public:
    iPropertyPage();
    iPropertyPage(UINT templateId, UINT captionId);
    iPropertyPage(LPCSTR templateName, UINT captionId);
    // A null caption leaves the framework's caption alone.
    iPropertyPage(UINT templateId, LPCSTR caption);
    iPropertyPage(LPCSTR templateName, LPCSTR caption);
    // In-memory form. When sheetWindow is an iPropertySheet the page takes its dialog-units
    // flag (converting its pixel rectangle to dialog units for the template) and adds
    // itself to it; any other sheet leaves it in dialog units and on no sheet.
    iPropertyPage(CWnd* sheetWindow, const RECT& rect, DWORD style, LPCSTR caption);
    // Leaves its sheet, then deletes the controls still in its set.
    ~iPropertyPage() override;

    // The tab label.
    void SetCaption(LPCSTR text);

    // Creates the page's controls with new on the page; runs each time the page's window
    // is made. Empty here.
    virtual void CreateControls();
    // CreateControls, then the framework dialog's initialisation (and its data exchange),
    // so that the controls exist when the data is loaded.
    BOOL OnInitDialog() override;

    iWindowSet& GetWindowSet() override { return m_windowSet; }
    bool UsesDialogUnits() const override { return m_dialogUnits != 0; }
    bool IsPropertyPage() const override { return true; }
    void MarkPageModified() override { SetModified(TRUE); }

    iPropertySheet* GetSheet() const { return m_sheet; }
    int GetDialogUnits() const { return m_dialogUnits; }

protected:
    // The page's window goes: the controls made for it go with it, so that a page shown
    // again does not pile new controls on the old ones.
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    iDialogTemplate m_template;
    iPropertySheet* m_sheet = nullptr;
    int m_dialogUnits = 1;
    RECT m_rect = {0, 0, 0, 0};  // after conversion to dialog units
    iWindowSet m_windowSet;
};
