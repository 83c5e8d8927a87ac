// Stands in for the framework's image list: a CObject that owns an HIMAGELIST by contract
// (Create or Attach makes it the handle's permanent object, Detach gives the handle up,
// the destructor deletes a list it still holds). FromHandle answers the permanent
// object of a handle, or a temporary wrapper that the thread frees at idle time without
// touching the list.
#pragma once

#include "Object.h"

#include <windows.h>
#include <commctrl.h>

class CBitmap;
class CDC;

class CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList();
    ~CImageList() override;

    HIMAGELIST m_hImageList = nullptr;

    operator HIMAGELIST() const { return m_hImageList; }
    // Null for a null object: framework code calls it through pointers that may be null.
    HIMAGELIST GetSafeHandle() const { return this ? m_hImageList : nullptr; }

    static CImageList* FromHandle(HIMAGELIST hImageList);
    static CImageList* FromHandlePermanent(HIMAGELIST hImageList);

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // A strip bitmap from the resource module cut into images cx wide; crMask is transparent.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(LPCSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
    // One image: image nImage2 of the second list drawn over nImage1 of the first at (dx, dy).
    BOOL Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy);
    // A copy of another list (ImageList_Duplicate).
    BOOL Create(CImageList* pImageList);

    // FALSE when this object holds a list already or the handle has a permanent object.
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    int GetImageCount() const;
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const;

    // The index of the (first) new image, or -1.
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon);
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    // nImage -1 appends; the result is the image's index, or -1.
    int Replace(int nImage, HICON hIcon);
    BOOL Remove(int nImage);
    // A new icon the caller destroys; null when there is no such image.
    HICON ExtractIcon(int nImage);
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);

private:
    // Makes this the permanent object of a list just made; a null list fails.
    BOOL AttachNew(HIMAGELIST hImageList);
};
