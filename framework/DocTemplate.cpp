// Document templates: making the document, its frame and view for a new file.
#include "DocTemplate.h"

#include "CreateContext.h"
#include "Document.h"
#include "FrameWnd.h"
#include "View.h"
#include "WinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate()
{
    if (m_strDocStrings.IsEmpty())
        m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    return AfxExtractSubString(rString, m_strDocStrings, index) && !rString.IsEmpty();
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    auto* document = static_cast<CDocument*>(AfxCreateObjectOfKind(m_pDocClass, RUNTIME_CLASS(CDocument)));
    if (!document)
        return nullptr;
    AddDocument(document);
    return document;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    auto* frame = static_cast<CFrameWnd*>(AfxCreateObjectOfKind(m_pFrameClass, RUNTIME_CLASS(CFrameWnd)));
    if (!frame)
        return nullptr;
    // A frame whose creation failed has already deleted itself.
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    // A document still open when the template goes is deleted with it.
    if (m_pOnlyDoc) {
        CDocument* document = m_pOnlyDoc;
        m_pOnlyDoc = nullptr;
        document->m_pDocTemplate = nullptr;
        document->m_bAutoDelete = FALSE;
        document->OnCloseDocument();
        delete document;
    }
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc)
{
    CDocTemplate::AddDocument(pDoc);
    m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString title;
    if (!GetDocString(title, docName))
        title = "Untitled";
    pDocument->SetTitle(title);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible)
{
    if (lpszPathName)
        return nullptr;
    CDocument* document = m_pOnlyDoc;
    CFrameWnd* frame = nullptr;
    bool created = false;
    if (document) {
        // One document at a time: a new file reuses it once it may be cleared.
        if (!document->SaveModified())
            return nullptr;
        if (!document->GetViews().empty())
            frame = document->GetViews().front()->GetParentFrame();
    } else {
        document = CreateNewDocument();
        if (!document)
            return nullptr;
        created = true;
    }
    if (!frame) {
        // Kept alive if the frame fails half way and takes its view with it.
        BOOL autoDelete = document->m_bAutoDelete;
        document->m_bAutoDelete = FALSE;
        frame = CreateNewFrame(document, nullptr);
        document->m_bAutoDelete = autoDelete;
        if (!frame) {
            if (created)
                delete document;
            return nullptr;
        }
    }
    SetDefaultTitle(document);
    if (!document->OnNewDocument()) {
        // Destroying the frame destroys the view, and with its last view the document.
        if (created)
            frame->DestroyWindow();
        return nullptr;
    }
    CWinApp* app = AfxGetApp();
    if (created && app && !app->m_pMainWnd)
        app->m_pMainWnd = frame;
    InitialUpdateFrame(frame, document, bMakeVisible);
    return document;
}

BOOL CSingleDocTemplate::SaveAllModified()
{
    return !m_pOnlyDoc || m_pOnlyDoc->SaveModified();
}

void CSingleDocTemplate::CloseAllDocuments(BOOL bEndSession)
{
    if (m_pOnlyDoc)
        m_pOnlyDoc->OnCloseDocument();
}
