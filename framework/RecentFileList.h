// Stands in for the framework's recent-file list: the most recently used file names,
// newest first, kept in the application's profile under one section ("File1", ...).
#pragma once

#include "CString.h"

#include <windows.h>

#include <vector>

class CRecentFileList {
public:
    CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize);
    virtual ~CRecentFileList() = default;

    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_names.size()); }
    const CString& operator[](int nIndex) const { return m_names[static_cast<size_t>(nIndex)]; }

    // Puts the name first; an entry already in the list moves up instead of repeating.
    virtual void Add(LPCSTR lpszPathName);
    virtual void Remove(int nIndex);
    virtual void ReadList();
    virtual void WriteList();

private:
    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;
    int m_nSize;
    std::vector<CString> m_names;
};
