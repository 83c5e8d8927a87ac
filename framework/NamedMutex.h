// Stands in for the framework's synchronisation objects as far as the program uses
// them: CSyncObject with its kernel handle, closed by the destructor, and CMutex, a
// mutex that may be named and owned from creation. The application object holds one
// for its whole life, so creation happens during static initialisation and never
// throws: a mutex that cannot be made leaves the object without a handle.
#pragma once

#include "Object.h"

#include <windows.h>

class CSyncObject : public CObject {
    DECLARE_DYNAMIC(CSyncObject)
public:
    ~CSyncObject() override;

    HANDLE m_hObject;

    operator HANDLE() const { return m_hObject; }
    // TRUE once the calling thread owns the object; FALSE on time-out or without a handle.
    virtual BOOL Lock(DWORD timeoutMs = INFINITE);
    virtual BOOL Unlock() = 0;

protected:
    CSyncObject() : m_hObject(nullptr) {}
};

class CMutex : public CSyncObject {
    DECLARE_DYNAMIC(CMutex)
public:
    // A second object of the same name shares the first one's mutex (without ownership).
    explicit CMutex(BOOL initiallyOwn = FALSE, LPCSTR name = nullptr, LPSECURITY_ATTRIBUTES security = nullptr);

    // FALSE when the calling thread does not own the mutex.
    BOOL Unlock() override;
};
