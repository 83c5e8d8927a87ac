// Image menus: the item records, the values every image menu shares, the window procedure
// that sees the owner's menu messages, and the images, one per command.
#include "toolkit/menus/QZCoolMenu.h"

#include "framework/ResourceModule.h"
#include "framework/Wnd.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZSysColorBitmap.h"
#include "toolkit/foundation/QZVersion.h"
#include "toolkit/menus/QZMenu.h"
#include "toolkit/menus/QZPopupMenu.h"

#include <unordered_set>

IMPLEMENT_DYNAMIC(CQZCoolMenu, CQZWndHook)

int CQZCoolMenu::m_nSkipInitMenuPopup = 0;
UINT CQZCoolMenu::m_nPopupSide = 0;
CRect CQZCoolMenu::m_rcOpener(-1, -1, -1, -1);
CSize CQZCoolMenu::m_sizeMargin(-1, -1);
CSize CQZCoolMenu::m_sizeFrame(0, 0);
bool CQZCoolMenu::m_bOldOS = false;
bool CQZCoolMenu::m_bShowFullMenus = false;
bool CQZCoolMenu::m_bChevronSelected = false;
bool CQZCoolMenu::m_bMenuBarLoopEnded = false;
HHOOK CQZCoolMenu::m_hCbtHook = nullptr;

namespace {

// The records alive: item data is read as a record only when it is one of them.
std::unordered_set<const CQZItemData*>& LiveItemRecords()
{
    static std::unordered_set<const CQZItemData*> records;
    return records;
}

// Built with the program's static initialisation, on the thread that becomes the
// user-interface thread: the shared values, then the hook that watches menu windows.
struct CoolMenuModule {
    CoolMenuModule()
    {
        CQZCoolMenu::m_rcOpener.SetRect(-1, -1, -1, -1);
        CQZCoolMenu::m_sizeFrame = CSize(::GetSystemMetrics(SM_CXDLGFRAME), ::GetSystemMetrics(SM_CYDLGFRAME));
        CQZCoolMenu::m_sizeMargin = CSize(-1, -1);
        CQZCoolMenu::m_bOldOS = QZIsWindows95OrNT4();
        CQZCoolMenu::InstallHook();
    }
    ~CoolMenuModule()
    {
        CQZCoolMenu::RemoveHook();
        while (!CQZPopupMenu::m_listPopups.IsEmpty())
            delete CQZPopupMenu::m_listPopups.RemoveHead();
    }
};

CoolMenuModule g_coolMenuModule;

} // namespace

CQZItemData::CQZItemData()
    : m_bRemoved(FALSE), m_hMenu(nullptr), m_hSubMenu(nullptr), m_dwTag(QZ_ITEMDATA_TAG), m_nPosition(-1),
      m_nImage(-1), m_nCommand(static_cast<UINT>(-1)), m_nType(0), m_nState(0), m_nPersonal(0), m_nSide(0)
{
    LiveItemRecords().insert(this);
}

CQZItemData::~CQZItemData()
{
    m_dwTag = 0;
    LiveItemRecords().erase(this);
}

CQZItemData* CQZItemData::FromItemData(ULONG_PTR itemData)
{
    auto* record = reinterpret_cast<CQZItemData*>(itemData);
    if (!record || !LiveItemRecords().count(record))
        return nullptr;
    return record->m_dwTag == QZ_ITEMDATA_TAG ? record : nullptr;
}

CQZCoolMenu::CQZCoolMenu()
{
    const OSVERSIONINFOA* version = QZGetOSVersionInfo();
    if (version->dwPlatformId == VER_PLATFORM_WIN32_NT && version->dwMajorVersion >= 5) {
        BOOL cues = FALSE;
        if (::SystemParametersInfoA(SPI_GETMENUUNDERLINES, 0, &cues, 0))
            m_bKeyboardCues = cues;
    }
}

