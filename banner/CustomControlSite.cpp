// The program's control site: its interface map and its ambient properties.
//
// The map lists the command target and the ambient dispatch besides the user-interface
// handler, so the browser really gets them: without them the download-control limits and
// the silenced script errors would be built but never seen. The ambient dispatch answers
// its own property and leaves every other one to the framework site, so the control still
// learns that it runs in user mode.
#include "banner/CustomControlSite.h"

#include "banner/BrowserIds.h"

#include <mshtmdid.h>

CustomControlSite::CustomControlSite(COleControlContainer* pCtrlCont) : COleControlSite(pCtrlCont) {}

CustomControlSite::~CustomControlSite() = default;

BEGIN_INTERFACE_MAP(CustomControlSite, COleControlSite)
    INTERFACE_PART(CustomControlSite, BrowserIds::DocHostUIHandler, DocHostUIHandler)
    INTERFACE_PART(CustomControlSite, IID_IOleCommandTarget, CommandTarget)
    INTERFACE_PART(CustomControlSite, IID_IDispatch, Dispatch)
END_INTERFACE_MAP()

IMPLEMENT_INTERFACE_PART_UNKNOWN(CustomControlSite, DocHostUIHandler)
IMPLEMENT_INTERFACE_PART_UNKNOWN(CustomControlSite, CommandTarget)
// Through the site like the other parts, so that the control can get back to the site's
// identity and its other interfaces from here.
IMPLEMENT_INTERFACE_PART_UNKNOWN(CustomControlSite, Dispatch)

void CustomControlSite::SetDownloadControl(DWORD flags)
{
    if (flags == m_downloadControl)
        return;
    m_downloadControl = flags;
    if (!m_pObject)
        return;
    IOleControl* control = nullptr;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(&control)))) {
        control->OnAmbientPropertyChange(DISPID_AMBIENT_DLCONTROL);
        control->Release();
    }
}

STDMETHODIMP CustomControlSite::XDispatch::GetTypeInfoCount(UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CustomControlSite::XDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CustomControlSite::XDispatch::GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId)
{
    for (UINT i = 0; rgDispId && i < cNames; ++i)
        rgDispId[i] = DISPID_UNKNOWN;
    return cNames ? DISP_E_UNKNOWNNAME : S_OK;
}

STDMETHODIMP CustomControlSite::XDispatch::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS*,
                                                  VARIANT* pVarResult, EXCEPINFO*, UINT*)
{
    METHOD_PROLOGUE(CustomControlSite, Dispatch)
    if (dispIdMember == DISPID_AMBIENT_DLCONTROL) {
        if (pVarResult) {
            VariantInit(pVarResult);
            pVarResult->vt = VT_I4;
            pVarResult->lVal = static_cast<LONG>(pThis->m_downloadControl);
        }
        return S_OK;
    }
    VARIANT value;
    if (pVarResult && pThis->GetAmbientProp(dispIdMember, &value))
        *pVarResult = value;
    // Any property neither site offers: answered, with the result left as it was.
    return S_OK;
}
