// Stands in for the framework's list view: a view whose window is a list-view control
// ("SysListView32"), reached as a list control through GetListCtrl. The control paints
// itself; the view adds no drawing.
#pragma once

#include "ControlsListView.h"
#include "View.h"

class CListView : public CView {
    DECLARE_DYNCREATE(CListView)
public:
    CListView();

    // The view's window as a list control.
    CListCtrl& GetListCtrl() const;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnDraw(CDC* pDC) override;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
