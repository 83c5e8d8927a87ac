// Stands in for the framework's 8-bit string: reference-counted, copy on write,
// with its length kept beside the characters. Derived classes (the foundation's
// iString, the toolkit's QZString) edit the buffer in place through the protected
// data header and the copy-before-write and allocation members.
#pragma once

#include <windows.h>
#include <cstdarg>

// Header that sits in front of every string's characters.
struct CStringData {
    long nRefs;        // -1 marks the shared, never-freed empty string
    int nDataLength;   // characters in use, not counting the terminating zero
    int nAllocLength;  // characters the buffer can hold, not counting the zero
    char* data() { return reinterpret_cast<char*>(this + 1); }
};

class CString {
public:
    CString();
    CString(const CString& other);
    CString(char ch, int repeat = 1);
    CString(LPCSTR text);
    CString(const unsigned char* text);
    CString(LPCSTR text, int length);
    ~CString();

    int GetLength() const { return GetData()->nDataLength; }
    BOOL IsEmpty() const { return GetData()->nDataLength == 0; }
    void Empty();

    char GetAt(int index) const;
    char operator[](int index) const { return GetAt(index); }
    void SetAt(int index, char ch);
    operator LPCSTR() const { return m_pchData; }

    const CString& operator=(const CString& other);
    const CString& operator=(char ch);
    const CString& operator=(LPCSTR text);
    const CString& operator=(const unsigned char* text);

    const CString& operator+=(const CString& other);
    const CString& operator+=(char ch);
    const CString& operator+=(LPCSTR text);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, char ch);
    friend CString operator+(char ch, const CString& b);
    friend CString operator+(const CString& a, LPCSTR b);
    friend CString operator+(LPCSTR a, const CString& b);

    // Byte-wise comparison (strcmp order); the ordered containers rely on it.
    int Compare(LPCSTR text) const;
    int CompareNoCase(LPCSTR text) const;

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    void MakeUpper();
    void MakeLower();
    void TrimLeft();
    void TrimRight();

    int Find(char ch) const;
    int Find(char ch, int start) const;
    int Find(LPCSTR sub) const;
    int Find(LPCSTR sub, int start) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR charSet) const;
    // Replaces every occurrence, left to right, without overlaps: the number replaced,
    // 0 when nothing changed. An empty or null old text replaces nothing.
    int Replace(char oldChar, char newChar);
    int Replace(LPCSTR oldText, LPCSTR newText);

    void Format(LPCSTR format, ...);
    void FormatV(LPCSTR format, va_list args);

    // Loads a string-table entry from the framework's resource module; FALSE when missing.
    BOOL LoadString(UINT id);

    LPSTR GetBuffer(int minBufLength);
    void ReleaseBuffer(int newLength = -1);
    LPSTR GetBufferSetLength(int newLength);

protected:
    LPSTR m_pchData;

    CStringData* GetData() const { return reinterpret_cast<CStringData*>(m_pchData) - 1; }
    void Init();
    void AllocBuffer(int length);
    void AllocCopy(CString& dest, int copyLen, int copyIndex, int extraLen) const;
    void AssignCopy(int srcLen, LPCSTR srcData);
    void ConcatCopy(int src1Len, LPCSTR src1Data, int src2Len, LPCSTR src2Data);
    void ConcatInPlace(int srcLen, LPCSTR srcData);
    // Gives this string a private buffer before it is changed.
    void CopyBeforeWrite();
    // Gives this string a private buffer of at least length characters, contents undefined.
    void AllocBeforeWrite(int length);
    void Release();
    static void Release(CStringData* data);
    static void FreeData(CStringData* data);
    static CStringData* EmptyData();
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCSTR b);
bool operator==(LPCSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCSTR b);
bool operator!=(LPCSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCSTR b);
bool operator<(LPCSTR a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);

// Field iSubString of lpszFullString, whose fields are separated by chSep (resource strings
// pack a window title, a prompt and more, one per line). FALSE, with rString empty, when
// there are fewer fields; an empty field is still a field.
BOOL AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep = '\n');
