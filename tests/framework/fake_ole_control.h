// A small OLE control of the tests' own, registered for the test process under a class
// id of its own: it records what its host asks of it (site, verbs, rectangles, close,
// keys, automation calls) and, when asked to, makes a child window of the host on
// in-place activation, as a real control does.
#pragma once

#include "framework/Framework.h"

#include "window_test_support.h"

#include <windows.h>

#include <ole2.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <memory>

#include <string>
#include <vector>

namespace test_support {

// {5A0E9C51-2B7D-4E38-9A41-6C1D7F03B2E4}
inline const CLSID kFakeControlClsid = {0x5a0e9c51, 0x2b7d, 0x4e38, {0x9a, 0x41, 0x6c, 0x1d, 0x7f, 0x03, 0xb2, 0xe4}};

// How the next control made by the factory behaves.
struct FakeControlOptions {
    bool makesWindow = true;
    HRESULT activateResult = S_OK;
    // The key the control takes as an accelerator of its own.
    UINT acceleratorKey = VK_F5;
};

class FakeOleControl final : public IOleObject,
                             public IOleInPlaceObject,
                             public IOleInPlaceActiveObject,
                             public IDispatch {
public:
    virtual ~FakeOleControl() = default;
    FakeControlOptions options;

    // What the host did.
    IOleClientSite* site = nullptr;
    std::vector<bool> siteCalls;  // true: a site was set, false: it was taken away
    LONG verb = 0;
    HWND activateParent = nullptr;
    RECT activateRect = {};
    HWND frameWindow = nullptr;
    std::vector<RECT> objectRects;
    int closeCalls = 0;
    std::vector<UINT> translatedKeys;
    HWND window = nullptr;
    // Automation: the last call's member, flags and arguments (in Invoke's last-to-first order).
    DISPID invokedId = 0;
    WORD invokedFlags = 0;
    std::vector<VARIANTARG> invokedArgs;
    bool wantedResult = false;

    LONG refs = 1;

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject))
            *out = static_cast<IOleObject*>(this);
        else if (IsEqualIID(iid, IID_IOleInPlaceObject) || IsEqualIID(iid, IID_IOleWindow))
            *out = static_cast<IOleInPlaceObject*>(this);
        else if (IsEqualIID(iid, IID_IOleInPlaceActiveObject))
            *out = static_cast<IOleInPlaceActiveObject*>(this);
        else if (IsEqualIID(iid, IID_IDispatch))
            *out = static_cast<IDispatch*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(InterlockedIncrement(&refs)); }
    STDMETHOD_(ULONG, Release)() override
    {
        const LONG left = InterlockedDecrement(&refs);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IOleObject
    STDMETHOD(SetClientSite)(IOleClientSite* newSite) override
    {
        siteCalls.push_back(newSite != nullptr);
        if (newSite)
            newSite->AddRef();
        if (site)
            site->Release();
        site = newSite;
        return S_OK;
    }
    STDMETHOD(GetClientSite)(IOleClientSite** out) override
    {
        *out = site;
        if (site)
            site->AddRef();
        return S_OK;
    }
    STDMETHOD(SetHostNames)(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHOD(Close)(DWORD) override
    {
        ++closeCalls;
        InPlaceDeactivate();
        return S_OK;
    }
    STDMETHOD(SetMoniker)(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHOD(InitFromData)(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetClipboardData)(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHOD(DoVerb)(LONG iVerb, LPMSG, IOleClientSite* activeSite, LONG, HWND hwndParent, LPCRECT rect) override
    {
        verb = iVerb;
        activateParent = hwndParent;
        if (rect)
            activateRect = *rect;
        if (FAILED(options.activateResult))
            return options.activateResult;
        return ActivateInPlace(activeSite);
    }
    STDMETHOD(EnumVerbs)(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHOD(Update)() override { return S_OK; }
    STDMETHOD(IsUpToDate)() override { return S_OK; }
    STDMETHOD(GetUserClassID)(CLSID* id) override
    {
        *id = kFakeControlClsid;
        return S_OK;
    }
    STDMETHOD(GetUserType)(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHOD(SetExtent)(DWORD, SIZEL*) override { return S_OK; }
    STDMETHOD(GetExtent)(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHOD(Advise)(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unadvise)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumAdvise)(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHOD(GetMiscStatus)(DWORD, DWORD* status) override
    {
        *status = OLEMISC_SETCLIENTSITEFIRST;
        return S_OK;
    }
    STDMETHOD(SetColorScheme)(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    STDMETHOD(GetWindow)(HWND* out) override
    {
        *out = window;
        return window ? S_OK : E_FAIL;
    }
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
    STDMETHOD(InPlaceDeactivate)() override
    {
        if (!inPlace)
            return S_OK;
        inPlace = false;
        if (window)
            DestroyWindow(window);
        window = nullptr;
        IOleInPlaceSite* inPlaceSite = InPlaceSite();
        if (inPlaceSite) {
            inPlaceSite->OnInPlaceDeactivate();
            inPlaceSite->Release();
        }
        return S_OK;
    }
    STDMETHOD(UIDeactivate)() override { return S_OK; }
    STDMETHOD(SetObjectRects)(LPCRECT position, LPCRECT) override
    {
        objectRects.push_back(*position);
        if (window)
            MoveWindow(window, position->left, position->top, position->right - position->left,
                       position->bottom - position->top, TRUE);
        return S_OK;
    }
    STDMETHOD(ReactivateAndUndo)() override { return E_NOTIMPL; }
    STDMETHOD(TranslateAccelerator)(LPMSG msg) override
    {
        translatedKeys.push_back(static_cast<UINT>(msg->wParam));
        return msg->wParam == options.acceleratorKey ? S_OK : S_FALSE;
    }
    STDMETHOD(OnFrameWindowActivate)(BOOL) override { return S_OK; }
    STDMETHOD(OnDocWindowActivate)(BOOL) override { return S_OK; }
    STDMETHOD(ResizeBorder)(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHOD(EnableModeless)(BOOL) override { return S_OK; }

    // IDispatch: member 205 is a text property ("fake type"); member 7 fails with an
    // explained exception, member 8 with a plain result code; every other call succeeds.
    STDMETHOD(GetTypeInfoCount)(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                      UINT*) override
    {
        invokedId = id;
        invokedFlags = flags;
        invokedArgs.assign(params->rgvarg, params->rgvarg + params->cArgs);
        wantedResult = result != nullptr;
        if (id == 7) {
            excep->wCode = 1234;
            excep->bstrDescription = SysAllocString(L"the page cannot be shown");
            excep->bstrSource = SysAllocString(L"FakeControl");
            excep->dwHelpContext = 99;
            return DISP_E_EXCEPTION;
        }
        if (id == 8)
            return E_ACCESSDENIED;
        if (id == 205 && result) {
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocString(L"fake type");
        }
        return S_OK;
    }

private:
    bool inPlace = false;

    IOleInPlaceSite* InPlaceSite()
    {
        IOleInPlaceSite* inPlaceSite = nullptr;
        if (site)
            site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlaceSite));
        return inPlaceSite;
    }

    HRESULT ActivateInPlace(IOleClientSite* activeSite)
    {
        IOleInPlaceSite* inPlaceSite = InPlaceSite();
        if (!inPlaceSite)
            return E_NOINTERFACE;
        if (inPlaceSite->CanInPlaceActivate() != S_OK) {
            inPlaceSite->Release();
            return E_FAIL;
        }
        inPlaceSite->OnInPlaceActivate();
        inPlace = true;
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* doc = nullptr;
        RECT position = {};
        RECT clip = {};
        OLEINPLACEFRAMEINFO info = {sizeof info};
        inPlaceSite->GetWindowContext(&frame, &doc, &position, &clip, &info);
        if (frame) {
            frame->GetWindow(&frameWindow);
            frame->SetActiveObject(this, L"fake");
            frame->Release();
        }
        if (doc)
            doc->Release();
        HWND parent = nullptr;
        inPlaceSite->GetWindow(&parent);
        if (options.makesWindow)
            window = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, position.left, position.top,
                                     position.right - position.left, position.bottom - position.top, parent, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        inPlaceSite->Release();
        return S_OK;
    }
};

// Registers the fake control's class for the life of the object and keeps the last
// control it made alive, so a test can look at it after its host let it go.
class FakeControlClass : public IClassFactory {
public:
    FakeControlOptions next;
    FakeOleControl* last = nullptr;

    FakeControlClass()
    {
        CoRegisterClassObject(kFakeControlClsid, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
    }
    ~FakeControlClass()
    {
        CoRevokeClassObject(m_cookie);
        if (last) {
            // Whatever a test left attached goes with the control.
            if (last->site)
                last->SetClientSite(nullptr);
            last->Release();
        }
    }
    FakeControlClass(const FakeControlClass&) = delete;
    FakeControlClass& operator=(const FakeControlClass&) = delete;

    // The references others hold on the last control (the class's own one left out).
    LONG OutsideReferences() const { return last ? last->refs - 1 : 0; }

    STDMETHOD(QueryInterface)(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID iid, void** out) override
    {
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        if (last)
            last->Release();
        last = new FakeOleControl;
        last->options = next;
        // The class keeps the creation reference; the caller gets one of its own.
        return last->QueryInterface(iid, out);
    }
    STDMETHOD(LockServer)(BOOL) override { return S_OK; }

private:
    DWORD m_cookie = 0;
};

// Makes sites that report their own destruction, so a test sees the framework let go.
class TrackingOccManager : public COccManager {
public:
    class Site : public COleControlSite {
    public:
        explicit Site(COleControlContainer* container) : COleControlSite(container) { ++s_live; }
        ~Site() override { --s_live; }
    };
    COleControlSite* CreateSite(COleControlContainer* container) override { return new Site(container); }

    // Sites made and not yet deleted.
    static inline int s_live = 0;
};

// Containment enabled with the tracking manager, the fake control's class registered, and a
// visible top-level window to host controls; all undone after each test.
class OleHostTest : public OwnerWindowTest {
protected:
    void SetUp() override
    {
        TrackingOccManager::s_live = 0;
        AfxEnableControlContainer(new TrackingOccManager);
        fakeClass = std::make_unique<FakeControlClass>();
        OwnerWindowTest::SetUp();
    }
    void TearDown() override
    {
        OwnerWindowTest::TearDown();
        fakeClass.reset();
        AfxTermControlContainer();
    }

    FakeOleControl* control() const { return fakeClass->last; }

    std::unique_ptr<FakeControlClass> fakeClass;
};

} // namespace test_support
