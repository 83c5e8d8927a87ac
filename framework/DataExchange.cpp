// Dialog data exchange: UpdateData with its catch semantics and notification lockout,
// the exchange record, and the DDX_ and DDV_ routines.
#include "DataExchange.h"

#include "AfxMessageBox.h"
#include "Exceptions.h"
#include "ThreadState.h"
#include "Wnd.h"

#include <cctype>
#include <climits>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

const char kInternalFailure[] = "Internal application error.";
const char kNotAnInteger[] = "Please enter an integer.";
const char kNotAnUnsigned[] = "Please enter a positive integer.";
const char kNotANumber[] = "Please enter a number.";
const char kIntegerRange[] = "Please enter an integer between %d and %d.";

CString WindowText(HWND hWnd)
{
    CString text;
    int length = ::GetWindowTextLengthA(hWnd);
    ::GetWindowTextA(hWnd, text.GetBuffer(length), length + 1);
    text.ReleaseBuffer();
    return text;
}

const char* SkipBlanks(const char* text)
{
    while (*text && std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    return text;
}

// The whole text, blanks around it aside, is one number that convert (strtoll and its
// kind) reads without overflow.
template <class Number, class Convert>
[[nodiscard]] bool ParseWhole(const char* text, Convert convert, Number* value)
{
    const char* start = SkipBlanks(text);
    char* end = nullptr;
    errno = 0;
    Number parsed = convert(start, &end);
    if (end == start || errno == ERANGE || *SkipBlanks(end) != '\0')
        return false;
    *value = parsed;
    return true;
}

[[nodiscard]] bool ParseSigned(const char* text, long long minValue, long long maxValue, long long* value)
{
    long long parsed = 0;
    if (!ParseWhole(text, [](const char* start, char** end) { return std::strtoll(start, end, 10); }, &parsed) ||
        parsed < minValue || parsed > maxValue)
        return false;
    *value = parsed;
    return true;
}

[[nodiscard]] bool ParseUnsigned(const char* text, unsigned long long maxValue, unsigned long long* value)
{
    // strtoull would wrap a minus sign into a huge value.
    if (*SkipBlanks(text) == '-')
        return false;
    unsigned long long parsed = 0;
    if (!ParseWhole(text, [](const char* start, char** end) { return std::strtoull(start, end, 10); }, &parsed) ||
        parsed > maxValue)
        return false;
    *value = parsed;
    return true;
}

[[nodiscard]] bool ParseDouble(const char* text, double* value)
{
    double parsed = 0;
    if (!ParseWhole(text, [](const char* start, char** end) { return std::strtod(start, end); }, &parsed) ||
        !std::isfinite(parsed))
        return false;
    *value = parsed;
    return true;
}

// Tells the user and ends the exchange at the control just prepared.
[[noreturn]] void Refuse(CDataExchange* pDX, LPCSTR message)
{
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    pDX->Fail();
}

bool IsRadioButton(HWND hWnd)
{
    return (::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

} // namespace

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    const HWND previousLockout = state->m_hLockoutNotifyWindow;
    state->m_hLockoutNotifyWindow = m_hWnd;
    BOOL exchanged = FALSE;
    try {
        DoDataExchange(&dx);
        exchanged = TRUE;
    } catch (CUserException* e) {
        // The routine that refused the value has told the user already.
        e->Delete();
    } catch (CException* e) {
        e->Delete();
        AfxMessageBox(kInternalFailure, MB_ICONSTOP);
    }
    state->m_hLockoutNotifyWindow = previousLockout;
    return exchanged;
}

void CWnd::DoDataExchange(CDataExchange*) {}

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND control = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (!control)
        AfxThrowNotSupportedException();
    m_hWndLastControl = control;
    m_bEditLastControl = FALSE;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND control = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail()
{
    if (m_hWndLastControl && ::IsWindow(m_hWndLastControl)) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(control))
        AfxThrowNotSupportedException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND edit = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = WindowText(edit);
    else
        AfxSetWindowText(edit, value);
}

namespace {

// The integer forms differ only in their type, its range and the refusal text.
template <class Integer>
void ExchangeInteger(CDataExchange* pDX, int nIDC, Integer& value)
{
    HWND edit = pDX->PrepareEditCtrl(nIDC);
    constexpr bool isSigned = std::numeric_limits<Integer>::is_signed;
    if (!pDX->m_bSaveAndValidate) {
        char text[32];
        if (isSigned)
            std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
        else
            std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(value));
        AfxSetWindowText(edit, text);
        return;
    }
    if (isSigned) {
        long long parsed = 0;
        if (!ParseSigned(WindowText(edit), std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max(),
                         &parsed))
            Refuse(pDX, kNotAnInteger);
        value = static_cast<Integer>(parsed);
    } else {
        unsigned long long parsed = 0;
        if (!ParseUnsigned(WindowText(edit), std::numeric_limits<Integer>::max(), &parsed))
            Refuse(pDX, kNotAnUnsigned);
        value = static_cast<Integer>(parsed);
    }
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeInteger(pDX, nIDC, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    ExchangeInteger(pDX, nIDC, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    ExchangeInteger(pDX, nIDC, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND edit = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        char text[64];
        std::snprintf(text, sizeof text, "%.15g", value);
        AfxSetWindowText(edit, text);
        return;
    }
    double parsed = 0;
    if (!ParseDouble(WindowText(edit), &parsed))
        Refuse(pDX, kNotANumber);
    value = parsed;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND button = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(button, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(button, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND first = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from its first button up to the next control that starts a group.
    int index = 0;
    for (HWND button = first; button; button = ::GetWindow(button, GW_HWNDNEXT)) {
        if (button != first && (::GetWindowLongA(button, GWL_STYLE) & WS_GROUP))
            break;
        if (!IsRadioButton(button))
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED && value < 0)
                value = index;
        } else {
            ::SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND combo = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND list = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND combo = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        // The window text is the edit's, or the selected entry's in a drop-down list.
        value = WindowText(combo);
        return;
    }
    LRESULT found = ::SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value)));
    if (found == CB_ERR && (::GetWindowLongA(combo, GWL_STYLE) & 0x3) != CBS_DROPDOWNLIST)
        AfxSetWindowText(combo, value);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    char message[128];
    std::snprintf(message, sizeof message, kIntegerRange, minVal, maxVal);
    Refuse(pDX, message);
}
