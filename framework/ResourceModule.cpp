// The resource module handle: one per process, settable, the program's own by default.
#include "ResourceModule.h"

namespace {
HINSTANCE g_resourceModule = nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return g_resourceModule ? g_resourceModule : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE resourceModule)
{
    g_resourceModule = resourceModule;
}

HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType)
{
    HINSTANCE current = AfxGetResourceHandle();
    if (::FindResourceA(current, lpszName, lpszType))
        return current;
    HINSTANCE program = AfxGetInstanceHandle();
    if (program != current && ::FindResourceA(program, lpszName, lpszType))
        return program;
    return current;
}
