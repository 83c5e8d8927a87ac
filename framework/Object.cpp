// Run-time class records: kind tests walk the chain of base records.
#include "Object.h"

#include <cstring>
#include <vector>

namespace {

// Filled during static initialisation, read afterwards.
std::vector<CRuntimeClass*>& SerialClasses()
{
    static std::vector<CRuntimeClass*> classes;
    return classes;
}

} // namespace

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsKindOf(const CRuntimeClass* runtimeClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(runtimeClass);
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
        if (c == base)
            return TRUE;
    }
    return FALSE;
}

CObject* AfxDynamicDownCast(const CRuntimeClass* runtimeClass, CObject* object)
{
    return (object && object->IsKindOf(runtimeClass)) ? object : nullptr;
}

CObject* AfxCreateObjectOfKind(const CRuntimeClass* runtimeClass, const CRuntimeClass* baseClass)
{
    CObject* made = runtimeClass ? runtimeClass->CreateObject() : nullptr;
    if (made && !made->IsKindOf(baseClass)) {
        delete made;
        return nullptr;
    }
    return made;
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
{
    SerialClasses().push_back(pNewClass);
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    for (CRuntimeClass* registered : SerialClasses()) {
        if (std::strcmp(registered->m_lpszClassName, lpszClassName) == 0)
            return registered;
    }
    return nullptr;
}
