// Creation of a view inside any window (a docking window or tab, not only a frame).
#pragma once

#include <windows.h>

class CDocument;
class CWnd;
struct CCreateContext;
struct CRuntimeClass;

// A view of class pViewClass as a child of pParent with the style and id; a null context
// is built from the class and the document, a null owner means the parent. Null when the
// view or its window cannot be made, or a framework exception cuts either short; the object
// and any window made are then gone (a view or frame frees itself with its window, any
// other object is deleted here).
CWnd* QZCreateView(CWnd* pParent, CRuntimeClass* pViewClass, CDocument* pDoc, CCreateContext* pContext,
                   DWORD dwStyle, CWnd* pOwner, UINT nID);
