// The site's command target: the browser asks its host before it shows a script error or
// one of its own dialogs (message, find, page set-up, print, close); the host answers for
// it, so none of them appears over the banner.
#include "banner/CustomControlSite.h"

#include "banner/BrowserIds.h"

namespace {

// The document command ids of the host's command group.
constexpr DWORD kShowScriptError = 40;
constexpr DWORD kFirstSilencedDialog = 41;  // show message
constexpr DWORD kLastSilencedDialog = 45;   // close

// The property `name` of object, read through automation; S_OK with *value set, or the failure.
HRESULT GetProperty(IDispatch* object, const wchar_t* name, VARIANT* value)
{
    VariantInit(value);
    auto* writableName = const_cast<LPOLESTR>(name);
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &writableName, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        return hr;
    DISPPARAMS none = {};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value, nullptr, nullptr);
}

// The object property `name` of object, with a reference; null when it has none.
IDispatch* GetObjectProperty(IDispatch* object, const wchar_t* name)
{
    VARIANT value;
    if (FAILED(GetProperty(object, name, &value)))
        return nullptr;
    IDispatch* found = nullptr;
    if ((value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) && value.punkVal)
        value.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&found));
    VariantClear(&value);
    return found;
}

// Reads the error of the page's current event (line, character, code, message, address).
// The values are not used; the answer is that of the last read. An in-variant that holds
// no page document, or a document without an event, has nothing to read: S_OK.
HRESULT ReadScriptError(const VARIANT* in)
{
    if (!in || (in->vt != VT_UNKNOWN && in->vt != VT_DISPATCH) || !in->punkVal)
        return S_OK;
    IDispatch* document = nullptr;
    if (FAILED(in->punkVal->QueryInterface(BrowserIds::HTMLDocument2, reinterpret_cast<void**>(&document))) ||
        !document)
        return S_OK;
    IDispatch* window = GetObjectProperty(document, L"parentWindow");
    document->Release();
    IDispatch* event = window ? GetObjectProperty(window, L"event") : nullptr;
    if (window)
        window->Release();
    if (!event)
        return S_OK;
    HRESULT hr = S_OK;
    for (const wchar_t* name : {L"errorLine", L"errorCharacter", L"errorCode", L"errorMessage", L"errorUrl"}) {
        VARIANT value;
        hr = GetProperty(event, name, &value);
        VariantClear(&value);
    }
    event->Release();
    return hr;
}

} // namespace

STDMETHODIMP CustomControlSite::XCommandTarget::QueryStatus(const GUID*, ULONG, OLECMD[], OLECMDTEXT*)
{
    return S_OK;
}

STDMETHODIMP CustomControlSite::XCommandTarget::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD, VARIANT* pvaIn,
                                                   VARIANT* pvaOut)
{
    if (!pguidCmdGroup || !IsEqualGUID(*pguidCmdGroup, BrowserIds::DocHostCommandGroup))
        return OLECMDERR_E_UNKNOWNGROUP;
    if (nCmdID == kShowScriptError) {
        const HRESULT hr = ReadScriptError(pvaIn);
        // True: the page's scripts go on running, and no error dialog is shown.
        if (pvaOut) {
            VariantClear(pvaOut);
            pvaOut->vt = VT_BOOL;
            pvaOut->boolVal = VARIANT_TRUE;
        }
        return hr;
    }
    if (nCmdID >= kFirstSilencedDialog && nCmdID <= kLastSilencedDialog)
        return S_OK;
    return OLECMDERR_E_NOTSUPPORTED;
}
