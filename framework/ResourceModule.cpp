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
