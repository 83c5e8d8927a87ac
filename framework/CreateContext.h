// Stands in for the framework's creation context: what a frame needs to build its view
// (the view class, the document it shows, the template and the frame it joins).
#pragma once

struct CRuntimeClass;
class CDocument;
class CDocTemplate;
class CView;
class CFrameWnd;

struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};
