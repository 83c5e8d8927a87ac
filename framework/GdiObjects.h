// Stands in for the framework's GDI object wrappers: CGdiObject and its pens, brushes,
// fonts, bitmaps, palettes and regions. An object owns the handle it created or was
// given through Attach and deletes it in its destructor. FromHandle gives the owning
// object of a handle or a temporary wrapper of the handle's kind (a pen handle gets a
// CPen) that lives until the thread's next idle clean-up and never deletes its handle.
#pragma once

#include "Object.h"

#include <windows.h>

class CDC;

class CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)
public:
    CGdiObject();
    ~CGdiObject() override;

    HGDIOBJ m_hObject;

    operator HGDIOBJ() const { return m_hObject; }
    // Null for a null object: framework code calls it through pointers that may be null.
    HGDIOBJ GetSafeHandle() const { return this ? m_hObject : nullptr; }

    static CGdiObject* FromHandle(HGDIOBJ object);
    // FALSE for a null handle or when this object already holds one.
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    // Deletes the held handle; FALSE when there is none or GDI refuses.
    BOOL DeleteObject();

    // Fills the kind's description record (LOGPEN, LOGBRUSH, LOGFONTA, BITMAP, ...).
    int GetObject(int count, LPVOID buffer) const;
    UINT GetObjectType() const;
    BOOL CreateStockObject(int index);
};

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    // Unlike brushes, a pen that cannot be made stays empty instead of throwing.
    CPen(int penStyle, int width, COLORREF color);
    CPen(int penStyle, int width, const LOGBRUSH* brush, int styleCount = 0, const DWORD* styles = nullptr);

    static CPen* FromHandle(HPEN pen) { return static_cast<CPen*>(CGdiObject::FromHandle(pen)); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }

    BOOL CreatePen(int penStyle, int width, COLORREF color);
    // The extended pen (ExtCreatePen): geometric or cosmetic, with a user style.
    BOOL CreatePen(int penStyle, int width, const LOGBRUSH* brush, int styleCount = 0,
                   const DWORD* styles = nullptr);
    BOOL CreatePenIndirect(const LOGPEN* logPen);
};

class CBitmap;

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    // These constructors throw the framework's resource exception when GDI refuses.
    explicit CBrush(COLORREF color);
    CBrush(int hatchIndex, COLORREF color);
    explicit CBrush(CBitmap* bitmap);

    static CBrush* FromHandle(HBRUSH brush) { return static_cast<CBrush*>(CGdiObject::FromHandle(brush)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }

    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatchIndex, COLORREF color);
    BOOL CreatePatternBrush(CBitmap* bitmap);
    BOOL CreateSysColorBrush(int colorIndex);
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    CFont() = default;

    static CFont* FromHandle(HFONT font) { return static_cast<CFont*>(CGdiObject::FromHandle(font)); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }

    // A font that cannot be created leaves the object empty.
    BOOL CreateFontIndirect(const LOGFONTA* logFont);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCSTR faceName);
    // Heights in tenths of a point, converted through the DC's attribute DC or, without
    // one, the screen.
    BOOL CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONTA* logFont, CDC* dc = nullptr);
    int GetLogFont(LOGFONTA* logFont) const;
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    CBitmap() = default;

    static CBitmap* FromHandle(HBITMAP bitmap) { return static_cast<CBitmap*>(CGdiObject::FromHandle(bitmap)); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }

    // Loads from the framework's resource module.
    BOOL LoadBitmap(LPCSTR resourceName);
    BOOL LoadBitmap(UINT resourceId);
    BOOL LoadOEMBitmap(UINT bitmapId);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bitmap) const;
};

class CPalette : public CGdiObject {
    DECLARE_DYNAMIC(CPalette)
public:
    CPalette() = default;

    static CPalette* FromHandle(HPALETTE palette)
    {
        return static_cast<CPalette*>(CGdiObject::FromHandle(palette));
    }
    operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }

    BOOL CreatePalette(const LOGPALETTE* logPalette);
};

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    CRgn() = default;

    static CRgn* FromHandle(HRGN region) { return static_cast<CRgn*>(CGdiObject::FromHandle(region)); }
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }

    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(LPCRECT rect);
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int widthEllipse, int heightEllipse);
    BOOL CreatePolygonRgn(const POINT* points, int count, int polyFillMode);
    // Region kinds as Win32 answers them: NULLREGION, SIMPLEREGION, COMPLEXREGION or ERROR.
    int CombineRgn(const CRgn* source1, const CRgn* source2, int combineMode);
    int CopyRgn(const CRgn* source);
    int OffsetRgn(int x, int y);
    void SetRectRgn(int x1, int y1, int x2, int y2);
    int GetRgnBox(LPRECT rect) const;
    BOOL PtInRegion(int x, int y) const;
};
