// Firing event connectors.
#include "lib/src/Win2/Wnd/iConnector.h"

int iConnector::Fire(CWnd* sender) const
{
    if (!IsEmpty())
        (m_target->*m_function)(sender);
    return 0;
}

int iNotifyConnector::Fire(CWnd* sender, NMHDR* header, LRESULT* result) const
{
    if (!IsEmpty())
        (m_target->*m_function)(sender, header, result);
    return 0;
}
