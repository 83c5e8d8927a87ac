// Stands in for the framework's document templates: the resource id and the run-time
// classes of a document, its frame and its view, and the document strings. The
// single-document template keeps one document and reuses it for every new file.
#pragma once

#include "CString.h"
#include "CmdTarget.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    ~CDocTemplate() override;

    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    // Reads the document strings from the string resource m_nIDResource, only while
    // they are empty: text set in code wins.
    virtual void LoadTemplate();
    // One of the newline-separated document strings; FALSE when it is missing or empty.
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);
    virtual CDocument* CreateNewDocument();
    // A frame made by run-time class and LoadFrame with a context naming the view; null on failure.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    // A null path makes a new, empty document; this framework opens no files itself.
    virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    virtual BOOL SaveAllModified() = 0;
    virtual void CloseAllDocuments(BOOL bEndSession) = 0;

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
    // The in-place container menu; the program has no in-place documents.
    HMENU m_hMenuInPlace = nullptr;

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);
};

class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                       CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;
    BOOL SaveAllModified() override;
    void CloseAllDocuments(BOOL bEndSession) override;
    CDocument* GetOnlyDocument() const { return m_pOnlyDoc; }

protected:
    CDocument* m_pOnlyDoc = nullptr;
};
