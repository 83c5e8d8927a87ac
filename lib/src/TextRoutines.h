// Routines on zero-terminated 8-bit texts: bounded length, character and
// substring search (also case-insensitive and from the end), filling, replacing,
// moving and right-aligned copying, and comparisons of two fixed-width texts.
#pragma once

// Length of s, at most max (max 0: unbounded); 0 for a null s.
unsigned StrNLen(const char* s, unsigned max);
// First c within the first n bytes of s (n 0: up to its terminating zero).
char* StrNChr(const char* s, int c, unsigned n);
// Last c within StrNLen(s, max) characters.
char* StrNRChr(const char* s, int c, unsigned max);
// Last of the first n characters of s that is one of set; n is bounded by the
// text's length, so a count past the end never reads beyond the terminating zero.
char* StrNRPBrk(const char* s, const char* set, int n);

char* StrFill(char* s, char c, unsigned n);
// Replaces from by to within the first n bytes (n 0 or less: the whole text).
char* StrReplaceChar(char* s, int n, char from, char to);

// Case-insensitive substring search. hayMax bounds the haystack (0: no match at
// all); needleMax bounds the needle (0: its whole length).
char* StrIStr(const char* hay, const char* needle);
char* StrNIStr(const char* hay, const char* needle, unsigned hayMax, unsigned needleMax);
char* StrNIRStr(const char* hay, const char* needle, unsigned hayMax, unsigned needleMax);

int IsSignChar(int c);
// Copies src with its zero into dst; safe when the two overlap.
char* StrMove(char* dst, const char* src);
// Copies the end of src into the end of the n-byte field dst, right-aligned; no
// terminating zero is written and the rest of dst stays as it was.
char* StrRightCopy(char* dst, const char* src, int n);

// Comparisons of text a of width na with text b of width nb: below, at or above 0
// as a sorts before, with or after b. The R forms compare from the ends of the texts.
int StrNCmp2(const char* a, int na, const char* b, int nb);
int StrNICmp2(const char* a, int na, const char* b, int nb);
int StrNRCmp2(const char* a, int na, const char* b, int nb);
int StrNRICmp2(const char* a, int na, const char* b, int nb);
