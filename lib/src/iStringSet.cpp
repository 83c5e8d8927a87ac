// The string set's text operations.
#include "iStringSet.h"

int iStringSet::Insert(const char* text)
{
    insert(iString(text));
    return 1;
}

int iStringSet::Remove(const char* text)
{
    return erase(iString(text)) ? 1 : 0;
}

int iStringSet::Contains(const char* text) const
{
    return count(iString(text)) ? 1 : 0;
}
