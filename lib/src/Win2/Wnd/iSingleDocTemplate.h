// The single-document template whose document strings are given as text: the window
// title, document name, new-file name, filter name, filter extension, registry
// file-type id and name, separated by newlines. The framework reads the strings from
// the template's string resource only while they are empty, so the text wins.
#pragma once

#include "framework/DocTemplate.h"

class iSingleDocTemplate : public CSingleDocTemplate {
public:
    // lpszDocStrings null leaves the strings to the string resource nIDResource.
    iSingleDocTemplate(LPCSTR lpszDocStrings, UINT nIDResource, CRuntimeClass* pDocClass,
                       CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);
    ~iSingleDocTemplate() override;
};
