// The program's control site called directly: which part answers which interface (with
// one identity and one reference count), the user-interface handler's answers, the
// command target's Exec, and the ambient dispatch with its download-control values.
#include "banner/BrowserIds.h"
#include "banner/CustomControlSite.h"

#include "banner_test_support.h"
#include "foundation/msgbox_test_support.h"

#include <gtest/gtest.h>

#include <exdisp.h>
#include <mshtml.h>
#include <mshtmdid.h>
#include <olectl.h>

using banner_test::ScriptObject;

namespace {

// A site over the container of a plain window, with no control: its answers are its own.
class ControlSiteTest : public test_support::OwnerWindowTest {
protected:
    void SetUp() override
    {
        OwnerWindowTest::SetUp();
        container = new COleControlContainer(&owner);
        site = new CustomControlSite(container);
    }
    void TearDown() override
    {
        EXPECT_EQ(1, site->m_dwRef) << "a reference was left behind";
        site->ExternalRelease();
        container->ExternalRelease();
        OwnerWindowTest::TearDown();
    }

    template <class Interface>
    Interface* Query(REFIID iid)
    {
        Interface* found = nullptr;
        site->ExternalQueryInterface(&iid, reinterpret_cast<void**>(&found));
        return found;
    }

    COleControlContainer* container = nullptr;
    CustomControlSite* site = nullptr;
};

const GUID kOtherGroup = {0xde4ba900, 0x59ca, 0x11cf, {0x95, 0x92, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

} // namespace

TEST(BrowserIds, PublishedTextsAreConvertedAtStartUp)
{
    EXPECT_TRUE(IsEqualGUID(CLSID_WebBrowser, BrowserIds::WebBrowser));
    EXPECT_TRUE(IsEqualGUID(IID_IDocHostUIHandler, BrowserIds::DocHostUIHandler));
    EXPECT_TRUE(IsEqualGUID(IID_IHTMLDocument2, BrowserIds::HTMLDocument2));
    // Not in the platform's id library: written out from its header.
    const GUID commandGroup = {0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};
    EXPECT_TRUE(IsEqualGUID(commandGroup, BrowserIds::DocHostCommandGroup));
}

TEST(BrowserIds, TextThatDoesNotConvertIsReportedAndGivesNoId)
{
    foundation_test::CapturedBoxes boxes;
    GUID id = IID_IDispatch;
    EXPECT_FALSE(BrowserIds::Convert(L"not an id", false, &id));
    EXPECT_TRUE(IsEqualGUID(GUID{}, id));
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("IIDFromString", boxes.Last().caption);
    EXPECT_EQ(0u, boxes.Last().text.rfind("IIDFromString -", 0)) << boxes.Last().text;
    EXPECT_TRUE(boxes.Last().style & MB_ICONSTOP);
    EXPECT_FALSE(BrowserIds::Convert(L"{nonsense}", true, &id));
    EXPECT_EQ("CLSIDFromString", boxes.Last().caption);
    EXPECT_EQ(0u, boxes.Last().text.rfind("CLSIDFromString -", 0)) << boxes.Last().text;
}

TEST_F(ControlSiteTest, EachInterfaceIsAnsweredByItsPartWithOneIdentity)
{
    struct Case {
        const char* why;
        const IID* iid;
        void* part;
    };
    const Case cases[] = {
        {"user-interface handler", &BrowserIds::DocHostUIHandler, &site->m_xDocHostUIHandler},
        {"command target, listed here", &IID_IOleCommandTarget, &site->m_xCommandTarget},
        {"ambient properties: this site's, in front of the framework's", &IID_IDispatch, &site->m_xDispatch},
        {"client site from the framework site", &IID_IOleClientSite, &site->m_xOleClientSite},
        {"in-place site from the framework site", &IID_IOleInPlaceSite, &site->m_xOleIPSite},
        {"control site from the framework site", &IID_IOleControlSite, &site->m_xOleControlSite},
        {"nobody's", &IID_IOleInPlaceFrame, nullptr},
    };
    IUnknown* identity = Query<IUnknown>(IID_IUnknown);
    ASSERT_NE(nullptr, identity);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        IUnknown* part = Query<IUnknown>(*c.iid);
        EXPECT_EQ(c.part, part);
        if (!part)
            continue;
        // Every part, the dispatch part included, leads back to the site's identity.
        IUnknown* back = nullptr;
        EXPECT_EQ(S_OK, part->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&back)));
        EXPECT_EQ(identity, back);
        IOleClientSite* clientSite = nullptr;
        EXPECT_EQ(S_OK, part->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(&clientSite)));
        EXPECT_EQ(static_cast<void*>(&site->m_xOleClientSite), clientSite);
        if (clientSite)
            clientSite->Release();
        if (back)
            back->Release();
        part->Release();
    }
    identity->Release();
}

