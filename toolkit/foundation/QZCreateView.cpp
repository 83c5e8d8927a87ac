// View creation for toolkit windows.
#include "toolkit/foundation/QZCreateView.h"

#include "framework/CreateContext.h"
#include "framework/Document.h"
#include "framework/Exceptions.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "framework/Wnd.h"

CWnd* QZCreateView(CWnd* pParent, CRuntimeClass* pViewClass, CDocument* pDoc, CCreateContext* pContext,
                   DWORD dwStyle, CWnd* pOwner, UINT nID)
{
    if (!pOwner)
        pOwner = pParent;
    CCreateContext context;
    if (!pContext) {
        context.m_pNewViewClass = pViewClass;
        context.m_pCurrentDoc = pDoc;
        context.m_pNewDocTemplate = pDoc ? pDoc->GetDocTemplate() : nullptr;
        pContext = &context;
    }
    CWnd* view = nullptr;
    TRY
    {
        view = static_cast<CWnd*>(AfxCreateObjectOfKind(pViewClass, RUNTIME_CLASS(CWnd)));
    }
    CATCH_ALL(e)
    {
        e->Delete();
        return nullptr;
    }
    END_CATCH_ALL
    if (!view)
        return nullptr;
    // A view or frame frees itself in PostNcDestroy, which a failed Create runs whether or
    // not the window was made; any other window object is freed here, or it would be lost.
    const bool freesItself = view->IsKindOf(RUNTIME_CLASS(CView)) || view->IsKindOf(RUNTIME_CLASS(CFrameWnd));
    if (!view->Create(nullptr, nullptr, dwStyle, CRect(0, 0, 0, 0), pParent, nID, pContext)) {
        if (!freesItself)
            delete view;
        return nullptr;
    }
    view->m_hWndOwner = pOwner->GetSafeHwnd();
    return view;
}
