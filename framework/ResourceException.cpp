// The resource exception object and its thrower.
#include "ResourceException.h"

IMPLEMENT_DYNAMIC(CResourceException, CException)

void AfxThrowResourceException()
{
    throw new CResourceException;
}
