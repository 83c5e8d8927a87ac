// The bar layout's sections in the toolkit's settings store. Every count read is capped:
// a damaged or edited store must not drive allocation or thousands of registry reads.
#include "toolkit/docking/QZDockState.h"

#include "framework/CString.h"
#include "toolkit/foundation/QZRegistryManager.h"

#include <algorithm>

IMPLEMENT_SERIAL(CQZDockState, CDockState, 0)

namespace {

constexpr int kNoPosition = -1;
constexpr int kNoMRUWidth = 32767;

CString DockStateBarSection(LPCSTR profile, int index)
{
    CString section;
    section.Format("%s-Bar%d", profile, index);
    return section;
}

CString DockStateSummarySection(LPCSTR profile)
{
    CString section;
    section.Format("%s-Summary", profile);
    return section;
}

CString DockStateIdEntry(int index)
{
    CString entry;
    entry.Format("Bar#%d", index);
    return entry;
}

// A dock bar holds each bar at most once, and once more as a placeholder, with a row break
// after each: more ids than that cannot come from a saved layout.
int MaxHeldIds(int maxBars)
{
    return 3 * maxBars + 1;
}

} // namespace

CQZDockState::~CQZDockState() = default;

void CQZDockState::SaveState(LPCSTR lpszProfileName)
{
    int written = 0;
    for (int i = 0; i < m_arrBarInfo.GetSize(); ++i) {
        if (SaveBar(m_arrBarInfo.GetAt(i), lpszProfileName, written))
            ++written;
    }
    CQZRegistryManager store(HKEY_CURRENT_USER);
    const CString summary = DockStateSummarySection(lpszProfileName);
    store.WriteProfileInt(summary, "Bars", written);
    const CSize screen = GetScreenSize();
    store.WriteProfileInt(summary, "ScreenCX", screen.cx);
    store.WriteProfileInt(summary, "ScreenCY", screen.cy);
}

void CQZDockState::LoadState(LPCSTR lpszProfileName, int nMaxBars)
{
    Clear();
    CQZRegistryManager store(HKEY_CURRENT_USER);
    const CString summary = DockStateSummarySection(lpszProfileName);
    const int maxBars = std::clamp(nMaxBars, 0, static_cast<int>(kMaxStoredBars));
    const int bars = std::clamp(store.GetProfileInt(summary, "Bars", 0), 0, maxBars);
    SetScreenSize(CSize(store.GetProfileInt(summary, "ScreenCX", 0), store.GetProfileInt(summary, "ScreenCY", 0)));
    for (int i = 0; i < bars; ++i) {
        auto* info = new CControlBarInfo;
        // A section that is missing or names no bar is no record: nothing could apply it.
        if (LoadBar(info, lpszProfileName, i, this, MaxHeldIds(maxBars)))
            m_arrBarInfo.Add(info);
        else
            delete info;
    }
}

BOOL CQZDockState::SaveBar(const CControlBarInfo* pInfo, LPCSTR lpszProfileName, int nIndex)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    const CString section = DockStateBarSection(lpszProfileName, nIndex);
    // Whatever an earlier save or another writer left in the section goes first.
    store.WriteProfileString(section, nullptr, nullptr);
    const int ids = pInfo->m_arrBarID.GetSize();
    if (pInfo->m_bDockBar && pInfo->m_bVisible && !pInfo->m_bFloating &&
        pInfo->m_pointPos == CPoint(kNoPosition, kNoPosition) && ids <= 1)
        return FALSE;
    store.WriteProfileInt(section, "BarID", static_cast<int>(pInfo->m_nBarID));
    if (!pInfo->m_bVisible)
        store.WriteProfileInt(section, "Visible", 0);
    if (pInfo->m_bFloating) {
        store.WriteProfileInt(section, "Horz", pInfo->m_bHorz);
        store.WriteProfileInt(section, "Floating", pInfo->m_bFloating);
    }
    if (pInfo->m_pointPos.x != kNoPosition)
        store.WriteProfileInt(section, "XPos", pInfo->m_pointPos.x);
    if (pInfo->m_pointPos.y != kNoPosition)
        store.WriteProfileInt(section, "YPos", pInfo->m_pointPos.y);
    if (pInfo->m_nMRUWidth != kNoMRUWidth)
        store.WriteProfileInt(section, "MRUWidth", pInfo->m_nMRUWidth);
    if (pInfo->m_bDocking) {
        store.WriteProfileInt(section, "Docking", pInfo->m_bDocking);
        store.WriteProfileInt(section, "MRUDockID", static_cast<int>(pInfo->m_uMRUDockID));
        store.WriteProfileInt(section, "MRUDockLeftPos", pInfo->m_rectMRUDockPos.left);
        store.WriteProfileInt(section, "MRUDockTopPos", pInfo->m_rectMRUDockPos.top);
        store.WriteProfileInt(section, "MRUDockRightPos", pInfo->m_rectMRUDockPos.right);
        store.WriteProfileInt(section, "MRUDockBottomPos", pInfo->m_rectMRUDockPos.bottom);
        store.WriteProfileInt(section, "MRUFloatStyle", static_cast<int>(pInfo->m_dwMRUFloatStyle));
        store.WriteProfileInt(section, "MRUFloatXPos", pInfo->m_ptMRUFloatPos.x);
        store.WriteProfileInt(section, "MRUFloatYPos", pInfo->m_ptMRUFloatPos.y);
    }
    if (ids > 1) {
        store.WriteProfileInt(section, "Bars", ids);
        for (int i = 0; i < ids; ++i) {
            const auto id = reinterpret_cast<uintptr_t>(pInfo->m_arrBarID.GetAt(i));
            store.WriteProfileInt(section, DockStateIdEntry(i), static_cast<int>(id));
        }
    }
    return TRUE;
}

