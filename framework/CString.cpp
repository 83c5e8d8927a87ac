// The framework string: buffer management, assignment, concatenation and search.
// Invariants: (1) m_pchData always points just past a CStringData header and is
// zero-terminated at nDataLength; (2) a buffer with nRefs > 1 is never written;
// (3) the empty string is one shared header with nRefs -1 that is never freed.
#include "CString.h"

#include "Exceptions.h"
#include "ResourceModule.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct EmptyStringBlock {
    CStringData header;
    char zero;
};
EmptyStringBlock g_emptyString = {{-1, 0, 0}, 0};

// Room for the header, the characters and the terminating zero, or 0 when it overflows.
size_t BlockSize(int length)
{
    if (length < 0 || static_cast<size_t>(length) > (size_t(INT_MAX) - sizeof(CStringData) - 1))
        return 0;
    return sizeof(CStringData) + static_cast<size_t>(length) + 1;
}

int SafeLength(LPCSTR text)
{
    return text ? static_cast<int>(strlen(text)) : 0;
}

} // namespace

CStringData* CString::EmptyData()
{
    return &g_emptyString.header;
}

void CString::Init()
{
    m_pchData = EmptyData()->data();
}

CString::CString()
{
    Init();
}

CString::CString(const CString& other)
{
    CStringData* data = other.GetData();
    if (data->nRefs >= 0) {
        m_pchData = other.m_pchData;
        InterlockedIncrement(&data->nRefs);
    } else {
        Init();
        *this = other.m_pchData;
    }
}

CString::CString(char ch, int repeat)
{
    Init();
    if (repeat > 0) {
        AllocBuffer(repeat);
        memset(m_pchData, ch, static_cast<size_t>(repeat));
    }
}

CString::CString(LPCSTR text)
{
    Init();
    int length = SafeLength(text);
    if (length > 0) {
        AllocBuffer(length);
        memcpy(m_pchData, text, static_cast<size_t>(length));
    }
}

CString::CString(const unsigned char* text) : CString(reinterpret_cast<LPCSTR>(text))
{
}

CString::CString(LPCSTR text, int length)
{
    Init();
    if (text && length > 0) {
        AllocBuffer(length);
        memcpy(m_pchData, text, static_cast<size_t>(length));
    }
}

CString::~CString()
{
    Release(GetData());
}

void CString::AllocBuffer(int length)
{
    if (length == 0) {
        Init();
        return;
    }
    size_t size = BlockSize(length);
    if (size == 0)
        AfxThrowMemoryException();
    auto* data = static_cast<CStringData*>(malloc(size));
    if (!data)
        AfxThrowMemoryException();
    data->nRefs = 1;
    data->nDataLength = length;
    data->nAllocLength = length;
    data->data()[length] = '\0';
    m_pchData = data->data();
}

void CString::FreeData(CStringData* data)
{
    free(data);
}

void CString::Release(CStringData* data)
{
    if (data != EmptyData() && InterlockedDecrement(&data->nRefs) <= 0)
        FreeData(data);
}

void CString::Release()
{
    Release(GetData());
    Init();
}

void CString::Empty()
{
    if (GetData()->nRefs >= 0)
        Release();
}

void CString::CopyBeforeWrite()
{
    CStringData* data = GetData();
    if (data->nRefs > 1) {
        AllocBuffer(data->nDataLength);
        memcpy(m_pchData, data->data(), static_cast<size_t>(data->nDataLength) + 1);
        Release(data);
    }
}

void CString::AllocBeforeWrite(int length)
{
    CStringData* data = GetData();
    if (data->nRefs > 1 || length > data->nAllocLength) {
        // Allocate first: on failure the string keeps its old contents.
        CString fresh;
        fresh.AllocBuffer(length);
        Release(data);
        m_pchData = fresh.m_pchData;
        fresh.Init();
    }
}

