// An ordered map from a code to a text: the value names of flag and choice fields.
// It owns copies of its texts.
#pragma once

#include "iString.h"

#include <map>

class iStringMap {
public:
    iStringMap() = default;
    virtual ~iStringMap() = default;

    // The text of code; an empty text when the code has none.
    const iString& Find(long code) const;
    // The lowest code whose text equals text exactly; -1 when none.
    long FindCode(const char* text) const;
    // Adds code with a copy of text; an existing entry for code stays. 1 either way.
    int Insert(long code, const char* text);

private:
    std::map<long, iString> m_map;
    iString m_empty;
};
