// Stands in for the framework's device context: CDC with an output DC (m_hDC, where
// drawing goes) and an attribute DC (m_hAttribDC, which answers measurements and
// queries); state changes go to both. An object deletes a DC it created or was given
// through Attach in its destructor; FromHandle gives the owning object of an HDC or a
// temporary wrapper that lives until the thread's next idle clean-up and never
// deletes its DC. SelectObject answers the previous object as a framework object,
// possibly temporary. The window DCs (client, window, paint) derive from it.
#pragma once

#include "CString.h"
#include "GdiObjects.h"
#include "Geometry.h"
#include "Object.h"

#include <windows.h>

class CDC : public CObject {
    DECLARE_DYNCREATE(CDC)
public:
    CDC();
    ~CDC() override;

    HDC m_hDC;
    HDC m_hAttribDC;

    operator HDC() const { return m_hDC; }
    // Null for a null object: framework code calls it through pointers that may be null.
    HDC GetSafeHdc() const { return this ? m_hDC : nullptr; }

    static CDC* FromHandle(HDC dc);
    // Both handles become dc. FALSE for a null DC or when this object already holds one.
    BOOL Attach(HDC dc);
    // Gives up both handles without deleting them; answers the output DC.
    HDC Detach();

    BOOL CreateDC(LPCSTR driverName, LPCSTR deviceName, LPCSTR output, const DEVMODEA* initData);
    // A memory DC compatible with dc's output DC, or with the screen when dc is null.
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    int SaveDC();
    BOOL RestoreDC(int savedDC);

    // The previous object of the kind, possibly a temporary wrapper; null on failure
    // (an empty object selects nothing).
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CGdiObject* SelectObject(CGdiObject* object);
    // Selects the region as the clip region: the region kind, or ERROR.
    int SelectObject(CRgn* region);
    CGdiObject* SelectStockObject(int index);
    CPalette* SelectPalette(CPalette* palette, BOOL forceBackground);
    UINT RealizePalette();

    // State: set on both DCs, read from the attribute DC.
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    int SetROP2(int drawMode);
    int GetROP2() const;
    UINT SetTextAlign(UINT flags);
    UINT GetTextAlign() const;
    int SetGraphicsMode(int mode);
    int GetGraphicsMode() const;
    int SetMapMode(int mapMode);
    int GetMapMode() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    int GetDeviceCaps(int index) const;
    void DPtoLP(LPPOINT points, int count = 1) const;
    void DPtoLP(LPRECT rect) const;
    void LPtoDP(LPPOINT points, int count = 1) const;
    void LPtoDP(LPRECT rect) const;

    // Clipping, on the output DC.
    int GetClipBox(LPRECT rect) const;
    int SelectClipRgn(CRgn* region);
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(LPCRECT rect);
    int ExcludeClipRect(int x1, int y1, int x2, int y2);
    int ExcludeClipRect(LPCRECT rect);

    // Filling and frames.
    void FillRect(LPCRECT rect, CBrush* brush);
    void FrameRect(LPCRECT rect, CBrush* brush);
    // A solid fill; negative extents fill from the other side. The background colour
    // the fill borrows is put back afterwards.
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // One-pixel frame: top and left in topLeft (without the far corners), right and
    // bottom in bottomRight.
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
    BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state);
    void DrawFocusRect(LPCRECT rect);
    // Inverts the frame between rect and rect shrunk by size, first taking away the frame
    // last drawn (lastRect, lastSize), so that a dragged outline moves without traces.
    // Without a brush the halftone brush is used.
    void DrawDragRect(LPCRECT rect, SIZE size, LPCRECT lastRect, SIZE lastSize, CBrush* brush = nullptr,
                      CBrush* lastBrush = nullptr);
    // The framework's 8x8 checkerboard brush, one per process.
    static CBrush* GetHalftoneBrush();

    // Lines and shapes, with the selected pen and brush.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT rect);
    BOOL Ellipse(int x1, int y1, int x2, int y2);
    BOOL Ellipse(LPCRECT rect);
    BOOL Polygon(const POINT* points, int count);
    BOOL Polyline(const POINT* points, int count);
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT point) const { return GetPixel(point.x, point.y); }
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT point, COLORREF color) { return SetPixel(point.x, point.y, color); }
    BOOL SetPixelV(int x, int y, COLORREF color);
    BOOL SetPixelV(POINT point, COLORREF color) { return SetPixelV(point.x, point.y, color); }

    // Bits.
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource, int sourceWidth,
                    int sourceHeight, DWORD rop);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
    BOOL DrawIcon(int x, int y, HICON icon);
    BOOL DrawIcon(POINT point, HICON icon) { return DrawIcon(point.x, point.y, icon); }
    // DrawState of a bitmap, an icon or a text (DST_PREFIXTEXT when prefixText, else
    // DST_TEXT; textLength 0 means the whole zero-terminated text). flags carries the DSS_ state.
    BOOL DrawState(CPoint point, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush = nullptr);
    BOOL DrawState(CPoint point, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush);
    BOOL DrawState(CPoint point, CSize size, HICON icon, UINT flags, HBRUSH brush = nullptr);
    BOOL DrawState(CPoint point, CSize size, HICON icon, UINT flags, CBrush* brush);
    BOOL DrawState(CPoint point, CSize size, LPCSTR text, UINT flags, BOOL prefixText = TRUE, int textLength = 0,
                   HBRUSH brush = nullptr);
    BOOL DrawState(CPoint point, CSize size, LPCSTR text, UINT flags, BOOL prefixText, int textLength,
                   CBrush* brush);

    // Text: drawn on the output DC, measured on the attribute DC.
    BOOL TextOut(int x, int y, LPCSTR text, int count);
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT count, LPINT dx);
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, LPINT dx)
    {
        return ExtTextOut(x, y, options, rect, text, static_cast<UINT>(text.GetLength()), dx);
    }
    // The height of the text drawn, or 0 on failure; count -1 means zero-terminated.
    int DrawText(LPCSTR text, int count, LPRECT rect, UINT format);
    int DrawText(const CString& text, LPRECT rect, UINT format)
    {
        return DrawText(text, text.GetLength(), rect, format);
    }
    CSize GetTextExtent(LPCSTR text, int count) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
    BOOL GetTextMetrics(LPTEXTMETRICA metrics) const;

private:
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
};

// Stands in for the framework's print-preview DC; the program keeps the class but
// never previews, so it is a plain CDC.
class CPreviewDC : public CDC {
    DECLARE_DYNAMIC(CPreviewDC)
public:
    CPreviewDC() = default;
};
