// Automation calls on a hosted control through CWnd::InvokeHelper: the arguments as the
// control receives them, text results, and failures as the framework's OLE exceptions.
#include "framework/Framework.h"

#include "fake_ole_control.h"

#include <gtest/gtest.h>

using test_support::kFakeControlClsid;
using test_support::OleHostTest;

namespace {

class InvokeHelperTest : public OleHostTest {
protected:
    void SetUp() override
    {
        OleHostTest::SetUp();
        ASSERT_TRUE(host.CreateControl(kFakeControlClsid, "", WS_CHILD, CRect(0, 0, 50, 50), &owner, 1));
    }
    void TearDown() override
    {
        host.DestroyWindow();
        OleHostTest::TearDown();
    }

    CWnd host;
};

// Runs call and answers the SCODE of the COleException it threw, or S_OK when none.
template <class Call>
SCODE OleExceptionOf(Call call)
{
    try {
        call();
    } catch (COleException* e) {
        const SCODE sc = e->m_sc;
        e->Delete();
        return sc;
    }
    return S_OK;
}

} // namespace

TEST_F(InvokeHelperTest, MethodGetsItsVariantPointersInInvokeOrder)
{
    static BYTE params[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
    VARIANT url;
    VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = SysAllocString(L"C:\\page.html");
    VARIANT flags;
    VariantInit(&flags);
    host.InvokeHelper(500, DISPATCH_METHOD, VT_EMPTY, nullptr, params, &url, &flags, nullptr, nullptr, nullptr);
    EXPECT_EQ(500, control()->invokedId);
    EXPECT_EQ(DISPATCH_METHOD, control()->invokedFlags);
    EXPECT_FALSE(control()->wantedResult);
    ASSERT_EQ(5u, control()->invokedArgs.size());
    // Invoke lists the arguments last to first.
    const std::vector<VARIANTARG>& args = control()->invokedArgs;
    for (const VARIANTARG& arg : args)
        EXPECT_EQ(VT_VARIANT | VT_BYREF, arg.vt);
    EXPECT_EQ(&url, args[4].pvarVal);
    EXPECT_EQ(&flags, args[3].pvarVal);
    EXPECT_EQ(nullptr, args[0].pvarVal);
    VariantClear(&url);
}

TEST_F(InvokeHelperTest, TextPropertyArrivesAsAString)
{
    CString type = "before";
    host.InvokeHelper(205, DISPATCH_PROPERTYGET, VT_BSTR, &type, nullptr);
    EXPECT_STREQ("fake type", type);
    EXPECT_EQ(DISPATCH_PROPERTYGET, control()->invokedFlags);
    EXPECT_TRUE(control()->wantedResult);
    EXPECT_TRUE(control()->invokedArgs.empty());
    // A property the control leaves empty reads as the empty text.
    host.InvokeHelper(206, DISPATCH_PROPERTYGET, VT_BSTR, &type, reinterpret_cast<const BYTE*>(VTS_NONE));
    EXPECT_STREQ("", type);
}

TEST_F(InvokeHelperTest, ExplainedFailureThrowsADispatchExceptionWithItsTexts)
{
    bool caught = false;
    try {
        host.InvokeHelper(7, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
    } catch (COleDispatchException* e) {
        caught = true;
        EXPECT_EQ(1234, e->m_wCode);
        EXPECT_STREQ("the page cannot be shown", e->m_strDescription);
        EXPECT_STREQ("FakeControl", e->m_strSource);
        EXPECT_EQ(99u, e->m_dwHelpContext);
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
        e->Delete();
    }
    EXPECT_TRUE(caught);
}

TEST_F(InvokeHelperTest, OtherFailuresThrowAnOleExceptionWithTheResult)
{
    struct Case {
        const char* why;
        DISPID id;
        VARTYPE vtRet;
        SCODE expected;
        bool reachesControl;
    };
    const Case cases[] = {
        {"the control refused", 8, VT_EMPTY, E_ACCESSDENIED, true},
        {"a result type not carried", 205, VT_I4, DISP_E_BADVARTYPE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        control()->invokedId = 0;
        CString unused;
        EXPECT_EQ(c.expected, OleExceptionOf([&] { host.InvokeHelper(c.id, DISPATCH_METHOD, c.vtRet, &unused, nullptr); }));
        EXPECT_EQ(c.reachesControl ? c.id : 0, control()->invokedId);
    }
    static BYTE unsupported[] = "\x03";
    EXPECT_EQ(DISP_E_BADVARTYPE,
              OleExceptionOf([&] { host.InvokeHelper(9, DISPATCH_METHOD, VT_EMPTY, nullptr, unsupported, 1); }));
}

TEST_F(InvokeHelperTest, WindowWithoutControlThrowsNotRunning)
{
    CWnd plain;
    EXPECT_EQ(OLE_E_NOTRUNNING, OleExceptionOf([&] { plain.InvokeHelper(500, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr); }));
}
