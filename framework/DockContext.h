// Stands in for the framework's drag context: what a dockable bar does when the user drags
// it (an outline follows the mouse over the desktop; over a dock bar it shows the docked
// shape, elsewhere the floating frame; Ctrl keeps it floating, Shift turns it, Escape or
// the right button cancels, the release docks or floats the bar), resizes its floating
// frame, or double-clicks it (back to the most recent dock or float place). The bar owns
// its context and deletes it through this class, so the destructor is virtual; derived
// contexts reuse the fields by name and the shared steps below.
#pragma once

#include "Geometry.h"

#include <windows.h>

class CControlBar;
class CDC;
class CDockBar;
class CFrameWnd;

class CDockContext {
public:
    explicit CDockContext(CControlBar* pBar);
    virtual ~CDockContext();
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;

    // Runs a whole drag from pt (screen) and returns when it has ended.
    virtual void StartDrag(CPoint pt);
    // Runs a whole resize of the floating bar's frame by border nHitTest (HTLEFT..HTBOTTOMRIGHT).
    virtual void StartResize(int nHitTest, CPoint pt);
    // Docks a floating bar at its most recent dock place, or floats a docked bar at its most
    // recent float place.
    virtual void ToggleDocking();

    // Paints what is pending, takes the bar's styles, clears the tracker, locks the desktop
    // against updates and takes its window DC for the outline.
    void InitLoop();
    // Erases the outline last drawn, releases the capture, the lock and the DC.
    void CancelLoop();

    // The outline docked horizontally and vertically, and the floating frame's outline for
    // either; around the pointer, from the bar's sizes.
    void InitDragRects(CPoint pt);
    // For a resize: the bar's floating size, and the frame's outline and border widths.
    void InitResizeRects();
    // Follows the pointer: the outlines move, the place under them is asked again.
    void Move(CPoint pt);
    // Follows the pointer during a resize: the bar's size for the dragged border.
    void Stretch(CPoint pt);
    // Ctrl keeps the bar floating, Shift turns it.
    void OnKey(int nChar, BOOL bDown);
    void UpdateState(BOOL* pFlag, BOOL bNewValue);
    // The dock style the outlines would dock with; 0 to float.
    virtual DWORD CanDock();
    // The style of a dock bar of the dock site that rect may dock on (in ppDockBar when
    // given); 0 when none.
    virtual DWORD CanDockAt(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);
    // Draws the outline for the current place, erasing the one before; with bRemoveRect
    // only the one before is erased.
    virtual void DrawFocusRect(BOOL bRemoveRect = FALSE);
    // The bar keeps the width of the resize and its frame moves to the new outline.
    void EndResize();

    // Moves rect the least distance that puts pt inside it (the far edges count as inside).
    static void AdjustRectangle(CRect& rect, CPoint pt);
    // The next message for a drag loop whose window hWndTrack holds the capture, paint
    // messages dispatched first. FALSE ends the loop as a cancel: WM_QUIT (posted again)
    // or the capture lost (the message taken is dispatched unless it is the drag's own
    // mouse or key input).
    static BOOL GetTrackMessage(HWND hWndTrack, MSG* pMsg);
    // A mouse message's point: its lParam in its window's client coordinates, on the screen.
    static CPoint TrackPoint(const MSG& msg);

    CPoint m_ptLast;
    CRect m_rectLast;
    CSize m_sizeLast;
    BOOL m_bDitherLast = FALSE;
    CRect m_rectDragHorz;
    CRect m_rectDragVert;
    CRect m_rectFrameDragHorz;
    CRect m_rectFrameDragVert;
    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    DWORD m_dwDockStyle = 0;
    DWORD m_dwOverDockStyle = 0;
    DWORD m_dwStyle = 0;
    BOOL m_bFlip = FALSE;
    BOOL m_bForceFrame = FALSE;
    CDC* m_pDC = nullptr;
    BOOL m_bDragging = FALSE;
    int m_nHitTest = 0;
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle;
    CPoint m_ptMRUFloatPos;

protected:
    // Draws the outline rect with borders size (halftone when bDither, else white), erasing
    // the one drawn before, and remembers it for the next call and the erase.
    void DrawTracker(const CRect& rect, CSize size, BOOL bDither);
    // The outline's loop: TRUE when the left button was released, FALSE when cancelled.
    BOOL Track();
    // What one message means to a drag or resize loop.
    enum TrackStep { trackGoesOn, trackReleased, trackCancelled };
    // Applies one message of the loop: the pointer moves a drag's outline or stretches a
    // resize, Ctrl and Shift change a drag, other messages are dispatched. Escape and the
    // right button cancel, the left button's release ends the loop.
    TrackStep StepTrack(const MSG& msg);
    // Docks the bar on the dock bar under the outline, or floats it at the frame outline.
    void EndDrag();
    // When pBar is a visible dock bar that a bar of dwDockStyle may dock on: the style they
    // share, and in rectArea where it takes bars (its window; an empty one is a band along
    // its edge). 0 for any other bar.
    static DWORD GetDockTarget(CControlBar* pBar, DWORD dwDockStyle, CRect& rectArea);
    // For a double click on a floating bar: the dock bar it was last docked on, with its
    // place there in rect (screen); null when that dock bar is gone (rect as recorded).
    CDockBar* GetMRUDockPlace(CRect& rect) const;
    // For a double click on a docked bar: where its frame last floated, or, never floated,
    // where it is docked (screen).
    CPoint GetMRUFloatPoint() const;
};