void CString::AllocCopy(CString& dest, int copyLen, int copyIndex, int extraLen) const
{
    int newLength = copyLen + extraLen;
    if (newLength == 0) {
        dest.Init();
        return;
    }
    dest.AllocBuffer(newLength);
    memcpy(dest.m_pchData, m_pchData + copyIndex, static_cast<size_t>(copyLen));
}

void CString::AssignCopy(int srcLen, LPCSTR srcData)
{
    AllocBeforeWrite(srcLen);
    if (srcLen > 0)
        memmove(m_pchData, srcData, static_cast<size_t>(srcLen));
    GetData()->nDataLength = srcLen;
    m_pchData[srcLen] = '\0';
}

void CString::ConcatCopy(int src1Len, LPCSTR src1Data, int src2Len, LPCSTR src2Data)
{
    if (src1Len > INT_MAX - src2Len)
        AfxThrowMemoryException();
    int newLength = src1Len + src2Len;
    if (newLength == 0)
        return;
    AllocBuffer(newLength);
    memcpy(m_pchData, src1Data, static_cast<size_t>(src1Len));
    memcpy(m_pchData + src1Len, src2Data, static_cast<size_t>(src2Len));
}

void CString::ConcatInPlace(int srcLen, LPCSTR srcData)
{
    if (srcLen == 0)
        return;
    CStringData* data = GetData();
    if (data->nRefs > 1 || data->nDataLength + srcLen > data->nAllocLength) {
        CString joined;
        joined.ConcatCopy(data->nDataLength, m_pchData, srcLen, srcData);
        *this = joined;
    } else {
        memcpy(m_pchData + data->nDataLength, srcData, static_cast<size_t>(srcLen));
        data->nDataLength += srcLen;
        m_pchData[data->nDataLength] = '\0';
    }
}

char CString::GetAt(int index) const
{
    return (index >= 0 && index < GetLength()) ? m_pchData[index] : '\0';
}

void CString::SetAt(int index, char ch)
{
    if (index < 0 || index >= GetLength())
        return;
    CopyBeforeWrite();
    m_pchData[index] = ch;
}

const CString& CString::operator=(const CString& other)
{
    if (m_pchData == other.m_pchData)
        return *this;
    CStringData* mine = GetData();
    CStringData* theirs = other.GetData();
    if (theirs->nRefs < 0) {
        AssignCopy(theirs->nDataLength, other.m_pchData);
    } else {
        InterlockedIncrement(&theirs->nRefs);
        Release(mine);
        m_pchData = other.m_pchData;
    }
    return *this;
}

const CString& CString::operator=(char ch)
{
    AssignCopy(1, &ch);
    return *this;
}

const CString& CString::operator=(LPCSTR text)
{
    AssignCopy(SafeLength(text), text);
    return *this;
}

const CString& CString::operator=(const unsigned char* text)
{
    return *this = reinterpret_cast<LPCSTR>(text);
}

const CString& CString::operator+=(const CString& other)
{
    // Copy first: other may share this string's buffer.
    CString keep(other);
    ConcatInPlace(keep.GetLength(), keep.m_pchData);
    return *this;
}

const CString& CString::operator+=(char ch)
{
    ConcatInPlace(1, &ch);
    return *this;
}

const CString& CString::operator+=(LPCSTR text)
{
    CString keep(text);
    ConcatInPlace(keep.GetLength(), keep.m_pchData);
    return *this;
}

CString operator+(const CString& a, const CString& b)
{
    CString s;
    s.ConcatCopy(a.GetLength(), a.m_pchData, b.GetLength(), b.m_pchData);
    return s;
}

CString operator+(const CString& a, char ch)
{
    CString s;
    s.ConcatCopy(a.GetLength(), a.m_pchData, 1, &ch);
    return s;
}

CString operator+(char ch, const CString& b)
{
    CString s;
    s.ConcatCopy(1, &ch, b.GetLength(), b.m_pchData);
    return s;
}

