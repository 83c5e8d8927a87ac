// The WebBrowser control's window: creation and its automation members by dispatch id.
#include "banner/WebBrowser2.h"

#include "banner/BrowserIds.h"

IMPLEMENT_DYNCREATE(CWebBrowser2, CWnd)

namespace {

// The control's automation members.
constexpr DISPID kDispidName = 0;
constexpr DISPID kDispidType = 205;
constexpr DISPID kDispidLocationName = 210;
constexpr DISPID kDispidLocationURL = 211;
constexpr DISPID kDispidFullName = 400;
constexpr DISPID kDispidPath = 401;
constexpr DISPID kDispidStatusText = 404;
constexpr DISPID kDispidNavigate2 = 500;

CString GetTextProperty(CWnd& browser, DISPID id)
{
    CString result;
    browser.InvokeHelper(id, DISPATCH_PROPERTYGET, VT_BSTR, &result, nullptr);
    return result;
}

} // namespace

BOOL CWebBrowser2::Create(LPCSTR, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          CCreateContext*)
{
    return CreateControl(BrowserIds::WebBrowser, lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

void CWebBrowser2::Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                             VARIANT* Headers)
{
    static BYTE params[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
    InvokeHelper(kDispidNavigate2, DISPATCH_METHOD, VT_EMPTY, nullptr, params, URL, Flags, TargetFrameName, PostData,
                 Headers);
}

CString CWebBrowser2::GetType()
{
    return GetTextProperty(*this, kDispidType);
}

CString CWebBrowser2::GetLocationName()
{
    return GetTextProperty(*this, kDispidLocationName);
}

CString CWebBrowser2::GetLocationURL()
{
    return GetTextProperty(*this, kDispidLocationURL);
}

CString CWebBrowser2::GetName()
{
    return GetTextProperty(*this, kDispidName);
}

CString CWebBrowser2::GetFullName()
{
    return GetTextProperty(*this, kDispidFullName);
}

CString CWebBrowser2::GetPath()
{
    return GetTextProperty(*this, kDispidPath);
}

CString CWebBrowser2::GetStatusText()
{
    return GetTextProperty(*this, kDispidStatusText);
}
