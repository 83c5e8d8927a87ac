// Menu objects: handle map bookkeeping, creation and loading, item queries and edits.
#include "Menu.h"

#include "ResourceModule.h"
#include "ThreadHandleMap.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {

struct MenuMapTraits {
    using Object = CMenu;
    using Handle = HMENU;
    static CMenu* NewObject() { return new CMenu; }
    static void SetHandles(CMenu* menu, HMENU handle) { menu->m_hMenu = handle; }
};

CHandleMap<CMenu, HMENU>* MenuMap(bool create = true)
{
    return AfxThreadHandleMap<MenuMapTraits>(create);
}

} // namespace

CMenu::CMenu() : m_hMenu(nullptr)
{
}

CMenu::~CMenu()
{
    (void)DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU menu)
{
    CHandleMap<CMenu, HMENU>* map = MenuMap();
    CMenu* object = map ? map->FromHandle(menu) : nullptr;
    // A temporary whose menu was destroyed through it stays mapped until idle with no
    // handle; when the handle value comes back, the wrapper must hold it again.
    if (object && !object->m_hMenu)
        object->m_hMenu = menu;
    return object;
}

CMenu* CMenu::FromHandlePermanent(HMENU menu)
{
    CHandleMap<CMenu, HMENU>* map = MenuMap(false);
    return (map && menu) ? map->LookupPermanent(menu) : nullptr;
}

BOOL CMenu::Attach(HMENU menu)
{
    // Refused rather than silently leaking or destroying the menu already held.
    if (!menu || m_hMenu)
        return FALSE;
    m_hMenu = menu;
    if (CHandleMap<CMenu, HMENU>* map = MenuMap())
        map->SetPermanent(menu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    if (!menu)
        return nullptr;
    CHandleMap<CMenu, HMENU>* map = MenuMap(false);
    // A temporary wrapper forgets its handle through the map; a permanent one leaves it.
    if (map && map->LookupPermanent(menu) == this)
        map->RemoveHandle(menu);
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::CreateMenu()
{
    return Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu()
{
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(LPCSTR resourceName)
{
    if (m_hMenu)
        return FALSE;
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), resourceName);
    return Attach(menu);
}

BOOL CMenu::LoadMenu(UINT resourceId)
{
    return LoadMenu(MAKEINTRESOURCEA(resourceId));
}

BOOL CMenu::DestroyMenu()
{
    HMENU menu = Detach();
    return menu ? ::DestroyMenu(menu) : FALSE;
}

CMenu* CMenu::GetSubMenu(int position) const
{
    return FromHandle(::GetSubMenu(m_hMenu, position));
}

int CMenu::GetMenuItemCount() const
{
    return m_hMenu ? ::GetMenuItemCount(m_hMenu) : -1;
}

UINT CMenu::GetMenuItemID(int position) const
{
    return ::GetMenuItemID(m_hMenu, position);
}

UINT CMenu::GetMenuState(UINT id, UINT flags) const
{
    return ::GetMenuState(m_hMenu, id, flags);
}

int CMenu::GetMenuString(UINT id, LPSTR text, int maxCount, UINT flags) const
{
    int length = ::GetMenuStringA(m_hMenu, id, text, maxCount, flags);
    // Some systems fill a short buffer to the brim; callers expect a terminated text.
    if (text && maxCount > 0) {
        length = std::max(0, std::min(length, maxCount - 1));
        text[length] = 0;
    }
    return length;
}

int CMenu::GetMenuString(UINT id, CString& text, UINT flags) const
{
    // A null buffer asks for the length without the terminating zero.
    int length = ::GetMenuStringA(m_hMenu, id, nullptr, 0, flags);
    if (length <= 0) {
        text.Empty();
        return 0;
    }
    int copied = ::GetMenuStringA(m_hMenu, id, text.GetBuffer(length + 1), length + 1, flags);
    text.ReleaseBuffer(copied > 0 ? copied : 0);
    return text.GetLength();
}

BOOL CMenu::GetMenuItemInfo(UINT item, LPMENUITEMINFOA info, BOOL byPosition)
{
    info->cbSize = sizeof(MENUITEMINFOA);
    return ::GetMenuItemInfoA(m_hMenu, item, byPosition, info);
}

BOOL CMenu::SetMenuItemInfo(UINT item, LPMENUITEMINFOA info, BOOL byPosition)
{
    info->cbSize = sizeof(MENUITEMINFOA);
    return ::SetMenuItemInfoA(m_hMenu, item, byPosition, info);
}

BOOL CMenu::InsertMenuItem(UINT item, LPMENUITEMINFOA info, BOOL byPosition)
{
    info->cbSize = sizeof(MENUITEMINFOA);
    return ::InsertMenuItemA(m_hMenu, item, byPosition, info);
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idNewItem, LPCSTR newItem)
{
    return ::AppendMenuA(m_hMenu, flags, idNewItem, newItem);
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem)
{
    return ::InsertMenuA(m_hMenu, position, flags, idNewItem, newItem);
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem)
{
    return ::ModifyMenuA(m_hMenu, position, flags, idNewItem, newItem);
}

BOOL CMenu::RemoveMenu(UINT position, UINT flags)
{
    return ::RemoveMenu(m_hMenu, position, flags);
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags)
{
    return ::DeleteMenu(m_hMenu, position, flags);
}

UINT CMenu::EnableMenuItem(UINT idEnableItem, UINT enable)
{
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, idEnableItem, enable));
}

DWORD CMenu::CheckMenuItem(UINT idCheckItem, UINT check)
{
    return ::CheckMenuItem(m_hMenu, idCheckItem, check);
}

BOOL CMenu::CheckMenuRadioItem(UINT idFirst, UINT idLast, UINT idItem, UINT flags)
{
    return ::CheckMenuRadioItem(m_hMenu, idFirst, idLast, idItem, flags);
}
