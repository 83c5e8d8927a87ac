// The program's document.
#include "Document.h"

#include "Workspace.h"

IMPLEMENT_DYNCREATE(Document, CDocument)

BEGIN_MESSAGE_MAP(Document, CDocument)
END_MESSAGE_MAP()

Document::Document() = default;

Document::~Document() = default;

BOOL Document::OnNewDocument()
{
    return CDocument::OnNewDocument() ? TRUE : FALSE;
}

BOOL Document::SaveModified()
{
    for (CView* view : GetViews())
        if (auto* workspace = dynamic_cast<Workspace*>(view); workspace && !workspace->AskToSaveChanges())
            return FALSE;
    return TRUE;
}
