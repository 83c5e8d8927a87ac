// The scripting stand-in of the banner tests.
#include "banner_test_support.h"

#include "banner/BrowserIds.h"

namespace banner_test {

STDMETHODIMP ScriptObject::QueryInterface(REFIID iid, void** out)
{
    *out = nullptr;
    const bool asDocument = m_isDocument && IsEqualIID(iid, BrowserIds::HTMLDocument2);
    if (!asDocument && !IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch))
        return E_NOINTERFACE;
    // The document interface derives from IDispatch; only that part is ever used here.
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP ScriptObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    for (UINT i = 0; i < count; ++i) {
        m_ids.push_back(names[i]);
        ids[i] = static_cast<DISPID>(m_ids.size());
    }
    return S_OK;
}

STDMETHODIMP ScriptObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                  UINT*)
{
    if (id < 1 || static_cast<size_t>(id) > m_ids.size() || !(flags & DISPATCH_PROPERTYGET))
        return DISP_E_MEMBERNOTFOUND;
    const std::wstring& name = m_ids[static_cast<size_t>(id) - 1];
    read.push_back(name);
    auto failure = m_failures.find(name);
    if (failure != m_failures.end())
        return failure->second;
    auto property = m_properties.find(name);
    if (property == m_properties.end())
        return DISP_E_MEMBERNOTFOUND;
    return result ? VariantCopy(result, &property->second) : S_OK;
}

} // namespace banner_test
