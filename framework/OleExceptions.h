// Stands in for the framework's OLE exceptions: a failed COM call (COleException, with
// its result code) and a failed automation call that the object explained itself
// (COleDispatchException, with the texts of its exception record). Both are thrown by
// pointer and released by the handler with Delete(), like every framework exception.
#pragma once

#include "CString.h"
#include "Exceptions.h"

#include <windows.h>

class COleException : public CException {
    DECLARE_DYNAMIC(COleException)
public:
    explicit COleException(SCODE sc) : m_sc(sc) {}

    SCODE m_sc;
};

class COleDispatchException : public CException {
    DECLARE_DYNAMIC(COleDispatchException)
public:
    COleDispatchException(LPCSTR lpszDescription, UINT nHelpID, WORD wCode);

    WORD m_wCode;              // the object's own error code, 0 when it gave a result code instead
    SCODE m_scError;           // the result code, 0 when it gave m_wCode
    CString m_strDescription;
    CString m_strSource;
    CString m_strHelpFile;
    DWORD m_dwHelpContext;
};

[[noreturn]] void AfxThrowOleException(SCODE sc);
[[noreturn]] void AfxThrowOleDispatchException(WORD wCode, LPCSTR lpszDescription, UINT nHelpID = 0);

// The exception an automation call answers with: DISP_E_EXCEPTION becomes a dispatch
// exception carrying the record's texts (whose strings are freed here), anything else an
// OLE exception with the result code.
[[noreturn]] void AfxThrowOleInvokeFailure(HRESULT hr, EXCEPINFO* excepInfo);

// A wide COM text as the program's ANSI text; null gives the empty text.
CString AfxStringFromWide(LPCWSTR text);