TEST_F(ControlSiteTest, UserInterfaceHandlerAnswers)
{
    IDocHostUIHandler* handler = &site->m_xDocHostUIHandler;
    DOCHOSTUIINFO info = {sizeof info};
    info.dwFlags = 0xFFFF;
    info.dwDoubleClick = 7;
    EXPECT_EQ(S_OK, handler->GetHostInfo(&info));
    EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER), info.dwFlags);
    EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIDBLCLK_DEFAULT), info.dwDoubleClick);
    POINT at = {1, 1};
    EXPECT_EQ(S_OK, handler->ShowContextMenu(0, &at, nullptr, nullptr));
    MSG msg = {owner.m_hWnd, WM_KEYDOWN, VK_F5};
    EXPECT_EQ(S_FALSE, handler->TranslateAccelerator(&msg, nullptr, 0));
    IDispatch* external = reinterpret_cast<IDispatch*>(0x1);
    EXPECT_EQ(S_OK, handler->GetExternal(&external));
    EXPECT_EQ(nullptr, external);
    EXPECT_EQ(S_OK, handler->ShowUI(0, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_OK, handler->HideUI());
    EXPECT_EQ(S_OK, handler->UpdateUI());
    struct Case {
        const char* why;
        HRESULT answer;
    };
    LPOLESTR key = nullptr;
    IDropTarget* drop = nullptr;
    LPWSTR url = nullptr;
    IDataObject* data = nullptr;
    const Case notImplemented[] = {
        {"EnableModeless", handler->EnableModeless(TRUE)},
        {"OnDocWindowActivate", handler->OnDocWindowActivate(TRUE)},
        {"OnFrameWindowActivate", handler->OnFrameWindowActivate(TRUE)},
        {"ResizeBorder", handler->ResizeBorder(nullptr, nullptr, TRUE)},
        {"GetOptionKeyPath", handler->GetOptionKeyPath(&key, 0)},
        {"GetDropTarget", handler->GetDropTarget(nullptr, &drop)},
        {"TranslateUrl", handler->TranslateUrl(0, nullptr, &url)},
        {"FilterDataObject", handler->FilterDataObject(nullptr, &data)},
    };
    for (const Case& c : notImplemented) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(E_NOTIMPL, c.answer);
    }
    EXPECT_EQ(nullptr, key);
    EXPECT_EQ(nullptr, drop);
}

