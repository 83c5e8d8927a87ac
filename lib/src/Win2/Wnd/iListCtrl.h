// The library's list-view control: the framework's list control that joins its container's
// window set, reports nine list notifications to notify connectors, and reads and writes
// item check boxes, full-row selection, the focused item and items by their text.
#pragma once

#include "lib/src/Win2/Wnd/iConnector.h"
#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "framework/Framework.h"

// A list on a property page marks the page modified when an item's check box changes.
class iListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(iListCtrl)
public:
    // No window.
    iListCtrl();
    // Dialog-item form: CListCtrl::Create with the rectangle mapped for the parent; the
    // text is not used.
    iListCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // Window form: a "SysListView32" window with WS_CHILD added.
    iListCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    // Leaves the container's window set, then the framework destroys the window.
    ~iListCtrl() override;

    void SetOnItemChanged(CObject* target, iNotifyConnector::Function function);
    template <class Target, class Owner>
    void SetOnItemChanged(Target* target, void (Owner::*function)(CWnd* sender, NMHDR* header, LRESULT* result))
    {
        m_onItemChanged.Set(target, function);
    }
    void SetOnDblClk(const iNotifyConnector& connector) { m_onDblClk = connector; }
    void SetOnReturn(const iNotifyConnector& connector) { m_onReturn = connector; }

    // The item with the focus rectangle, or -1.
    int GetFocusedItem() const;
    // Sets or clears the focus state only, never the selection.
    BOOL SetItemFocus(int item, BOOL on);

    // Non-zero when the items have check boxes.
    DWORD HasCheckBoxes() const;
    void SetCheckBoxes(BOOL on);
    void SetFullRowSelect(BOOL on);
    // 0 unchecked, 1 checked, -1 for an item without a state image.
    int GetCheck(int item) const;
    // A negative item sets every item, with drawing held back meanwhile.
    void SetCheck(int item, int check);
    // The first item after start (-1: from the first) whose whole text equals text,
    // letter case aside; -1 when none.
    int FindItemByText(int start, LPCSTR text) const;

    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

protected:
    // Each fires its connector; the answer decides whether the parent also sees it.
    afx_msg BOOL OnGetDispInfo(NMHDR* header, LRESULT* result);
    afx_msg BOOL OnItemChanged(NMHDR* header, LRESULT* result);
    afx_msg BOOL OnOdFindItem(NMHDR* header, LRESULT* result);
    afx_msg BOOL OnColumnClick(NMHDR* header, LRESULT* result);
    afx_msg BOOL OnClick(NMHDR* header, LRESULT* result);
    afx_msg BOOL OnDblClk(NMHDR* header, LRESULT* result);
    afx_msg BOOL OnRClick(NMHDR* header, LRESULT* result);
    afx_msg BOOL OnRDblClk(NMHDR* header, LRESULT* result);
    afx_msg BOOL OnReturn(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

    iWindowSetAccess m_access;
    iNotifyConnector m_onGetDispInfo;
    iNotifyConnector m_onItemChanged;
    iNotifyConnector m_onOdFindItem;
    iNotifyConnector m_onColumnClick;
    iNotifyConnector m_onClick;
    iNotifyConnector m_onDblClk;
    iNotifyConnector m_onRClick;
    iNotifyConnector m_onRDblClk;
    iNotifyConnector m_onReturn;

private:
    // Fires the connector; TRUE, keeping the notification from the parent, when the
    // target stored a non-zero result.
    BOOL FireUnlessAnswered(const iNotifyConnector& connector, NMHDR* header, LRESULT* result);
};
