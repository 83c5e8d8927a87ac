// The standard ordered set with a virtual destructor, so that sets derived from
// it can be deleted through a base pointer.
#pragma once

#include <functional>
#include <set>

template <class Element, class Order = std::less<Element>>
class iSTL_set : public std::set<Element, Order> {
public:
    using std::set<Element, Order>::set;
    virtual ~iSTL_set() = default;
};
