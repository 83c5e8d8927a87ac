// A list of strings: the framework's string list, with a two-way iterator.
#pragma once

#include "framework/StringCollections.h"

class iStringList : public CStringList {
public:
    explicit iStringList(int blockSize = 10) : CStringList(blockSize) {}
    ~iStringList() override = default;

    // A place in a list; null past either end, where stepping leaves it null.
    class Iterator {
    public:
        Iterator(const iStringList& list, POSITION position) : m_list(&list), m_position(position) {}
        Iterator(const Iterator& other) = default;
        Iterator& operator=(const Iterator& other) = default;
        virtual ~Iterator() = default;

        // Each returns the iterator as it was, then steps.
        Iterator operator++(int);
        Iterator operator--(int);
        POSITION GetPosition() const { return m_position; }

    private:
        const iStringList* m_list;
        POSITION m_position;
    };
};
