// Hosting OLE controls: containment and OLE initialisation, CreateControl with in-place
// activation, the control's window as the hosting object's, placing, keys, the site's
// answers, and releasing everything of the control when its window or its parent goes.
#include "framework/Framework.h"

#include "fake_ole_control.h"

#include <gtest/gtest.h>

#include <olectl.h>

#include <memory>

using test_support::FakeControlClass;
using test_support::FakeOleControl;
using test_support::kFakeControlClsid;
using test_support::OleHostTest;
using test_support::TrackingOccManager;

namespace {

const CRect kControlRect(10, 20, 110, 70);

// The window's rectangle in its parent's client coordinates.
CRect RectInParent(HWND window)
{
    CRect rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

template <class Interface>
Interface* Query(IUnknown* unknown, REFIID iid)
{
    Interface* found = nullptr;
    unknown->QueryInterface(iid, reinterpret_cast<void**>(&found));
    return found;
}

class OleControlTest : public OleHostTest {
protected:
    // Hosts a fake control in `host` on the owner window.
    bool Host(CWnd& host, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = 1234)
    {
        return host.CreateControl(kFakeControlClsid, "fake", style, kControlRect, &owner, id) != FALSE;
    }
};

} // namespace

TEST(ControlContainment, WithoutContainmentNoControlIsCreated)
{
    ASSERT_EQ(nullptr, AfxGetOccManager());
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    CWnd host;
    EXPECT_FALSE(host.CreateControl(kFakeControlClsid, "", WS_CHILD, kControlRect, &parent, 1));
    EXPECT_EQ(nullptr, host.m_hWnd);
    EXPECT_EQ(nullptr, parent.m_pCtrlCont);
    parent.DestroyWindow();
}

TEST(ControlContainment, EnablingInitialisesOleOnTheCallingThreadUntilTermination)
{
    struct Result {
        HRESULT whileEnabled = S_OK;
        HRESULT afterTermination = E_FAIL;
        bool replacedManagerDeleted = false;
    } result;
    struct Manager : COccManager {
        bool* deleted = nullptr;
        ~Manager() override { *deleted = true; }
    };
    // A thread of its own, so no earlier COM use of the test thread counts.
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* param) -> DWORD {
            auto* r = static_cast<Result*>(param);
            auto* first = new Manager;
            first->deleted = &r->replacedManagerDeleted;
            AfxEnableControlContainer(first);
            AfxEnableControlContainer();
            // A single-threaded apartment is in place: joining the other kind is refused.
            r->whileEnabled = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            if (SUCCEEDED(r->whileEnabled))
                CoUninitialize();
            AfxTermControlContainer();
            r->afterTermination = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            if (SUCCEEDED(r->afterTermination))
                CoUninitialize();
            return 0;
        },
        &result, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
    CloseHandle(thread);
    EXPECT_EQ(RPC_E_CHANGED_MODE, result.whileEnabled);
    EXPECT_EQ(S_OK, result.afterTermination);
    EXPECT_TRUE(result.replacedManagerDeleted);
    EXPECT_EQ(nullptr, AfxGetOccManager());
}

TEST_F(OleControlTest, ControlIsActivatedInPlaceAsAChildOfTheParent)
{
    CWnd host;
    ASSERT_TRUE(Host(host));
    ASSERT_NE(nullptr, control());
    EXPECT_NE(nullptr, control()->site);
    EXPECT_EQ(std::vector<bool>{true}, control()->siteCalls);
    EXPECT_EQ(OLEIVERB_INPLACEACTIVATE, control()->verb);
    EXPECT_EQ(owner.m_hWnd, control()->activateParent);
    EXPECT_TRUE(SameRect(kControlRect, control()->activateRect));
    EXPECT_EQ(owner.m_hWnd, control()->frameWindow);
    EXPECT_EQ(static_cast<IUnknown*>(static_cast<IOleObject*>(control())), host.GetControlUnknown());
    ASSERT_NE(nullptr, owner.m_pCtrlCont);
    EXPECT_EQ(1u, owner.m_pCtrlCont->m_sites.size());
}

TEST_F(OleControlTest, ControlsWindowBelongsToTheHostingObject)
{
    CWnd host;
    ASSERT_TRUE(Host(host, WS_CHILD | WS_VISIBLE, 4321));
    ASSERT_NE(nullptr, control()->window);
    EXPECT_EQ(control()->window, host.m_hWnd);
    EXPECT_EQ(&host, CWnd::FromHandlePermanent(control()->window));
    EXPECT_EQ(4321, host.GetDlgCtrlID());
    CString text;
    host.GetWindowText(text);
    EXPECT_STREQ("fake", text);
    EXPECT_EQ(owner.m_hWnd, ::GetParent(host.m_hWnd));
    EXPECT_TRUE(SameRect(kControlRect, RectInParent(host.m_hWnd)));
}

