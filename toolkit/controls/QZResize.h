// The resize engine: makes a dialog, property sheet or page resizable. Each registered
// control carries four ratios, one per edge, saying how far that edge moves per pixel the
// window grows; after every size change all registered controls move in one deferred
// batch. Positions are kept as floats and only the change since the last pass is applied,
// so proportional ratios do not drift over many small steps. The engine also keeps a
// minimum tracking size, can pin the width or height, shows a size grip, and keeps the
// window's placement in the application profile.
#pragma once

#include "framework/CollectionArrays.h"
#include "framework/ControlsButtons.h"
#include "framework/GdiObjects.h"
#include "framework/Geometry.h"

#include <windows.h>

// Engine flags.
#define QZ_RESIZE_NOSIZEICON 0x01      // no size grip
#define QZ_RESIZE_FIXEDWIDTH 0x02      // the width cannot change
#define QZ_RESIZE_FIXEDHEIGHT 0x04     // the height cannot change
#define QZ_RESIZE_NOMINSIZE 0x08       // the initial size is not the minimum size
#define QZ_RESIZE_NOCLIPCHILDREN 0x10  // Init leaves WS_CLIPCHILDREN off
#define QZ_RESIZE_NOTRANSPARENT 0x20   // registration never makes buttons transparent

// The size grip's control id.
#define QZ_IDC_SIZEICON 0x7FFF

// Four floats, left, top, right, bottom: an item's ratios or its position.
class CQZFloatRect {
public:
    CQZFloatRect() = default;
    CQZFloatRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
    explicit CQZFloatRect(const RECT& rect)
        : CQZFloatRect(static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
                       static_cast<float>(rect.bottom))
    {
    }
    CQZFloatRect& operator+=(const CQZFloatRect& other)
    {
        left += other.left;
        top += other.top;
        right += other.right;
        bottom += other.bottom;
        return *this;
    }

    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

// One registered control. Owns its window object only when the engine made it for a
// control that had none.
class CQZItem {
public:
    CQZItem(CWnd* pWnd, const CQZFloatRect& rcSizing, const CQZFloatRect& rcPosition, BOOL bOwned);
    virtual ~CQZItem();

    CWnd* m_pWnd;
    CQZFloatRect m_rcSizing;
    // In the resizable window's client coordinates, fractions included.
    CQZFloatRect m_rcPosition;
    BOOL m_bOwned;

private:
    CQZItem(const CQZItem&) = delete;
    CQZItem& operator=(const CQZItem&) = delete;
};

// The size grip in the bottom-right corner: a click starts the system's own sizing from
// that corner.
class CQZSizeIcon : public CStatic {
    DECLARE_DYNAMIC(CQZSizeIcon)
public:
    CQZSizeIcon();

    HCURSOR m_hCursor;
    CBitmap m_bmSizeIcon;

protected:
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

class CQZResize {
public:
    CQZResize(CWnd* pWnd, UINT nFlags);
    virtual ~CQZResize();

    // Takes the window's current size as the start (and the minimum), adds the grip.
    void Init();
    // Registers the control (hWnd, or the window's child nID when null), or adds the ratios
    // to the control's registration. FALSE, registering nothing, when there is no such control.
    BOOL SetResize(UINT nID, HWND hWnd, const CQZFloatRect& rcSizing);
    // Registers a window object at a given start rectangle (client coordinates); its window
    // may not exist yet.
    void AddItem(CWnd* pWnd, const CQZFloatRect& rcSizing, const CRect& rcStart);
    // One resize pass; the owner calls it from WM_SIZE after the default processing.
    void Size();
    void GetMinMaxInfo(MINMAXINFO* pMMI);
    // "WindowPlacement" of the profile section: the window's WINDOWPLACEMENT, 44 bytes.
    void LoadPlacement(LPCSTR lpszSection);
    void SavePlacement(LPCSTR lpszSection);
    void SetFlag(UINT nFlags) { m_nFlags |= nFlags; }
    void RemoveAllItems();

    UINT GetFlags() const { return m_nFlags; }
    int GetItemCount() const { return static_cast<int>(m_arrItems.GetSize()); }
    const CQZItem* GetItem(int nIndex) const { return m_arrItems[nIndex]; }
    const CRect& GetStoredWindowRect() const { return m_rcWindow; }
    CSize GetMinSize() const { return m_szMin; }
    CQZSizeIcon& GetSizeIcon() { return m_sizeIcon; }

protected:
    CArray<CQZItem*, CQZItem*> m_arrItems;
    CWnd* m_pWnd;
    UINT m_nFlags;
    CRect m_rcWindow;
    CSize m_szMin;
    CQZSizeIcon m_sizeIcon;

private:
    struct Move;
    // The item's new float position for the window's change; false when it needs no move.
    bool PlanMove(CQZItem* pItem, float dx, float dy, Move& move) const;

    CQZResize(const CQZResize&) = delete;
    CQZResize& operator=(const CQZResize&) = delete;
};

// The deferred-positioning calls a resize pass makes; replaceable so that a test can make
// one of them fail.
struct QZDeferWindowPosCalls {
    HDWP(WINAPI* pfnBegin)(int nNumWindows);
    HDWP(WINAPI* pfnDefer)(HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                           UINT uFlags);
    BOOL(WINAPI* pfnEnd)(HDWP hWinPosInfo);
};
// Returns the calls in use before; a null member stands for the system's call.
QZDeferWindowPosCalls QZSetDeferWindowPosCalls(const QZDeferWindowPosCalls& calls);
