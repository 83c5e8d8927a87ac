// Registry keys: the process defaults, opening or creating the key, and values.
#include "iRegistry.h"

#include "iTempBufferRing.h"
#include "TextRoutines.h"

#include <cstring>
#include <mutex>

namespace {

constexpr unsigned kPartSize = 256;
constexpr DWORD kNameSize = 256;

struct Defaults {
    HKEY root = HKEY_CURRENT_USER;
    char software[kPartSize] = "Software";
    char company[kPartSize] = "Orvel++ Software Development";
    char application[kPartSize] = "Default";
};

// Set once at start-up, but read by every key made later, on any thread.
std::mutex g_defaultsLock;
Defaults g_defaults;

// Copies text into part when it fits with its zero; false (part untouched) otherwise.
bool CopyPart(char (&part)[kPartSize], const char* text)
{
    if (!text)
        text = "";
    unsigned length = StrNLen(text, kPartSize);
    if (length >= kPartSize)
        return false;
    memcpy(part, text, length + 1);
    return true;
}

bool AppendPart(char (&part)[kPartSize], const char* text)
{
    size_t used = strlen(part);
    size_t length = strlen(text);
    if (used + 1 + length >= kPartSize)
        return false;
    part[used] = '\\';
    memcpy(part + used + 1, text, length + 1);
    return true;
}

Defaults CurrentDefaults()
{
    std::lock_guard<std::mutex> lock(g_defaultsLock);
    return g_defaults;
}

} // namespace

BOOL iRegistry::SetDefaults(HKEY root, const char* software, const char* company, const char* application,
                            const char* extra1, const char* extra2, const char* extra3)
{
    // Build aside: an over-long part must leave the previous defaults whole.
    Defaults next;
    next.root = root;
    if (!CopyPart(next.software, software) || !CopyPart(next.company, company) ||
        !CopyPart(next.application, application))
        return FALSE;
    for (const char* extra : {extra1, extra2, extra3}) {
        if (!extra)
            break;
        if (!AppendPart(next.application, extra))
            return FALSE;
    }
    std::lock_guard<std::mutex> lock(g_defaultsLock);
    g_defaults = next;
    return TRUE;
}

iRegistry::iRegistry(HKEY root, const char* subkey, REGSAM access) : m_access(access), m_subkey(subkey)
{
    Defaults defaults = CurrentDefaults();
    m_root = root;
    m_software = defaults.software;
    m_company = defaults.company;
    m_application = defaults.application;
    Open();
}

iRegistry::iRegistry(const char* subkey, REGSAM access) : iRegistry(CurrentDefaults().root, subkey, access)
{
}

iRegistry::iRegistry(HKEY root, const char* software, const char* company, const char* application,
                     REGSAM access, const char* subkey)
    : m_root(root), m_software(software), m_company(company), m_application(application), m_access(access),
      m_subkey(subkey)
{
    Open();
}

iRegistry::iRegistry(const char* software, const char* company, const char* application, REGSAM access,
                     const char* subkey)
    : iRegistry(CurrentDefaults().root, software, company, application, access, subkey)
{
}

iRegistry::iRegistry(const iRegistry& parent, const char* name, REGSAM access)
    : m_access(access ? access : parent.m_access)
{
    if (!parent.IsOpen()) {
        m_status = ERROR_INVALID_HANDLE;
        return;
    }
    m_status = RegOpenKeyExA(parent.m_key, name, 0, m_access, &m_key);
    if (m_status != ERROR_SUCCESS && (m_access & KEY_CREATE_SUB_KEY))
        m_status = RegCreateKeyExA(parent.m_key, name, 0, nullptr, REG_OPTION_NON_VOLATILE, m_access, nullptr,
                                   &m_key, nullptr);
    if (m_status != ERROR_SUCCESS)
        m_key = nullptr;
}

iRegistry::~iRegistry()
{
    Close();
}

void iRegistry::Open()
{
    iString path = GetPath();
    m_status = RegOpenKeyExA(m_root, path, 0, m_access, &m_key);
    // Created whatever the access mask: even a read-only open leaves the key in place.
    if (m_status != ERROR_SUCCESS)
        m_status = RegCreateKeyExA(m_root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, m_access, nullptr, &m_key,
                                   nullptr);
    if (m_status != ERROR_SUCCESS)
        m_key = nullptr;
}

