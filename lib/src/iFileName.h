// A file path held as an iString, with extension handling and making a path
// absolute. A dot counts as the extension's start only at index 1 or later and
// with no "/" or "\" after it, so ".profile" and "a.b\c" have no extension.
#pragma once

#include "iString.h"

class iFileName : public iString {
public:
    iFileName() = default;
    iFileName(const iFileName& other) : iString(other) {}
    iFileName(const iString& other) : iString(other) {}
    iFileName(const CString& other) : iString(other) {}
    iFileName(char c, int n) : iString(c, n) {}
    iFileName(const char* text) : iString(text) {}
    iFileName(const unsigned char* text) : iString(text) {}
    iFileName(const char* p, int n) : iString(p, n) {}
    iFileName(const wchar_t* text) : iString(text) {}
    iFileName(UINT id) : iString(id) {}

    const iFileName& operator=(const iFileName& other);
    const iFileName& operator=(const CString& other);
    const iFileName& operator=(const char* text);

    // The text after the extension's dot (empty for a name ending in "."), or empty.
    iString GetExtension() const;
    // Cuts the path before the extension's dot: 1; 0 when there is none.
    int RemoveExtension();
    // Appends "." and ext; the dot is left out when the path is empty or ends in
    // ".", or when ext begins with "."; returns 1.
    int AddExtension(const char* ext);
    int ChangeExtension(const char* ext);
    // A path with ":" at index 1 is absolute: unchanged, 0. Otherwise dir (which
    // ends in a separator) is put in front: 1.
    int MakeAbsolute(const char* dir);

private:
    // Index of the extension's dot, or -1.
    int ExtensionDot() const;
};