BOOL CQZDockState::LoadBar(CControlBarInfo* pInfo, LPCSTR lpszProfileName, int nIndex, CQZDockState* pDockState,
                           int nMaxIds)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    const CString section = DockStateBarSection(lpszProfileName, nIndex);
    pInfo->m_nBarID = static_cast<UINT>(store.GetProfileInt(section, "BarID", 0));
    if (pInfo->m_nBarID == 0)
        return FALSE;
    pInfo->m_bVisible = store.GetProfileInt(section, "Visible", TRUE);
    pInfo->m_bHorz = store.GetProfileInt(section, "Horz", TRUE);
    pInfo->m_bFloating = store.GetProfileInt(section, "Floating", FALSE);
    pInfo->m_pointPos =
        CPoint(store.GetProfileInt(section, "XPos", kNoPosition), store.GetProfileInt(section, "YPos", kNoPosition));
    // (-1, -1) is no particular place and stays so; any other place must lie on this screen.
    if (pInfo->m_pointPos != CPoint(kNoPosition, kNoPosition))
        pDockState->ScalePoint(pInfo->m_pointPos);
    pInfo->m_nMRUWidth = store.GetProfileInt(section, "MRUWidth", kNoMRUWidth);
    pInfo->m_bDocking = store.GetProfileInt(section, "Docking", FALSE);
    if (pInfo->m_bDocking) {
        pInfo->m_uMRUDockID = static_cast<UINT>(store.GetProfileInt(section, "MRUDockID", 0));
        pInfo->m_rectMRUDockPos.SetRect(
            store.GetProfileInt(section, "MRUDockLeftPos", 0), store.GetProfileInt(section, "MRUDockTopPos", 0),
            store.GetProfileInt(section, "MRUDockRightPos", 0), store.GetProfileInt(section, "MRUDockBottomPos", 0));
        pDockState->ScaleRectPos(pInfo->m_rectMRUDockPos);
        pInfo->m_dwMRUFloatStyle = static_cast<DWORD>(store.GetProfileInt(section, "MRUFloatStyle", 0));
        pInfo->m_ptMRUFloatPos =
            CPoint(store.GetProfileInt(section, "MRUFloatXPos", 0), store.GetProfileInt(section, "MRUFloatYPos", 0));
        // A negative x is the mark of a bar that never floated.
        if (pInfo->m_ptMRUFloatPos.x >= 0)
            pDockState->ScalePoint(pInfo->m_ptMRUFloatPos);
    }
    const int ids = std::clamp(store.GetProfileInt(section, "Bars", 0), 0, std::max(nMaxIds, 0));
    pInfo->m_arrBarID.RemoveAll();
    for (int i = 0; i < ids; ++i) {
        const auto id = static_cast<UINT>(store.GetProfileInt(section, DockStateIdEntry(i), 0));
        pInfo->m_arrBarID.Add(reinterpret_cast<void*>(static_cast<uintptr_t>(id)));
    }
    return TRUE;
}
