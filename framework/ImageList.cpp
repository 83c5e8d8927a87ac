// Image lists: creation in each of the framework's forms, the handle maps, images added,
// replaced, extracted and drawn.
#include "ImageList.h"

#include "DC.h"
#include "GdiObjects.h"
#include "ResourceModule.h"
#include "ThreadHandleMap.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace {

struct ImageListMapTraits {
    using Object = CImageList;
    using Handle = HIMAGELIST;
    static CImageList* NewObject() { return new CImageList; }
    static void SetHandles(CImageList* list, HIMAGELIST handle) { list->m_hImageList = handle; }
};

CHandleMap<CImageList, HIMAGELIST>* ImageListMap(bool create = true)
{
    return AfxThreadHandleMap<ImageListMapTraits>(create);
}

HBITMAP BitmapOf(const CBitmap* bitmap)
{
    return bitmap ? static_cast<HBITMAP>(bitmap->m_hObject) : nullptr;
}

} // namespace

CImageList::CImageList() = default;

CImageList::~CImageList()
{
    DeleteImageList();
}

CImageList* CImageList::FromHandle(HIMAGELIST hImageList)
{
    CHandleMap<CImageList, HIMAGELIST>* map = ImageListMap();
    return map ? map->FromHandle(hImageList) : nullptr;
}

CImageList* CImageList::FromHandlePermanent(HIMAGELIST hImageList)
{
    CHandleMap<CImageList, HIMAGELIST>* map = ImageListMap(false);
    return map && hImageList ? map->LookupPermanent(hImageList) : nullptr;
}

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    CHandleMap<CImageList, HIMAGELIST>* map = ImageListMap();
    if (!hImageList || m_hImageList || !map || map->LookupPermanent(hImageList))
        return FALSE;
    map->SetPermanent(hImageList, this);
    m_hImageList = hImageList;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST handle = m_hImageList;
    if (handle) {
        CHandleMap<CImageList, HIMAGELIST>* map = ImageListMap(false);
        if (map && map->LookupPermanent(handle) == this)
            map->RemoveHandle(handle);
    }
    m_hImageList = nullptr;
    return handle;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    return ImageList_Destroy(Detach());
}

BOOL CImageList::AttachNew(HIMAGELIST hImageList)
{
    if (!hImageList)
        return FALSE;
    if (!Attach(hImageList)) {
        ImageList_Destroy(hImageList);
        return FALSE;
    }
    return TRUE;
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    if (m_hImageList)
        return FALSE;
    return AttachNew(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    return Create(MAKEINTRESOURCEA(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask)
{
    if (m_hImageList)
        return FALSE;
    return AttachNew(ImageList_LoadImageA(AfxGetResourceHandle(), lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP, 0));
}

BOOL CImageList::Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy)
{
    if (m_hImageList)
        return FALSE;
    return AttachNew(ImageList_Merge(imagelist1.m_hImageList, nImage1, imagelist2.m_hImageList, nImage2, dx, dy));
}

BOOL CImageList::Create(CImageList* pImageList)
{
    if (m_hImageList || !pImageList || !pImageList->m_hImageList)
        return FALSE;
    return AttachNew(ImageList_Duplicate(pImageList->m_hImageList));
}

int CImageList::GetImageCount() const
{
    return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0;
}

BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
{
    return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
}

COLORREF CImageList::SetBkColor(COLORREF cr)
{
    return ImageList_SetBkColor(m_hImageList, cr);
}

COLORREF CImageList::GetBkColor() const
{
    return ImageList_GetBkColor(m_hImageList);
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Add(m_hImageList, BitmapOf(pbmImage), BitmapOf(pbmMask));
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    return ImageList_AddMasked(m_hImageList, BitmapOf(pbmImage), crMask);
}

int CImageList::Add(HICON hIcon)
{
    return ImageList_ReplaceIcon(m_hImageList, -1, hIcon);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Replace(m_hImageList, nImage, BitmapOf(pbmImage), BitmapOf(pbmMask));
}

int CImageList::Replace(int nImage, HICON hIcon)
{
    return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon);
}

BOOL CImageList::Remove(int nImage)
{
    return ImageList_Remove(m_hImageList, nImage);
}

HICON CImageList::ExtractIcon(int nImage)
{
    if (nImage < 0 || nImage >= GetImageCount())
        return nullptr;
    return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
{
    return ImageList_Draw(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, nStyle);
}
