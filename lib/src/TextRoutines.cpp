// Search, fill, copy and comparison routines on 8-bit texts.
#include "TextRoutines.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

int Lower(char c)
{
    return tolower(static_cast<unsigned char>(c));
}

// Folds for the comparisons, on bytes taken as signed: ASCII letters change case,
// bytes above 127 stay negative so that they sort the same way in every mode.
int Same(int c)
{
    return c;
}

int FoldLower(int c)
{
    return c >= 0 ? tolower(c) : c;
}

int FoldUpper(int c)
{
    return c >= 0 ? toupper(c) : c;
}

int Signed(char c)
{
    return static_cast<signed char>(c);
}

bool SameNoCase(const char* a, const char* b, unsigned n)
{
    for (unsigned i = 0; i < n; ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

// Lengths of the two texts of a case-insensitive search; false when nothing can match.
bool SearchLengths(const char* hay, const char* needle, unsigned hayMax, unsigned needleMax,
                   unsigned& hayLength, unsigned& needleLength)
{
    if (!hay || !needle || hayMax == 0)
        return false;
    hayLength = StrNLen(hay, hayMax);
    needleLength = StrNLen(needle, needleMax);
    return hayLength > 0 && needleLength > 0 && needleLength <= hayLength;
}

// First difference of the first count bytes, as signed bytes; 0 when they all match.
int FirstDifference(const char* a, const char* b, int count, int (*fold)(int))
{
    for (int i = 0; i < count; ++i) {
        int d = fold(Signed(a[i])) - fold(Signed(b[i]));
        if (d != 0)
            return d;
    }
    return 0;
}

// Unequal widths: the common part decides, then the wider text's next byte.
int CompareWidths(const char* a, int na, const char* b, int nb, int (*fold)(int))
{
    int common = std::min(na, nb);
    if (int d = FirstDifference(a, b, common, fold))
        return d;
    if (na > nb)
        return fold(Signed(a[common]));
    return 0 - fold(Signed(b[common]));
}

int CompareFromEnd(const char* a, int na, const char* b, int nb, int (*fold)(int))
{
    int la = static_cast<int>(StrNLen(a, static_cast<unsigned>(std::max(na, 0))));
    int lb = static_cast<int>(StrNLen(b, static_cast<unsigned>(std::max(nb, 0))));
    for (int step = 1; step <= std::min(la, lb); ++step) {
        int d = fold(Signed(a[la - step])) - fold(Signed(b[lb - step]));
        if (d != 0)
            return d;
    }
    return 0;
}

} // namespace

unsigned StrNLen(const char* s, unsigned max)
{
    if (!s)
        return 0;
    return static_cast<unsigned>(max ? strnlen(s, max) : strlen(s));
}

char* StrNChr(const char* s, int c, unsigned n)
{
    if (!s)
        return nullptr;
    if (n == 0)
        return const_cast<char*>(strchr(s, c));
    return static_cast<char*>(const_cast<void*>(memchr(s, c, n)));
}

char* StrNRChr(const char* s, int c, unsigned max)
{
    if (!s)
        return nullptr;
    for (unsigned i = StrNLen(s, max); i > 0; --i) {
        if (s[i - 1] == static_cast<char>(c))
            return const_cast<char*>(s + i - 1);
    }
    return nullptr;
}

char* StrNRPBrk(const char* s, const char* set, int n)
{
    if (!s || !set || n <= 0)
        return nullptr;
    for (unsigned i = StrNLen(s, static_cast<unsigned>(n)); i > 0; --i) {
        if (strchr(set, s[i - 1]))
            return const_cast<char*>(s + i - 1);
    }
    return nullptr;
}

char* StrFill(char* s, char c, unsigned n)
{
    if (s)
        memset(s, c, n);
    return s;
}

char* StrReplaceChar(char* s, int n, char from, char to)
{
    if (!s)
        return s;
    if (n <= 0)
        n = static_cast<int>(strlen(s));
    for (int i = n - 1; i >= 0; --i) {
        if (s[i] == from)
            s[i] = to;
    }
    return s;
}

char* StrIStr(const char* hay, const char* needle)
{
    return StrNIStr(hay, needle, StrNLen(hay, 0), 0);
}

char* StrNIStr(const char* hay, const char* needle, unsigned hayMax, unsigned needleMax)
{
    unsigned hayLength = 0;
    unsigned needleLength = 0;
    if (!SearchLengths(hay, needle, hayMax, needleMax, hayLength, needleLength))
        return nullptr;
    for (unsigned i = 0; i + needleLength <= hayLength; ++i) {
        if (SameNoCase(hay + i, needle, needleLength))
            return const_cast<char*>(hay + i);
    }
    return nullptr;
}

char* StrNIRStr(const char* hay, const char* needle, unsigned hayMax, unsigned needleMax)
{
    unsigned hayLength = 0;
    unsigned needleLength = 0;
    if (!SearchLengths(hay, needle, hayMax, needleMax, hayLength, needleLength))
        return nullptr;
    for (unsigned i = hayLength - needleLength + 1; i > 0; --i) {
        if (SameNoCase(hay + i - 1, needle, needleLength))
            return const_cast<char*>(hay + i - 1);
    }
    return nullptr;
}

int IsSignChar(int c)
{
    return (c == '-' || c == '+') ? 1 : 0;
}

char* StrMove(char* dst, const char* src)
{
    memmove(dst, src, strlen(src) + 1);
    return dst;
}

char* StrRightCopy(char* dst, const char* src, int n)
{
    int from = static_cast<int>(StrNLen(src, 0)) - 1;
    for (int to = n - 1; to >= 0 && from >= 0; --to, --from)
        dst[to] = src[from];
    return dst;
}

int StrNCmp2(const char* a, int na, const char* b, int nb)
{
    if (na == nb)
        return strncmp(a, b, static_cast<size_t>(std::max(na, 0)));
    return CompareWidths(a, na, b, nb, Same);
}

int StrNICmp2(const char* a, int na, const char* b, int nb)
{
    if (na == nb)
        return _strnicmp(a, b, static_cast<size_t>(std::max(na, 0)));
    return CompareWidths(a, na, b, nb, FoldLower);
}

int StrNRCmp2(const char* a, int na, const char* b, int nb)
{
    return CompareFromEnd(a, na, b, nb, Same);
}

int StrNRICmp2(const char* a, int na, const char* b, int nb)
{
    return CompareFromEnd(a, na, b, nb, FoldUpper);
}
