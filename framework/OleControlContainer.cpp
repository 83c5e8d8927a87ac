// The control container of a hosting window, its frame and container answers, and the
// window object's side of hosting: CreateControl and the destruction hooks.
#include "OleControlContainer.h"

#include "OccManager.h"
#include "OleControlSite.h"
#include "Wnd.h"

COleControlContainer::COleControlContainer(CWnd* pWnd) : m_pWnd(pWnd) {}

COleControlContainer::~COleControlContainer()
{
    DestroyControls();
    if (m_pActiveObject)
        m_pActiveObject->Release();
}

BEGIN_INTERFACE_MAP(COleControlContainer, CCmdTarget)
    INTERFACE_PART(COleControlContainer, IID_IOleInPlaceFrame, OleIPFrame)
    INTERFACE_PART(COleControlContainer, IID_IOleInPlaceUIWindow, OleIPFrame)
    INTERFACE_PART(COleControlContainer, IID_IOleWindow, OleIPFrame)
    INTERFACE_PART(COleControlContainer, IID_IOleContainer, OleContainer)
    INTERFACE_PART(COleControlContainer, IID_IParseDisplayName, OleContainer)
END_INTERFACE_MAP()

void COleControlContainer::DestroyControls()
{
    // Each site takes itself out of the list as it goes.
    while (!m_sites.empty()) {
        COleControlSite* site = m_sites.back();
        site->DestroyControl();
        if (!m_sites.empty() && m_sites.back() == site)
            m_sites.pop_back();
    }
}

void AfxOleDestroyHostedControl(CWnd* hosted)
{
    if (hosted && hosted->m_pCtrlSite)
        hosted->m_pCtrlSite->DestroyControl();
}

void AfxOleDestroyContainer(CWnd* container)
{
    COleControlContainer* controls = container ? container->m_pCtrlCont : nullptr;
    if (!controls)
        return;
    container->m_pCtrlCont = nullptr;
    controls->DestroyControls();
    // A control may still hold the frame; the container then lives on without its window.
    controls->m_pWnd = nullptr;
    controls->InternalRelease();
}

BOOL CWnd::CreateControl(REFCLSID clsid, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                         UINT nID, CFile* pPersist, BOOL bStorage, BSTR bstrLicKey)
{
    COccManager* manager = AfxGetOccManager();
    if (m_hWnd || m_pCtrlSite || !manager || !pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    const bool madeContainer = pParentWnd->m_pCtrlCont == nullptr;
    if (madeContainer)
        pParentWnd->m_pCtrlCont = new COleControlContainer(pParentWnd);
    COleControlContainer* container = pParentWnd->m_pCtrlCont;
    COleControlSite* site = manager->CreateSite(container);
    HRESULT hr = E_FAIL;
    if (site) {
        container->m_sites.push_back(site);
        hr = site->CreateControl(this, clsid, lpszWindowName, dwStyle, &rect, nID, pPersist, bStorage, bstrLicKey);
        if (FAILED(hr))
            site->DestroyControl();
    }
    // A container made for nothing goes again, so a failure leaves the parent as it was.
    if (FAILED(hr) && madeContainer && container->m_sites.empty())
        AfxOleDestroyContainer(pParentWnd);
    return SUCCEEDED(hr);
}

LPUNKNOWN CWnd::GetControlUnknown()
{
    return m_pCtrlSite ? m_pCtrlSite->m_pObject : nullptr;
}

// Frame.

IMPLEMENT_INTERFACE_PART_UNKNOWN(COleControlContainer, OleIPFrame)
IMPLEMENT_INTERFACE_PART_UNKNOWN(COleControlContainer, OleContainer)

STDMETHODIMP COleControlContainer::XOleIPFrame::GetWindow(HWND* phwnd)
{
    METHOD_PROLOGUE(COleControlContainer, OleIPFrame)
    if (!phwnd)
        return E_POINTER;
    // The frame of every hosted control is the container window's top-level window.
    HWND window = pThis->m_pWnd ? pThis->m_pWnd->m_hWnd : nullptr;
    *phwnd = window ? ::GetAncestor(window, GA_ROOT) : nullptr;
    return *phwnd ? S_OK : E_FAIL;
}

STDMETHODIMP COleControlContainer::XOleIPFrame::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP COleControlContainer::XOleIPFrame::GetBorder(LPRECT)
{
    // No room for a control's toolbars.
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP COleControlContainer::XOleIPFrame::RequestBorderSpace(LPCBORDERWIDTHS)
{
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP COleControlContainer::XOleIPFrame::SetBorderSpace(LPCBORDERWIDTHS pborderwidths)
{
    return pborderwidths ? INPLACE_E_NOTOOLSPACE : S_OK;
}

STDMETHODIMP COleControlContainer::XOleIPFrame::SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR)
{
    METHOD_PROLOGUE(COleControlContainer, OleIPFrame)
    if (pActiveObject)
        pActiveObject->AddRef();
    if (pThis->m_pActiveObject)
        pThis->m_pActiveObject->Release();
    pThis->m_pActiveObject = pActiveObject;
    return S_OK;
}

STDMETHODIMP COleControlContainer::XOleIPFrame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS)
{
    // Controls do not merge menus into the program's.
    return E_NOTIMPL;
}

STDMETHODIMP COleControlContainer::XOleIPFrame::SetMenu(HMENU, HOLEMENU, HWND)
{
    return S_OK;
}

STDMETHODIMP COleControlContainer::XOleIPFrame::RemoveMenus(HMENU)
{
    return S_OK;
}

STDMETHODIMP COleControlContainer::XOleIPFrame::SetStatusText(LPCOLESTR)
{
    return S_OK;
}

STDMETHODIMP COleControlContainer::XOleIPFrame::EnableModeless(BOOL)
{
    return S_OK;
}

STDMETHODIMP COleControlContainer::XOleIPFrame::TranslateAccelerator(LPMSG, WORD)
{
    return S_FALSE;
}

// Container.

STDMETHODIMP COleControlContainer::XOleContainer::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG* pchEaten,
                                                                 IMoniker** ppmkOut)
{
    if (pchEaten)
        *pchEaten = 0;
    if (ppmkOut)
        *ppmkOut = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlContainer::XOleContainer::EnumObjects(DWORD, IEnumUnknown** ppenum)
{
    if (ppenum)
        *ppenum = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlContainer::XOleContainer::LockContainer(BOOL)
{
    return S_OK;
}
