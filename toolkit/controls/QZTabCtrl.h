// The toolkit's tab control with views: a common-controls tab control that owns one
// window per tab (see CQZTabCtrlBaseEx), paints itself in the toolkit's look without
// flicker, switches tabs with Ctrl+Tab, Ctrl+Shift+Tab and F6, offers every command to
// the selected tab's window first and shows its context menu on a right click.
#pragma once

#include "framework/ControlsCommon.h"
#include "toolkit/controls/QZTabCtrlBaseEx.h"

class CQZTabCtrl : public CTabCtrl, public CQZTabCtrlBaseEx {
    DECLARE_DYNAMIC(CQZTabCtrl)
public:
    CQZTabCtrl();
    ~CQZTabCtrl() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSelChanging(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    afx_msg void OnSysColorChange();
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
