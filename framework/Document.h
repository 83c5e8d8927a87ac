// Stands in for the framework's document: title, path, modified flag and the views that
// show it. Commands reach it after its view and before the frame. A document deletes
// itself (m_bAutoDelete) when its last view goes or when it is closed.
#pragma once

#include "CString.h"
#include "CmdTarget.h"

#include <vector>

class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    // Updates the title of every frame that shows the document.
    virtual void SetTitle(LPCSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(LPCSTR lpszPathName);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& GetViews() const { return m_views; }
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
    // Tells the frames that show the document to refresh their titles.
    void UpdateFrameCounts();

    virtual BOOL OnNewDocument();
    // Destroys the frames of its views, then deletes itself when auto-deleting.
    virtual void OnCloseDocument();
    virtual void DeleteContents();
    // Asks about unsaved changes: FALSE keeps the document open.
    virtual BOOL SaveModified();
    // Saves under the current path; the framework has no file format of its own, so FALSE.
    virtual BOOL DoFileSave();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void PreCloseFrame(CFrameWnd* pFrame);

    // Its own map, then its template's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    BOOL m_bAutoDelete = TRUE;
    CDocTemplate* m_pDocTemplate = nullptr;

protected:
    virtual void OnChangedViewList();

    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_views;

    DECLARE_MESSAGE_MAP()
};
