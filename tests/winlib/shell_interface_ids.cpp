// The shell interface ids the window library declares, filled from their texts during
// static initialisation as the application base fills them.
#include "lib/src/Win2/Wnd/iShell.h"

#include <objbase.h>

namespace {

IID InterfaceIdFromText(LPCOLESTR text)
{
    IID id = {};
    if (FAILED(::IIDFromString(text, &id)))
        id = IID{};
    return id;
}

} // namespace

IID g_iidShellFolder = InterfaceIdFromText(L"{000214e6-0000-0000-c000-000000000046}");
IID g_iidContextMenu = InterfaceIdFromText(L"{000214e4-0000-0000-c000-000000000046}");
