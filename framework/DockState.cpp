// The dock state's records in the application's profile, and the screen they fit on.
// Checked, not trusted: every count comes from a user-editable store, and a missing
// summary or an impossible count leaves the state empty.
#include "DockState.h"

#include "CString.h"
#include "FrameworkConstants.h"
#include "WinApp.h"

#include <algorithm>
#include <climits>

IMPLEMENT_SERIAL(CDockState, CObject, 0)

namespace {

// Marks a value missing from the store.
constexpr int kMissing = INT_MIN;

CString BarSection(LPCSTR profile, int index)
{
    CString section;
    section.Format("%s-Bar%d", profile, index);
    return section;
}

CString SummarySection(LPCSTR profile)
{
    CString section;
    section.Format("%s-Summary", profile);
    return section;
}

CSize SystemScreenSize()
{
    return CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

AfxScreenSizeReader g_screenSizeReader = &SystemScreenSize;

int ReadInt(CWinApp* app, LPCSTR section, LPCSTR entry, int fallback)
{
    return static_cast<int>(app->GetProfileInt(section, entry, fallback));
}

} // namespace

AfxScreenSizeReader AfxSetScreenSizeReader(AfxScreenSizeReader reader)
{
    const AfxScreenSizeReader previous = g_screenSizeReader;
    g_screenSizeReader = reader ? reader : &SystemScreenSize;
    return previous;
}

CControlBarInfo::CControlBarInfo()
    : m_nBarID(0), m_bVisible(TRUE), m_bFloating(FALSE), m_bHorz(TRUE), m_bDockBar(FALSE), m_pointPos(-1, -1),
      m_nMRUWidth(32767), m_bDocking(FALSE), m_uMRUDockID(0), m_rectMRUDockPos(0, 0, 0, 0), m_dwMRUFloatStyle(0),
      m_ptMRUFloatPos(CW_USEDEFAULT, 0), m_pBar(nullptr)
{
}

BOOL CControlBarInfo::SaveState(LPCSTR lpszProfileName, int nIndex)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    const CString section = BarSection(lpszProfileName, nIndex);
    app->WriteProfileString(section, nullptr, nullptr);
    if (m_bDockBar && m_bVisible && !m_bFloating && m_pointPos == CPoint(-1, -1) && m_arrBarID.GetSize() <= 1)
        return FALSE;
    app->WriteProfileInt(section, "BarID", static_cast<int>(m_nBarID));
    if (!m_bVisible)
        app->WriteProfileInt(section, "Visible", 0);
    if (m_bFloating) {
        app->WriteProfileInt(section, "Horz", m_bHorz);
        app->WriteProfileInt(section, "Floating", m_bFloating);
    }
    if (m_pointPos.x != -1)
        app->WriteProfileInt(section, "XPos", m_pointPos.x);
    if (m_pointPos.y != -1)
        app->WriteProfileInt(section, "YPos", m_pointPos.y);
    if (m_nMRUWidth != 32767)
        app->WriteProfileInt(section, "MRUWidth", m_nMRUWidth);
    if (m_bDocking) {
        app->WriteProfileInt(section, "Docking", m_bDocking);
        app->WriteProfileInt(section, "MRUDockID", static_cast<int>(m_uMRUDockID));
        app->WriteProfileInt(section, "MRUDockLeftPos", m_rectMRUDockPos.left);
        app->WriteProfileInt(section, "MRUDockTopPos", m_rectMRUDockPos.top);
        app->WriteProfileInt(section, "MRUDockRightPos", m_rectMRUDockPos.right);
        app->WriteProfileInt(section, "MRUDockBottomPos", m_rectMRUDockPos.bottom);
        app->WriteProfileInt(section, "MRUFloatStyle", static_cast<int>(m_dwMRUFloatStyle));
        app->WriteProfileInt(section, "MRUFloatXPos", m_ptMRUFloatPos.x);
        app->WriteProfileInt(section, "MRUFloatYPos", m_ptMRUFloatPos.y);
    }
    if (m_arrBarID.GetSize() > 1) {
        app->WriteProfileInt(section, "Bars", m_arrBarID.GetSize());
        for (int i = 0; i < m_arrBarID.GetSize(); ++i) {
            CString entry;
            entry.Format("Bar#%d", i);
            app->WriteProfileInt(section, entry,
                                 static_cast<int>(reinterpret_cast<uintptr_t>(m_arrBarID.GetAt(i))));
        }
    }
    return TRUE;
}