TEST_F(OleControlTest, ControlAskedForWithoutVisibleStyleStartsHidden)
{
    CWnd host;
    ASSERT_TRUE(Host(host, WS_CHILD));
    ASSERT_NE(nullptr, host.m_hWnd);
    EXPECT_FALSE(::IsWindowVisible(host.m_hWnd));
}

TEST_F(OleControlTest, MovingAndPlacingTheObjectReachTheControl)
{
    CWnd host;
    ASSERT_TRUE(Host(host));
    host.MoveWindow(30, 40, 200, 50);
    ASSERT_FALSE(control()->objectRects.empty());
    EXPECT_TRUE(SameRect(CRect(30, 40, 230, 90), control()->objectRects.back()));
    EXPECT_TRUE(SameRect(CRect(30, 40, 230, 90), RectInParent(host.m_hWnd)));
    // Only the position changes; the size stays.
    host.SetWindowPos(nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(SameRect(CRect(5, 6, 205, 56), control()->objectRects.back()));
    EXPECT_TRUE(SameRect(CRect(5, 6, 205, 56), RectInParent(host.m_hWnd)));
}

TEST_F(OleControlTest, DestroyingTheObjectClosesUnsitesAndReleasesTheControl)
{
    CWnd host;
    ASSERT_TRUE(Host(host));
    HWND window = host.m_hWnd;
    EXPECT_EQ(1, TrackingOccManager::s_live);
    EXPECT_TRUE(host.DestroyWindow());
    EXPECT_EQ(1, control()->closeCalls);
    EXPECT_EQ((std::vector<bool>{true, false}), control()->siteCalls);
    EXPECT_EQ(0, fakeClass->OutsideReferences());
    EXPECT_EQ(0, TrackingOccManager::s_live);
    EXPECT_EQ(nullptr, host.m_hWnd);
    EXPECT_EQ(nullptr, host.m_pCtrlSite);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_TRUE(owner.m_pCtrlCont->m_sites.empty());
}

TEST_F(OleControlTest, ControlWindowDestroyedFromOutsideStillReleasesTheControl)
{
    CWnd host;
    ASSERT_TRUE(Host(host));
    ::DestroyWindow(host.m_hWnd);
    EXPECT_EQ(nullptr, host.m_hWnd);
    EXPECT_EQ(nullptr, host.m_pCtrlSite);
    EXPECT_EQ(1, control()->closeCalls);
    EXPECT_EQ(nullptr, control()->site);
    EXPECT_EQ(0, fakeClass->OutsideReferences());
    EXPECT_EQ(0, TrackingOccManager::s_live);
}

TEST_F(OleControlTest, DestroyingTheParentReleasesEveryControlOnIt)
{
    CWnd first;
    ASSERT_TRUE(Host(first));
    FakeOleControl* firstControl = control();
    firstControl->AddRef();
    CWnd second;
    ASSERT_TRUE(Host(second));
    EXPECT_EQ(2, TrackingOccManager::s_live);
    owner.DestroyWindow();
    EXPECT_EQ(0, TrackingOccManager::s_live);
    EXPECT_EQ(1, firstControl->closeCalls);
    EXPECT_EQ(1, control()->closeCalls);
    EXPECT_EQ(nullptr, firstControl->site);
    EXPECT_EQ(nullptr, control()->site);
    EXPECT_EQ(0, fakeClass->OutsideReferences());
    EXPECT_EQ(1, firstControl->refs);
    EXPECT_EQ(nullptr, first.m_hWnd);
    EXPECT_EQ(nullptr, second.m_hWnd);
    EXPECT_EQ(nullptr, owner.m_pCtrlCont);
    firstControl->Release();
}

TEST_F(OleControlTest, FailedActivationLeavesNoWindowNoControlAndNoContainer)
{
    fakeClass->next.activateResult = E_FAIL;
    CWnd host;
    EXPECT_FALSE(Host(host));
    EXPECT_EQ(nullptr, host.m_hWnd);
    EXPECT_EQ(nullptr, host.m_pCtrlSite);
    EXPECT_EQ(nullptr, owner.m_pCtrlCont);
    EXPECT_EQ(0, TrackingOccManager::s_live);
    ASSERT_NE(nullptr, control());
    EXPECT_EQ(0, fakeClass->OutsideReferences());
    EXPECT_EQ(nullptr, control()->site);
}

TEST_F(OleControlTest, UnknownClassMakesNoControl)
{
    const CLSID unknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    CWnd host;
    EXPECT_FALSE(host.CreateControl(unknown, "", WS_CHILD, kControlRect, &owner, 1));
    EXPECT_EQ(nullptr, host.m_pCtrlSite);
    EXPECT_EQ(0, TrackingOccManager::s_live);
}

TEST_F(OleControlTest, ControlWithoutWindowIsStillPlacedAndReleased)
{
    fakeClass->next.makesWindow = false;
    auto host = std::make_unique<CWnd>();
    ASSERT_TRUE(Host(*host));
    EXPECT_EQ(nullptr, host->m_hWnd);
    host->MoveWindow(1, 2, 30, 40);
    ASSERT_FALSE(control()->objectRects.empty());
    EXPECT_TRUE(SameRect(CRect(1, 2, 31, 42), control()->objectRects.back()));
    // No window means no WM_DESTROY: deleting the object releases the control.
    host.reset();
    EXPECT_EQ(1, control()->closeCalls);
    EXPECT_EQ(0, fakeClass->OutsideReferences());
    EXPECT_EQ(0, TrackingOccManager::s_live);
}

TEST_F(OleControlTest, KeyboardMessagesAreOfferedToTheActiveControl)
{
    CWnd host;
    ASSERT_TRUE(Host(host));
    struct Case {
        const char* why;
        UINT message;
        WPARAM key;
        BOOL taken;
        size_t offered;
    };
    const Case cases[] = {
        {"the control's accelerator", WM_KEYDOWN, VK_F5, TRUE, 1},
        {"a key the control leaves", WM_KEYDOWN, VK_F6, FALSE, 2},
        {"a character", WM_CHAR, 'a', FALSE, 3},
        {"not a keyboard message", WM_LBUTTONDOWN, 0, FALSE, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        MSG msg = {host.m_hWnd, c.message, c.key, 0};
        EXPECT_EQ(c.taken, CWnd::WalkPreTranslateTree(owner.m_hWnd, &msg));
        EXPECT_EQ(c.offered, control()->translatedKeys.size());
    }
}

TEST_F(OleControlTest, SiteAnswersItsInterfacesWithOneIdentity)
{
    CWnd host;
    ASSERT_TRUE(Host(host));
    IOleClientSite* site = control()->site;
    IUnknown* identity = Query<IUnknown>(site, IID_IUnknown);
    ASSERT_NE(nullptr, identity);
    struct Case {
        const char* why;
        const IID* iid;
        bool answered;
    };
    const Case cases[] = {
        {"client site", &IID_IOleClientSite, true},
        {"in-place site", &IID_IOleInPlaceSite, true},
        {"its window base", &IID_IOleWindow, true},
        {"control site", &IID_IOleControlSite, true},
        {"ambient properties", &IID_IDispatch, true},
        {"not a site interface", &IID_IOleInPlaceFrame, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        IUnknown* part = Query<IUnknown>(site, *c.iid);
        EXPECT_EQ(c.answered, part != nullptr);
        if (!part)
            continue;
        IUnknown* back = Query<IUnknown>(part, IID_IUnknown);
        EXPECT_EQ(identity, back);
        back->Release();
        part->Release();
    }
    identity->Release();
}

TEST_F(OleControlTest, InPlaceSiteGivesTheParentAndTheTopLevelFrame)
{
    // The control sits on a child of the top-level window.
    CWnd panel;
    ASSERT_TRUE(panel.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, 50, 50, 300, 200, owner.m_hWnd, nullptr));
    CWnd host;
    ASSERT_TRUE(host.CreateControl(kFakeControlClsid, "", WS_CHILD | WS_VISIBLE, kControlRect, &panel, 7));
    auto* inPlace = Query<IOleInPlaceSite>(control()->site, IID_IOleInPlaceSite);
    ASSERT_NE(nullptr, inPlace);
    HWND window = nullptr;
    EXPECT_EQ(S_OK, inPlace->GetWindow(&window));
    EXPECT_EQ(panel.m_hWnd, window);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* doc = reinterpret_cast<IOleInPlaceUIWindow*>(0x1);
    RECT position = {};
    RECT clip = {};
    OLEINPLACEFRAMEINFO info = {sizeof info};
    ASSERT_EQ(S_OK, inPlace->GetWindowContext(&frame, &doc, &position, &clip, &info));
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(nullptr, doc);
    EXPECT_TRUE(SameRect(kControlRect, position));
    EXPECT_EQ(owner.m_hWnd, info.hwndFrame);
    HWND frameWindow = nullptr;
    EXPECT_EQ(S_OK, frame->GetWindow(&frameWindow));
    EXPECT_EQ(owner.m_hWnd, frameWindow);
    frame->Release();
    IOleContainer* container = nullptr;
    EXPECT_EQ(S_OK, control()->site->GetContainer(&container));
    ASSERT_NE(nullptr, container);
    EXPECT_EQ(S_OK, container->LockContainer(TRUE));
    container->Release();
    inPlace->Release();
}

TEST_F(OleControlTest, AmbientPropertiesFollowTheContainerWindow)
{
    static const char* const kClass = [] {
        WNDCLASSA wc = {};
        // Keeps the font it is given, as controls and dialogs do.
        wc.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_SETFONT) {
                SetPropA(window, "font", reinterpret_cast<HANDLE>(wParam));
                return 0;
            }
            if (message == WM_GETFONT)
                return reinterpret_cast<LRESULT>(GetPropA(window, "font"));
            return DefWindowProcA(window, message, wParam, lParam);
        };
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = CreateSolidBrush(RGB(1, 2, 3));
        wc.lpszClassName = "SorvantaTestAmbientParent";
        RegisterClassA(&wc);
        return "SorvantaTestAmbientParent";
    }();
    CWnd panel;
    ASSERT_TRUE(panel.CreateEx(0, kClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, owner.m_hWnd, nullptr));
    HFONT font = CreateFontA(-13, 0, 0, 0, FW_BOLD, TRUE, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    panel.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    CWnd host;
    ASSERT_TRUE(host.CreateControl(kFakeControlClsid, "", WS_CHILD | WS_VISIBLE, kControlRect, &panel, 7));
    auto* ambient = Query<IDispatch>(control()->site, IID_IDispatch);
    ASSERT_NE(nullptr, ambient);
    auto get = [&](DISPID id, VARIANT* value, WORD flags = DISPATCH_PROPERTYGET) {
        DISPPARAMS none = {};
        return ambient->Invoke(id, IID_NULL, 0, flags, &none, value, nullptr, nullptr);
    };
    struct Case {
        const char* why;
        DISPID id;
        VARTYPE vt;
        LONG value;
    };
    const Case cases[] = {
        {"user mode", DISPID_AMBIENT_USERMODE, VT_BOOL, VARIANT_TRUE},
        {"no message reflection", DISPID_AMBIENT_MESSAGEREFLECT, VT_BOOL, VARIANT_FALSE},
        {"the parent's class brush", DISPID_AMBIENT_BACKCOLOR, VT_I4, static_cast<LONG>(RGB(1, 2, 3))},
        {"window text colour", DISPID_AMBIENT_FORECOLOR, VT_I4, static_cast<LONG>(GetSysColor(COLOR_WINDOWTEXT))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        VARIANT value;
        VariantInit(&value);
        ASSERT_EQ(S_OK, get(c.id, &value));
        EXPECT_EQ(c.vt, value.vt);
        EXPECT_EQ(c.value, c.vt == VT_BOOL ? static_cast<LONG>(value.boolVal) : value.lVal);
    }

    VARIANT fontValue;
    VariantInit(&fontValue);
    ASSERT_EQ(S_OK, get(DISPID_AMBIENT_FONT, &fontValue));
    ASSERT_EQ(VT_DISPATCH, fontValue.vt);
    auto* oleFont = Query<IFont>(fontValue.pdispVal, IID_IFont);
    ASSERT_NE(nullptr, oleFont);
    BOOL bold = FALSE;
    BOOL italic = FALSE;
    oleFont->get_Bold(&bold);
    oleFont->get_Italic(&italic);
    EXPECT_TRUE(bold);
    EXPECT_TRUE(italic);
    oleFont->Release();
    VariantClear(&fontValue);

    VARIANT untouched;
    untouched.vt = VT_I2;
    untouched.iVal = 77;
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, get(DISPID_AMBIENT_DISPLAYNAME, &untouched));
    EXPECT_EQ(VT_I2, untouched.vt);
    EXPECT_EQ(77, untouched.iVal);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, get(DISPID_AMBIENT_USERMODE, &untouched, DISPATCH_METHOD));
    ambient->Release();
    host.DestroyWindow();
    panel.DestroyWindow();
    DeleteObject(font);
}
