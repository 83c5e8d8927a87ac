// An ordered set of texts, compared byte by byte (case counts); it owns copies.
#pragma once

#include "iSTL_set.h"
#include "iString.h"

class iStringSet : public iSTL_set<iString> {
public:
    iStringSet() = default;
    ~iStringSet() override = default;

    // Adds a copy of text unless an equal one is there; 1 either way.
    int Insert(const char* text);
    // 1 when an equal element was erased, 0 when there was none.
    int Remove(const char* text);
    int Contains(const char* text) const;
};
