// Stands in for the framework's property sheet and pages over the control library's
// property sheets. The sheet runs modeless under the framework's own modal loop, so
// every message is pre-translated (the pages' controls first, then the sheet's dialog
// keys); it ends when the library closes it after OK or Cancel, or by EndDialog.
// Page windows are made by the library when first shown, attached to their page
// objects at WM_INITDIALOG, and may be destroyed and made again while the objects live.
// Activation, kill-activation and apply run the pages' data exchange; a refused value
// keeps its page showing.
#pragma once

#include "CString.h"
#include "Dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <vector>

class CTabCtrl;
class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage();
    // The caption string nIDCaption (0: the template's caption) becomes the tab label.
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption = 0);

    // The library's page record; dwSize, pfnDlgProc and lParam are the framework's.
    PROPSHEETPAGEA m_psp;
    // The tab label that m_psp.pszTitle points at with PSP_USETITLE.
    CString m_strCaption;

    // Tells the sheet the page has changes (its Apply button); nothing while the page has no window.
    void SetModified(BOOL bChanged = TRUE);

    // The page is about to show: its data is loaded again after the first showing.
    virtual BOOL OnSetActive();
    // The page is about to hide or the sheet applies: FALSE (a refused value) keeps it.
    virtual BOOL OnKillActive();
    // OK or Apply: the page's data is saved (FALSE keeps the sheet open), then OnOK.
    virtual BOOL OnApply();
    // Cancel: OnCancel.
    virtual void OnReset();
    virtual BOOL OnQueryCancel();
    // The sheet's OK and Cancel reach the page here; the pages' own do nothing more.
    void OnOK() override;
    void OnCancel() override;

    // Dialog keys belong to the sheet: the page lets the walk go on to it.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    friend class CPropertySheet;
    friend INT_PTR CALLBACK AfxPropPageDlgProc(HWND, UINT, WPARAM, LPARAM);

    void Construct(LPCSTR lpszTemplateName, UINT nIDCaption);
    // A library page made from m_psp for this object; null without a template.
    HPROPSHEETPAGE CreatePageHandle();

    CString m_strTemplateName;  // keeps a template name given as text
    BOOL m_bFirstSetActive = TRUE;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // The library's sheet header; dwSize, the pages, the caption and the parent are filled in by DoModal.
    PROPSHEETHEADERA m_psh;

    // Pages stay the caller's. Adding or removing works while the sheet window exists too.
    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const;
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    // The sheet's tab control (PSM_GETTABCONTROL): its permanent object, else a temporary one.
    CTabCtrl* GetTabControl() const;

    // IDOK or IDCANCEL, what EndDialog was given, or -1 when the sheet could not run.
    virtual INT_PTR DoModal();
    // Ends the modal run with nEndID, as pages do to close their sheet.
    void EndDialog(int nEndID);
    // The library's initialisation of the sheet; its result is WM_INITDIALOG's.
    virtual BOOL OnInitDialog();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Over once the library has closed the sheet (no current page any more).
    BOOL ContinueModal() override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void Construct(CWnd* pParentWnd, UINT iSelectPage);
    // Creates the sheet window, modeless, as this object; FALSE when the library refused.
    BOOL CreateSheetWindow(HWND hWndOwner);

    std::vector<CPropertyPage*> m_pages;
    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;
};

// The dialog procedure of the framework's pages: it attaches the page object named by
// the page record to its new window and passes WM_INITDIALOG through the object's map.
INT_PTR CALLBACK AfxPropPageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
