// The toolkit's drag context: drags, resizes and docks or floats one toolkit bar. A bar
// that asks for it is dragged live: no outline, the bar itself docks, moves or floats at
// every mouse movement and goes back to where it started when the drag is cancelled.
// Other bars get the framework's outline. Where a bar would dock is decided by the
// pointer (an empty dock bar takes it within 4 pixels of the frame's edge), not by the
// outline; a floating bar alone in its frame moves that frame; the bar may say where the
// pointer sits in its torn-off frame; docking windows are restored and re-sized around a
// change of place.
#pragma once

#include "framework/CollectionArrays.h"
#include "framework/DockContext.h"

class CFrameWnd;
class CQZDockBar;

// Owned by its bar; owns none of the frames, dock bars or floating frames it works with.
class CQZDockContext : public CDockContext {
public:
    explicit CQZDockContext(CControlBar* pBar);
    ~CQZDockContext() override;

    // A whole drag from pt (screen); returns when it has ended.
    void StartDrag(CPoint pt) override;
    // A whole resize of the floating bar's frame by border nHitTest.
    void StartResize(int nHitTest, CPoint pt) override;
    // A floating bar docks at its most recent dock place, a docked bar floats at its most
    // recent float place.
    void ToggleDocking() override;
    // Another frame under the pointer (or the active or parent frame) that the bar may go to.
    virtual CFrameWnd* FindOtherDockSite();

    // Picks the live mode when the toolkit's switch is on and the bar asks for it; the
    // outline mode is the framework's.
    void InitLoop();
    void CancelLoop();
    // TRUE when the left button was released, FALSE when the drag was cancelled.
    BOOL Track();
    // Docks the bar on the toolkit dock bar under the pointer, or floats it.
    void EndDrag();
    // The framework's choice of where the outlines dock, asking each side once: where the
    // pointer can be read, the outlines' shapes do not change the answer.
    DWORD CanDock() override;
    // A dock bar under the pointer: of the dock site, else of another permitted frame (which
    // becomes the dock site).
    DWORD CanDockAt(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr) override;
    // Live: applies the change at once. Outline: the framework's, a docking window's outline
    // stretched over a new row of the dock bar.
    void DrawFocusRect(BOOL bRemoveRect = FALSE) override;
    // The toolkit dock bar the over-dock style docks on; null for any other dock bar.
    CQZDockBar* GetDockBar(DWORD dwOverDockStyle);
    // Moves the bar's floating frame when the bar is alone in one, else floats it in a new
    // one at the frame outline's top-left corner. FALSE when no frame can be made.
    BOOL FloatBar(DWORD dwFloatStyle);
    // Marks the frame's layout due, to be run right after the message being handled.
    void DelayFrameLayout(CFrameWnd* pFrame);

    // Whether the pointer (or, when it cannot be read, rect) is over one of pFrame's dock
    // bars that dwDockStyle allows; that dock bar's style in pdwStyle.
    static BOOL HitTestDockSite(CFrameWnd* pFrame, DWORD* pdwStyle, CRect rect, DWORD dwDockStyle,
                                CDockBar** ppDockBar = nullptr);
    // Runs a layout the frame was asked for, now.
    static void FlushFrameLayout(CFrameWnd* pFrame);

    // Frames whose layout a change of dock site made due; emptied after every message.
    CTypedPtrArray<CObArray, CFrameWnd*> m_arrLayoutFrames;
    BYTE m_bLiveDrag = FALSE;

private:
    // Set when a drop could not float the bar: the drag ends as a cancel.
    bool m_bDropFailed = false;
};
