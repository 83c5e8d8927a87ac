// The extended combo box's framework class and the registration of its window class.
#include "lib/src/Win2/Wnd/CComboBoxEx.h"

#include "framework/ControlRegistration.h"

#include <commctrl.h>

namespace {

// The extended combo box's class is registered when the program starts, so that a
// dialog template naming it can be created before any code of ours has made one.
BOOL RegisterComboBoxExClass()
{
    INITCOMMONCONTROLSEX init = {};
    init.dwSize = sizeof init;
    init.dwICC = ICC_USEREX_CLASSES;
    return InitCommonControlsEx(&init);
}

const BOOL g_comboBoxExClassRegistered = RegisterComboBoxExClass();

} // namespace

IMPLEMENT_DYNAMIC(CComboBoxEx, CComboBox)

CComboBoxEx::CComboBoxEx() = default;

CComboBoxEx::~CComboBoxEx()
{
    DestroyWindow();
}

BOOL CComboBoxEx::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!g_comboBoxExClassRegistered && !AfxDeferRegisterClass(ICC_USEREX_CLASSES))
        return FALSE;
    return CWnd::Create(WC_COMBOBOXEXA, nullptr, dwStyle, rect, pParentWnd, nID);
}
