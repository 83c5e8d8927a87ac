// Device contexts: handle map bookkeeping, creation, selection, state and drawing.
#include "DC.h"

#include "ThreadHandleMap.h"

#include <cstring>

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPreviewDC, CDC)

namespace {

struct DCMapTraits {
    using Object = CDC;
    using Handle = HDC;
    static CDC* NewObject() { return new CDC; }
    static void SetHandles(CDC* dc, HDC handle)
    {
        dc->m_hDC = handle;
        dc->m_hAttribDC = handle;
    }
};

CHandleMap<CDC, HDC>* DCMap(bool create = true)
{
    return AfxThreadHandleMap<DCMapTraits>(create);
}

// State changes go to the output DC too when it is a different DC; the attribute DC
// answers (the output DC when there is no attribute DC).
template <class Call>
auto OnBoth(HDC output, HDC attribute, Call call)
{
    decltype(call(output)) result{};
    if (output && output != attribute)
        result = call(output);
    if (attribute)
        result = call(attribute);
    return result;
}

HDC Answering(HDC output, HDC attribute)
{
    return attribute ? attribute : output;
}

} // namespace

CDC::CDC() : m_hDC(nullptr), m_hAttribDC(nullptr)
{
}

CDC::~CDC()
{
    (void)DeleteDC();
}

CDC* CDC::FromHandle(HDC dc)
{
    CHandleMap<CDC, HDC>* map = DCMap();
    CDC* wrapper = map ? map->FromHandle(dc) : nullptr;
    // A temporary whose DC was deleted through it stays mapped until idle with no
    // handle; when the handle value comes back, the wrapper must hold it again.
    if (wrapper && !wrapper->m_hDC)
        DCMapTraits::SetHandles(wrapper, dc);
    return wrapper;
}

BOOL CDC::Attach(HDC dc)
{
    if (!dc || m_hDC)
        return FALSE;
    m_hDC = dc;
    m_hAttribDC = dc;
    if (CHandleMap<CDC, HDC>* map = DCMap())
        map->SetPermanent(dc, this);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC dc = m_hDC;
    if (dc) {
        CHandleMap<CDC, HDC>* map = DCMap(false);
        if (map && map->LookupPermanent(dc) == this)
            map->RemoveHandle(dc);
    }
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
    return dc;
}

BOOL CDC::CreateDC(LPCSTR driverName, LPCSTR deviceName, LPCSTR output, const DEVMODEA* initData)
{
    if (m_hDC)
        return FALSE;
    return Attach(::CreateDCA(driverName, deviceName, output, initData));
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    if (m_hDC)
        return FALSE;
    return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}

BOOL CDC::DeleteDC()
{
    HDC dc = Detach();
    return dc ? ::DeleteDC(dc) : FALSE;
}

int CDC::SaveDC()
{
    return OnBoth(m_hDC, m_hAttribDC, [](HDC dc) { return ::SaveDC(dc); });
}

BOOL CDC::RestoreDC(int savedDC)
{
    return OnBoth(m_hDC, m_hAttribDC, [savedDC](HDC dc) { return ::RestoreDC(dc, savedDC); });
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    if (!object || !object->m_hObject)
        return nullptr;
    HGDIOBJ handle = object->m_hObject;
    HGDIOBJ previous = OnBoth(m_hDC, m_hAttribDC, [handle](HDC dc) { return ::SelectObject(dc, handle); });
    return CGdiObject::FromHandle(previous);
}

CPen* CDC::SelectObject(CPen* pen)
{
    return static_cast<CPen*>(SelectObject(static_cast<CGdiObject*>(pen)));
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return static_cast<CBrush*>(SelectObject(static_cast<CGdiObject*>(brush)));
}

CFont* CDC::SelectObject(CFont* font)
{
    return static_cast<CFont*>(SelectObject(static_cast<CGdiObject*>(font)));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return static_cast<CBitmap*>(SelectObject(static_cast<CGdiObject*>(bitmap)));
}

int CDC::SelectObject(CRgn* region)
{
    if (!region || !region->m_hObject)
        return ERROR;
    return SelectClipRgn(region);
}

CGdiObject* CDC::SelectStockObject(int index)
{
    HGDIOBJ stock = ::GetStockObject(index);
    if (!stock)
        return nullptr;
    HGDIOBJ previous = OnBoth(m_hDC, m_hAttribDC, [stock](HDC dc) { return ::SelectObject(dc, stock); });
    return CGdiObject::FromHandle(previous);
}

