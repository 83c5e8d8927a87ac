// A property sheet and a property page that the resize engine makes resizable. The sheet
// gets a size grip, sizing entries in its system menu, its buttons moving with the
// bottom-right corner and its tab control and pages stretching; its tab control paints
// off screen. A page never has a grip; its owner registers its controls after its start-up.
#pragma once

#include "framework/ControlsCommon.h"
#include "framework/PropertySheet.h"
#include "toolkit/controls/QZNoFlickerWnd.h"
#include "toolkit/controls/QZResize.h"

class CQZResizePropertySheet : public CPropertySheet, public CQZResize {
    DECLARE_DYNCREATE(CQZResizePropertySheet)
public:
    explicit CQZResizePropertySheet(UINT nIDCaption = 0, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0,
                                    UINT nFlags = 0);
    CQZResizePropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0, UINT nFlags = 0);

    BOOL OnInitDialog() override;

    CQZNoFlickerWnd<CTabCtrl> m_wndTab;

protected:
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    // Restore, Size, Minimize and Maximize in the sheet's system menu, labelled as in the
    // outermost ancestor's.
    void AddSizingCommands();
};

class CQZResizePropertyPage : public CPropertyPage, public CQZResize {
    DECLARE_DYNCREATE(CQZResizePropertyPage)
public:
    explicit CQZResizePropertyPage(UINT nIDTemplate = 0, UINT nIDCaption = 0, UINT nFlags = 0);

    BOOL OnInitDialog() override;

    UINT m_nIDTemplate;

protected:
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};
