// The control site's life with its control: creation and in-place activation, placing,
// keyboard offers, the ambient properties, and closing and releasing on destruction.
#include "OleControlSite.h"

#include "OleControlContainer.h"
#include "Wnd.h"

#include <olectl.h>

#include <algorithm>

COleControlSite::COleControlSite(COleControlContainer* pCtrlCont) : m_pCtrlCont(pCtrlCont) {}

COleControlSite::~COleControlSite()
{
    // Normally released already; a site deleted with its control still held lets it go here.
    ReleaseControl();
}

BEGIN_INTERFACE_MAP(COleControlSite, CCmdTarget)
    INTERFACE_PART(COleControlSite, IID_IOleClientSite, OleClientSite)
    INTERFACE_PART(COleControlSite, IID_IOleWindow, OleIPSite)
    INTERFACE_PART(COleControlSite, IID_IOleInPlaceSite, OleIPSite)
    INTERFACE_PART(COleControlSite, IID_IOleControlSite, OleControlSite)
    INTERFACE_PART(COleControlSite, IID_IDispatch, AmbientProps)
END_INTERFACE_MAP()

HWND COleControlSite::GetContainerHwnd() const
{
    return m_pCtrlCont && m_pCtrlCont->m_pWnd ? m_pCtrlCont->m_pWnd->m_hWnd : nullptr;
}

HRESULT COleControlSite::CreateObject(REFCLSID clsid, BSTR bstrLicKey)
{
    const DWORD context = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
    if (!bstrLicKey)
        return CoCreateInstance(clsid, nullptr, context, IID_IOleObject, reinterpret_cast<void**>(&m_pObject));
    IClassFactory2* factory = nullptr;
    HRESULT hr = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory2, reinterpret_cast<void**>(&factory));
    if (FAILED(hr))
        return hr;
    hr = factory->CreateInstanceLic(nullptr, nullptr, IID_IOleObject, bstrLicKey, reinterpret_cast<void**>(&m_pObject));
    factory->Release();
    return hr;
}

HRESULT COleControlSite::CreateControl(CWnd* pWndCtrl, REFCLSID clsid, LPCSTR lpszWindowName, DWORD dwStyle,
                                       const RECT* prect, UINT nID, CFile* pPersist, BOOL bStorage,
                                       BSTR bstrLicKey)
{
    if (!pWndCtrl || !prect || m_pObject)
        return E_INVALIDARG;
    if (pPersist)
        return E_NOTIMPL;
    HWND container = GetContainerHwnd();
    if (!container)
        return E_UNEXPECTED;
    m_rect = *prect;
    m_nID = nID;
    m_dwStyle = dwStyle;

    HRESULT hr = CreateObject(clsid, bstrLicKey);
    if (FAILED(hr)) {
        m_pObject = nullptr;
        return hr;
    }
    // Some controls must know their site before they are initialised, the others after.
    DWORD miscStatus = 0;
    m_pObject->GetMiscStatus(DVASPECT_CONTENT, &miscStatus);
    IOleClientSite* clientSite = &m_xOleClientSite;
    const bool siteFirst = (miscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst)
        hr = m_pObject->SetClientSite(clientSite);
    if (SUCCEEDED(hr)) {
        IPersistStreamInit* persist = nullptr;
        if (SUCCEEDED(m_pObject->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) {
            hr = persist->InitNew();
            persist->Release();
        }
    }
    if (SUCCEEDED(hr) && !siteFirst)
        hr = m_pObject->SetClientSite(clientSite);
    if (FAILED(hr)) {
        ReleaseControl();
        return hr;
    }

    // The control's extent in HIMETRIC units, from the rectangle at the screen's resolution.
    HDC screen = GetDC(nullptr);
    SIZEL extent = {MulDiv(m_rect.Width(), 2540, GetDeviceCaps(screen, LOGPIXELSX)),
                    MulDiv(m_rect.Height(), 2540, GetDeviceCaps(screen, LOGPIXELSY))};
    ReleaseDC(nullptr, screen);
    m_pObject->SetExtent(DVASPECT_CONTENT, &extent);

    // The hosting object knows its site from here on, so the control's window, made during
    // activation, already belongs to a hosted control.
    m_pWndCtrl = pWndCtrl;
    pWndCtrl->m_pCtrlSite = this;
    RECT activateRect = m_rect;
    hr = m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, 0, container, &activateRect);
    if (FAILED(hr)) {
        pWndCtrl->m_pCtrlSite = nullptr;
        m_pWndCtrl = nullptr;
        ReleaseControl();
        return hr;
    }
    if (!m_pInPlaceObject)
        m_pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlaceObject));
    if (!m_pActiveObject)
        m_pObject->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&m_pActiveObject));
    HWND controlWindow = nullptr;
    if (m_pInPlaceObject && SUCCEEDED(m_pInPlaceObject->GetWindow(&controlWindow)) && ::IsWindow(controlWindow)) {
        m_hWnd = controlWindow;
        AttachControlWindow(lpszWindowName);
    }
    return S_OK;
}

