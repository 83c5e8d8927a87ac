// Stands in for the framework's deferred registration of the common-control window
// classes: each part of the control library is initialised (InitCommonControlsEx)
// the first time a window of one of its classes is about to be created.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Initialises the ICC_* parts not initialised yet; TRUE when all of them are available.
BOOL AfxDeferRegisterClass(DWORD dwIccClasses);
// The ICC_* part that provides the named window class; 0 for a system or unknown class
// and for a class given as an atom.
DWORD AfxCommonControlClassBits(LPCSTR lpszClassName);
// Every part a dialog template may name.
constexpr DWORD kAfxAllCommonControlClasses = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                              ICC_COOL_CLASSES | ICC_INTERNET_CLASSES | ICC_PAGESCROLLER_CLASS |
                                              ICC_NATIVEFNTCTL_CLASS;
