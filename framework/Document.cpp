// Documents: their views, titles and closing.
#include "Document.h"

#include "AfxMessageBox.h"
#include "DocTemplate.h"
#include "FrameWnd.h"
#include "View.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    // Views outliving their document must not reach back into it.
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle)
{
    m_strTitle = lpszTitle ? lpszTitle : "";
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCSTR lpszPathName)
{
    m_strPathName = lpszPathName ? lpszPathName : "";
}

void CDocument::AddView(CView* pView)
{
    if (!pView || std::find(m_views.begin(), m_views.end(), pView) != m_views.end())
        return;
    m_views.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    auto found = std::find(m_views.begin(), m_views.end(), pView);
    if (found == m_views.end())
        return;
    m_views.erase(found);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::OnChangedViewList()
{
    if (m_views.empty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    std::vector<CView*> views = m_views;
    for (CView* view : views) {
        if (view != pSender)
            view->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::UpdateFrameCounts()
{
    std::vector<CFrameWnd*> frames;
    for (CView* view : m_views) {
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    for (CFrameWnd* frame : frames)
        frame->OnUpdateFrameTitle(TRUE);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // Not deleted while its views go; each destroyed frame takes its view along.
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_views.empty()) {
        CView* view = m_views.front();
        CFrameWnd* frame = view->GetParentFrame();
        if (frame) {
            PreCloseFrame(frame);
            frame->DestroyWindow();
        } else {
            view->DestroyWindow();
        }
        // A view that did not leave with its window is taken off all the same.
        if (!m_views.empty() && m_views.front() == view)
            RemoveView(view);
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

void CDocument::DeleteContents() {}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString prompt;
    prompt.Format("Save changes to %s?", m_strPathName.IsEmpty() ? static_cast<LPCSTR>(m_strTitle)
                                                                   : static_cast<LPCSTR>(m_strPathName));
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return DoFileSave();
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDocument::DoFileSave()
{
    return FALSE;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame)
{
    // Another frame showing the document keeps it alive; the last one asks.
    for (CView* view : m_views) {
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && frame != pFrame)
            return TRUE;
    }
    return SaveModified();
}

void CDocument::PreCloseFrame(CFrameWnd* pFrame) {}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
