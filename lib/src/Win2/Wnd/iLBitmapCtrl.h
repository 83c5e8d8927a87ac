// A child window that shows one imaging-library bitmap fitted into the window, at full
// size or reduced to a half, a quarter or an eighth, and lets the user pan over an image
// that does not fit by dragging it with the left button. It paints through an off-screen
// device context and offers a hook that derived controls draw over the image with.
#pragma once

#include "lib/src/Win2/Wnd/iConnector.h"
#include "lib/src/Win2/Wnd/iCtrl.h"
#include "lib/src/Win2/Wnd/iLBitmap.h"

class iLBitmapCtrl : public iCtrl {
    DECLARE_DYNAMIC(iLBitmapCtrl)
public:
    // Display modes. Any other value shows the image at full size.
    enum DisplayMode { kFit = 0, kFullSize = 1, kHalf = 2, kQuarter = 4, kEighth = 8 };

    // No window yet.
    iLBitmapCtrl();
    iLBitmapCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // WS_CHILD is always added.
    iLBitmapCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~iLBitmapCtrl() override;

    // Loads the file (the caller frees first); 1 and a new layout on success, otherwise
    // 0 with nothing else changed.
    int Load(const char* fileName, bool invalidate);
    void Free(bool invalidate);
    // Resamples the bitmap; the library's result. While the library works the window shows
    // the old pixels at the new scale. A size below 1 is refused with
    // imaging::kErrorInvalidParameter before anything changes. After the call, failed or
    // not, the layout is recomputed, so the view never keeps the pre-scaled rectangle.
    int Resize(int width, int height, int flags);
    // The library's result; the window is repainted when the bitmap changed.
    int Sharpen(int amount);
    // Measures the client area and puts the view, sized by the display mode, at the
    // image's top-left corner.
    void RecalcLayout();

    void SetOnViewChanged(const iConnector& connector) { m_onViewChanged = connector; }
    void SetOnPanEnd(const iConnector& connector) { m_onPanEnd = connector; }

    // Draws the whole control into dc.
    virtual void Paint(CDC* dc);
    // Called with the off-screen context after the image has been drawn; empty here.
    virtual void DrawOverlay(CDC* dc);

    iLBitmap& GetBitmap() { return m_bitmap; }
    const iLBitmap& GetBitmap() const { return m_bitmap; }
    // The owner that sets the mode calls RecalcLayout afterwards.
    int GetDisplayMode() const { return m_displayMode; }
    void SetDisplayMode(int mode) { m_displayMode = mode; }
    // The part of the image, in image pixels, stretched onto the whole client area.
    const CRect& GetViewRect() const { return m_view; }
    const CRect& GetClientRectAsMeasured() const { return m_client; }
    bool IsPannable() const { return m_isPannable; }
    bool IsDragging() const { return m_isDragging; }

    // Image pixels one window pixel covers when panning in that mode (1 in every mode the
    // layout shows at full size).
    static int PanFactor(int displayMode);

protected:
    // Display mode 1, the three cursors, not pannable.
    void LoadCursors();
    // One pan step to the point in window pixels; fires the view-changed connector.
    void PanTo(CPoint point);
    // Draws the current view at once, without waiting for WM_PAINT.
    void RepaintNow();

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

    iLBitmap m_bitmap;
    CRect m_view;
    CRect m_client;
    int m_displayMode = kFullSize;
    HCURSOR m_arrowCursor = nullptr;
    HCURSOR m_openHandCursor = nullptr;
    HCURSOR m_grabCursor = nullptr;
    bool m_isPannable = false;
    CPoint m_dragOrigin;
    bool m_isDragging = false;
    iConnector m_onViewChanged;
    iConnector m_onPanEnd;
};

// The cursor resources the control shows while the image can be panned and while it is dragged.
constexpr const char* kHandOpenCursorName = "Cursor_Hand_Open";
constexpr const char* kHandGrabCursorName = "Cursor_Hand_Grab";