BOOL CControlBarInfo::LoadState(LPCSTR lpszProfileName, int nIndex, CDockState* pDockState, int nMaxIds)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    const CString section = BarSection(lpszProfileName, nIndex);
    m_nBarID = static_cast<UINT>(ReadInt(app, section, "BarID", 0));
    if (m_nBarID == 0 || m_nBarID > 0xFFFF)
        return FALSE;
    m_bVisible = ReadInt(app, section, "Visible", TRUE) != 0;
    m_bHorz = ReadInt(app, section, "Horz", TRUE) != 0;
    m_bFloating = ReadInt(app, section, "Floating", FALSE) != 0;
    m_pointPos = CPoint(ReadInt(app, section, "XPos", -1), ReadInt(app, section, "YPos", -1));
    // (-1, -1) is no particular place; any other place must lie on this screen.
    if (m_pointPos != CPoint(-1, -1))
        pDockState->ScalePoint(m_pointPos);
    m_nMRUWidth = ReadInt(app, section, "MRUWidth", 32767);
    m_bDocking = ReadInt(app, section, "Docking", FALSE) != 0;
    if (m_bDocking) {
        m_uMRUDockID = static_cast<UINT>(ReadInt(app, section, "MRUDockID", 0)) & 0xFFFF;
        m_rectMRUDockPos.SetRect(ReadInt(app, section, "MRUDockLeftPos", 0), ReadInt(app, section, "MRUDockTopPos", 0),
                                 ReadInt(app, section, "MRUDockRightPos", 0),
                                 ReadInt(app, section, "MRUDockBottomPos", 0));
        m_rectMRUDockPos.NormalizeRect();
        pDockState->ScaleRectPos(m_rectMRUDockPos);
        m_dwMRUFloatStyle = static_cast<DWORD>(ReadInt(app, section, "MRUFloatStyle", 0));
        m_ptMRUFloatPos = CPoint(ReadInt(app, section, "MRUFloatXPos", 0), ReadInt(app, section, "MRUFloatYPos", 0));
        // A negative x means the bar never floated.
        if (m_ptMRUFloatPos.x >= 0)
            pDockState->ScalePoint(m_ptMRUFloatPos);
    }
    const int ids = ReadInt(app, section, "Bars", 0);
    if (ids < 0 || ids > nMaxIds)
        return FALSE;
    m_arrBarID.RemoveAll();
    for (int i = 0; i < ids; ++i) {
        CString entry;
        entry.Format("Bar#%d", i);
        const UINT id = static_cast<UINT>(ReadInt(app, section, entry, 0));
        m_arrBarID.Add(reinterpret_cast<void*>(static_cast<uintptr_t>(id)));
    }
    return TRUE;
}

CDockState::CDockState()
{
    m_rectDevice = CRect(CPoint(0, 0), g_screenSizeReader());
    m_rectClip = m_rectDevice;
    m_rectClip.right -= ::GetSystemMetrics(SM_CXICON);
    m_rectClip.bottom -= ::GetSystemMetrics(SM_CYICON);
    m_sizeLogical = m_rectDevice.Size();
}

CDockState::~CDockState()
{
    Clear();
}

void CDockState::Clear()
{
    for (int i = 0; i < m_arrBarInfo.GetSize(); ++i)
        delete m_arrBarInfo.GetAt(i);
    m_arrBarInfo.RemoveAll();
}

void CDockState::SetScreenSize(const CSize& size)
{
    m_sizeLogical = size;
    m_bScaling = size != m_rectDevice.Size();
}

CSize CDockState::GetScreenSize() const
{
    return m_sizeLogical;
}

void CDockState::ScalePoint(CPoint& pt) const
{
    if (m_bScaling && m_sizeLogical.cx > 0 && m_sizeLogical.cy > 0) {
        pt.x = ::MulDiv(pt.x, m_rectDevice.Width(), m_sizeLogical.cx);
        pt.y = ::MulDiv(pt.y, m_rectDevice.Height(), m_sizeLogical.cy);
    }
    pt.x = std::clamp(static_cast<int>(pt.x), static_cast<int>(m_rectClip.left), static_cast<int>(m_rectClip.right));
    pt.y = std::clamp(static_cast<int>(pt.y), static_cast<int>(m_rectClip.top), static_cast<int>(m_rectClip.bottom));
}

void CDockState::ScaleRectPos(CRect& rect) const
{
    CPoint topLeft = rect.TopLeft();
    ScalePoint(topLeft);
    rect.OffsetRect(topLeft - rect.TopLeft());
}

void CDockState::SaveState(LPCSTR lpszProfileName)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    int written = 0;
    for (int i = 0; i < m_arrBarInfo.GetSize(); ++i) {
        if (m_arrBarInfo.GetAt(i)->SaveState(lpszProfileName, written))
            ++written;
    }
    const CString summary = SummarySection(lpszProfileName);
    app->WriteProfileInt(summary, "Bars", written);
    const CSize screen = GetScreenSize();
    app->WriteProfileInt(summary, "ScreenCX", screen.cx);
    app->WriteProfileInt(summary, "ScreenCY", screen.cy);
}

BOOL CDockState::LoadState(LPCSTR lpszProfileName, int nMaxBars)
{
    Clear();
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    const CString summary = SummarySection(lpszProfileName);
    const int bars = ReadInt(app, summary, "Bars", kMissing);
    const int screenWidth = ReadInt(app, summary, "ScreenCX", kMissing);
    const int screenHeight = ReadInt(app, summary, "ScreenCY", kMissing);
    const int maxBars = std::min(nMaxBars, kMaxStoredBars);
    if (bars <= 0 || bars > maxBars || screenWidth <= 0 || screenHeight <= 0)
        return FALSE;
    SetScreenSize(CSize(screenWidth, screenHeight));
    // A dock bar holds each bar at most once and once more as a placeholder, with a row
    // break after each: more ids than that cannot come from a saved layout.
    const int maxIds = 3 * maxBars + 1;
    for (int i = 0; i < bars; ++i) {
        auto* info = new CControlBarInfo;
        if (info->LoadState(lpszProfileName, i, this, maxIds))
            m_arrBarInfo.Add(info);
        else
            delete info;
    }
    return TRUE;
}
