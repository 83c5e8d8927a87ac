// Stepping the string list's iterator.
#include "iStringList.h"

iStringList::Iterator iStringList::Iterator::operator++(int)
{
    Iterator before(*this);
    if (m_position)
        m_list->GetNext(m_position);
    return before;
}

iStringList::Iterator iStringList::Iterator::operator--(int)
{
    Iterator before(*this);
    if (m_position)
        m_list->GetPrev(m_position);
    return before;
}
