// Rectangle operations that follow the Win32 IntersectRect and UnionRect rules.
#include "Geometry.h"

#include <algorithm>
#include <utility>

void CRect::NormalizeRect()
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

BOOL CRect::IntersectRect(LPCRECT a, LPCRECT b)
{
    // Read both sources before writing: this may be either of them.
    CRect first(*a);
    CRect second(*b);
    CRect overlap(std::max(first.left, second.left), std::max(first.top, second.top),
                  std::min(first.right, second.right), std::min(first.bottom, second.bottom));
    if (first.IsRectEmpty() || second.IsRectEmpty() || overlap.IsRectEmpty()) {
        SetRectEmpty();
        return FALSE;
    }
    *this = overlap;
    return TRUE;
}

BOOL CRect::UnionRect(LPCRECT a, LPCRECT b)
{
    CRect first(*a);
    CRect second(*b);
    if (first.IsRectEmpty() && second.IsRectEmpty()) {
        SetRectEmpty();
        return FALSE;
    }
    if (first.IsRectEmpty()) {
        *this = second;
    } else if (second.IsRectEmpty()) {
        *this = first;
    } else {
        SetRect(std::min(first.left, second.left), std::min(first.top, second.top),
                std::max(first.right, second.right), std::max(first.bottom, second.bottom));
    }
    return TRUE;
}