CQZCoolMenu::~CQZCoolMenu()
{
    while (!m_listItemData.IsEmpty())
        delete m_listItemData.RemoveHead();
    RemoveAllImages();
    if (m_hMeasureDC)
        ::DeleteDC(m_hMeasureDC);
    // The popup windows drawn by this object forget it.
    for (POSITION pos = CQZPopupMenu::m_listPopups.GetHeadPosition(); pos;) {
        CQZPopupMenu* popup = CQZPopupMenu::m_listPopups.GetNext(pos);
        if (popup->m_pOwner == this)
            popup->m_pOwner = nullptr;
    }
}

LRESULT CQZCoolMenu::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER:
        OnTimer(static_cast<UINT>(wParam));
        break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        OnSysColorChange();
        break;
    case WM_MEASUREITEM:
        if (MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)))
            return 1;
        break;
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (draw && draw->CtlType == ODT_MENU && DrawItem(draw))
            return 1;
        break;
    }
    case WM_ENTERMENULOOP:
        m_bPopupLoop = static_cast<BOOL>(wParam);
        break;
    case WM_INITMENUPOPUP:
        if (m_nSkipInitMenuPopup > 0) {
            --m_nSkipInitMenuPopup;
            break;
        }
        // The owner updates the items first; they are converted as it left them.
        CQZWndHook::WindowProc(msg, wParam, lParam);
        OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        break;
    case WM_MENUCHAR: {
        // The typed character is the low byte: an ANSI menu has single-byte mnemonics.
        const LRESULT result =
            OnMenuChar(LOBYTE(wParam), HIWORD(wParam), CMenu::FromHandle(reinterpret_cast<HMENU>(lParam)));
        if (result)
            return result;
        break;
    }
    case WM_COMMAND:
        OnCommand(wParam);
        break;
    default:
        break;
    }
    return CQZWndHook::WindowProc(msg, wParam, lParam);
}

BOOL CQZCoolMenu::Install(CWnd* pWnd)
{
    return HookWindow(pWnd);
}

void CQZCoolMenu::SkipNextInitMenuPopup()
{
    ++m_nSkipInitMenuPopup;
}

bool CQZCoolMenu::IsToolkitMenuActive()
{
    return CQZMenu::m_bActive;
}

BOOL CQZCoolMenu::AddCommand(UINT)
{
    return FALSE;
}

BOOL CQZCoolMenu::AddCommands(const UINT*, int)
{
    return FALSE;
}

void CQZCoolMenu::AddImage(UINT nCommand, HICON hIcon, int cx, int cy)
{
    delete m_pilDrawing;
    m_pilDrawing = nullptr;
    if (!m_ilImages.m_hImageList) {
        m_sizeImage = CSize(cx, cy);
        if (m_ilImages.Create(cx, cy, ILC_COLOR32 | ILC_MASK, 0, 10))
            m_bImagesNotCreated = FALSE;
    }
    void* existing = nullptr;
    const WORD key = LOWORD(nCommand);
    if (m_ilImages.m_hImageList && !m_mapCommandImages.Lookup(key, existing)) {
        const int index = m_ilImages.Replace(-1, hIcon);
        if (index >= 0)
            m_mapCommandImages.SetAt(key, reinterpret_cast<void*>(static_cast<INT_PTR>(index)));
    }
    if (hIcon)
        ::DestroyIcon(hIcon);
}

BOOL CQZCoolMenu::AddToolbarImages(CQZToolBar* pBar)
{
    auto list = reinterpret_cast<HIMAGELIST>(pBar->SendMessage(TB_GETIMAGELIST));
    if (!list)
        return FALSE;
    if (::ImageList_GetImageCount(list) == 0)
        return TRUE;
    IMAGEINFO info = {};
    ::ImageList_GetImageInfo(list, 0, &info);
    const int width = info.rcImage.right - info.rcImage.left;
    const int height = info.rcImage.bottom - info.rcImage.top;
    const int buttons = static_cast<int>(pBar->SendMessage(TB_BUTTONCOUNT));
    for (int i = 0; i < buttons; ++i) {
        TBBUTTON button = {};
        if (!pBar->SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button)))
            continue;
        if ((button.fsStyle & TBSTYLE_SEP) || button.idCommand < 0)
            continue;
        AddImage(static_cast<UINT>(button.idCommand), ::ImageList_GetIcon(list, button.iBitmap, ILD_NORMAL), width,
                 height);
    }
    return TRUE;
}

