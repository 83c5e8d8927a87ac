// The program's document: no data of its own (the workspace view holds the image). When
// the framework asks whether the main window may close, the view answers, asking the
// user about unsaved changes.
#pragma once

#include "framework/Framework.h"

class Document : public CDocument {
    DECLARE_DYNCREATE(Document)
public:
    Document();
    ~Document() override;

    BOOL OnNewDocument() override;
    // FALSE keeps the program running: the user cancelled, or saving the changes failed.
    BOOL SaveModified() override;

protected:
    DECLARE_MESSAGE_MAP()
};
