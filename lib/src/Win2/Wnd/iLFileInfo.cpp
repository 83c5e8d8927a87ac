// What an image file holds, with the file's path.
#include "lib/src/Win2/Wnd/iLFileInfo.h"

iLFileInfo::iLFileInfo() : m_isValid(FALSE) {}

iLFileInfo::iLFileInfo(const char* path, unsigned flags, const imaging::LoadOptions* options) : m_isValid(FALSE)
{
    Read(path, flags, options);
}

iLFileInfo::~iLFileInfo() = default;

BOOL iLFileInfo::Read(const char* path, unsigned flags, const imaging::LoadOptions* options)
{
    m_path = path;
    m_result = L_FileInfo(m_path, &m_info, flags, options);
    m_isValid = m_result == imaging::kSuccess;
    return m_isValid;
}

void iLFileInfo::SetUnreadable(int result)
{
    m_result = result;
    m_isValid = FALSE;
}

iString iLFileInfo::GetFileName() const
{
    const int slash = m_path.ReverseFind('\\');
    return slash < 0 ? m_path : iString(m_path.Mid(slash + 1));
}
