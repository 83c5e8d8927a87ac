// File names, drive and system classes, the network redirector probe, time, and the
// start-up step of the operating-system layer.
#include "database/mgOs.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "database/mgRuntime.h"

namespace {

constexpr int kDefaultLockRetries = 3000;
constexpr int kDefaultLockSleepMs = 50;

bool ReadRegistryString(const char* keyName, const char* valueName, char* out, DWORD size)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD length = size;
    LONG result = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(out), &length);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return false;
    if (length >= size)
        length = size - 1;
    out[length] = 0;
    return true;
}

// Searches a system file for its fixed version record; false when anything fails.
bool ReadFixedVersion(const char* path, VS_FIXEDFILEINFO* info)
{
    const mgIoFunctions& io = mgIo();
    HANDLE file = io.open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    static const uint8_t kSignature[4] = {0xBD, 0x04, 0xEF, 0xFE};
    uint8_t block[4096 + 3];
    uint64_t position = 0;
    bool found = false;
    for (;;) {
        DWORD done = 0;
        if (!io.read(file, position, block, sizeof block, &done) || done < 4)
            break;
        for (DWORD i = 0; i + 4 <= done; ++i) {
            if (memcmp(block + i, kSignature, 4) == 0) {
                DWORD got = 0;
                found = io.read(file, position + i, info, sizeof *info, &got) && got == sizeof *info;
                break;
            }
        }
        if (found || done < sizeof block)
            break;
        position += 4096;
    }
    io.close(file);
    return found;
}

} // namespace

int mgSameFileName(const char* a, const char* b)
{
    bool exact = false;
    for (;; ++a, ++b) {
        char ca = *a;
        char cb = *b;
        if (ca == '!')
            exact = true;
        if (!exact) {
            if (ca == '\\' && cb == '/')
                cb = '\\';
            else if (ca == '/' && cb == '\\')
                cb = '/';
            ca = char(toupper(static_cast<unsigned char>(ca)));
            cb = char(toupper(static_cast<unsigned char>(cb)));
        }
        if (ca != cb)
            return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb) ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

uint16_t mgPrefixDirectory(char* name, const char* directory)
{
    if (name[0] == '\\' || name[0] == '/' || (name[0] && name[1] == ':'))
        return 0;
    size_t dirLength = strlen(directory);
    size_t nameLength = strlen(name);
    if (dirLength + nameLength >= 256)
        return mgSetError(kMgNameTooLong);
    memmove(name + dirLength, name, nameLength + 1);
    memcpy(name, directory, dirLength);
    return 0;
}

int mgDriveClass(const char* name)
{
    char full[261];
    char* filePart = nullptr;
    DWORD length = GetFullPathNameA(name, sizeof full, full, &filePart);
    if (length == 0 || length >= sizeof full)
        return 0;
    if (!isalpha(static_cast<unsigned char>(full[0])) || full[1] != ':')
        return 2;
    char root[4] = {full[0], ':', '\\', 0};
    switch (GetDriveTypeA(root)) {
    case DRIVE_REMOVABLE:
    case DRIVE_FIXED:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK:
        return 1;
    case DRIVE_REMOTE:
        return 2;
    default:
        return 0;
    }
}

int mgSystemClassFrom(const OSVERSIONINFOEXA& version, bool extended, const char* productType)
{
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return 1;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (version.dwMajorVersion < 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion == 0))
            return 2;
        return 4;
    case VER_PLATFORM_WIN32_NT: {
        int kind = version.dwMajorVersion < 5 ? 8 : version.dwMajorVersion == 5 ? 16 : 0;
        if (extended) {
            if (version.wProductType == VER_NT_WORKSTATION)
                kind |= 0x1000;
            else if (version.wProductType == VER_NT_SERVER)
                kind |= 0x2000;
        } else if (productType) {
            if (lstrcmpiA(productType, "WINNT") == 0)
                kind |= 0x1000;
            else if (lstrcmpiA(productType, "SERVERNT") == 0)
                kind |= 0x2000;
        }
        return kind;
    }
    default:
        return 0;
    }
}

int mgSystemClass()
{
    OSVERSIONINFOEXA version{};
    version.dwOSVersionInfoSize = sizeof version;
    bool extended = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)) != 0;
    if (!extended) {
        version = OSVERSIONINFOEXA{};
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)))
            return 0;
    }
    char productType[32] = "";
    if (!extended)
        ReadRegistryString("SYSTEM\\CurrentControlSet\\Control\\ProductOptions", "ProductType", productType,
                           sizeof productType);
    return mgSystemClassFrom(version, extended, productType);
}

int mgRedirectorProbe()
{
    if (mgSystemClass() != 2)
        return 0;
    char path[MAX_PATH + 16];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        fputs("GetSystemDirectory failed.\n", stdout);
        return 1;
    }
    strcat(path, "\\vredir.vxd");
    VS_FIXEDFILEINFO info{};
    if (!ReadFixedVersion(path, &info))
        return 1;
    if (HIWORD(info.dwFileVersionMS) < 4 || LOWORD(info.dwFileVersionLS) < 1116)
        return 1;
    if (LOWORD(info.dwFileVersionMS) < 10) {
        HKEY key;
        BYTE value[4] = {};
        DWORD size = sizeof value;
        DWORD type = 0;
        bool discard = false;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\VREDIR", 0, KEY_READ,
                          &key) == ERROR_SUCCESS) {
            discard = RegQueryValueExA(key, "DiscardCacheOnOpen", nullptr, &type, value, &size) == ERROR_SUCCESS &&
                      size == 1 && value[0] == 1;
            RegCloseKey(key);
        }
        return discard ? 0 : 1;
    }
    return 0;
}

void mgSleep(DWORD milliseconds)
{
    Sleep(milliseconds);
}

uint32_t mgNow()
{
    return uint32_t(time(nullptr));
}

void mgNowText(uint32_t when, char* text, size_t size)
{
    static const char* kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    static const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
    time_t value = time_t(when);
    struct tm* local = localtime(&value);
    if (!local) {
        snprintf(text, size, "\n");
        return;
    }
    snprintf(text, size, "%.3s %.3s %02d %02d:%02d:%02d %4d\n", kDays[local->tm_wday], kMonths[local->tm_mon],
             local->tm_mday, local->tm_hour, local->tm_min, local->tm_sec, local->tm_year + 1900);
}

uint16_t mgOsStart()
{
    mgInstanceContext* ctx = mgCtx();
    for (int size = 2048; size >= 512; size /= 2) {
        ctx->fillBuffer = static_cast<uint8_t*>(mgCalloc(1, size_t(size)));
        if (ctx->fillBuffer) {
            memset(ctx->fillBuffer, 0xFF, size_t(size));
            ctx->fillSize = size;
            break;
        }
    }
    if (!ctx->fillBuffer)
        return kMgNoMemoryAtStart;
    SetHandleCount(255);
    ctx->redirectorProbe = mgRedirectorProbe();
    if (ctx->lockRetries == 0)
        ctx->lockRetries = kDefaultLockRetries;
    if (ctx->lockSleepMs == 0)
        ctx->lockSleepMs = kDefaultLockSleepMs;
    if (ctx->handleLimit == 0)
        ctx->handleLimit = 500;
    return 0;
}

void mgOsStop()
{
    mgInstanceContext* ctx = mgCtx();
    mgHeapFreeAndClear(ctx->fillBuffer);
    ctx->fillSize = 0;
    free(ctx->heldRegions);
    ctx->heldRegions = nullptr;
    ctx->heldRegionCount = ctx->heldRegionCapacity = 0;
}
