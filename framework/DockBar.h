// Stands in for the framework's dock bar: the window along one side of a frame, or inside
// a floating frame, that holds control bars in rows. The bar array starts with a null and
// ends each row with a null; an entry below 0x10000 (as an address) is a placeholder that
// holds the control id of a bar that was docked there before, so the bar finds its place
// again. Rows are laid out from the frame's size-parent pass through CalcFixedLayout,
// which derived dock bars replace.
#pragma once

#include "CollectionArrays.h"
#include "ControlBar.h"

#include <cstdint>

class CControlBarInfo;

class CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL bFloating = FALSE);
    ~CDockBar() override;

    // A child window of pParentWnd; dwStyle holds window styles and the side's CBRS_ bits.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    // Puts pBar into the row and place that lpRect (screen) falls on, or into a row of its
    // own at the end. A bar coming from another dock bar leaves a placeholder there; a
    // placeholder of the bar here goes.
    virtual void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Takes pBar out (not its entry at nPosExclude), leaving its id when nAddPlaceHolder is
    // set. A floating dock bar then hides its frame when no bar is visible and destroys
    // it when no bar is left. FALSE when pBar is not here.
    BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
    // The index of pBar's entry, not counting nPosExclude; -1 when it is not here.
    int FindBar(CControlBar* pBar, int nPosExclude = -1) const;
    int GetDockedCount() const;
    int GetDockedVisibleCount() const;
    // The bar at entry nPos; null for a row break, a placeholder or an index out of range.
    CControlBar* GetDockedControlBar(int nPos) const;

    static bool IsPlaceHolder(const void* entry)
    {
        return entry && reinterpret_cast<uintptr_t>(entry) < 0x10000;
    }

    // Rows of bars from the top (or the left): dynamic bars of a floating dock bar at their
    // most recent width, the others at their docked or fixed size.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // A dock bar draws nothing of its own.
    void DoPaint(CDC* pDC) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // The bar's record, and the ids it holds in array order: 0 for a row break, a
    // placeholder's id with 0x10000 added.
    void GetBarInfo(CControlBarInfo* pInfo) override;
    // The record, and the array rebuilt from its ids with pFrame's bars; ids the frame
    // does not have are dropped.
    void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrame) override;

    CPtrArray m_arrBars;
    BOOL m_bFloating;
    // Set by the size-parent pass before CalcFixedLayout: whether nothing may move, and
    // the room the frame offers.
    BOOL m_bLayoutQuery = FALSE;
    CRect m_rectLayout;

protected:
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // Enters pBar at the place rect (client coordinates) falls on; the new entry's index.
    int InsertAt(CControlBar* pBar, const CRect& rect);
    // Removes the placeholders that hold pBar's id.
    void RemovePlaceHolders(CControlBar* pBar);
    // Drops empty rows and keeps the leading and trailing row breaks.
    void NormalizeRows();
    // Gives the bar this dock bar's side and floating state.
    void AdoptBar(CControlBar* pBar);

    // The window is being destroyed with its children: an emptied floating frame is
    // already on its way out.
    bool m_bDestroying = false;
};
