// Stands in for the framework's interface maps: a command target that is also a COM
// object keeps its interfaces as small nested "parts" (one member object per
// interface) and lists them in a per-class table of (interface id -> part), chained to
// the base class's table. A derived table is searched before its base's, so a class
// can answer an interface in place of its base. Every part forwards QueryInterface,
// AddRef and Release to its owner, which keeps the one reference count.
#pragma once

#include <windows.h>

#include <cstddef>

class CCmdTarget;

struct AFX_INTERFACEMAP_ENTRY {
    const IID* piid;                     // null ends the table
    void* (*pfnGetPart)(CCmdTarget* owner);  // the part inside owner that answers piid
};

struct AFX_INTERFACEMAP {
    const AFX_INTERFACEMAP* (*pfnGetBaseMap)();  // null at the top of the chain
    const AFX_INTERFACEMAP_ENTRY* pEntry;
};

#define DECLARE_INTERFACE_MAP()                            \
protected:                                                 \
    static const AFX_INTERFACEMAP* GetThisInterfaceMap();  \
    const AFX_INTERFACEMAP* GetInterfaceMap() const override;

#define BEGIN_INTERFACE_MAP(theClass, baseClass)                                            \
    const AFX_INTERFACEMAP* theClass::GetInterfaceMap() const { return GetThisInterfaceMap(); } \
    const AFX_INTERFACEMAP* theClass::GetThisInterfaceMap()                                 \
    {                                                                                       \
        typedef theClass ThisClass;                                                         \
        typedef baseClass TheBaseClass;                                                     \
        static const AFX_INTERFACEMAP_ENTRY _interfaceEntries[] = {

// The part is found through a cast of the owner, so no member offsets are needed here.
#define INTERFACE_PART(theClass, iid, localClass) \
    {&(iid), [](CCmdTarget* owner) -> void* { return &static_cast<theClass*>(owner)->m_x##localClass; }},

#define END_INTERFACE_MAP()                                                              \
    {nullptr, nullptr}                                                                   \
    }                                                                                    \
    ;                                                                                    \
    static const AFX_INTERFACEMAP _interfaceMap = {&TheBaseClass::GetThisInterfaceMap,   \
                                                   &_interfaceEntries[0]};               \
    return &_interfaceMap;                                                               \
    }

// A nested part: a class X<localClass> deriving from the interface, with IUnknown
// declared; the methods of the interface follow as STDMETHOD(...) override; lines.
#define BEGIN_INTERFACE_PART(localClass, baseClass)                    \
    class X##localClass : public baseClass {                           \
    public:                                                            \
        STDMETHOD_(ULONG, AddRef)() override;                          \
        STDMETHOD_(ULONG, Release)() override;                         \
        STDMETHOD(QueryInterface)(REFIID iid, LPVOID* ppvObj) override;

#define END_INTERFACE_PART(localClass) \
    }                                  \
    m_x##localClass;                   \
    friend class X##localClass;

// Inside a part's method: pThis is the owner that holds the part as m_x<localClass>.
// The parts sit in classes with virtual functions, which are not standard-layout;
// GCC lays such a member at a fixed offset all the same.
#define METHOD_PROLOGUE(theClass, localClass)                                                             \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Winvalid-offsetof\"")             \
    theClass* pThis = reinterpret_cast<theClass*>(reinterpret_cast<BYTE*>(this) -                        \
                                                  offsetof(theClass, m_x##localClass));                 \
    _Pragma("GCC diagnostic pop")                                                                        \
    static_cast<void>(pThis);

// The IUnknown of a part, forwarded to its owner's external reference count and query.
#define IMPLEMENT_INTERFACE_PART_UNKNOWN(theClass, localClass)                              \
    STDMETHODIMP_(ULONG) theClass::X##localClass::AddRef()                                  \
    {                                                                                       \
        METHOD_PROLOGUE(theClass, localClass)                                               \
        return pThis->ExternalAddRef();                                                     \
    }                                                                                       \
    STDMETHODIMP_(ULONG) theClass::X##localClass::Release()                                 \
    {                                                                                       \
        METHOD_PROLOGUE(theClass, localClass)                                               \
        return pThis->ExternalRelease();                                                    \
    }                                                                                       \
    STDMETHODIMP theClass::X##localClass::QueryInterface(REFIID iid, LPVOID* ppvObj)        \
    {                                                                                       \
        METHOD_PROLOGUE(theClass, localClass)                                               \
        return static_cast<HRESULT>(pThis->ExternalQueryInterface(&iid, ppvObj));           \
    }
