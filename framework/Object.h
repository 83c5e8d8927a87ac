// Stands in for the framework's object model: CObject with named run-time class
// records chained to their base, kind tests, dynamic creation and down-casts.
#pragma once

#include <windows.h>

class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();  // null for classes that are not dynamically creatable
    const CRuntimeClass* m_pBaseClass;

    // A new object of this class, or null when the class cannot be created dynamically.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
    // The serializable class registered under that name, or null.
    static CRuntimeClass* FromName(LPCSTR lpszClassName);
};

// Enters a serializable class into the list of classes registered at start-up.
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* runtimeClass) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(className) (const_cast<CRuntimeClass*>(&className::class##className))

#define DECLARE_DYNAMIC(className)                         \
public:                                                    \
    static const CRuntimeClass class##className;           \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(className) \
    DECLARE_DYNAMIC(className)       \
    static CObject* CreateObject();

#define SORVANTA_IMPLEMENT_RUNTIMECLASS(className, baseClassName, schema, creator)                        \
    const CRuntimeClass className::class##className = {#className, static_cast<int>(sizeof(className)), \
                                                       schema, creator, RUNTIME_CLASS(baseClassName)};   \
    CRuntimeClass* className::GetRuntimeClass() const { return RUNTIME_CLASS(className); }

#define IMPLEMENT_DYNAMIC(className, baseClassName) \
    SORVANTA_IMPLEMENT_RUNTIMECLASS(className, baseClassName, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(className, baseClassName)                  \
    CObject* className::CreateObject() { return new className; }      \
    SORVANTA_IMPLEMENT_RUNTIMECLASS(className, baseClassName, 0xFFFF, className::CreateObject)

// Serializable classes: dynamically creatable, with a schema number, and registered at
// start-up so that they can be found by name.
#define DECLARE_SERIAL(className) DECLARE_DYNCREATE(className)

#define IMPLEMENT_SERIAL(className, baseClassName, wSchema)                              \
    CObject* className::CreateObject() { return new className; }                         \
    SORVANTA_IMPLEMENT_RUNTIMECLASS(className, baseClassName, wSchema, className::CreateObject) \
    static const AFX_CLASSINIT sorvantaClassInit##className(RUNTIME_CLASS(className));

// The object as className when it is one (by run-time class), else null.
CObject* AfxDynamicDownCast(const CRuntimeClass* runtimeClass, CObject* object);
// A new object of runtimeClass when that class is creatable and a kind of baseClass, else
// null; an object of another kind is deleted at once. A null runtimeClass makes nothing.
CObject* AfxCreateObjectOfKind(const CRuntimeClass* runtimeClass, const CRuntimeClass* baseClass);
#define DYNAMIC_DOWNCAST(className, object) \
    (static_cast<className*>(AfxDynamicDownCast(RUNTIME_CLASS(className), object)))
#define STATIC_DOWNCAST(className, object) (static_cast<className*>(object))