CPalette* CDC::SelectPalette(CPalette* palette, BOOL forceBackground)
{
    if (!palette || !palette->m_hObject)
        return nullptr;
    HPALETTE handle = *palette;
    HPALETTE previous = OnBoth(m_hDC, m_hAttribDC,
                               [handle, forceBackground](HDC dc) { return ::SelectPalette(dc, handle, forceBackground); });
    return CPalette::FromHandle(previous);
}

UINT CDC::RealizePalette()
{
    return ::RealizePalette(m_hDC);
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    return OnBoth(m_hDC, m_hAttribDC, [color](HDC dc) { return ::SetBkColor(dc, color); });
}

COLORREF CDC::GetBkColor() const
{
    return ::GetBkColor(Answering(m_hDC, m_hAttribDC));
}

int CDC::SetBkMode(int mode)
{
    return OnBoth(m_hDC, m_hAttribDC, [mode](HDC dc) { return ::SetBkMode(dc, mode); });
}

int CDC::GetBkMode() const
{
    return ::GetBkMode(Answering(m_hDC, m_hAttribDC));
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    return OnBoth(m_hDC, m_hAttribDC, [color](HDC dc) { return ::SetTextColor(dc, color); });
}

COLORREF CDC::GetTextColor() const
{
    return ::GetTextColor(Answering(m_hDC, m_hAttribDC));
}

int CDC::SetROP2(int drawMode)
{
    return OnBoth(m_hDC, m_hAttribDC, [drawMode](HDC dc) { return ::SetROP2(dc, drawMode); });
}

int CDC::GetROP2() const
{
    return ::GetROP2(Answering(m_hDC, m_hAttribDC));
}

UINT CDC::SetTextAlign(UINT flags)
{
    return OnBoth(m_hDC, m_hAttribDC, [flags](HDC dc) { return ::SetTextAlign(dc, flags); });
}

UINT CDC::GetTextAlign() const
{
    return ::GetTextAlign(Answering(m_hDC, m_hAttribDC));
}

int CDC::SetGraphicsMode(int mode)
{
    return OnBoth(m_hDC, m_hAttribDC, [mode](HDC dc) { return ::SetGraphicsMode(dc, mode); });
}

int CDC::GetGraphicsMode() const
{
    return ::GetGraphicsMode(Answering(m_hDC, m_hAttribDC));
}

int CDC::SetMapMode(int mapMode)
{
    return OnBoth(m_hDC, m_hAttribDC, [mapMode](HDC dc) { return ::SetMapMode(dc, mapMode); });
}

int CDC::GetMapMode() const
{
    return ::GetMapMode(Answering(m_hDC, m_hAttribDC));
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    return OnBoth(m_hDC, m_hAttribDC, [x, y](HDC dc) {
        CPoint previous;
        ::SetWindowOrgEx(dc, x, y, &previous);
        return previous;
    });
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    return OnBoth(m_hDC, m_hAttribDC, [x, y](HDC dc) {
        CPoint previous;
        ::SetViewportOrgEx(dc, x, y, &previous);
        return previous;
    });
}

int CDC::GetDeviceCaps(int index) const
{
    return ::GetDeviceCaps(Answering(m_hDC, m_hAttribDC), index);
}

void CDC::DPtoLP(LPPOINT points, int count) const
{
    ::DPtoLP(Answering(m_hDC, m_hAttribDC), points, count);
}

void CDC::DPtoLP(LPRECT rect) const
{
    DPtoLP(reinterpret_cast<LPPOINT>(rect), 2);
}

void CDC::LPtoDP(LPPOINT points, int count) const
{
    ::LPtoDP(Answering(m_hDC, m_hAttribDC), points, count);
}

void CDC::LPtoDP(LPRECT rect) const
{
    LPtoDP(reinterpret_cast<LPPOINT>(rect), 2);
}

int CDC::GetClipBox(LPRECT rect) const
{
    return ::GetClipBox(m_hDC, rect);
}

int CDC::SelectClipRgn(CRgn* region)
{
    HRGN handle = region ? static_cast<HRGN>(*region) : nullptr;
    return OnBoth(m_hDC, m_hAttribDC, [handle](HDC dc) { return ::SelectClipRgn(dc, handle); });
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    return OnBoth(m_hDC, m_hAttribDC, [=](HDC dc) { return ::IntersectClipRect(dc, x1, y1, x2, y2); });
}

int CDC::IntersectClipRect(LPCRECT rect)
{
    return IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom);
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    return OnBoth(m_hDC, m_hAttribDC, [=](HDC dc) { return ::ExcludeClipRect(dc, x1, y1, x2, y2); });
}

