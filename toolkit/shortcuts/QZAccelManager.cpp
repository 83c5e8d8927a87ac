// The shortcut manager's command list: the frame menu walked into categories and full
// names (with swap-out and extra items), and the look-ups the shortcut sheet makes.
#include "toolkit/shortcuts/QZAccelManager.h"

#include "framework/ControlsLists.h"
#include "framework/Menu.h"

IMPLEMENT_DYNAMIC(CQZMapString, CObject)

CQZAccelManager::CQZAccelManager()
    : m_listCategories(10), m_listCommands(10), m_mapCommandCategories(10), m_mapSwapOutItems(10),
      m_listExtraItems(10)
{
}

CQZAccelManager::~CQZAccelManager()
{
    // A failed store cannot be reported from here; the edits are lost as the frame goes.
    (void)Close();
    DeleteOwnedItems();
}

void CQZAccelManager::DeleteOwnedItems()
{
    for (POSITION pos = m_listCommands.GetHeadPosition(); pos;)
        delete m_listCommands.GetNext(pos);
    m_listCommands.RemoveAll();
    for (POSITION pos = m_listExtraItems.GetHeadPosition(); pos;)
        delete m_listExtraItems.GetNext(pos);
    m_listExtraItems.RemoveAll();
    for (POSITION pos = m_mapSwapOutItems.GetStartPosition(); pos;) {
        UINT menuCmdID = 0;
        CQZAccelSwapOutItemList* list = nullptr;
        m_mapSwapOutItems.GetNextAssoc(pos, menuCmdID, list);
        delete list;
    }
    m_mapSwapOutItems.RemoveAll();
}

void CQZAccelManager::BuildCommandList(CFrameWnd* pFrame, UINT nMenuID, UINT nAccelID, LPCSTR lpszTitle,
                                       LPCSTR lpszSetName)
{
    m_strTitle = lpszTitle;
    m_strSetName = lpszSetName;
    m_nMenuID = nMenuID;
    m_nAccelID = nAccelID;
    m_pFrame = pFrame;
    m_bInitialized = TRUE;

    CMenu menu;
    if (menu.LoadMenu(nMenuID)) {
        const int count = menu.GetMenuItemCount();
        for (int position = 0; position < count; ++position) {
            HMENU popup = ::GetSubMenu(menu.m_hMenu, position);
            if (!popup)
                continue;
            // Read with its real length: a long label is named whole.
            CString category;
            menu.GetMenuString(position, category, MF_BYPOSITION);
            if (category.IsEmpty())
                continue;
            StripMenuText(category);
            m_listCategories.AddTail(category);
            WalkMenu(popup, category, category);
            AddExtraItemsOf(category);
        }
    }

    if (!LoadAndApply(m_strSetName, FALSE))
        LoadFrameAccelerators();
    (void)ApplyTable();
    menu.DestroyMenu();
}

void CQZAccelManager::WalkMenu(HMENU hMenu, const CString& strPath, const CString& strCategory)
{
    CMenu* menu = CMenu::FromHandle(hMenu);
    const int count = menu->GetMenuItemCount();
    for (int position = 0; position < count; ++position) {
        CString label;
        menu->GetMenuString(position, label, MF_BYPOSITION);
        if (label.IsEmpty())
            continue;
        StripMenuText(label);
        if (HMENU popup = ::GetSubMenu(hMenu, position)) {
            WalkMenu(popup, strPath + "\\" + label, strCategory);
            continue;
        }
        const UINT cmdID = menu->GetMenuItemID(position);
        CQZAccelSwapOutItemList* swapOut = nullptr;
        if (m_mapSwapOutItems.Lookup(cmdID, swapOut)) {
            for (POSITION pos = swapOut->GetStartPosition(); pos;) {
                UINT swapID = 0;
                CString swapName;
                swapOut->GetNextAssoc(pos, swapID, swapName);
                ListCommand(swapID, strPath.IsEmpty() ? swapName : strPath + "\\" + swapName, strCategory);
            }
            continue;
        }
        ListCommand(cmdID, strPath.IsEmpty() ? label : strPath + "\\" + label, strCategory);
    }
}

void CQZAccelManager::ListCommand(UINT nCmdID, const CString& strName, const CString& strCategory)
{
    AddCommand(nCmdID, strName);
    m_mapCommandCategories.SetAt(nCmdID, strCategory);
}

void CQZAccelManager::AddExtraItemsOf(const CString& strCategory)
{
    for (POSITION pos = m_listExtraItems.GetHeadPosition(); pos;) {
        const QZ_EXTRA_ACCELITEM* item = m_listExtraItems.GetNext(pos);
        if (item->strCategory.CompareNoCase(strCategory) != 0)
            continue;
        // Named under the menu's spelling of the category, as the menu's own commands are,
        // so that the sheet can show names without their category.
        ListCommand(item->nCmdID, strCategory + "\\" + item->strName, strCategory);
    }
}

void CQZAccelManager::StripMenuText(CString& strText)
{
    const int tab = strText.Find('\t');
    if (tab >= 0)
        strText = strText.Left(tab);
    strText.Replace("&", "");
}

void CQZAccelManager::AddCommand(UINT nCmdID, LPCSTR lpszName)
{
    m_listCommands.AddTail(new CQZMapString(nCmdID, lpszName));
}

void CQZAccelManager::GetNextCommand(POSITION& pos, UINT& nCmdID, CString& strName) const
{
    if (!pos)
        return;
    const CQZMapString* command = m_listCommands.GetNext(pos);
    nCmdID = command->m_nCmdID;
    strName = command->m_strName;
}

BOOL CQZAccelManager::GetCommandName(UINT nCmdID, CString& strName) const
{
    for (POSITION pos = m_listCommands.GetHeadPosition(); pos;) {
        const CQZMapString* command = m_listCommands.GetNext(pos);
        if (command->m_nCmdID == nCmdID) {
            strName = command->m_strName;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CQZAccelManager::IsCommandInCategory(UINT nCmdID, LPCSTR lpszCategory) const
{
    CString category;
    return GetCommandCategory(nCmdID, category) && category.Compare(lpszCategory) == 0;
}

BOOL CQZAccelManager::GetCommandCategory(UINT nCmdID, CString& strCategory) const
{
    return m_mapCommandCategories.Lookup(nCmdID, strCategory);
}

void CQZAccelManager::FillCategoryCombo(CComboBox* pCombo) const
{
    for (POSITION pos = m_listCategories.GetHeadPosition(); pos;)
        pCombo->AddString(m_listCategories.GetNext(pos));
}

void CQZAccelManager::AddSwapOutItem(UINT nMenuCmdID, UINT nCmdID, LPCSTR lpszName)
{
    CQZAccelSwapOutItemList* list = nullptr;
    if (!m_mapSwapOutItems.Lookup(nMenuCmdID, list)) {
        list = new CQZAccelSwapOutItemList;
        m_mapSwapOutItems.SetAt(nMenuCmdID, list);
    }
    list->SetAt(nCmdID, lpszName);
}

void CQZAccelManager::AddExtraItem(LPCSTR lpszCategory, UINT nCmdID, LPCSTR lpszName)
{
    m_listExtraItems.AddTail(new QZ_EXTRA_ACCELITEM{lpszCategory, lpszName, nCmdID});
}
