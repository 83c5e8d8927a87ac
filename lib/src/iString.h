// The system's text type: the framework string with further constructors (a
// string-table id, a counted run, a wide text), truncation, counted assignment,
// number-to-text in a radix, searches for one of a set of characters, and
// case-insensitive find. A value type: copies share their characters until one changes.
#pragma once

#include "framework/CString.h"

class iString : public CString {
public:
    iString() = default;
    iString(const iString& other) : CString(other) {}
    iString(const CString& other) : CString(other) {}
    iString(char c, int n) : CString(c, n) {}
    iString(const char* text) : CString(text) {}
    iString(const unsigned char* text) : CString(text) {}
    iString(const char* p, int n) : CString(p, n) {}
    iString(const wchar_t* text);
    iString(const wchar_t* p, int n);
    // The string-table entry, else "Resource string id '<id>' [0x<ID>] not found!".
    iString(UINT id);

    const iString& operator=(const iString& other);
    const iString& operator=(const CString& other);
    const iString& operator=(const char* text);
    const iString& operator=(const unsigned char* text);
    const iString& operator=(char c);

    // Cuts the text to at most n characters, and at an embedded zero before them.
    void SetLength(int n);
    // Exactly n bytes from p (n 0: the length of p); past the end of p they are zero.
    void Assign(const char* p, int n);

    // The value in radix 2..36 (a minus sign only in radix 10, other radices write
    // the bit pattern unsigned); a radix outside 2..36 leaves the string empty.
    iString& SetInt(int value, int radix);
    iString& SetInt64(__int64 value, int radix);
    iString& SetUInt64(unsigned __int64 value, int radix);

    using CString::FindOneOf;
    // Index of the first character at or after start that is in set; -1 when none.
    int FindOneOf(const char* set, int start) const;
    // Index of the last of the first n characters that is in set; -1 when none.
    // n beyond the length counts as the length.
    int ReverseFindOneOf(const char* set, int n) const;
    int FindNoCase(const char* sub) const;
    // -1 when start is beyond the length or sub is absent or empty.
    int FindNoCase(const char* sub, int start) const;

protected:
    void LoadOrDescribe(UINT id);
    void AssignWide(const wchar_t* p, int n);
};
