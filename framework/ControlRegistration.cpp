// Common-control classes initialised on demand, once per part of the library.
#include "ControlRegistration.h"

#include <commctrl.h>

#include <atomic>

namespace {

struct ClassPart {
    LPCSTR className;
    DWORD iccBits;
};

// Window class names as the control library registers them (compared without case).
const ClassPart kClassParts[] = {
    {WC_LISTVIEWA, ICC_LISTVIEW_CLASSES},
    {WC_HEADERA, ICC_LISTVIEW_CLASSES},
    {WC_TREEVIEWA, ICC_TREEVIEW_CLASSES},
    {WC_TABCONTROLA, ICC_TAB_CLASSES},
    {TOOLTIPS_CLASSA, ICC_TAB_CLASSES},
    {UPDOWN_CLASSA, ICC_UPDOWN_CLASS},
    {PROGRESS_CLASSA, ICC_PROGRESS_CLASS},
    {TRACKBAR_CLASSA, ICC_BAR_CLASSES},
    {TOOLBARCLASSNAMEA, ICC_BAR_CLASSES},
    {STATUSCLASSNAMEA, ICC_BAR_CLASSES},
    {REBARCLASSNAMEA, ICC_COOL_CLASSES},
    {WC_COMBOBOXEXA, ICC_USEREX_CLASSES},
    {ANIMATE_CLASSA, ICC_ANIMATE_CLASS},
    {HOTKEY_CLASSA, ICC_HOTKEY_CLASS},
    {DATETIMEPICK_CLASSA, ICC_DATE_CLASSES},
    {MONTHCAL_CLASSA, ICC_DATE_CLASSES},
    {WC_IPADDRESSA, ICC_INTERNET_CLASSES},
    {WC_PAGESCROLLERA, ICC_PAGESCROLLER_CLASS},
    {WC_NATIVEFONTCTLA, ICC_NATIVEFNTCTL_CLASS},
};

// Parts already initialised in this process.
std::atomic<DWORD> g_registered{0};

} // namespace

BOOL AfxDeferRegisterClass(DWORD dwIccClasses)
{
    DWORD missing = dwIccClasses & ~g_registered.load();
    if (missing == 0)
        return TRUE;
    INITCOMMONCONTROLSEX init = {};
    init.dwSize = sizeof init;
    init.dwICC = missing;
    if (!InitCommonControlsEx(&init))
        return FALSE;
    g_registered.fetch_or(missing);
    return TRUE;
}

DWORD AfxCommonControlClassBits(LPCSTR lpszClassName)
{
    if (!lpszClassName || IS_INTRESOURCE(lpszClassName))
        return 0;
    for (const ClassPart& part : kClassParts) {
        if (lstrcmpiA(lpszClassName, part.className) == 0)
            return part.iccBits;
    }
    return 0;
}
