// The toolkit's resource module switch.
#include "toolkit/foundation/QZResourceSwitch.h"

#include "framework/ResourceModule.h"

namespace {
HINSTANCE g_toolkitResources = nullptr;
}

HINSTANCE QZGetToolkitResourceHandle()
{
    return g_toolkitResources;
}

void QZSetToolkitResourceHandle(HINSTANCE hInstance)
{
    g_toolkitResources = hInstance;
}

void QZResourceSwitch::Enter()
{
    m_hSaved = AfxGetResourceHandle();
    if (g_toolkitResources)
        AfxSetResourceHandle(g_toolkitResources);
}

void QZResourceSwitch::Leave()
{
    AfxSetResourceHandle(m_hSaved);
}