BOOL CQZCoolMenu::LoadToolbar(UINT nIDToolbar)
{
    CQZToolBar bar;
    if (!bar.Create(CWnd::FromHandle(::GetDesktopWindow()), WS_CHILD, AFX_IDW_TOOLBAR))
        return FALSE;
    const BOOL result = bar.LoadToolBar(nIDToolbar) ? AddToolbarImages(&bar) : FALSE;
    bar.DestroyWindow();
    return result;
}

BOOL CQZCoolMenu::LoadToolbars(const UINT* pToolbars, int nCount)
{
    for (int i = 0; i < nCount; ++i) {
        if (!LoadToolbar(pToolbars[i]))
            return FALSE;
    }
    return TRUE;
}

BOOL CQZCoolMenu::AddImages(HBITMAP hbmStrip, const UINT* pCommands, int nCount)
{
    if (!hbmStrip || !pCommands)
        return FALSE;
    HIMAGELIST strip = ::ImageList_Create(m_sizeImage.cx, m_sizeImage.cy, ILC_COLOR32 | ILC_MASK, 0, 10);
    if (!strip)
        return FALSE;
    ::ImageList_AddMasked(strip, hbmStrip, qzAfxData.colorFace);
    for (int i = 0; i < nCount; ++i) {
        if (pCommands[i])
            AddImage(pCommands[i], ::ImageList_GetIcon(strip, i, ILD_NORMAL), m_sizeImage.cx, m_sizeImage.cy);
    }
    ::ImageList_Destroy(strip);
    return TRUE;
}

BOOL CQZCoolMenu::AddImagesFromResource(UINT nIDBitmap, const UINT* pCommands, int nCount)
{
    LPCSTR name = MAKEINTRESOURCEA(nIDBitmap);
    HINSTANCE module = AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_BITMAP));
    HRSRC resource = ::FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_BITMAP));
    HBITMAP bitmap = resource ? QZLoadSysColorBitmap(module, resource, FALSE) : nullptr;
    const BOOL result = AddImages(bitmap, pCommands, nCount);
    if (bitmap)
        ::DeleteObject(bitmap);
    return result;
}

int CQZCoolMenu::GetCommandImage(UINT nCommand) const
{
    void* index = nullptr;
    if (!const_cast<CMapWordToPtr&>(m_mapCommandImages).Lookup(LOWORD(nCommand), index))
        return -1;
    return static_cast<int>(reinterpret_cast<INT_PTR>(index));
}

CImageList* CQZCoolMenu::GetDrawingImages()
{
    if (m_pilDrawing || !m_ilImages.m_hImageList)
        return m_pilDrawing;
    auto* copy = new CImageList;
    if (!copy->Create(m_sizeImage.cx, m_sizeImage.cy, ILC_COLOR32 | ILC_MASK, 0, 10)) {
        delete copy;
        return nullptr;
    }
    const int count = m_ilImages.GetImageCount();
    for (int i = 0; i < count; ++i) {
        HICON icon = m_ilImages.ExtractIcon(i);
        copy->Add(icon);
        if (icon)
            ::DestroyIcon(icon);
    }
    m_pilDrawing = copy;
    return m_pilDrawing;
}

void CQZCoolMenu::RemoveAllImages()
{
    m_sizeImage = CSize(0, 0);
    m_sizeButton = CSize(0, 0);
    m_mapCommandImages.RemoveAll();
    m_ilImages.DeleteImageList();
    delete m_pilDrawing;
    m_pilDrawing = nullptr;
}

void CQZCoolMenu::OnSysColorChange()
{
    delete m_pilDrawing;
    m_pilDrawing = nullptr;
}

void CQZCoolMenu::DeleteItemData(CQZItemData* pData)
{
    if (POSITION pos = m_listItemData.Find(pData))
        m_listItemData.RemoveAt(pos);
    delete pData;
}
