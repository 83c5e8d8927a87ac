// Profile settings: the object's file and section, the one read and one write that
// every typed operation goes through, and the default profile mode.
#include "iProfile.h"

#include "LibraryText.h"
#include "MsgBox.h"
#include "NumberText.h"
#include "TextScan.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace {

constexpr DWORD kValueSize = 2048;
constexpr int kPrintfSize = 1024;
constexpr DWORD kModeValueSize = 1024;

std::atomic<int> g_defaultMode{kProfileProtected};

bool IsReadRadix(int radix)
{
    return radix == 0 || (radix >= 2 && radix <= 36);
}

bool IsWriteRadix(int radix)
{
    return radix >= 2 && radix <= 36;
}

} // namespace

iProfile::iProfile(int mode, const char* name, const char* ext)
    : m_mode(mode == 0 ? g_defaultMode.load() : mode)
{
    MakeProfileFileName(m_mode, m_file, name, ext);
}

iProfile::~iProfile() = default;

void iProfile::SetSection(const char* section)
{
    m_section = section;
}

void iProfile::SetDefaultMode(int mode)
{
    g_defaultMode = mode;
}

int iProfile::GetDefaultMode()
{
    return g_defaultMode;
}

void iProfile::ReadModeSetting()
{
    iString file;
    MakeProfileFileName(kProfilePrivate, file, nullptr, nullptr);
    char value[kModeValueSize];
    GetPrivateProfileStringA("Default", "Mode", "", value, sizeof value, file);

    struct Name {
        const char* text;
        int mode;
    };
    static const Name kNames[] = {{"Private", kProfilePrivate}, {"Protected", kProfileProtected},
                                  {"Public", kProfilePublic}};
    for (const Name& name : kNames) {
        if (_stricmp(value, name.text) == 0) {
            SetDefaultMode(name.mode);
            return;
        }
    }
    SetDefaultMode(kProfilePrivate);
    MsgBoxExclamation(0, LibraryText(90), nullptr, "%s\n%s\n[%s]", LibraryText(value[0] ? 92 : 91),
                      LibraryText(93), static_cast<const char*>(file));
    WritePrivateProfileStringA("Default", "Mode", "Private", file);
}

const char* iProfile::SectionOr(const char* section) const
{
    return section ? section : static_cast<const char*>(m_section);
}

int iProfile::GetString(const char* section, const char* key, iString& value)
{
    char text[kValueSize];
    DWORD count = m_mode == kProfilePublic
                      ? GetProfileStringA(SectionOr(section), key, "", text, sizeof text)
                      : GetPrivateProfileStringA(SectionOr(section), key, "", text, sizeof text, m_file);
    value = text;
    return static_cast<int>(count);
}

BOOL iProfile::WriteString(const char* section, const char* key, const iString& text)
{
    if (m_mode == kProfilePublic)
        return WriteProfileStringA(SectionOr(section), key, text);
    return WritePrivateProfileStringA(SectionOr(section), key, text, m_file);
}

template <typename T>
int iProfile::GetInteger(const char* section, const char* key, T& value, int radix)
{
    if (!IsReadRadix(radix))
        return 0;
    iString text;
    int count = GetString(section, key, text);
    if (count <= 0)
        return count;
    // Unsigned types, and signed ones in another radix (written as their bit
    // pattern), read unsigned, so every value written reads back as it was.
    unsigned long bits = std::is_signed<T>::value && radix == 10
                             ? static_cast<unsigned long>(strtol(text, nullptr, radix))
                             : strtoul(text, nullptr, radix);
    value = static_cast<T>(bits);
    return count;
}

BOOL iProfile::SetSigned(const char* section, const char* key, long value, int radix)
{
    if (!IsWriteRadix(radix))
        return FALSE;
    char text[kNumberTextSize];
    return WriteString(section, key, IntToPaddedText(value, text, radix, 0));
}

BOOL iProfile::SetUnsigned(const char* section, const char* key, unsigned long value, int radix)
{
    if (!IsWriteRadix(radix))
        return FALSE;
    char text[kNumberTextSize];
    return WriteString(section, key, ULongToPaddedText(value, text, radix, 0));
}

int iProfile::Get(const char* key, int& value, const char* section, int radix)
{
    return GetInteger(section, key, value, radix);
}

int iProfile::Get(const char* key, unsigned& value, const char* section, int radix)
{
    return GetInteger(section, key, value, radix);
}

int iProfile::Get(const char* key, char& value, const char* section, int radix)
{
    return GetInteger(section, key, value, radix);
}

int iProfile::Get(const char* key, unsigned char& value, const char* section, int radix)
{
    return GetInteger(section, key, value, radix);
}

