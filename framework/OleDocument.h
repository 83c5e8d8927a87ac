// Stands in for the framework's OLE container document, for its identity only. The
// program embeds no OLE documents, so no COleDocument is ever made (its constructor is
// not available) and no item is ever active in place: code that asks a document for its
// in-place item finds that the document is no COleDocument and goes no further.
#pragma once

#include "Document.h"

class CWnd;

// An embedded item; never made in this program.
class COleClientItem : public CCmdTarget {
    DECLARE_DYNAMIC(COleClientItem)
public:
    // The item's window while it is active in place.
    virtual CWnd* GetInPlaceWindow() = 0;

protected:
    COleClientItem() = default;
};

class COleDocument : public CDocument {
    DECLARE_DYNAMIC(COleDocument)
public:
    // The item active in place in pFrame's view, or null.
    virtual COleClientItem* GetInPlaceActiveItem(CWnd* pWnd) = 0;

protected:
    COleDocument() = default;
};
