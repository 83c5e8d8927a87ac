// Stands in for the framework's resource exception: thrown when a window-system or
// GDI resource cannot be made (a brush, a dock bar). Handlers catch the pointer and
// call Delete() on it.
#pragma once

#include "Exceptions.h"

class CResourceException : public CException {
    DECLARE_DYNAMIC(CResourceException)
public:
    explicit CResourceException(BOOL autoDelete = TRUE) : CException(autoDelete) {}
};

[[noreturn]] void AfxThrowResourceException();
