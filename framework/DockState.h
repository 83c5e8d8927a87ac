// Stands in for the framework's dock state: the records of a frame's control bars (which
// bar, visible, docked or floating, where, the rows a dock bar holds, the most recent dock
// and float places) and their storage in the application's profile. The stored layout is
// user-editable, so loading is bounded and positions are pulled back onto the screen.
//
// Stored format (every value a 32-bit integer through the profile functions):
//   "<profile>-Summary": "Bars" (records written), "ScreenCX", "ScreenCY" (screen size).
//   "<profile>-Bar<n>", n from 0: "BarID", "Visible", "Horz", "Floating", "XPos", "YPos",
//   "MRUWidth", "Docking"; with "Docking" non-zero "MRUDockID", "MRUDockLeftPos",
//   "MRUDockTopPos", "MRUDockRightPos", "MRUDockBottomPos", "MRUFloatStyle",
//   "MRUFloatXPos", "MRUFloatYPos"; then "Bars" (ids held) and "Bar#<i>" for each.
#pragma once

#include "CollectionArrays.h"
#include "Geometry.h"
#include "Object.h"

class CControlBar;
class CDockState;

// Reads the size of the screen layouts are restored on. Replaceable so that a layout saved
// on one screen can be restored on a screen of another size; null puts the system's back.
// Answers the previous reader.
using AfxScreenSizeReader = CSize (*)();
AfxScreenSizeReader AfxSetScreenSizeReader(AfxScreenSizeReader reader);

// One bar's record. m_arrBarID holds a dock bar's ids as pointer-sized values.
class CControlBarInfo {
public:
    CControlBarInfo();

    // Replaces section "<profile>-Bar<nIndex>" with the record; FALSE when the record is not
    // worth keeping (a visible, empty side dock bar at no particular place) and nothing is
    // written.
    BOOL SaveState(LPCSTR lpszProfileName, int nIndex);
    // Reads section "<profile>-Bar<nIndex>"; positions go through pDockState's scaling.
    // FALSE (record unusable) without a bar id or with more than nMaxIds ids.
    BOOL LoadState(LPCSTR lpszProfileName, int nIndex, CDockState* pDockState, int nMaxIds);

    UINT m_nBarID;
    BOOL m_bVisible;
    BOOL m_bFloating;
    BOOL m_bHorz;
    BOOL m_bDockBar;
    CPoint m_pointPos;
    int m_nMRUWidth;
    BOOL m_bDocking;
    UINT m_uMRUDockID;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle;
    CPoint m_ptMRUFloatPos;
    CPtrArray m_arrBarID;
    // Transient: the bar the record is applied to.
    CControlBar* m_pBar;
};

// Owns its records.
class CDockState : public CObject {
    DECLARE_SERIAL(CDockState)
public:
    // More records than this are never taken from a stored layout.
    static constexpr int kMaxStoredBars = 256;

    CDockState();
    ~CDockState() override;

    // Writes every record worth keeping and the summary.
    void SaveState(LPCSTR lpszProfileName);
    // Reads the stored layout, taking at most nMaxBars records (never more than
    // kMaxStoredBars); a record that cannot be used is left out. FALSE, with no records,
    // when the summary is missing or malformed or counts more records than allowed.
    BOOL LoadState(LPCSTR lpszProfileName, int nMaxBars = kMaxStoredBars);
    void Clear();

    // The size of the screen the layout was saved on; positions are scaled when it differs.
    void SetScreenSize(const CSize& size);
    CSize GetScreenSize() const;
    // Scales pt to this screen and keeps it inside it, an icon's size from the far edges.
    void ScalePoint(CPoint& pt) const;
    // Moves the rectangle as ScalePoint moves its top-left corner; its size stays.
    void ScaleRectPos(CRect& rect) const;

    CTypedPtrArray<CPtrArray, CControlBarInfo*> m_arrBarInfo;

private:
    CRect m_rectDevice;
    CRect m_rectClip;
    CSize m_sizeLogical;
    BOOL m_bScaling = FALSE;
};