void COleControlSite::AttachControlWindow(LPCSTR lpszWindowName)
{
    // Routed through the framework like any window of ours, so the object sees its messages
    // and learns when the window goes.
    if (!m_pWndCtrl->SubclassWindow(m_hWnd)) {
        m_hWnd = nullptr;
        return;
    }
    if (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD)
        ::SetWindowLongPtrA(m_hWnd, GWLP_ID, static_cast<LONG_PTR>(m_nID));
    if (lpszWindowName)
        ::SetWindowTextA(m_hWnd, lpszWindowName);
    if (!(m_dwStyle & WS_VISIBLE))
        ::ShowWindow(m_hWnd, SW_HIDE);
}

namespace {

// Whether two interface pointers belong to one object.
bool IsSameObject(IUnknown* a, IUnknown* b)
{
    IUnknown* identityA = nullptr;
    IUnknown* identityB = nullptr;
    a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identityA));
    b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identityB));
    const bool same = identityA && identityA == identityB;
    if (identityA)
        identityA->Release();
    if (identityB)
        identityB->Release();
    return same;
}

} // namespace

void COleControlSite::ReleaseControl()
{
    // The frame lets go of the control as its active object, should the control not say so itself.
    if (m_pCtrlCont && m_pCtrlCont->m_pActiveObject && m_pObject &&
        IsSameObject(m_pCtrlCont->m_pActiveObject, m_pObject)) {
        m_pCtrlCont->m_pActiveObject->Release();
        m_pCtrlCont->m_pActiveObject = nullptr;
    }
    if (m_pActiveObject) {
        m_pActiveObject->Release();
        m_pActiveObject = nullptr;
    }
    if (m_pInPlaceObject) {
        if (m_bInPlaceActive)
            m_pInPlaceObject->InPlaceDeactivate();
        m_pInPlaceObject->Release();
        m_pInPlaceObject = nullptr;
    }
    if (m_pObject) {
        IOleObject* object = m_pObject;
        m_pObject = nullptr;
        object->Close(OLECLOSE_NOSAVE);
        object->SetClientSite(nullptr);
        object->Release();
    }
    m_bInPlaceActive = FALSE;
}

void COleControlSite::DestroyControl()
{
    if (m_bDestroying)
        return;
    m_bDestroying = TRUE;
    // The hosting object stops routing to this site first: whatever the control does to its
    // window while it closes (even destroying it and so freeing a self-deleting object)
    // reaches the object as for an ordinary window.
    if (m_pWndCtrl) {
        m_pWndCtrl->m_pCtrlSite = nullptr;
        m_pWndCtrl = nullptr;
    }
    m_hWnd = nullptr;
    ReleaseControl();
    if (m_pCtrlCont) {
        std::vector<COleControlSite*>& sites = m_pCtrlCont->m_sites;
        sites.erase(std::remove(sites.begin(), sites.end(), this), sites.end());
        m_pCtrlCont = nullptr;
    }
    // The framework's own reference: the site goes now unless the control kept one.
    InternalRelease();
}

void COleControlSite::MoveWindow(int x, int y, int nWidth, int nHeight)
{
    m_rect.SetRect(x, y, x + nWidth, y + nHeight);
    if (m_pInPlaceObject) {
        RECT position = m_rect;
        m_pInPlaceObject->SetObjectRects(&position, &position);
    } else if (m_hWnd) {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, TRUE);
    }
}

