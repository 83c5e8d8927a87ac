// The shortcut sheet: a resizable sheet, "Manage Keyboard Shortcuts", in which a user
// views a frame's commands with their shortcuts ("Shortcut Assignments") and assigns,
// removes or resets them ("Configure Shortcuts"). The pages edit the shortcut manager's
// table directly; the manager decides after the sheet what OK and Cancel mean.
// Both pages' category boxes begin with "[All Commands]": no category filter, rows named
// by the command's full name.
#pragma once

#include "framework/ControlsButtons.h"
#include "framework/ControlsLists.h"
#include "framework/GdiObjects.h"
#include "toolkit/controls/QZListCtrl.h"
#include "toolkit/controls/QZResizeSheet.h"

#include <vector>

class CQZAccelManager;

// Shows the key combination typed into it ("Ctrl+Shift+F5") instead of text. Every key
// goes to the combination, Tab, Enter and Escape included; the modifiers are named in the
// order Ctrl, Alt, Shift.
class CQZAccelKeyEdit : public CEdit {
public:
    CQZAccelKeyEdit();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    // FALSE until a complete combination (a key that is not a modifier) has been typed.
    BOOL GetKey(WORD& wKey, BOOL& bCtrl, BOOL& bAlt, BOOL& bShift) const;
    void Reset();

    BOOL m_bShift;
    BOOL m_bCtrl;
    BOOL m_bAlt;
    WORD m_wKey;
    BOOL m_bDefined;

private:
    void ShowCombination();
};

class CQZAccelPropertyPage1 : public CQZResizePropertyPage {
    DECLARE_DYNCREATE(CQZAccelPropertyPage1)
public:
    CQZAccelPropertyPage1();

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    void FillList();

    CButton m_btnExport;
    CComboBox m_cbCategory;
    CQZListCtrl m_lcCommands;
    CString m_strHeading;
    int m_nCategory;
    CQZAccelManager* m_pManager;
    CFont* m_pFont;
    BOOL m_bShowExport;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnSelChangeCategory();
    afx_msg void OnExport();
    DECLARE_MESSAGE_MAP()
};

class CQZAccelPropertyPage2 : public CQZResizePropertyPage {
    DECLARE_DYNCREATE(CQZAccelPropertyPage2)
public:
    CQZAccelPropertyPage2();

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    void FillCommands();
    void OnSelChangeCommands();

    CQZAccelKeyEdit m_edKey;
    CListBox m_lbAssignments;
    CListBox m_lbCommands;
    CComboBox m_cbCategory;
    CString m_strHeading;
    CString m_strDescription;
    int m_nCategory;
    CQZAccelManager* m_pManager;
    CFont* m_pFont;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnSelChangeCategory();
    afx_msg void OnSelChangeCommandsBox();
    afx_msg void OnAssign();
    afx_msg void OnRemove();
    afx_msg void OnResetAll();
    DECLARE_MESSAGE_MAP()
};

class CQZAccelPropertySheet : public CQZResizePropertySheet {
    DECLARE_DYNAMIC(CQZAccelPropertySheet)
public:
    CQZAccelPropertySheet(CQZAccelManager* pManager, CWnd* pParentWnd, BOOL bShowExport);
    ~CQZAccelPropertySheet() override;

    BOOL OnInitDialog() override;
    // The Export button (shown on request): for derived sheets; nothing here.
    virtual void OnExport(CQZAccelManager* pManager);

    HICON m_hIcon;
    CQZAccelPropertyPage1 m_page1;
    CQZAccelPropertyPage2 m_page2;
    CFont m_fontHeading;
    CQZAccelManager* m_pManager;

protected:
    // Makes the sheet wider by the pixels its heading lacks, within the screen.
    void WidenForHeading(int nShortPx);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};

// The shortcut sheet run modally for the manager: what DoModal answered.
INT_PTR QZRunShortcutSheet(CQZAccelManager* pManager, CWnd* pParentWnd);

// The text a page shows for a command: its full name, without the leading "category\"
// when a category is chosen.
CString QZAccelDisplayName(const CString& strFullName, const CString& strCategory);
// A command's description: its own string resource up to its first tab or line feed.
CString QZAccelDescription(UINT nCmdID);
// The category chosen in a page's box; empty for none and for "[All Commands]".
CString QZAccelChosenCategory(CComboBox& box);
// The manager's categories after "[All Commands]", the first entry chosen.
void QZAccelFillCategories(CComboBox& box, const CQZAccelManager* manager);
// A command a page lists: its id and the text the page shows for it.
struct QZAccelShownCommand {
    UINT nCmdID;
    CString strName;
};
// The manager's commands in the category chosen in box, in the manager's order.
std::vector<QZAccelShownCommand> QZAccelShownCommands(CComboBox& box, const CQZAccelManager* manager);
// The shortcut sheet pPage is on; null for a page shown in any other sheet.
CQZAccelPropertySheet* QZAccelSheetOf(CWnd* pPage);
// Gives a page's heading (already holding its text) room for that text in pFont: one
// line, as high as the font, reaching to rightPx (page client coordinates) and following
// the page's right edge as the sheet is sized; "..." ends a text the page is too narrow for.
void QZAccelFitHeading(CQZResizePropertyPage* pPage, CFont* pFont, int rightPx);
// How many pixels wider a page's heading must be to show its whole text in pFont.
int QZAccelHeadingShortPx(CWnd* pPage, CFont* pFont);
