// The site's user-interface handler for the browser: the browser shows no 3-D border and
// no context menu, keeps no accelerators of its own and offers pages no external object.
#include "banner/CustomControlSite.h"

STDMETHODIMP CustomControlSite::XDocHostUIHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    // Answered as shown: the browser shows no menu of its own.
    return S_OK;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (!pInfo)
        return E_POINTER;
    pInfo->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                                        IOleInPlaceFrame*, IOleInPlaceUIWindow*)
{
    return S_OK;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::HideUI()
{
    return S_OK;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::UpdateUI()
{
    return S_OK;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::EnableModeless(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::OnDocWindowActivate(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::OnFrameWindowActivate(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD)
{
    return S_FALSE;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::GetOptionKeyPath(LPOLESTR* pchKey, DWORD)
{
    if (pchKey)
        *pchKey = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget)
{
    if (ppDropTarget)
        *ppDropTarget = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::GetExternal(IDispatch** ppDispatch)
{
    // A page asking for window.external gets nothing.
    if (ppDispatch)
        *ppDispatch = nullptr;
    return S_OK;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR* ppchURLOut)
{
    if (ppchURLOut)
        *ppchURLOut = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CustomControlSite::XDocHostUIHandler::FilterDataObject(IDataObject*, IDataObject** ppDORet)
{
    if (ppDORet)
        *ppDORet = nullptr;
    return E_NOTIMPL;
}