iString iRegistry::GetPath() const
{
    iString path;
    for (const iString* part : {&m_software, &m_company, &m_application, &m_subkey}) {
        if (part->IsEmpty())
            continue;
        if (!path.IsEmpty())
            path += '\\';
        path += *part;
    }
    return path;
}

int iRegistry::Close()
{
    if (!IsOpen())
        return 0;
    RegCloseKey(m_key);
    m_key = nullptr;
    m_status = -1;
    return 1;
}

int iRegistry::QueryDWord(const char* name, DWORD* value)
{
    if (!IsOpen())
        return -1;
    DWORD type = REG_NONE;
    DWORD size = sizeof(DWORD);
    LONG result = RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    return (result == ERROR_SUCCESS && type == REG_DWORD) ? 0 : -1;
}

int iRegistry::QueryBinary(const char* name, void* data, DWORD* size)
{
    if (!IsOpen())
        return -1;
    DWORD type = REG_NONE;
    LONG result = RegQueryValueExA(m_key, name, nullptr, &type, static_cast<BYTE*>(data), size);
    return (result == ERROR_SUCCESS && type == REG_BINARY) ? 0 : -1;
}

int iRegistry::QueryString(const char* name, iString& text)
{
    if (!IsOpen())
        return -1;
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(m_key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return -1;
    // Two spare zero bytes: a stored text without its terminating zero still ends.
    DWORD room = size + 2;
    char* buffer = TempBuffer(room);
    memset(buffer, 0, room);
    DWORD read = size;
    if (RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &read) != ERROR_SUCCESS ||
        type != REG_SZ)
        return -1;
    text = buffer;
    return 0;
}

int iRegistry::SetDWord(const char* name, DWORD value)
{
    if (!IsOpen())
        return -1;
    LONG result = RegSetValueExA(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    return result == ERROR_SUCCESS ? 0 : -1;
}

int iRegistry::SetBinary(const char* name, const void* data, DWORD size)
{
    if (!IsOpen())
        return -1;
    LONG result = RegSetValueExA(m_key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
    return result == ERROR_SUCCESS ? 0 : -1;
}

int iRegistry::SetString(const char* name, const iString& text)
{
    if (!IsOpen())
        return -1;
    LONG result = RegSetValueExA(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(static_cast<LPCSTR>(text)),
                                 static_cast<DWORD>(text.GetLength()) + 1);
    return result == ERROR_SUCCESS ? 0 : -1;
}

LONG iRegistry::EnumKey(DWORD index, iString& name, FILETIME* lastWrite)
{
    if (!IsOpen())
        return ERROR_INVALID_HANDLE;
    char buffer[kNameSize];
    DWORD size = kNameSize;
    LONG result = RegEnumKeyExA(m_key, index, buffer, &size, nullptr, nullptr, nullptr, lastWrite);
    if (result == ERROR_SUCCESS)
        name = buffer;
    return result;
}

LONG iRegistry::EnumKey(DWORD index, iString& name, iString& className, FILETIME* lastWrite)
{
    if (!IsOpen())
        return ERROR_INVALID_HANDLE;
    char buffer[kNameSize];
    DWORD size = kNameSize;
    char classBuffer[kNameSize];
    DWORD classSize = kNameSize;
    LONG result = RegEnumKeyExA(m_key, index, buffer, &size, nullptr, classBuffer, &classSize, lastWrite);
    if (result == ERROR_SUCCESS) {
        name = buffer;
        className = classBuffer;
    }
    return result;
}

LONG iRegistry::EnumValue(DWORD index, iString& name, DWORD* type, void* data, DWORD* size)
{
    if (!IsOpen())
        return ERROR_INVALID_HANDLE;
    char buffer[kNameSize];
    DWORD nameSize = kNameSize;
    LONG result = RegEnumValueA(m_key, index, buffer, &nameSize, nullptr, type, static_cast<BYTE*>(data), size);
    if (result == ERROR_SUCCESS)
        name = buffer;
    return result;
}
