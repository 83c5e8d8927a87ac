// Stands in for the framework's exception objects: thrown by pointer, released
// by the handler with Delete(). Allocation failures, including a failed global
// operator new, arrive as a CMemoryException.
#pragma once

#include "Object.h"

#include <windows.h>

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL autoDelete = TRUE) : m_bAutoDelete(autoDelete) {}
    ~CException() override = default;

    // Frees a heap exception; shared static ones (m_bAutoDelete FALSE) stay.
    void Delete();

    BOOL m_bAutoDelete;
};

class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL autoDelete = TRUE) : CException(autoDelete) {}
};

[[noreturn]] void AfxThrowMemoryException();

// Data exchange throws it after the user has been told what is wrong: UpdateData
// answers FALSE and shows nothing more.
class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
public:
    explicit CUserException(BOOL autoDelete = TRUE) : CException(autoDelete) {}
};

// An operation the object cannot carry out (a control that has no window).
class CNotSupportedException : public CException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL autoDelete = TRUE) : CException(autoDelete) {}
};

[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowNotSupportedException();

// Handlers catch the pointer and call Delete() on it when done.
#define TRY try
#define CATCH(exceptionClass, e) catch (exceptionClass * e)
#define AND_CATCH(exceptionClass, e) catch (exceptionClass * e)
#define END_CATCH
#define CATCH_ALL(e) catch (CException * e)
#define AND_CATCH_ALL(e) catch (CException * e)
#define END_CATCH_ALL
#define THROW(e) throw e
#define THROW_LAST() throw
