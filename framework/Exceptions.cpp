// Framework exception objects and the global allocation hook that turns an
// out-of-memory condition into the framework's memory exception.
#include "Exceptions.h"

#include <cstdlib>
#include <new>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

namespace {
// Preallocated: when memory is exhausted there may be no room for a new exception object.
CMemoryException g_outOfMemory(FALSE);
}

void AfxThrowMemoryException()
{
    throw &g_outOfMemory;
}

void AfxThrowUserException()
{
    throw new CUserException;
}

void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}

// A failed new throws the framework's memory exception, as framework code expects.
void* operator new(std::size_t size)
{
    if (size == 0)
        size = 1;
    void* p = std::malloc(size);
    if (!p)
        AfxThrowMemoryException();
    return p;
}

void* operator new[](std::size_t size)
{
    return ::operator new(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