BOOL COleControlSite::SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    if ((nFlags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
        if (nFlags & SWP_NOMOVE) {
            x = m_rect.left;
            y = m_rect.top;
        }
        if (nFlags & SWP_NOSIZE) {
            cx = m_rect.Width();
            cy = m_rect.Height();
        }
        MoveWindow(x, y, cx, cy);
    }
    if (nFlags & SWP_SHOWWINDOW)
        m_dwStyle |= WS_VISIBLE;
    if (nFlags & SWP_HIDEWINDOW)
        m_dwStyle &= ~WS_VISIBLE;
    if (!m_hWnd)
        return TRUE;
    return ::SetWindowPos(m_hWnd, hWndInsertAfter, 0, 0, 0, 0, nFlags | SWP_NOMOVE | SWP_NOSIZE);
}

BOOL COleControlSite::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    IOleInPlaceActiveObject* active = m_pActiveObject;
    if (!active && m_pCtrlCont)
        active = m_pCtrlCont->m_pActiveObject;
    return active && active->TranslateAccelerator(pMsg) == S_OK;
}

namespace {

// The background colour of a window's class brush; the dialog face when it has none.
COLORREF WindowBackColor(HWND window)
{
    auto brush = reinterpret_cast<HBRUSH>(::GetClassLongPtrA(window, GCLP_HBRBACKGROUND));
    const auto value = reinterpret_cast<UINT_PTR>(brush);
    // A class brush may be given as a system colour index plus one.
    if (value > 0 && value <= COLOR_MENUBAR + 1)
        return ::GetSysColor(static_cast<int>(value - 1));
    LOGBRUSH logBrush = {};
    if (brush && ::GetObjectA(brush, sizeof logBrush, &logBrush) == sizeof logBrush && logBrush.lbStyle == BS_SOLID)
        return logBrush.lbColor;
    return ::GetSysColor(COLOR_BTNFACE);
}

// The window's font as an OLE font object; the default GUI font when it has none.
HRESULT WindowFontDispatch(HWND window, IDispatch** font)
{
    auto hFont = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
    if (!hFont)
        hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA logFont = {};
    if (!::GetObjectA(hFont, sizeof logFont, &logFont))
        return E_FAIL;
    WCHAR faceName[LF_FACESIZE] = {};
    MultiByteToWideChar(CP_ACP, 0, logFont.lfFaceName, -1, faceName, LF_FACESIZE);
    HDC screen = ::GetDC(nullptr);
    const int pixelsPerInch = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    FONTDESC desc = {};
    desc.cbSizeofstruct = sizeof desc;
    desc.lpstrName = faceName;
    // Points times 10000, from the character height in pixels.
    desc.cySize.int64 = static_cast<LONGLONG>(MulDiv(std::abs(logFont.lfHeight), 720000, pixelsPerInch));
    desc.sWeight = static_cast<SHORT>(logFont.lfWeight);
    desc.sCharset = logFont.lfCharSet;
    desc.fItalic = logFont.lfItalic;
    desc.fUnderline = logFont.lfUnderline;
    desc.fStrikethrough = logFont.lfStrikeOut;
    return OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(font));
}

} // namespace

BOOL COleControlSite::GetAmbientProp(DISPID dispid, VARIANT* pvarResult)
{
    // pvarResult is written only when the property is offered.
    VARIANT value;
    VariantInit(&value);
    HWND container = GetContainerHwnd();
    switch (dispid) {
    case DISPID_AMBIENT_USERMODE:
        value.vt = VT_BOOL;
        value.boolVal = VARIANT_TRUE;
        break;
    case DISPID_AMBIENT_MESSAGEREFLECT:
        value.vt = VT_BOOL;
        value.boolVal = VARIANT_FALSE;
        break;
    case DISPID_AMBIENT_BACKCOLOR:
        value.vt = VT_I4;
        value.lVal = static_cast<LONG>(container ? WindowBackColor(container) : ::GetSysColor(COLOR_BTNFACE));
        break;
    case DISPID_AMBIENT_FORECOLOR:
        value.vt = VT_I4;
        value.lVal = static_cast<LONG>(::GetSysColor(COLOR_WINDOWTEXT));
        break;
    case DISPID_AMBIENT_FONT:
        if (FAILED(WindowFontDispatch(container, &value.pdispVal)))
            return FALSE;
        value.vt = VT_DISPATCH;
        break;
    default:
        return FALSE;
    }
    *pvarResult = value;
    return TRUE;
}
