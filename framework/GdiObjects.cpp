// GDI object wrappers: one handle map per object kind, so that a temporary wrapper is
// an object of the handle's own class; creation of each kind.
#include "GdiObjects.h"

#include "DC.h"
#include "ResourceException.h"
#include "ResourceModule.h"
#include "ThreadHandleMap.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

namespace {

using GdiMap = CHandleMap<CGdiObject, HGDIOBJ>;

template <class Wrapper>
struct GdiMapTraits {
    using Object = CGdiObject;
    using Handle = HGDIOBJ;
    static CGdiObject* NewObject() { return new Wrapper; }
    static void SetHandles(CGdiObject* object, HGDIOBJ handle) { object->m_hObject = handle; }
};

// The calling thread's existing maps, one per kind; null where none was made or the
// thread has torn them down.
struct KindMaps {
    GdiMap* maps[7];
};

KindMaps ExistingMaps()
{
    return {{AfxThreadHandleMap<GdiMapTraits<CPen>>(false), AfxThreadHandleMap<GdiMapTraits<CBrush>>(false),
             AfxThreadHandleMap<GdiMapTraits<CFont>>(false), AfxThreadHandleMap<GdiMapTraits<CBitmap>>(false),
             AfxThreadHandleMap<GdiMapTraits<CPalette>>(false), AfxThreadHandleMap<GdiMapTraits<CRgn>>(false),
             AfxThreadHandleMap<GdiMapTraits<CGdiObject>>(false)}};
}

GdiMap* MapOf(HGDIOBJ object)
{
    switch (::GetObjectType(object)) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        return AfxThreadHandleMap<GdiMapTraits<CPen>>();
    case OBJ_BRUSH:
        return AfxThreadHandleMap<GdiMapTraits<CBrush>>();
    case OBJ_FONT:
        return AfxThreadHandleMap<GdiMapTraits<CFont>>();
    case OBJ_BITMAP:
        return AfxThreadHandleMap<GdiMapTraits<CBitmap>>();
    case OBJ_PAL:
        return AfxThreadHandleMap<GdiMapTraits<CPalette>>();
    case OBJ_REGION:
        return AfxThreadHandleMap<GdiMapTraits<CRgn>>();
    default:
        return AfxThreadHandleMap<GdiMapTraits<CGdiObject>>();
    }
}

// Takes a newly made handle into the object; a handle the object cannot take is deleted.
BOOL Adopt(CGdiObject& object, HGDIOBJ created)
{
    if (object.Attach(created))
        return TRUE;
    if (created)
        ::DeleteObject(created);
    return FALSE;
}

} // namespace

CGdiObject::CGdiObject() : m_hObject(nullptr)
{
}

CGdiObject::~CGdiObject()
{
    (void)DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object)
{
    GdiMap* map = object ? MapOf(object) : nullptr;
    CGdiObject* wrapper = map ? map->FromHandle(object) : nullptr;
    // A temporary whose handle was deleted through it stays mapped until idle with no
    // handle; when the handle value comes back, the wrapper must hold it again.
    if (wrapper && !wrapper->m_hObject)
        wrapper->m_hObject = object;
    return wrapper;
}

BOOL CGdiObject::Attach(HGDIOBJ object)
{
    if (!object || m_hObject)
        return FALSE;
    m_hObject = object;
    if (GdiMap* map = MapOf(object))
        map->SetPermanent(object, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ object = m_hObject;
    if (!object)
        return nullptr;
    // Every kind's map is asked: the handle may already be deleted, so its kind is unknown.
    for (GdiMap* map : ExistingMaps().maps) {
        if (map && map->LookupPermanent(object) == this)
            map->RemoveHandle(object);
    }
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject()
{
    HGDIOBJ object = Detach();
    return object ? ::DeleteObject(object) : FALSE;
}

int CGdiObject::GetObject(int count, LPVOID buffer) const
{
    return m_hObject ? ::GetObjectA(m_hObject, count, buffer) : 0;
}

UINT CGdiObject::GetObjectType() const
{
    return m_hObject ? static_cast<UINT>(::GetObjectType(m_hObject)) : 0;
}

BOOL CGdiObject::CreateStockObject(int index)
{
    return Attach(::GetStockObject(index));
}

CPen::CPen(int penStyle, int width, COLORREF color)
{
    (void)CreatePen(penStyle, width, color);
}

CPen::CPen(int penStyle, int width, const LOGBRUSH* brush, int styleCount, const DWORD* styles)
{
    (void)CreatePen(penStyle, width, brush, styleCount, styles);
}

BOOL CPen::CreatePen(int penStyle, int width, COLORREF color)
{
    return Adopt(*this, ::CreatePen(penStyle, width, color));
}

BOOL CPen::CreatePen(int penStyle, int width, const LOGBRUSH* brush, int styleCount, const DWORD* styles)
{
    return Adopt(*this, ::ExtCreatePen(static_cast<DWORD>(penStyle), static_cast<DWORD>(width), brush,
                                       static_cast<DWORD>(styleCount), styles));
}

BOOL CPen::CreatePenIndirect(const LOGPEN* logPen)
{
    return Adopt(*this, ::CreatePenIndirect(logPen));
}

CBrush::CBrush(COLORREF color)
{
    if (!CreateSolidBrush(color))
        AfxThrowResourceException();
}

CBrush::CBrush(int hatchIndex, COLORREF color)
{
    if (!CreateHatchBrush(hatchIndex, color))
        AfxThrowResourceException();
}

CBrush::CBrush(CBitmap* bitmap)
{
    if (!CreatePatternBrush(bitmap))
        AfxThrowResourceException();
}

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    return Adopt(*this, ::CreateSolidBrush(color));
}

BOOL CBrush::CreateHatchBrush(int hatchIndex, COLORREF color)
{
    return Adopt(*this, ::CreateHatchBrush(hatchIndex, color));
}

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    if (!bitmap || !bitmap->m_hObject)
        return FALSE;
    return Adopt(*this, ::CreatePatternBrush(*bitmap));
}

