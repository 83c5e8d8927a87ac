// OLE exceptions and turning an automation call's failure into one.
#include "OleExceptions.h"

#include <oleauto.h>

IMPLEMENT_DYNAMIC(COleException, CException)
IMPLEMENT_DYNAMIC(COleDispatchException, CException)

COleDispatchException::COleDispatchException(LPCSTR lpszDescription, UINT nHelpID, WORD wCode)
    : m_wCode(wCode), m_scError(0), m_strDescription(lpszDescription), m_dwHelpContext(nHelpID)
{
}

void AfxThrowOleException(SCODE sc)
{
    throw new COleException(sc);
}

void AfxThrowOleDispatchException(WORD wCode, LPCSTR lpszDescription, UINT nHelpID)
{
    throw new COleDispatchException(lpszDescription, nHelpID, wCode);
}

CString AfxStringFromWide(LPCWSTR text)
{
    if (!text || !*text)
        return CString();
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return CString();
    CString result;
    LPSTR buffer = result.GetBuffer(bytes);
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, bytes, nullptr, nullptr);
    result.ReleaseBuffer(bytes - 1);
    return result;
}

void AfxThrowOleInvokeFailure(HRESULT hr, EXCEPINFO* excepInfo)
{
    if (hr != DISP_E_EXCEPTION || !excepInfo)
        AfxThrowOleException(hr);
    // The object may have left the texts to be filled in on demand.
    if (excepInfo->pfnDeferredFillIn)
        excepInfo->pfnDeferredFillIn(excepInfo);
    auto* e = new COleDispatchException(AfxStringFromWide(excepInfo->bstrDescription), excepInfo->dwHelpContext,
                                        excepInfo->wCode);
    e->m_scError = excepInfo->wCode ? 0 : excepInfo->scode;
    e->m_strSource = AfxStringFromWide(excepInfo->bstrSource);
    e->m_strHelpFile = AfxStringFromWide(excepInfo->bstrHelpFile);
    SysFreeString(excepInfo->bstrSource);
    SysFreeString(excepInfo->bstrDescription);
    SysFreeString(excepInfo->bstrHelpFile);
    *excepInfo = EXCEPINFO{};
    throw e;
}
