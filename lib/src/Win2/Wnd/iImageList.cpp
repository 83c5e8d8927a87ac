// Image lists made in one step.
#include "lib/src/Win2/Wnd/iImageList.h"

iImageList::iImageList() = default;

iImageList::iImageList(int cx, int cy, UINT flags, int initial, int grow)
{
    Create(cx, cy, flags, initial, grow);
}

iImageList::iImageList(UINT bitmapId, int cx, int grow, COLORREF mask)
{
    Create(bitmapId, cx, grow, mask);
}

iImageList::iImageList(LPCSTR bitmapName, int cx, int grow, COLORREF mask)
{
    Create(bitmapName, cx, grow, mask);
}

iImageList::iImageList(CImageList& first, int image1, CImageList& second, int image2, int dx, int dy)
{
    Create(first, image1, second, image2, dx, dy);
}

iImageList::iImageList(CImageList* other)
{
    HIMAGELIST copy = other && other->GetSafeHandle() ? ::ImageList_Duplicate(other->GetSafeHandle()) : nullptr;
    // A copy nobody took would leak.
    if (copy && !Attach(copy))
        ::ImageList_Destroy(copy);
}

iImageList::iImageList(HIMAGELIST list)
{
    Attach(list);
}

iImageList::~iImageList()
{
    DeleteImageList();
}
