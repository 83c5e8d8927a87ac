// Window placement records: registry load and save, tracking moves, and the map of
// registered windows.
#include "iWindowData.h"

#include "framework/Wnd.h"
#include "lib/src/iRegistry.h"

#include <cstring>

iWindowDataMap* iWindowDataMap::s_pMap = nullptr;

namespace {

constexpr const char* kRectValue = "Rect";
constexpr const char* kZoomedValue = "Zoomed";
constexpr const char* kIconicValue = "Iconic";

// The value when it is REG_BINARY of exactly size bytes; false leaves data alone.
[[nodiscard]] bool ReadExactBinary(iRegistry& key, const char* name, void* data, DWORD size)
{
    // One spare byte so that a longer value reads as longer, not as a failed read.
    unsigned char buffer[sizeof(RECT) + 1] = {};
    DWORD stored = sizeof buffer;
    if (size > sizeof(RECT) || key.QueryBinary(name, buffer, &stored) != 0 || stored != size)
        return false;
    std::memcpy(data, buffer, size);
    return true;
}

} // namespace

iWindowData::iWindowData(CWnd* pParentWnd, CWnd* pWnd, const RECT& rect, DWORD dwStyle, LPCSTR lpszName)
    : m_pParentWnd(pParentWnd), m_pWnd(pWnd), m_rect(rect), m_dwStyle(dwStyle), m_name(lpszName),
      m_zoomed(dwStyle & WS_MAXIMIZE), m_iconic(dwStyle & WS_MINIMIZE),
      m_keyPath(BuildWindowHierarchyPath(nullptr, pParentWnd, lpszName))
{
    Load();
}

iWindowData::~iWindowData()
{
    Save();
}

int iWindowData::Load()
{
    iRegistry key(m_keyPath, KEY_ALL_ACCESS);
    RECT rect;
    if (ReadExactBinary(key, kRectValue, &rect, sizeof rect))
        m_rect = rect;
    DWORD zoomed = 0;
    if (ReadExactBinary(key, kZoomedValue, &zoomed, sizeof zoomed)) {
        m_zoomed = zoomed;
        if (zoomed)
            m_dwStyle |= WS_MAXIMIZE;
    }
    DWORD iconic = 0;
    if (ReadExactBinary(key, kIconicValue, &iconic, sizeof iconic)) {
        m_iconic = iconic;
        if (iconic)
            m_dwStyle |= WS_MINIMIZE;
    }
    return 1;
}

int iWindowData::Save()
{
    iRegistry key(m_keyPath, KEY_ALL_ACCESS);
    key.SetBinary(kRectValue, &m_rect, sizeof m_rect);
    key.SetBinary(kZoomedValue, &m_zoomed, sizeof m_zoomed);
    key.SetBinary(kIconicValue, &m_iconic, sizeof m_iconic);
    return 1;
}

RECT* iWindowData::GetRect(RECT* out) const
{
    *out = m_rect;
    if (m_pParentWnd && m_pParentWnd->m_hWnd) {
        RECT parent;
        m_pParentWnd->GetWindowRect(&parent);
        OffsetRect(out, parent.left, parent.top);
    }
    return out;
}

void iWindowData::Update()
{
    if (!m_pWnd || !m_pWnd->m_hWnd)
        return;
    // A maximised window keeps its iconic value; a minimised one has zoomed 0.
    m_zoomed = m_pWnd->IsZoomed();
    if (!m_zoomed)
        m_iconic = m_pWnd->IsIconic();
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    const bool hasPlacement = ::GetWindowPlacement(m_pWnd->m_hWnd, &placement) != FALSE;
    const RECT& normal = placement.rcNormalPosition;
    RECT screen;
    if (!m_zoomed && !m_iconic) {
        m_pWnd->GetWindowRect(&screen);
        // Windows gives the placement of a top-level window relative to the work area,
        // Wine relative to the screen: what lies between is learnt while the two agree.
        if (hasPlacement) {
            m_placementOffset = {screen.left - normal.left, screen.top - normal.top};
            m_isPlacementOffsetKnown = true;
        }
    } else if (hasPlacement && m_isPlacementOffsetKnown) {
        // Maximised or minimised, the place kept is the normal one the system keeps for
        // the window, never its minimised form.
        screen = normal;
        OffsetRect(&screen, m_placementOffset.x, m_placementOffset.y);
    } else {
        return;
    }
    m_rect = screen;
    if (m_pParentWnd && m_pParentWnd->m_hWnd) {
        RECT parent;
        m_pParentWnd->GetWindowRect(&parent);
        OffsetRect(&m_rect, -parent.left, -parent.top);
    }
}

iWindowData* iWindowDataMap::Register(CWnd* pParentWnd, CWnd* pWnd, const RECT& rect, DWORD dwStyle,
                                      LPCSTR lpszName)
{
    if (!s_pMap)
        s_pMap = new iWindowDataMap;
    // Looked up first: a second record for the same window would load and save for nothing.
    if (iWindowData* existing = s_pMap->Lookup(pWnd))
        return existing;
    auto record = std::make_unique<iWindowData>(pParentWnd, pWnd, rect, dwStyle, lpszName);
    iWindowData* made = record.get();
    s_pMap->m_records.emplace(pWnd, std::move(record));
    return made;
}

void iWindowDataMap::Unregister(CWnd* pWnd)
{
    if (!s_pMap)
        return;
    auto found = s_pMap->m_records.find(pWnd);
    if (found == s_pMap->m_records.end())
        return;
    s_pMap->m_records.erase(found);
    if (s_pMap->m_records.empty()) {
        delete s_pMap;
        s_pMap = nullptr;
    }
}

iWindowData* iWindowDataMap::Lookup(const CWnd* pWnd) const
{
    auto found = m_records.find(pWnd);
    return found == m_records.end() ? nullptr : found->second.get();
}

iString BuildWindowHierarchyPath(LPCSTR root, CWnd* pWnd, LPCSTR lpszName)
{
    iString path(lpszName);
    for (CWnd* wnd = pWnd; wnd && wnd->m_hWnd; wnd = wnd->GetParent()) {
        iString text;
        wnd->GetWindowText(text);
        if (text.IsEmpty())
            text = "~";
        if (!path.IsEmpty())
            text += "\\" + path;
        path = text;
    }
    iString full(root ? root : "Window Hierarchy");
    full += "\\";
    full += path;
    return full;
}
