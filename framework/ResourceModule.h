// Stands in for the framework's module state as far as resources go: the module
// that string, menu, dialog and bitmap loads read from. Defaults to the program's
// own module; the toolkit swaps it while it loads its own resources.
#pragma once

#include <windows.h>

HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resourceModule);
// The module the program was started from.
HINSTANCE AfxGetInstanceHandle();
// The module that holds resource lpszName of type lpszType: the current resource module
// when it has it, else the program's own; the current resource module when neither has.
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
