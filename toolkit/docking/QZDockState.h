// A frame's bar layout kept in the toolkit's settings store (below the application's key
// in HKEY_CURRENT_USER, or in the toolkit's profile file) rather than in the application
// profile. Same sections and values as the framework's dock state:
//   "<profile>-Summary": "Bars" (sections written), "ScreenCX", "ScreenCY".
//   "<profile>-Bar<n>", n counting written records from 0: "BarID"; "Visible" (only 0);
//   "Horz" and "Floating" (floating only); "XPos", "YPos" (when not -1); "MRUWidth" (when
//   not 32767); "Docking" and, with it, "MRUDockID", "MRUDockLeftPos", "MRUDockTopPos",
//   "MRUDockRightPos", "MRUDockBottomPos", "MRUFloatStyle", "MRUFloatXPos",
//   "MRUFloatYPos"; "Bars" and "Bar#<i>" (a dock bar holding more than its first entry).
// The store is user-editable: loading caps every count and drops records without a bar id.
#pragma once

#include "framework/DockState.h"

class CQZDockState : public CDockState {
    DECLARE_SERIAL(CQZDockState)
public:
    CQZDockState() = default;
    ~CQZDockState() override;

    // Reads the summary and at most nMaxBars sections (never more than kMaxStoredBars).
    void LoadState(LPCSTR lpszProfileName, int nMaxBars = kMaxStoredBars);
    // Writes every record worth keeping, then the summary.
    void SaveState(LPCSTR lpszProfileName);

    // Reads section nIndex into pInfo, positions scaled to this screen through pDockState,
    // at most nMaxIds held ids; TRUE when the section names a bar.
    static BOOL LoadBar(CControlBarInfo* pInfo, LPCSTR lpszProfileName, int nIndex, CQZDockState* pDockState,
                        int nMaxIds);
    // Replaces section nIndex with the record; FALSE, with the section left removed, for a
    // visible side dock bar that holds nothing at no particular place.
    static BOOL SaveBar(const CControlBarInfo* pInfo, LPCSTR lpszProfileName, int nIndex);
};