TEST_F(ControlSiteTest, ExecSilencesScriptErrorsAndBrowserDialogsOnlyInTheHostGroup)
{
    IOleCommandTarget* target = &site->m_xCommandTarget;
    const GUID& group = BrowserIds::DocHostCommandGroup;
    struct Case {
        const char* why;
        const GUID* group;
        DWORD id;
        HRESULT answer;
        bool setsOut;
    };
    const Case cases[] = {
        {"no group", nullptr, 40, OLECMDERR_E_UNKNOWNGROUP, false},
        {"another group", &kOtherGroup, 40, OLECMDERR_E_UNKNOWNGROUP, false},
        {"just below the script error", &group, 39, OLECMDERR_E_NOTSUPPORTED, false},
        {"script error with an empty in-variant", &group, 40, S_OK, true},
        {"show message", &group, 41, S_OK, false},
        {"show find", &group, 42, S_OK, false},
        {"page set-up", &group, 43, S_OK, false},
        {"print", &group, 44, S_OK, false},
        {"close", &group, 45, S_OK, false},
        {"just past close", &group, 46, OLECMDERR_E_NOTSUPPORTED, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        VARIANT in;
        VariantInit(&in);
        VARIANT out;
        VariantInit(&out);
        EXPECT_EQ(c.answer, target->Exec(c.group, c.id, 0, &in, &out));
        EXPECT_EQ(c.setsOut ? VT_BOOL : VT_EMPTY, out.vt);
        if (c.setsOut) {
            EXPECT_EQ(VARIANT_TRUE, out.boolVal);
        }
    }
    // Neither variant given: nothing to read and nowhere to answer.
    EXPECT_EQ(S_OK, target->Exec(&group, 40, 0, nullptr, nullptr));
}

TEST_F(ControlSiteTest, ScriptErrorReadsTheEventOfThePagesDocument)
{
    auto* event = new ScriptObject;
    event->SetNumber(L"errorLine", 3);
    event->SetNumber(L"errorCharacter", 9);
    event->SetNumber(L"errorCode", 0);
    event->SetNumber(L"errorMessage", 1);
    event->SetNumber(L"errorUrl", 2);
    auto* window = new ScriptObject;
    window->SetObject(L"event", event);
    auto* document = new ScriptObject(true);
    document->SetObject(L"parentWindow", window);

    VARIANT in;
    in.vt = VT_DISPATCH;
    in.pdispVal = document;
    VARIANT out;
    VariantInit(&out);
    EXPECT_EQ(S_OK, site->m_xCommandTarget.Exec(&BrowserIds::DocHostCommandGroup, 40, 0, &in, &out));
    EXPECT_EQ(VT_BOOL, out.vt);
    EXPECT_EQ(VARIANT_TRUE, out.boolVal);
    const std::vector<std::wstring> expected = {L"errorLine", L"errorCharacter", L"errorCode", L"errorMessage",
                                                L"errorUrl"};
    EXPECT_EQ(expected, event->read);

    // The answer is that of the last read; the out-variant is still set.
    event->FailRead(L"errorUrl", DISP_E_EXCEPTION);
    VariantInit(&out);
    EXPECT_EQ(DISP_E_EXCEPTION, site->m_xCommandTarget.Exec(&BrowserIds::DocHostCommandGroup, 40, 0, &in, &out));
    EXPECT_EQ(VT_BOOL, out.vt);

    // Everything the site took on the way was given back.
    EXPECT_EQ(1, document->refs);
    EXPECT_EQ(2, window->refs);
    EXPECT_EQ(2, event->refs);
    event->Release();
    window->Release();
    document->Release();
}

TEST_F(ControlSiteTest, ScriptErrorWithoutUsableDocumentStillLetsScriptsRun)
{
    auto* notDocument = new ScriptObject(false);
    auto* documentWithoutWindow = new ScriptObject(true);
    struct Case {
        const char* why;
        VARTYPE vt;
        IDispatch* object;
    };
    const Case cases[] = {
        {"a number", VT_I4, nullptr},
        {"a null object", VT_DISPATCH, nullptr},
        {"an object that is no document", VT_DISPATCH, notDocument},
        {"a document without a window", VT_DISPATCH, documentWithoutWindow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        VARIANT in;
        VariantInit(&in);
        in.vt = c.vt;
        in.pdispVal = c.object;
        VARIANT out;
        VariantInit(&out);
        EXPECT_EQ(S_OK, site->m_xCommandTarget.Exec(&BrowserIds::DocHostCommandGroup, 40, 0, &in, &out));
        EXPECT_EQ(VT_BOOL, out.vt);
        EXPECT_EQ(VARIANT_TRUE, out.boolVal);
    }
    EXPECT_EQ(1, notDocument->refs);
    EXPECT_EQ(1, documentWithoutWindow->refs);
    notDocument->Release();
    documentWithoutWindow->Release();
    OLECMD command = {40, 0};
    EXPECT_EQ(S_OK, site->m_xCommandTarget.QueryStatus(&BrowserIds::DocHostCommandGroup, 1, &command, nullptr));
    EXPECT_EQ(0u, command.cmdf);
}

TEST_F(ControlSiteTest, AmbientDispatchGivesTheDownloadControlOfItsWindow)
{
    IDispatch* ambient = &site->m_xDispatch;
    auto invoke = [&](DISPID id, VARIANT* result) {
        DISPPARAMS none = {};
        return ambient->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, result, nullptr, nullptr);
    };
    struct Case {
        const char* why;
        DWORD setting;
        LONG expected;
    };
    const Case cases[] = {
        {"the banner's browser", kBrowserDownloadControl, 0x700},
        {"the history window's browser runs no scripts either", kHistoryDownloadControl, 0x780},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        site->SetDownloadControl(c.setting);
        VARIANT value;
        VariantInit(&value);
        EXPECT_EQ(S_OK, invoke(DISPID_AMBIENT_DLCONTROL, &value));
        EXPECT_EQ(VT_I4, value.vt);
        EXPECT_EQ(c.expected, value.lVal);
    }
    EXPECT_EQ(S_OK, invoke(DISPID_AMBIENT_DLCONTROL, nullptr));

    // A property neither site offers: answered, the result untouched.
    VARIANT untouched;
    untouched.vt = VT_I2;
    untouched.iVal = 5;
    EXPECT_EQ(S_OK, invoke(DISPID_AMBIENT_DISPLAYNAME, &untouched));
    EXPECT_EQ(VT_I2, untouched.vt);
    EXPECT_EQ(5, untouched.iVal);
    // One the framework site offers still reaches the control: it runs in user mode.
    VARIANT userMode;
    VariantInit(&userMode);
    EXPECT_EQ(S_OK, invoke(DISPID_AMBIENT_USERMODE, &userMode));
    EXPECT_EQ(VT_BOOL, userMode.vt);
    EXPECT_EQ(VARIANT_TRUE, userMode.boolVal);

    UINT count = 9;
    EXPECT_EQ(E_NOTIMPL, ambient->GetTypeInfoCount(&count));
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(0x1);
    EXPECT_EQ(E_NOTIMPL, ambient->GetTypeInfo(0, 0, &info));
}

TEST_F(ControlSiteTest, AmbientDispatchKnowsNoNames)
{
    IDispatch* ambient = &site->m_xDispatch;
    EXPECT_EQ(S_OK, ambient->GetIDsOfNames(IID_NULL, nullptr, 0, 0, nullptr));
    wchar_t first[] = L"DLControl";
    wchar_t second[] = L"UserMode";
    LPOLESTR names[] = {first, second};
    DISPID ids[2] = {5, 6};
    EXPECT_EQ(DISP_E_UNKNOWNNAME, ambient->GetIDsOfNames(IID_NULL, names, 2, 0, ids));
    EXPECT_EQ(DISPID_UNKNOWN, ids[0]);
    EXPECT_EQ(DISPID_UNKNOWN, ids[1]);
}
