// The control site's answers to its control: client site, in-place site, control site
// and ambient-property dispatch. Each part forwards its IUnknown to the site.
#include "OleControlContainer.h"
#include "OleControlSite.h"
#include "Wnd.h"

IMPLEMENT_INTERFACE_PART_UNKNOWN(COleControlSite, OleClientSite)
IMPLEMENT_INTERFACE_PART_UNKNOWN(COleControlSite, OleIPSite)
IMPLEMENT_INTERFACE_PART_UNKNOWN(COleControlSite, OleControlSite)
IMPLEMENT_INTERFACE_PART_UNKNOWN(COleControlSite, AmbientProps)

// Client site.

STDMETHODIMP COleControlSite::XOleClientSite::SaveObject()
{
    // Nothing of a hosted control is stored.
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleClientSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
    if (ppmk)
        *ppmk = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XOleClientSite::GetContainer(IOleContainer** ppContainer)
{
    METHOD_PROLOGUE(COleControlSite, OleClientSite)
    if (!ppContainer)
        return E_POINTER;
    *ppContainer = nullptr;
    if (!pThis->m_pCtrlCont)
        return E_NOINTERFACE;
    return static_cast<HRESULT>(
        pThis->m_pCtrlCont->ExternalQueryInterface(&IID_IOleContainer, reinterpret_cast<void**>(ppContainer)));
}

STDMETHODIMP COleControlSite::XOleClientSite::ShowObject()
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleClientSite::OnShowWindow(BOOL)
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleClientSite::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

// In-place site.

STDMETHODIMP COleControlSite::XOleIPSite::GetWindow(HWND* phwnd)
{
    METHOD_PROLOGUE(COleControlSite, OleIPSite)
    if (!phwnd)
        return E_POINTER;
    *phwnd = pThis->GetContainerHwnd();
    return *phwnd ? S_OK : E_FAIL;
}

STDMETHODIMP COleControlSite::XOleIPSite::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XOleIPSite::CanInPlaceActivate()
{
    METHOD_PROLOGUE(COleControlSite, OleIPSite)
    return pThis->GetContainerHwnd() ? S_OK : S_FALSE;
}

STDMETHODIMP COleControlSite::XOleIPSite::OnInPlaceActivate()
{
    METHOD_PROLOGUE(COleControlSite, OleIPSite)
    pThis->m_bInPlaceActive = TRUE;
    if (!pThis->m_pInPlaceObject && pThis->m_pObject)
        pThis->m_pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&pThis->m_pInPlaceObject));
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::OnUIActivate()
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                                          LPRECT lprcPosRect, LPRECT lprcClipRect,
                                                          LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    METHOD_PROLOGUE(COleControlSite, OleIPSite)
    if (!ppFrame || !ppDoc || !lprcPosRect || !lprcClipRect)
        return E_POINTER;
    *ppFrame = nullptr;
    // The frame is the document window as well: there is no separate document window.
    *ppDoc = nullptr;
    COleControlContainer* container = pThis->m_pCtrlCont;
    if (!container)
        return E_UNEXPECTED;
    container->ExternalQueryInterface(&IID_IOleInPlaceFrame, reinterpret_cast<void**>(ppFrame));
    *lprcPosRect = pThis->m_rect;
    *lprcClipRect = pThis->m_rect;
    if (lpFrameInfo) {
        HWND containerWnd = pThis->GetContainerHwnd();
        lpFrameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = containerWnd ? ::GetAncestor(containerWnd, GA_ROOT) : nullptr;
        lpFrameInfo->haccel = nullptr;
        lpFrameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::Scroll(SIZE)
{
    return S_FALSE;
}

STDMETHODIMP COleControlSite::XOleIPSite::OnUIDeactivate(BOOL)
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::OnInPlaceDeactivate()
{
    METHOD_PROLOGUE(COleControlSite, OleIPSite)
    pThis->m_bInPlaceActive = FALSE;
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::DiscardUndoState()
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::DeactivateAndUndo()
{
    METHOD_PROLOGUE(COleControlSite, OleIPSite)
    if (pThis->m_pInPlaceObject)
        pThis->m_pInPlaceObject->UIDeactivate();
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::OnPosRectChange(LPCRECT lprcPosRect)
{
    METHOD_PROLOGUE(COleControlSite, OleIPSite)
    if (!lprcPosRect)
        return E_POINTER;
    // The control may size itself; the host agrees and keeps the new rectangle.
    pThis->m_rect = *lprcPosRect;
    if (pThis->m_pInPlaceObject) {
        RECT position = pThis->m_rect;
        pThis->m_pInPlaceObject->SetObjectRects(&position, &position);
    }
    return S_OK;
}

// Control site.

STDMETHODIMP COleControlSite::XOleControlSite::OnControlInfoChanged()
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleControlSite::LockInPlaceActive(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XOleControlSite::GetExtendedControl(IDispatch** ppDisp)
{
    if (ppDisp)
        *ppDisp = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XOleControlSite::TransformCoords(POINTL* pPtlHimetric, POINTF* pPtfContainer,
                                                              DWORD dwFlags)
{
    if (!pPtlHimetric || !pPtfContainer)
        return E_POINTER;
    // The container works in pixels of the screen.
    HDC screen = ::GetDC(nullptr);
    const float pixelsX = static_cast<float>(::GetDeviceCaps(screen, LOGPIXELSX));
    const float pixelsY = static_cast<float>(::GetDeviceCaps(screen, LOGPIXELSY));
    ::ReleaseDC(nullptr, screen);
    if (dwFlags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        pPtfContainer->x = static_cast<float>(pPtlHimetric->x) * pixelsX / 2540.0f;
        pPtfContainer->y = static_cast<float>(pPtlHimetric->y) * pixelsY / 2540.0f;
        return S_OK;
    }
    if (dwFlags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
        pPtlHimetric->x = static_cast<LONG>(pPtfContainer->x * 2540.0f / pixelsX + 0.5f);
        pPtlHimetric->y = static_cast<LONG>(pPtfContainer->y * 2540.0f / pixelsY + 0.5f);
        return S_OK;
    }
    return E_INVALIDARG;
}

STDMETHODIMP COleControlSite::XOleControlSite::TranslateAccelerator(MSG*, DWORD)
{
    // The host has no accelerators of its own to offer while the control has the focus.
    return S_FALSE;
}

STDMETHODIMP COleControlSite::XOleControlSite::OnFocus(BOOL)
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleControlSite::ShowPropertyFrame()
{
    return E_NOTIMPL;
}

// Ambient properties.

STDMETHODIMP COleControlSite::XAmbientProps::GetTypeInfoCount(UINT* pctinfo)
{
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP COleControlSite::XAmbientProps::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XAmbientProps::GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId)
{
    for (UINT i = 0; rgDispId && i < cNames; ++i)
        rgDispId[i] = DISPID_UNKNOWN;
    return cNames ? DISP_E_UNKNOWNNAME : S_OK;
}

STDMETHODIMP COleControlSite::XAmbientProps::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS*,
                                                    VARIANT* pVarResult, EXCEPINFO*, UINT*)
{
    METHOD_PROLOGUE(COleControlSite, AmbientProps)
    if (!(wFlags & DISPATCH_PROPERTYGET))
        return DISP_E_MEMBERNOTFOUND;
    VARIANT value;
    if (!pThis->GetAmbientProp(dispIdMember, &value))
        return DISP_E_MEMBERNOTFOUND;
    if (pVarResult)
        *pVarResult = value;
    else
        VariantClear(&value);
    return S_OK;
}
