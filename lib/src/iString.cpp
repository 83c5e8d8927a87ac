// The system's string: the operations the framework string lacks.
#include "iString.h"

#include "NumberText.h"
#include "TextRoutines.h"

#include <cstring>
#include <cwchar>

iString::iString(const wchar_t* text)
{
    AssignWide(text, text ? static_cast<int>(wcslen(text)) : 0);
}

iString::iString(const wchar_t* p, int n)
{
    AssignWide(p, n);
}

iString::iString(UINT id)
{
    LoadOrDescribe(id);
}

void iString::LoadOrDescribe(UINT id)
{
    if (!LoadString(id))
        Format("Resource string id '%d' [0x%X] not found!", static_cast<int>(id), id);
}

void iString::AssignWide(const wchar_t* p, int n)
{
    if (!p || n <= 0) {
        Empty();
        return;
    }
    int length = WideCharToMultiByte(CP_ACP, 0, p, n, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        Empty();
        return;
    }
    char* buffer = GetBufferSetLength(length);
    WideCharToMultiByte(CP_ACP, 0, p, n, buffer, length, nullptr, nullptr);
}

const iString& iString::operator=(const iString& other)
{
    CString::operator=(other);
    return *this;
}

const iString& iString::operator=(const CString& other)
{
    CString::operator=(other);
    return *this;
}

const iString& iString::operator=(const char* text)
{
    CString::operator=(text);
    return *this;
}

const iString& iString::operator=(const unsigned char* text)
{
    CString::operator=(text);
    return *this;
}

const iString& iString::operator=(char c)
{
    CString::operator=(c);
    return *this;
}

void iString::SetLength(int n)
{
    if (n < 0)
        n = 0;
    if (n >= GetLength())
        return;
    CopyBeforeWrite();
    int length = static_cast<int>(strnlen(m_pchData, static_cast<size_t>(n)));
    GetData()->nDataLength = length;
    m_pchData[length] = '\0';
}

void iString::Assign(const char* p, int n)
{
    if (n == 0)
        n = static_cast<int>(StrNLen(p, 0));
    if (n <= 0) {
        Empty();
        return;
    }
    // Copy aside first: p may point into this string.
    int copied = static_cast<int>(StrNLen(p, static_cast<unsigned>(n)));
    CString source(p, copied);
    AllocBeforeWrite(n);
    memcpy(m_pchData, static_cast<LPCSTR>(source), static_cast<size_t>(copied));
    memset(m_pchData + copied, 0, static_cast<size_t>(n - copied) + 1);
    GetData()->nDataLength = n;
}

iString& iString::SetInt(int value, int radix)
{
    char text[kNumberTextSize];
    if (radix == 10)
        Int64ToText(value, text, radix);
    else
        UInt64ToText(static_cast<unsigned int>(value), text, radix);
    *this = text;
    return *this;
}

iString& iString::SetInt64(__int64 value, int radix)
{
    char text[kNumberTextSize];
    *this = Int64ToText(value, text, radix);
    return *this;
}

iString& iString::SetUInt64(unsigned __int64 value, int radix)
{
    char text[kNumberTextSize];
    *this = UInt64ToText(value, text, radix);
    return *this;
}

int iString::FindOneOf(const char* set, int start) const
{
    if (!set)
        return -1;
    if (start < 0)
        start = 0;
    if (start >= GetLength())
        return -1;
    const char* hit = strpbrk(m_pchData + start, set);
    return hit ? static_cast<int>(hit - m_pchData) : -1;
}

int iString::ReverseFindOneOf(const char* set, int n) const
{
    if (n > GetLength())
        n = GetLength();
    const char* hit = StrNRPBrk(m_pchData, set, n);
    return hit ? static_cast<int>(hit - m_pchData) : -1;
}

int iString::FindNoCase(const char* sub) const
{
    return FindNoCase(sub, 0);
}

int iString::FindNoCase(const char* sub, int start) const
{
    if (start < 0)
        start = 0;
    if (start > GetLength())
        return -1;
    const char* hit = StrIStr(m_pchData + start, sub);
    return hit ? static_cast<int>(hit - m_pchData) : -1;
}
