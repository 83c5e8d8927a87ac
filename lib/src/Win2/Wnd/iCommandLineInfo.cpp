// The command-line parser base: counting parameters and expiring the pending slot.
#include "iCommandLineInfo.h"

iCommandLineInfo::iCommandLineInfo() = default;

iCommandLineInfo::~iCommandLineInfo() = default;

void iCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast)
{
    ++m_nParamCount;
    static_cast<void>(ParseArgument(pszParam, bFlag, bLast));
    // A pending value the parser did not renew while handling this parameter has had its one parameter.
    if (m_nPendingIndex != -1 && m_nPendingIndex == m_nLastPendingIndex)
        m_nPendingIndex = -1;
    m_nLastPendingIndex = m_nPendingIndex;
}

int iCommandLineInfo::ParseArgument(LPCSTR pszParam, BOOL bFlag, BOOL bLast)
{
    return 0;
}
