// Stands in for the framework's view: a child window of a frame that shows a document
// and is the first target of commands (then its document). It joins the document named
// by its creation context, gets WM_INITIALUPDATE as OnInitialUpdate, and deletes itself
// after its window is destroyed.
#pragma once

#include "Wnd.h"

class CDocument;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnPrepareDC(CDC* pDC);
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // Called by the frame's SetActiveView; the view taking over takes the focus.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    // Called by the frame on WM_ACTIVATE before its default handling: with WA_INACTIVE
    // the focus is still on the control the user left. Does nothing here.
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;

    CDocument* m_pDocument = nullptr;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