BOOL CBrush::CreateSysColorBrush(int colorIndex)
{
    return Adopt(*this, ::GetSysColorBrush(colorIndex));
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* logFont)
{
    return logFont ? Adopt(*this, ::CreateFontIndirectA(logFont)) : FALSE;
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCSTR faceName)
{
    return Adopt(*this, ::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                      charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
}

BOOL CFont::CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc)
{
    LOGFONTA logFont = {};
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = pointSize;
    if (faceName)
        lstrcpynA(logFont.lfFaceName, faceName, LF_FACESIZE);
    return CreatePointFontIndirect(&logFont, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* logFont, CDC* dc)
{
    if (!logFont)
        return FALSE;
    HDC measure = dc ? (dc->m_hAttribDC ? dc->m_hAttribDC : dc->m_hDC) : nullptr;
    HDC screen = measure ? nullptr : ::GetDC(nullptr);
    if (!measure)
        measure = screen;
    // Tenths of a point to device pixels, then to the DC's logical units.
    POINT height = {0, MulDiv(::GetDeviceCaps(measure, LOGPIXELSY), logFont->lfHeight, 720)};
    POINT origin = {0, 0};
    ::DPtoLP(measure, &height, 1);
    ::DPtoLP(measure, &origin, 1);
    if (screen)
        ::ReleaseDC(nullptr, screen);
    LOGFONTA converted = *logFont;
    // Negative: the height of the characters, not of the cell.
    converted.lfHeight = -std::abs(height.y - origin.y);
    return CreateFontIndirect(&converted);
}

int CFont::GetLogFont(LOGFONTA* logFont) const
{
    return GetObject(sizeof(LOGFONTA), logFont);
}

BOOL CBitmap::LoadBitmap(LPCSTR resourceName)
{
    if (m_hObject)
        return FALSE;
    return Adopt(*this, ::LoadBitmapA(AfxGetResourceHandle(), resourceName));
}

BOOL CBitmap::LoadBitmap(UINT resourceId)
{
    return LoadBitmap(MAKEINTRESOURCEA(resourceId));
}

BOOL CBitmap::LoadOEMBitmap(UINT bitmapId)
{
    if (m_hObject)
        return FALSE;
    return Adopt(*this, ::LoadBitmapA(nullptr, MAKEINTRESOURCEA(bitmapId)));
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    return Adopt(*this, ::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    if (!dc || !dc->m_hDC)
        return FALSE;
    return Adopt(*this, ::CreateCompatibleBitmap(dc->m_hDC, width, height));
}

int CBitmap::GetBitmap(BITMAP* bitmap) const
{
    return GetObject(sizeof(BITMAP), bitmap);
}

BOOL CPalette::CreatePalette(const LOGPALETTE* logPalette)
{
    return logPalette ? Adopt(*this, ::CreatePalette(logPalette)) : FALSE;
}

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2)
{
    return Adopt(*this, ::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect)
{
    return rect ? Adopt(*this, ::CreateRectRgnIndirect(rect)) : FALSE;
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int widthEllipse, int heightEllipse)
{
    return Adopt(*this, ::CreateRoundRectRgn(x1, y1, x2, y2, widthEllipse, heightEllipse));
}

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int polyFillMode)
{
    return Adopt(*this, ::CreatePolygonRgn(points, count, polyFillMode));
}

int CRgn::CombineRgn(const CRgn* source1, const CRgn* source2, int combineMode)
{
    if (!m_hObject || !source1)
        return ERROR;
    return ::CombineRgn(*this, *source1, source2 ? static_cast<HRGN>(*source2) : nullptr, combineMode);
}

int CRgn::CopyRgn(const CRgn* source)
{
    return CombineRgn(source, nullptr, RGN_COPY);
}

int CRgn::OffsetRgn(int x, int y)
{
    return ::OffsetRgn(*this, x, y);
}

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2)
{
    ::SetRectRgn(*this, x1, y1, x2, y2);
}

int CRgn::GetRgnBox(LPRECT rect) const
{
    return ::GetRgnBox(*this, rect);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    return ::PtInRegion(*this, x, y);
}
