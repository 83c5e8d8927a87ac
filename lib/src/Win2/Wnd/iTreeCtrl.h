// The library's tree view: the framework's tree control made on a parent in one step and
// joined to its window set, reporting selection changes through a connector, with check
// boxes of its own: a click on a box or the space bar toggles it and fires a check
// connector, and the boxes can be disabled as a whole (greyed images, no changes).
#pragma once

#include "lib/src/Win2/Wnd/iBitmap.h"
#include "lib/src/Win2/Wnd/iConnector.h"
#include "lib/src/Win2/Wnd/iImageList.h"
#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "framework/Framework.h"

#include <memory>

// What the check connector receives as its notification header: the toggled item, and
// the mouse flags and point of the button-up or the key and its flags.
struct iTreeCheckNotify {
    NMHDR hdr;  // not filled
    HTREEITEM hItem;
    DWORD reserved;  // not filled
    UINT flags;
    POINT point;  // the mouse path only
    WORD vkey;    // the keyboard path only
};

class iTreeCtrl : public CTreeCtrl {
    DECLARE_DYNAMIC(iTreeCtrl)
public:
    // The bitmaps that replace the unchecked and checked state images while disabled.
    static constexpr const char* kUncheckedDisabledBitmap = "TreeCtrl_CheckBox_Unchecked_Disabled";
    static constexpr const char* kCheckedDisabledBitmap = "TreeCtrl_CheckBox_Checked_Disabled";

    // No window.
    iTreeCtrl();
    // Dialog-item form: CTreeCtrl::Create with the rectangle mapped for the parent; the
    // text is not used.
    iTreeCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // Window form: a "SysTreeView32" window with WS_CHILD added.
    iTreeCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    // Frees the disabled images, leaves the container's set, destroys the window.
    ~iTreeCtrl() override;

    // 0 unchecked, 1 checked, -1 for an item without a state image.
    int GetCheck(HTREEITEM item) const;
    void SetCheck(HTREEITEM item, BOOL check);
    // An item without a state image becomes checked.
    void ToggleCheck(HTREEITEM item);
    // TRUE lets the user toggle the boxes, FALSE greys them; answers the setting now in force.
    BOOL EnableCheckBoxes(BOOL enable);

    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

    // Fired on TVN_SELCHANGED with its header and result; the owner assigns it.
    iNotifyConnector m_onSelChanged;
    // Fired when the user toggles a check, with an iTreeCheckNotify as the header.
    iNotifyConnector m_onCheck;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSelChanged(NMHDR* header, LRESULT* result);
    afx_msg BOOL OnKeyDown(NMHDR* header, LRESULT* result);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // Creation with TVS_CHECKBOXES held back until the window exists.
    void FinishCreate(CWnd* parent, DWORD style);
    // The check-box behaviour applies: made with check boxes and still showing them.
    bool CheckBoxesActive() const;
    // Gives the control its own state images back while it is disabled.
    void RestoreNormalStateImages();

    iWindowSetAccess m_access;
    HTREEITEM m_pressedItem = nullptr;  // the item whose box took the last button-down
    BOOL m_checkBoxesOn = FALSE;
    BOOL m_checkBoxesEnabled = TRUE;
    // The control's own state images (it owns them), remembered on the first change of
    // the enabled setting.
    HIMAGELIST m_normalStateImages = nullptr;
    std::unique_ptr<iImageList> m_disabledStateImages;
    std::unique_ptr<iBitmap> m_checkedDisabled;
    std::unique_ptr<iBitmap> m_uncheckedDisabled;
};
