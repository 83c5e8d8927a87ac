// What the banner tests share: a host window with control containment enabled through a
// manager that makes the program's own site (recording what the control asks of it), and
// a stand-in for a page's scripting objects.
#pragma once

#include "banner/CustomControlSite.h"

#include "framework/window_test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace banner_test {

// The program's site, keeping the interface ids its control asks for.
class RecordingSite : public CustomControlSite {
public:
    explicit RecordingSite(COleControlContainer* container) : CustomControlSite(container) { ++s_live; }
    ~RecordingSite() override { --s_live; }

    std::vector<IID> asked;
    bool WasAsked(REFIID iid) const
    {
        for (const IID& one : asked) {
            if (IsEqualIID(one, iid))
                return true;
        }
        return false;
    }

    static inline int s_live = 0;

protected:
    LPUNKNOWN GetInterfaceHook(const void* iid) override
    {
        asked.push_back(*static_cast<const IID*>(iid));
        return nullptr;
    }
};

class RecordingOccManager : public COccManager {
public:
    COleControlSite* CreateSite(COleControlContainer* container) override
    {
        last = new RecordingSite(container);
        return last;
    }
    static inline RecordingSite* last = nullptr;
};

// Containment enabled with the recording manager and a visible top-level window to host
// controls; undone after each test.
class BrowserHostTest : public test_support::OwnerWindowTest {
protected:
    void SetUp() override
    {
        RecordingSite::s_live = 0;
        RecordingOccManager::last = nullptr;
        AfxEnableControlContainer(new RecordingOccManager);
        OwnerWindowTest::SetUp();
    }
    void TearDown() override
    {
        OwnerWindowTest::TearDown();
        AfxTermControlContainer();
    }
};

// An automation object with named properties (a page's document, window or event
// object), answering as IHTMLDocument2 as well when asked to; it records what was read.
class ScriptObject : public IDispatch {
public:
    explicit ScriptObject(bool isDocument = false) : m_isDocument(isDocument) {}
    virtual ~ScriptObject()
    {
        for (auto& entry : m_properties)
            VariantClear(&entry.second);
    }

    // The object keeps its own reference to child.
    void SetObject(const std::wstring& name, IDispatch* child)
    {
        VARIANT value;
        value.vt = VT_DISPATCH;
        value.pdispVal = child;
        child->AddRef();
        m_properties[name] = value;
    }
    void SetNumber(const std::wstring& name, LONG number)
    {
        VARIANT value;
        value.vt = VT_I4;
        value.lVal = number;
        m_properties[name] = value;
    }
    // Reading name fails with failure.
    void FailRead(const std::wstring& name, HRESULT failure) { m_failures[name] = failure; }

    std::vector<std::wstring> read;
    LONG refs = 1;

    STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++refs); }
    STDMETHOD_(ULONG, Release)() override
    {
        const LONG left = --refs;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    STDMETHOD(GetTypeInfoCount)(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                      UINT*) override;

private:
    bool m_isDocument;
    std::map<std::wstring, VARIANT> m_properties;
    std::map<std::wstring, HRESULT> m_failures;
    std::vector<std::wstring> m_ids;  // a name's id is its place here plus one
};

} // namespace banner_test
