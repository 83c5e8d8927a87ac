// The single-document template with document strings given as text.
#include "iSingleDocTemplate.h"

iSingleDocTemplate::iSingleDocTemplate(LPCSTR lpszDocStrings, UINT nIDResource, CRuntimeClass* pDocClass,
                                       CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : CSingleDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
    if (lpszDocStrings)
        m_strDocStrings = lpszDocStrings;
}

iSingleDocTemplate::~iSingleDocTemplate() = default;
