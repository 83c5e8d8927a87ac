// Run-time classes of the OLE container document and its items.
#include "OleDocument.h"

IMPLEMENT_DYNAMIC(COleClientItem, CCmdTarget)
IMPLEMENT_DYNAMIC(COleDocument, CDocument)
