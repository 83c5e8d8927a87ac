// File paths: extensions and absolute paths.
#include "iFileName.h"

const iFileName& iFileName::operator=(const iFileName& other)
{
    CString::operator=(other);
    return *this;
}

const iFileName& iFileName::operator=(const CString& other)
{
    CString::operator=(other);
    return *this;
}

const iFileName& iFileName::operator=(const char* text)
{
    CString::operator=(text);
    return *this;
}

int iFileName::ExtensionDot() const
{
    int dot = ReverseFind('.');
    if (dot <= 0)
        return -1;
    if (FindOneOf("/\\", dot) != -1)
        return -1;
    return dot;
}

iString iFileName::GetExtension() const
{
    int dot = ExtensionDot();
    return dot == -1 ? iString() : iString(Mid(dot + 1));
}

int iFileName::RemoveExtension()
{
    int dot = ExtensionDot();
    if (dot == -1)
        return 0;
    SetLength(dot);
    return 1;
}

int iFileName::AddExtension(const char* ext)
{
    if (!ext)
        ext = "";
    bool needsDot = !IsEmpty() && GetAt(GetLength() - 1) != '.' && ext[0] != '.';
    if (needsDot)
        *this += '.';
    *this += ext;
    return 1;
}

int iFileName::ChangeExtension(const char* ext)
{
    RemoveExtension();
    return AddExtension(ext);
}

int iFileName::MakeAbsolute(const char* dir)
{
    if (GetAt(1) == ':')
        return 0;
    *this = CString(dir) + *this;
    return 1;
}
