// Interface maps on command targets: which part answers which interface, a derived map
// searched before its base's, COM identity across parts, and the shared reference count.
#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <ocidl.h>

namespace {

// Two parts: IOleWindow (answering GetWindow with a marker) and IPersist.
class TwoPartTarget : public CCmdTarget {
public:
    bool* destroyed = nullptr;
    ~TwoPartTarget() override
    {
        if (destroyed)
            *destroyed = true;
    }

    DECLARE_INTERFACE_MAP()
public:
    BEGIN_INTERFACE_PART(Window, IOleWindow)
        STDMETHOD(GetWindow)(HWND* phwnd) override;
        STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
    END_INTERFACE_PART(Window)

    BEGIN_INTERFACE_PART(Persist, IPersist)
        STDMETHOD(GetClassID)(CLSID* id) override;
    END_INTERFACE_PART(Persist)
};

BEGIN_INTERFACE_MAP(TwoPartTarget, CCmdTarget)
    INTERFACE_PART(TwoPartTarget, IID_IOleWindow, Window)
    INTERFACE_PART(TwoPartTarget, IID_IPersist, Persist)
END_INTERFACE_MAP()

IMPLEMENT_INTERFACE_PART_UNKNOWN(TwoPartTarget, Window)
IMPLEMENT_INTERFACE_PART_UNKNOWN(TwoPartTarget, Persist)

const HWND kBaseWindowMarker = reinterpret_cast<HWND>(0x1111);
const HWND kDerivedWindowMarker = reinterpret_cast<HWND>(0x2222);

STDMETHODIMP TwoPartTarget::XWindow::GetWindow(HWND* phwnd)
{
    *phwnd = kBaseWindowMarker;
    return S_OK;
}

STDMETHODIMP TwoPartTarget::XPersist::GetClassID(CLSID* id)
{
    METHOD_PROLOGUE(TwoPartTarget, Persist)
    // The owner is reached from the part: its address must be the target's.
    *id = GUID{};
    id->Data1 = static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(pThis) & 0xFFFFFFFF);
    return S_OK;
}

// Chains one entry in front of its base's map, answering IOleWindow in its place.
class DerivedInterfaceTarget : public TwoPartTarget {
    DECLARE_INTERFACE_MAP()
public:
    BEGIN_INTERFACE_PART(OwnWindow, IOleWindow)
        STDMETHOD(GetWindow)(HWND* phwnd) override
        {
            *phwnd = kDerivedWindowMarker;
            return S_OK;
        }
        STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
    END_INTERFACE_PART(OwnWindow)
};

BEGIN_INTERFACE_MAP(DerivedInterfaceTarget, TwoPartTarget)
    INTERFACE_PART(DerivedInterfaceTarget, IID_IOleWindow, OwnWindow)
END_INTERFACE_MAP()

IMPLEMENT_INTERFACE_PART_UNKNOWN(DerivedInterfaceTarget, OwnWindow)

HWND WindowOf(IUnknown* unknown)
{
    IOleWindow* window = nullptr;
    if (FAILED(unknown->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window))))
        return nullptr;
    HWND hwnd = nullptr;
    window->GetWindow(&hwnd);
    window->Release();
    return hwnd;
}

} // namespace

TEST(InterfaceMap, EachInterfaceIsAnsweredByItsPartAndOthersAreRefused)
{
    TwoPartTarget target;
    struct Case {
        const char* why;
        const IID* iid;
        void* expected;
    };
    const Case cases[] = {
        {"listed first", &IID_IOleWindow, &target.m_xWindow},
        {"listed second", &IID_IPersist, &target.m_xPersist},
        {"identity is the first part", &IID_IUnknown, &target.m_xWindow},
        {"not listed", &IID_IDispatch, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        void* found = reinterpret_cast<void*>(0x1);
        const HRESULT hr = static_cast<HRESULT>(target.ExternalQueryInterface(c.iid, &found));
        EXPECT_EQ(c.expected, found);
        EXPECT_EQ(c.expected ? S_OK : E_NOINTERFACE, hr);
        if (found)
            static_cast<IUnknown*>(found)->Release();
    }
    EXPECT_EQ(1, target.m_dwRef);
}

TEST(InterfaceMap, EveryPartGivesTheSameIdentityAndReachesItsOwner)
{
    TwoPartTarget target;
    IUnknown* fromWindow = nullptr;
    IUnknown* fromPersist = nullptr;
    ASSERT_HRESULT_SUCCEEDED(target.m_xWindow.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromWindow)));
    ASSERT_HRESULT_SUCCEEDED(target.m_xPersist.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromPersist)));
    EXPECT_EQ(fromWindow, fromPersist);
    // Across parts: from the persist part to the window part.
    IOleWindow* window = nullptr;
    ASSERT_HRESULT_SUCCEEDED(target.m_xPersist.QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)));
    EXPECT_EQ(&target.m_xWindow, window);
    CLSID id = {};
    target.m_xPersist.GetClassID(&id);
    EXPECT_EQ(static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(&target) & 0xFFFFFFFF), id.Data1);
    window->Release();
    fromWindow->Release();
    fromPersist->Release();
}

TEST(InterfaceMap, DerivedMapAnswersBeforeItsBaseAndStillReachesTheBaseParts)
{
    DerivedInterfaceTarget target;
    EXPECT_EQ(kDerivedWindowMarker, WindowOf(&target.m_xPersist));
    TwoPartTarget base;
    EXPECT_EQ(kBaseWindowMarker, WindowOf(&base.m_xWindow));
    IPersist* persist = nullptr;
    ASSERT_HRESULT_SUCCEEDED(target.m_xOwnWindow.QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist)));
    EXPECT_EQ(&target.m_xPersist, persist);
    persist->Release();
    // Identity comes from the most derived map, whichever part is asked.
    IUnknown* identity = nullptr;
    ASSERT_HRESULT_SUCCEEDED(target.m_xWindow.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
    EXPECT_EQ(static_cast<IUnknown*>(&target.m_xOwnWindow), identity);
    identity->Release();
}

TEST(InterfaceMap, PartsShareOneCountAndTheLastReleaseDeletesTheObject)
{
    bool destroyed = false;
    auto* target = new TwoPartTarget;
    target->destroyed = &destroyed;
    EXPECT_EQ(2u, target->m_xWindow.AddRef());
    EXPECT_EQ(3u, target->m_xPersist.AddRef());
    EXPECT_EQ(2u, target->m_xWindow.Release());
    EXPECT_EQ(1u, target->m_xPersist.Release());
    EXPECT_FALSE(destroyed);
    // The creator's reference goes last.
    EXPECT_EQ(0u, target->ExternalRelease());
    EXPECT_TRUE(destroyed);
}
