// The recent-file list and its profile section.
#include "RecentFileList.h"

#include "WinApp.h"

#include <algorithm>

CRecentFileList::CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize)
    : m_nStart(nStart), m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat), m_nSize(std::max(nSize, 0))
{
}

void CRecentFileList::Add(LPCSTR lpszPathName)
{
    if (!lpszPathName || !*lpszPathName || m_nSize == 0)
        return;
    auto same = std::find_if(m_names.begin(), m_names.end(),
                             [&](const CString& name) { return name.CompareNoCase(lpszPathName) == 0; });
    if (same != m_names.end())
        m_names.erase(same);
    m_names.insert(m_names.begin(), CString(lpszPathName));
    if (static_cast<int>(m_names.size()) > m_nSize)
        m_names.resize(static_cast<size_t>(m_nSize));
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex >= 0 && nIndex < GetCount())
        m_names.erase(m_names.begin() + nIndex);
}

void CRecentFileList::ReadList()
{
    CWinApp* app = AfxGetApp();
    m_names.clear();
    if (!app)
        return;
    for (int i = 0; i < m_nSize; ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, static_cast<int>(m_nStart) + i + 1);
        CString name = app->GetProfileString(m_strSectionName, entry);
        if (!name.IsEmpty())
            m_names.push_back(name);
    }
}

void CRecentFileList::WriteList()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    for (int i = 0; i < m_nSize; ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, static_cast<int>(m_nStart) + i + 1);
        app->WriteProfileString(m_strSectionName, entry, i < GetCount() ? static_cast<LPCSTR>(m_names[i]) : nullptr);
    }
}
