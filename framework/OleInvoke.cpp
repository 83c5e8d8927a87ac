// Automation calls on a hosted control: the arguments described by a VTS_* string are
// packed into an IDispatch::Invoke, and a failure comes back as a framework exception.
#include "OleControlSite.h"

#include "OleExceptions.h"
#include "Wnd.h"

#include <oleauto.h>

#include <cstdarg>
#include <cstring>
#include <vector>

namespace {

// In a VTS_* string: the VARIANT type of an argument, with this bit when it is passed by pointer.
constexpr BYTE kByPointer = 0x40;

// Frees what the call left in the result and the exception record, whatever way it ends.
struct InvokeResult {
    VARIANT value;
    EXCEPINFO excepInfo = {};
    InvokeResult() { VariantInit(&value); }
    ~InvokeResult()
    {
        VariantClear(&value);
        SysFreeString(excepInfo.bstrSource);
        SysFreeString(excepInfo.bstrDescription);
        SysFreeString(excepInfo.bstrHelpFile);
    }
};

} // namespace

void COleControlSite::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                    const BYTE* pbParamInfo, va_list argList)
{
    if (vtRet != VT_EMPTY && vtRet != VT_BSTR)
        AfxThrowOleException(DISP_E_BADVARTYPE);
    if (vtRet != VT_EMPTY && !pvRet)
        AfxThrowOleException(E_POINTER);
    if (!m_pObject)
        AfxThrowOleException(OLE_E_NOTRUNNING);

    // Invoke takes the arguments last to first.
    const size_t count = pbParamInfo ? std::strlen(reinterpret_cast<const char*>(pbParamInfo)) : 0;
    std::vector<VARIANTARG> args(count);
    for (size_t i = 0; i < count; ++i) {
        VARIANTARG& arg = args[count - 1 - i];
        VariantInit(&arg);
        if (pbParamInfo[i] != (VT_VARIANT | kByPointer))
            AfxThrowOleException(DISP_E_BADVARTYPE);
        arg.vt = VT_VARIANT | VT_BYREF;
        arg.pvarVal = va_arg(argList, VARIANT*);
    }
    DISPPARAMS params = {count ? args.data() : nullptr, nullptr, static_cast<UINT>(count), 0};

    IDispatch* dispatch = nullptr;
    HRESULT hr = m_pObject->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    if (FAILED(hr) || !dispatch)
        AfxThrowOleException(FAILED(hr) ? hr : E_NOINTERFACE);
    InvokeResult result;
    UINT argError = 0;
    hr = dispatch->Invoke(dwDispID, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params,
                          vtRet == VT_EMPTY ? nullptr : &result.value, &result.excepInfo, &argError);
    dispatch->Release();
    if (FAILED(hr))
        AfxThrowOleInvokeFailure(hr, &result.excepInfo);

    if (vtRet == VT_BSTR) {
        if (result.value.vt != VT_BSTR) {
            hr = VariantChangeType(&result.value, &result.value, 0, VT_BSTR);
            if (FAILED(hr))
                AfxThrowOleException(hr);
        }
        *static_cast<CString*>(pvRet) = AfxStringFromWide(result.value.bstrVal);
    }
}

void CWnd::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...)
{
    if (!m_pCtrlSite)
        AfxThrowOleException(OLE_E_NOTRUNNING);
    va_list args;
    va_start(args, pbParamInfo);
    try {
        m_pCtrlSite->InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}
