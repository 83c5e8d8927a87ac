// The cached operating-system version record.
#include "toolkit/foundation/QZVersion.h"

namespace {

BOOL ReadSystemVersion(OSVERSIONINFOA* info)
{
    return ::GetVersionExA(info);
}

QZVersionReader g_reader = &ReadSystemVersion;
OSVERSIONINFOA g_version = {};
bool g_isRead = false;

} // namespace

const OSVERSIONINFOA* QZGetOSVersionInfo()
{
    if (!g_isRead) {
        g_version = {};
        g_version.dwOSVersionInfoSize = sizeof g_version;
        if (!g_reader(&g_version)) {
            g_version = {};
            g_version.dwOSVersionInfoSize = sizeof g_version;
        }
        g_isRead = true;
    }
    return &g_version;
}

bool QZIsWindows95OrNT4()
{
    const OSVERSIONINFOA* version = QZGetOSVersionInfo();
    const bool win95 = version->dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version->dwMajorVersion == 4 &&
                       version->dwMinorVersion < 10;
    const bool nt4 = version->dwPlatformId == VER_PLATFORM_WIN32_NT && version->dwMajorVersion == 4 &&
                     version->dwMinorVersion == 0;
    return win95 || nt4;
}

QZVersionReader QZSetVersionReader(QZVersionReader reader)
{
    QZVersionReader previous = g_reader;
    g_reader = reader ? reader : &ReadSystemVersion;
    g_isRead = false;
    return previous;
}
