// Stands in for the framework's dialog: a CWnd over a dialog window made from a template
// resource (by name or id) or an in-memory template, modal or modeless. The object is
// attached to its window from WM_NCCREATE on, so its map sees WM_INITDIALOG; the modal
// run disables the owner, pumps the framework's loop with pre-translation (dialog keys
// through IsDialogMessage once the controls' own objects have had their look), then
// re-enables and re-activates the owner. Data exchange runs on OK and at initialisation.
#pragma once

#include "Wnd.h"

#include <windows.h>

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // A dialog prepared for a modal run that never ran (PreModal without PostModal) is
    // finished here: its disabled owner is enabled again, not left disabled for good.
    ~CDialog() override;

    // Modeless creation.
    virtual BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);

    // Modal run. InitModalIndirect names an in-memory template (the caller keeps it alive). Dialog
    // initialisation data (combo box lists beside a template) is not supported: FALSE.
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr,
                           void* lpDialogInit = nullptr);
    // IDOK, IDCANCEL or what EndDialog was given; -1 when the dialog could not run.
    virtual INT_PTR DoModal();
    // Sets m_nModalResult and ends the modal loop; a modeless dialog is hidden.
    void EndDialog(int nResult);

    // Runs UpdateData(FALSE); TRUE lets the dialog manager focus the first control.
    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Dialog units of this dialog's font to pixels.
    void MapDialogRect(LPRECT lpRect) const;

    LPCSTR m_lpszTemplateName = nullptr;  // a resource name or MAKEINTRESOURCE id
    LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;

protected:
    // Updates the data and ends with IDOK; a refused value keeps the dialog open.
    virtual void OnOK();
    virtual void OnCancel();

    // Before a modal window is made: finds the safe owner, disables the application's
    // modeless windows and installs the window-creation hook for this object.
    HWND PreModal();
    // Undoes PreModal.
    void PostModal();
    // The modal loop of the dialog's window while its run goes on, shown once idle; the
    // owner hears WM_ENTERIDLE unless the style has DS_NOIDLEMSG.
    void RunModalDialogLoop();

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The template to create from: the in-memory one, else the resource named by
    // m_lpszTemplateName in the resource module; null when missing.
    LPCDLGTEMPLATE FindTemplate(HINSTANCE* phInst) const;
    // A resource id is kept as given; a name given as text is copied into m_strTemplateName.
    void SetTemplateName(LPCSTR lpszTemplateName);
    CString m_strTemplateName;  // keeps a template name given as text
    // PreModal ran and PostModal has not: the destructor finishes the modal run.
    BOOL m_bModalPrepared = FALSE;
    // The owner PreModal found, and whether it was enabled then.
    HWND m_hWndModalOwner = nullptr;
    BOOL m_bOwnerWasEnabled = FALSE;
};

// The framework's dialog procedure: the dialog's object sees every message through its
// map first, so the procedure itself handles none.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Around a modal run: the application's modeless windows disabled (FALSE) and enabled
// again (TRUE); only on the application's own thread.
void AfxEnableModelessForModal(BOOL bEnable);
// The end of a modal run on pWnd: the owner is enabled again (when the run disabled it)
// before the window hides, so the activation can go back to it; then the window is destroyed.
void AfxEndModalWindow(CWnd* pWnd, HWND hWndOwner, BOOL bEnableOwner);
