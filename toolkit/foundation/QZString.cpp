// The toolkit string's editing operations and mnemonic stripping.
#include "toolkit/foundation/QZString.h"

#include <algorithm>
#include <cstring>

int QZString::Find(LPCSTR text, int start) const
{
    if (start > GetLength() || start < 0)
        return -1;
    const char* found = std::strstr(m_pchData + start, text ? text : "");
    return found ? static_cast<int>(found - m_pchData) : -1;
}

int QZString::Insert(int index, char ch)
{
    const int length = GetLength();
    index = std::clamp(index, 0, length);
    char* buffer = GetBuffer(length + 1);
    std::memmove(buffer + index + 1, buffer + index, static_cast<size_t>(length - index));
    buffer[index] = ch;
    ReleaseBuffer(length + 1);
    return length + 1;
}

int QZString::Remove(char ch)
{
    const int length = GetLength();
    char* buffer = GetBuffer(length);
    char* end = std::remove(buffer, buffer + length, ch);
    const int kept = static_cast<int>(end - buffer);
    ReleaseBuffer(kept);
    return length - kept;
}

int QZString::Replace(LPCSTR oldText, LPCSTR newText)
{
    return CString::Replace(oldText, newText ? newText : "");
}

int QZString::Delete(int index, int count)
{
    const int length = GetLength();
    index = std::max(index, 0);
    if (count >= 1 && index < length) {
        count = std::min(count, length - index);
        char* buffer = GetBuffer(length);
        std::memmove(buffer + index, buffer + index + count, static_cast<size_t>(length - index - count));
        ReleaseBuffer(length - count);
    }
    return length;
}

CString QZString::Left(int count) const
{
    count = std::max(count, 0);
    if (count >= GetLength())
        return *this;
    return CString(m_pchData, count);
}

void QZStripMnemonic(CString& text)
{
    QZString stripped(text);
    if (stripped.Find("&&", 0) == -1) {
        stripped.Remove('&');
    } else {
        // Doubled markers are kept aside while the single ones go.
        stripped.Replace("&&", "^^");
        stripped.Remove('&');
        stripped.Replace("^^", "&&");
    }
    text = stripped;
}
