// Synchronisation objects: waiting, releasing and closing kernel handles.
#include "NamedMutex.h"

IMPLEMENT_DYNAMIC(CSyncObject, CObject)
IMPLEMENT_DYNAMIC(CMutex, CSyncObject)

CSyncObject::~CSyncObject()
{
    if (m_hObject)
        ::CloseHandle(m_hObject);
}

BOOL CSyncObject::Lock(DWORD timeoutMs)
{
    if (!m_hObject)
        return FALSE;
    DWORD result = ::WaitForSingleObject(m_hObject, timeoutMs);
    // An abandoned mutex is owned by the caller all the same; answering FALSE would
    // leave it owned with nobody to release it.
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

CMutex::CMutex(BOOL initiallyOwn, LPCSTR name, LPSECURITY_ATTRIBUTES security)
{
    m_hObject = ::CreateMutexA(security, initiallyOwn, name);
}

BOOL CMutex::Unlock()
{
    return m_hObject ? ::ReleaseMutex(m_hObject) : FALSE;
}
