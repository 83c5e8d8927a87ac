// Interface maps of command targets: finding the part for an interface id and the one
// reference count all parts of an object share.
#include "CmdTarget.h"

#include <objbase.h>

const AFX_INTERFACEMAP* CCmdTarget::GetThisInterfaceMap()
{
    static const AFX_INTERFACEMAP_ENTRY entries[] = {{nullptr, nullptr}};
    static const AFX_INTERFACEMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_INTERFACEMAP* CCmdTarget::GetInterfaceMap() const
{
    return GetThisInterfaceMap();
}

LPUNKNOWN CCmdTarget::GetInterfaceHook(const void* iid)
{
    return nullptr;
}

LPUNKNOWN CCmdTarget::GetInterface(const void* iid)
{
    if (LPUNKNOWN hooked = GetInterfaceHook(iid))
        return hooked;
    const IID& wanted = *static_cast<const IID*>(iid);
    const bool wantsIdentity = IsEqualIID(wanted, IID_IUnknown);
    for (const AFX_INTERFACEMAP* map = GetInterfaceMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_INTERFACEMAP_ENTRY* entry = map->pEntry; entry->piid; ++entry) {
            // Every part derives from IUnknown first, so the part's address is its IUnknown.
            if (wantsIdentity || IsEqualIID(wanted, *entry->piid))
                return static_cast<LPUNKNOWN>(entry->pfnGetPart(this));
        }
    }
    return nullptr;
}

DWORD CCmdTarget::InternalQueryInterface(const void* iid, LPVOID* ppvObj)
{
    if (!ppvObj)
        return static_cast<DWORD>(E_POINTER);
    LPUNKNOWN part = GetInterface(iid);
    *ppvObj = part;
    if (!part)
        return static_cast<DWORD>(E_NOINTERFACE);
    ExternalAddRef();
    return S_OK;
}

DWORD CCmdTarget::InternalAddRef()
{
    return static_cast<DWORD>(InterlockedIncrement(&m_dwRef));
}

DWORD CCmdTarget::InternalRelease()
{
    const long left = InterlockedDecrement(&m_dwRef);
    if (left == 0)
        OnFinalRelease();
    return static_cast<DWORD>(left);
}

DWORD CCmdTarget::ExternalQueryInterface(const void* iid, LPVOID* ppvObj)
{
    return InternalQueryInterface(iid, ppvObj);
}

DWORD CCmdTarget::ExternalAddRef()
{
    return InternalAddRef();
}

DWORD CCmdTarget::ExternalRelease()
{
    return InternalRelease();
}

void CCmdTarget::OnFinalRelease()
{
    delete this;
}