int iProfile::Get(const char* key, short& value, const char* section, int radix)
{
    return GetInteger(section, key, value, radix);
}

int iProfile::Get(const char* key, unsigned short& value, const char* section, int radix)
{
    return GetInteger(section, key, value, radix);
}

int iProfile::Get(const char* key, long& value, const char* section, int radix)
{
    return GetInteger(section, key, value, radix);
}

int iProfile::Get(const char* key, unsigned long& value, const char* section, int radix)
{
    return GetInteger(section, key, value, radix);
}

BOOL iProfile::Set(const char* key, int value, const char* section, int radix)
{
    return SetSigned(section, key, value, radix);
}

BOOL iProfile::Set(const char* key, unsigned value, const char* section, int radix)
{
    return SetUnsigned(section, key, value, radix);
}

BOOL iProfile::Set(const char* key, char value, const char* section, int radix)
{
    return SetSigned(section, key, value, radix);
}

BOOL iProfile::Set(const char* key, unsigned char value, const char* section, int radix)
{
    return SetUnsigned(section, key, value, radix);
}

BOOL iProfile::Set(const char* key, short value, const char* section, int radix)
{
    return SetSigned(section, key, value, radix);
}

BOOL iProfile::Set(const char* key, unsigned short value, const char* section, int radix)
{
    return SetUnsigned(section, key, value, radix);
}

BOOL iProfile::Set(const char* key, long value, const char* section, int radix)
{
    return SetSigned(section, key, value, radix);
}

BOOL iProfile::Set(const char* key, unsigned long value, const char* section, int radix)
{
    return SetUnsigned(section, key, value, radix);
}

int iProfile::Get(const char* section, const char* key, iString& value)
{
    iString text;
    int count = GetString(section, key, text);
    if (count > 0)
        value = text;
    return count;
}

int iProfile::Get(const char* section, const char* key, int& value)
{
    return Get(key, value, SectionOr(section), 10);
}

int iProfile::Get(const char* section, const char* key, short& value)
{
    return Get(key, value, SectionOr(section), 10);
}

int iProfile::Get(const char* section, const char* key, long& value)
{
    return Get(key, value, SectionOr(section), 10);
}

int iProfile::GetBool(const char* section, const char* key, BOOL& value)
{
    iString text;
    int count = GetString(section, key, text);
    if (count > 0)
        value = strcmp(text, "TRUE") == 0 ? TRUE : FALSE;
    return count;
}

BOOL iProfile::Set(const char* section, const char* key, const iString& value)
{
    return WriteString(section, key, value);
}

BOOL iProfile::Set(const char* section, const char* key, int value)
{
    return SetSigned(section, key, value, 10);
}

BOOL iProfile::Set(const char* section, const char* key, short value)
{
    return SetSigned(section, key, value, 10);
}

BOOL iProfile::Set(const char* section, const char* key, long value)
{
    return SetSigned(section, key, value, 10);
}

BOOL iProfile::SetBool(const char* section, const char* key, BOOL value)
{
    return WriteString(section, key, value ? "TRUE" : "FALSE");
}

int iProfile::Get(const char* key, iString& value, const char* section)
{
    return Get(section, key, value);
}

int iProfile::Get(const char* key, char* buffer, const char* section)
{
    iString text;
    int count = GetString(section, key, text);
    // The caller's buffer holds kValueSize bytes, which every read text fits.
    if (count > 0 && buffer)
        memcpy(buffer, static_cast<const char*>(text), static_cast<size_t>(text.GetLength()) + 1);
    return count;
}

int iProfile::Get(const char* key, double& value, const char* section)
{
    iString text;
    int count = GetString(section, key, text);
    if (count > 0)
        value = strtod(text, nullptr);
    return count;
}

BOOL iProfile::Set(const char* key, const iString& value, const char* section)
{
    return WriteString(section, key, value);
}

BOOL iProfile::Set(const char* key, double value, const char* section)
{
    // Formatted to its full length: a large value written cut would read back wrong.
    iString text;
    text.Format("%f", value);
    return WriteString(section, key, text);
}

int iProfile::Printf(const char* key, const char* format, ...)
{
    if (!format)
        return -1;
    char text[kPrintfSize];
    va_list args;
    va_start(args, format);
    int length = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    // A cut text would be stored as if it were the value: refuse it instead.
    if (length < 0 || length >= kPrintfSize)
        return -1;
    return WriteString(nullptr, key, text) ? length : -1;
}

int iProfile::Scanf(const char* key, const char* format, ...)
{
    iString text;
    if (GetString(nullptr, key, text) <= 0 || text.IsEmpty())
        return -1;
    va_list args;
    va_start(args, format);
    int fields = StrScan(text, format, args);
    va_end(args);
    return fields;
}