CString operator+(const CString& a, LPCSTR b)
{
    CString s;
    s.ConcatCopy(a.GetLength(), a.m_pchData, SafeLength(b), b);
    return s;
}

CString operator+(LPCSTR a, const CString& b)
{
    CString s;
    s.ConcatCopy(SafeLength(a), a, b.GetLength(), b.m_pchData);
    return s;
}

int CString::Compare(LPCSTR text) const
{
    return strcmp(m_pchData, text ? text : "");
}

int CString::CompareNoCase(LPCSTR text) const
{
    return _stricmp(m_pchData, text ? text : "");
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength() - first);
}

CString CString::Mid(int first, int count) const
{
    int length = GetLength();
    if (first < 0)
        first = 0;
    if (count < 0)
        count = 0;
    if (first > length)
        first = length;
    if (count > length - first)
        count = length - first;
    if (first == 0 && count == length)
        return *this;
    CString dest;
    AllocCopy(dest, count, first, 0);
    return dest;
}

CString CString::Left(int count) const
{
    return Mid(0, count);
}

CString CString::Right(int count) const
{
    int length = GetLength();
    if (count < 0)
        count = 0;
    if (count > length)
        count = length;
    return Mid(length - count, count);
}

void CString::MakeUpper()
{
    CopyBeforeWrite();
    _strupr(m_pchData);
}

void CString::MakeLower()
{
    CopyBeforeWrite();
    _strlwr(m_pchData);
}

void CString::TrimLeft()
{
    int skip = 0;
    while (skip < GetLength() && isspace(static_cast<unsigned char>(m_pchData[skip])))
        ++skip;
    if (skip > 0) {
        CopyBeforeWrite();
        int remaining = GetLength() - skip;
        memmove(m_pchData, m_pchData + skip, static_cast<size_t>(remaining) + 1);
        GetData()->nDataLength = remaining;
    }
}

void CString::TrimRight()
{
    int end = GetLength();
    while (end > 0 && isspace(static_cast<unsigned char>(m_pchData[end - 1])))
        --end;
    if (end < GetLength()) {
        CopyBeforeWrite();
        m_pchData[end] = '\0';
        GetData()->nDataLength = end;
    }
}

int CString::Find(char ch) const
{
    return Find(ch, 0);
}

int CString::Find(char ch, int start) const
{
    int length = GetLength();
    if (start < 0)
        start = 0;
    if (start >= length)
        return -1;
    const void* hit = memchr(m_pchData + start, ch, static_cast<size_t>(length - start));
    return hit ? static_cast<int>(static_cast<const char*>(hit) - m_pchData) : -1;
}

int CString::Find(LPCSTR sub) const
{
    return Find(sub, 0);
}

int CString::Find(LPCSTR sub, int start) const
{
    if (!sub)
        return -1;
    if (start < 0)
        start = 0;
    if (start > GetLength())
        return -1;
    const char* hit = strstr(m_pchData + start, sub);
    return hit ? static_cast<int>(hit - m_pchData) : -1;
}

int CString::ReverseFind(char ch) const
{
    const char* hit = strrchr(m_pchData, ch);
    return hit ? static_cast<int>(hit - m_pchData) : -1;
}

int CString::FindOneOf(LPCSTR charSet) const
{
    if (!charSet)
        return -1;
    const char* hit = strpbrk(m_pchData, charSet);
    return hit ? static_cast<int>(hit - m_pchData) : -1;
}

