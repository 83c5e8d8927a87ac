// View creation for toolkit windows.
#include "toolkit/foundation/QZCreateView.h"

#include "framework/CreateContext.h"
#include "framework/Document.h"
#include "framework/Exceptions.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "framework/Wnd.h"

namespace {

// A view or frame frees itself in PostNcDestroy, which a failed Create runs whether or
// not the window was made; any other window object is freed by whoever made it.
bool FreesItself(CWnd* view)
{
    return view->IsKindOf(RUNTIME_CLASS(CView)) || view->IsKindOf(RUNTIME_CLASS(CFrameWnd));
}

// The view's window; when it cannot be made the object is gone.
bool MakeViewWindow(CWnd* view, CWnd* pParent, CCreateContext* pContext, DWORD dwStyle, UINT nID)
{
    const bool freesItself = FreesItself(view);
    if (view->Create(nullptr, nullptr, dwStyle, CRect(0, 0, 0, 0), pParent, nID, pContext))
        return true;
    if (!freesItself)
        delete view;
    return false;
}

// A view whose window creation was cut short by an exception: a window already made is
// destroyed, and the object is freed unless its window's destruction has freed it.
void DiscardUnfinishedView(CWnd* view)
{
    const bool freesItself = FreesItself(view);
    const bool made = view->m_hWnd != nullptr;
    if (made)
        view->DestroyWindow();
    if (!made || !freesItself)
        delete view;
}

} // namespace

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
        if (view && !MakeViewWindow(view, pParent, pContext, dwStyle, nID))
            view = nullptr;
    }
    CATCH_ALL(e)
    {
        e->Delete();
        if (view)
            DiscardUnfinishedView(view);
        return nullptr;
    }
    END_CATCH_ALL
    if (!view)
        return nullptr;
    view->m_hWndOwner = pOwner->GetSafeHwnd();
    return view;
}
