// The framework's image list with constructors that create, load, merge, duplicate or
// attach in one step. None reports failure: an object whose creation failed holds no list.
#pragma once

#include "framework/Framework.h"

// Owns its image list and destroys it with itself.
class iImageList : public CImageList {
public:
    iImageList();
    iImageList(int cx, int cy, UINT flags, int initial, int grow);
    // A strip bitmap from the resources, cut into images cx wide; mask is the transparent colour.
    iImageList(UINT bitmapId, int cx, int grow, COLORREF mask);
    iImageList(LPCSTR bitmapName, int cx, int grow, COLORREF mask);
    // One image: image2 of the second list drawn over image1 of the first at (dx, dy).
    iImageList(CImageList& first, int image1, CImageList& second, int image2, int dx, int dy);
    // A copy of other's list; no list when other is null or holds none.
    explicit iImageList(CImageList* other);
    // Takes over the list.
    explicit iImageList(HIMAGELIST list);
    ~iImageList() override;
};
