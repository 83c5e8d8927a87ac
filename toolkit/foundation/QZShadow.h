// Drop shadows: a soft shadow four pixels wide along the right and bottom edges of a
// popup. The screen under the shadow is read once per place and size, darkened in four
// steps that fade outward, and shown in an L-shaped window kept right behind the popup.
#pragma once

#include "framework/Geometry.h"
#include "framework/Wnd.h"
#include "toolkit/foundation/QZWndHook.h"

class CDC;
class CQZMemDC;

// Darkens the 4-pixel right and bottom bands of rect on the DC, in place: 60, 45, 30 and
// 15 (scaled by nPercent / 100) off each channel from the innermost ring outward.
void QZDrawShadow(CDC* pDC, const CRect& rect, int nPercent);
// The same, for callers that draw a shadow straight onto a DC.
void QZDrawShadowRect(CDC* pDC, const CRect& rect, int nPercent);

// The L-shaped window that shows a popup's shadow; it stays right behind the popup.
class _CQZShadowWnd : public CWnd {
public:
    _CQZShadowWnd();
    ~_CQZShadowWnd() override;

    // Creates the (hidden) window around hWndOwner's right and bottom edges.
    BOOL Create(HWND hWndOwner);
    // Follows hWndOwner's window rectangle.
    void Update(HWND hWndOwner);
    // Places the shadow for a popup at rect (screen coordinates).
    void Reposition(const CRect& rect, int nPercent);

    int m_nPercent = 100;
    // The darkened copy of the screen under the window, made when it is first painted at a
    // place and size; it never copies itself anywhere.
    CQZMemDC* m_pImage = nullptr;
    CRect m_rectImage;
    // 0 normal, 1 hidden because a move or size began, 2 while being shown again.
    int m_nHideState = 0;
    HWND m_hWndPopup = nullptr;
    BYTE m_bPopup = FALSE;
    // The image matches the current shape and place.
    BYTE m_bRendered = FALSE;

protected:
    // The window region becomes the two bands of the client area.
    void Shape(int width, int height);

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()
};

// Ties a shadow to a popup. With hook, it follows the popup's moves, shows and hides
// with it and deletes itself once the popup's WM_DESTROY has been handled; without, the
// popup's code shows, hides and deletes it.
class CQZWndShadow {
public:
    CQZWndShadow(HWND hWndOwner, BOOL bShow, BOOL bHook);
    virtual ~CQZWndShadow();

    // Show without activating; both do nothing when the shadow window could not be made.
    void Show();
    void Hide();

    // Watches the popup's messages for its shadow.
    class CMsgHook : public CQZWndHook {
    public:
        explicit CMsgHook(CQZWndShadow* pShadow) : m_pShadow(pShadow) {}
        // TRUE only when hWnd is a window (FALSE after detaching as well).
        BOOL HookWindow(HWND hWnd) override;
        using CQZWndHook::HookWindow;
        LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

        CQZWndShadow* m_pShadow;
        // How many of the popup's messages are being handled, nested.
        int m_nDepth = 0;
        BYTE m_bDestroyPending = FALSE;
    };

    HWND m_hWndOwner;
    _CQZShadowWnd* m_pShadowWnd;
    CMsgHook m_hook;
    BYTE m_bStartHidden;
    BYTE m_bCreated;

private:
    CQZWndShadow(const CQZWndShadow&) = delete;
    CQZWndShadow& operator=(const CQZWndShadow&) = delete;
};