int CDC::ExcludeClipRect(LPCRECT rect)
{
    return ExcludeClipRect(rect->left, rect->top, rect->right, rect->bottom);
}

CPoint CDC::MoveTo(int x, int y)
{
    return OnBoth(m_hDC, m_hAttribDC, [x, y](HDC dc) {
        CPoint previous;
        ::MoveToEx(dc, x, y, &previous);
        return previous;
    });
}

BOOL CDC::LineTo(int x, int y)
{
    // The attribute DC's current position follows, so that MoveTo answers it.
    if (m_hAttribDC && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, x, y, nullptr);
    return ::LineTo(m_hDC, x, y);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    return ::Rectangle(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Rectangle(LPCRECT rect)
{
    return Rectangle(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2)
{
    return ::Ellipse(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Ellipse(LPCRECT rect)
{
    return Ellipse(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CDC::Polygon(const POINT* points, int count)
{
    return ::Polygon(m_hDC, points, count);
}

BOOL CDC::Polyline(const POINT* points, int count)
{
    return ::Polyline(m_hDC, points, count);
}

COLORREF CDC::GetPixel(int x, int y) const
{
    return ::GetPixel(m_hDC, x, y);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color)
{
    return ::SetPixel(m_hDC, x, y, color);
}

BOOL CDC::SetPixelV(int x, int y, COLORREF color)
{
    return ::SetPixelV(m_hDC, x, y, color);
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSource, ySource, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource, int sourceWidth,
                     int sourceHeight, DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSource, ySource, sourceWidth,
                        sourceHeight, rop);
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop)
{
    return ::PatBlt(m_hDC, x, y, width, height, rop);
}

BOOL CDC::DrawIcon(int x, int y, HICON icon)
{
    return ::DrawIcon(m_hDC, x, y, icon);
}

BOOL CDC::DrawState(CPoint point, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush)
{
    return ::DrawStateA(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, point.x, point.y, size.cx,
                        size.cy, flags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint point, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush)
{
    return DrawState(point, size, bitmap ? static_cast<HBITMAP>(*bitmap) : nullptr, flags,
                     brush ? static_cast<HBRUSH>(*brush) : nullptr);
}

BOOL CDC::DrawState(CPoint point, CSize size, HICON icon, UINT flags, HBRUSH brush)
{
    return ::DrawStateA(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, point.x, point.y, size.cx,
                        size.cy, flags | DST_ICON);
}

BOOL CDC::DrawState(CPoint point, CSize size, HICON icon, UINT flags, CBrush* brush)
{
    return DrawState(point, size, icon, flags, brush ? static_cast<HBRUSH>(*brush) : nullptr);
}

BOOL CDC::DrawState(CPoint point, CSize size, LPCSTR text, UINT flags, BOOL prefixText, int textLength,
                    HBRUSH brush)
{
    if (!text)
        return FALSE;
    if (textLength <= 0)
        textLength = static_cast<int>(strlen(text));
    return ::DrawStateA(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(text), static_cast<WPARAM>(textLength),
                        point.x, point.y, size.cx, size.cy, flags | (prefixText ? DST_PREFIXTEXT : DST_TEXT));
}

BOOL CDC::DrawState(CPoint point, CSize size, LPCSTR text, UINT flags, BOOL prefixText, int textLength,
                    CBrush* brush)
{
    return DrawState(point, size, text, flags, prefixText, textLength,
                     brush ? static_cast<HBRUSH>(*brush) : nullptr);
}

BOOL CDC::TextOut(int x, int y, LPCSTR text, int count)
{
    return ::TextOutA(m_hDC, x, y, text, count);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT count, LPINT dx)
{
    return ::ExtTextOutA(m_hDC, x, y, options, rect, text, count, dx);
}

int CDC::DrawText(LPCSTR text, int count, LPRECT rect, UINT format)
{
    return ::DrawTextA(m_hDC, text, count, rect, format);
}

CSize CDC::GetTextExtent(LPCSTR text, int count) const
{
    CSize extent;
    if (text && count < 0)
        count = static_cast<int>(strlen(text));
    if (!text || !::GetTextExtentPoint32A(Answering(m_hDC, m_hAttribDC), text, count, &extent))
        return CSize(0, 0);
    return extent;
}

BOOL CDC::GetTextMetrics(LPTEXTMETRICA metrics) const
{
    return ::GetTextMetricsA(Answering(m_hDC, m_hAttribDC), metrics);
}