void CString::Format(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(LPCSTR format, va_list args)
{
    if (!format) {
        Empty();
        return;
    }
    va_list measure;
    va_copy(measure, args);
    int needed = vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (needed < 0) {
        Empty();
        return;
    }
    // Format into a fresh string: the arguments may point into this one.
    CString result;
    result.AllocBuffer(needed);
    if (needed > 0)
        vsnprintf(result.m_pchData, static_cast<size_t>(needed) + 1, format, args);
    *this = result;
}

BOOL CString::LoadString(UINT id)
{
    HINSTANCE module = AfxGetResourceHandle();
    int size = 256;
    for (;;) {
        CString buffer;
        buffer.AllocBuffer(size);
        int copied = ::LoadStringA(module, id, buffer.m_pchData, size + 1);
        if (copied <= 0)
            return FALSE;
        if (copied < size) {
            AssignCopy(copied, buffer.m_pchData);
            return TRUE;
        }
        if (size > 65536)
            return FALSE;
        size *= 2;
    }
}

LPSTR CString::GetBuffer(int minBufLength)
{
    if (minBufLength < 0)
        minBufLength = 0;
    CStringData* data = GetData();
    if (data->nRefs > 1 || minBufLength > data->nAllocLength) {
        int oldLength = data->nDataLength;
        if (minBufLength < oldLength)
            minBufLength = oldLength;
        CString fresh;
        fresh.AllocBuffer(minBufLength);
        memcpy(fresh.m_pchData, m_pchData, static_cast<size_t>(oldLength) + 1);
        fresh.GetData()->nDataLength = oldLength;
        *this = fresh;
        // Leave this string the only owner of its buffer.
        fresh.Release();
    }
    return m_pchData;
}

void CString::ReleaseBuffer(int newLength)
{
    CopyBeforeWrite();
    CStringData* data = GetData();
    if (newLength < 0) {
        newLength = static_cast<int>(strnlen(m_pchData, static_cast<size_t>(data->nAllocLength)));
    }
    if (newLength > data->nAllocLength)
        newLength = data->nAllocLength;
    if (data == EmptyData())
        return;
    data->nDataLength = newLength;
    m_pchData[newLength] = '\0';
}

LPSTR CString::GetBufferSetLength(int newLength)
{
    if (newLength < 0)
        newLength = 0;
    GetBuffer(newLength);
    if (GetData() != EmptyData()) {
        GetData()->nDataLength = newLength;
        m_pchData[newLength] = '\0';
    }
    return m_pchData;
}

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
bool operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
bool operator!=(LPCSTR a, const CString& b) { return b.Compare(a) != 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
bool operator<(LPCSTR a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }

int CString::Replace(char oldChar, char newChar)
{
    if (oldChar == newChar)
        return 0;
    int count = 0;
    for (int i = 0; i < GetLength(); ++i) {
        if (m_pchData[i] != oldChar)
            continue;
        // The first hit makes the buffer private; later ones write in place.
        if (count++ == 0)
            CopyBeforeWrite();
        m_pchData[i] = newChar;
    }
    return count;
}

int CString::Replace(LPCSTR oldText, LPCSTR newText)
{
    int oldLength = SafeLength(oldText);
    if (oldLength == 0)
        return 0;
    int newLength = SafeLength(newText);
    // Searched by length, so characters after an embedded zero are replaced too.
    CString result;
    int count = 0;
    int copied = 0;
    for (int i = 0; i + oldLength <= GetLength();) {
        if (memcmp(m_pchData + i, oldText, static_cast<size_t>(oldLength)) == 0) {
            result += CString(m_pchData + copied, i - copied);
            result += CString(newText, newLength);
            i += oldLength;
            copied = i;
            ++count;
        } else {
            ++i;
        }
    }
    if (count == 0)
        return 0;
    result += CString(m_pchData + copied, GetLength() - copied);
    *this = result;
    return count;
}

BOOL AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep)
{
    rString.Empty();
    if (!lpszFullString || iSubString < 0)
        return FALSE;
    LPCSTR start = lpszFullString;
    for (; iSubString > 0; --iSubString) {
        start = strchr(start, chSep);
        if (!start)
            return FALSE;
        ++start;
    }
    LPCSTR end = strchr(start, chSep);
    rString = end ? CString(start, static_cast<int>(end - start)) : CString(start);
    return TRUE;
}
