// The toolkit's string: the framework string with the same layout and buffer, plus the
// editing operations its menus and buttons use. Every change first gives the string a
// buffer of its own (copy before write). And the stripping of mnemonic markers.
#pragma once

#include "framework/CString.h"

class QZString : public CString {
public:
    QZString() = default;
    QZString(const CString& text) : CString(text) {}

    // The first occurrence of text at or after start; -1 when none or start is past the end.
    int Find(LPCSTR text, int start) const;
    // ch at index (clamped to 0..length); the new length.
    int Insert(int index, char ch);
    // Removes every ch; how many there were.
    int Remove(char ch);
    // Every occurrence of oldText, left to right without overlap, becomes newText (null:
    // empty); how many. An empty or null oldText changes nothing.
    int Replace(LPCSTR oldText, LPCSTR newText);
    // Removes count characters at index (a negative index counts as 0); the length before.
    int Delete(int index, int count = 1);
    // The first count characters (a negative count as 0); the whole string, sharing its
    // buffer, when count reaches its length.
    CString Left(int count) const;
};

// Removes the mnemonic markers of a menu or button text in place: every single "&" goes,
// every doubled "&&" stays doubled.
void QZStripMnemonic(CString& text);
