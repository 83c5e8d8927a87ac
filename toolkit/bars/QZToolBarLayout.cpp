// The toolbar's layout through the control-bar protocol: buttons measured by their items,
// broken into rows, the wrap width searched that fits a requested length, and a layout
// committed (wrap states, child controls, the chevron). Layout is deferred: changes mark
// it pending and it runs once before the next paint or item query.
#include "toolkit/bars/QZToolBar.h"

#include "toolkit/bars/QZToolBarRecords.h"
#include "toolkit/res/ToolkitResources.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kNoLimit = 32767;
// The wrap-width search halves its interval each time; more steps than this cannot
// happen on lengths of 16 bits, so it is only a guard against a measure that never settles.
constexpr int kMaxSearchSteps = 32;

[[nodiscard]] bool IsButtonShown(const TBBUTTON& button)
{
    return !(button.fsState & TBSTATE_HIDDEN);
}

[[nodiscard]] bool IsPlainSeparator(const TBBUTTON& button)
{
    return (button.fsStyle & TBSTYLE_SEP) && button.idCommand == 0;
}

[[nodiscard]] bool IsControlPlaceholder(const TBBUTTON& button)
{
    return (button.fsStyle & TBSTYLE_SEP) && button.idCommand != 0;
}

} // namespace

void QZSetAlongBar(POINT* pt, BOOL bHorz, int n)
{
    if (bHorz)
        pt->x = n;
    else
        pt->y = n;
}

CSize CQZToolBar::GetButtonSize(TBBUTTON* pData, int nIndex)
{
    CRect item;
    if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&item)))
        item.SetRectEmpty();
    const TBBUTTON& button = pData[nIndex];
    if ((button.fsStyle & TBSTYLE_SEP) && (button.fsState & TBSTATE_WRAP))
        return CSize(0, item.Width());
    return CSize(item.Width(), item.Height());
}

CSize CQZToolBar::CalcSize(TBBUTTON* pData, int nCount)
{
    CPoint position(0, 0);
    CSize result(0, 0);
    int rowHeight = 0;
    for (int i = 0; i < nCount; ++i) {
        if (!IsButtonShown(pData[i]))
            continue;
        const CSize size = GetButtonSize(pData, i);
        rowHeight = std::max<int>(rowHeight, size.cy);
        result.cx = std::max<int>(result.cx, position.x + size.cx);
        result.cy = std::max<int>(result.cy, position.y + size.cy);
        position.x += size.cx;
        if (pData[i].fsState & TBSTATE_WRAP) {
            position.x = 0;
            position.y += rowHeight;
            rowHeight = 0;
            if (pData[i].fsStyle & TBSTYLE_SEP)
                position.y += size.cy;
        }
    }
    const bool needsChevron = IsChevronAllowed() && (m_bCustomizable || HasHiddenButtons());
    if (needsChevron && (m_bInReBar || !IsUndocked())) {
        if (IsHorizontalBar())
            result.cx += QZ_CHEVRON_ROOM;
        else
            result.cy += QZ_CHEVRON_ROOM;
    }
    return result;
}

int CQZToolBar::WrapToolBar(TBBUTTON* pData, int nCount, int nWidth)
{
    int wraps = 0;
    int x = 0;
    for (int i = 0; i < nCount; ++i) {
        pData[i].fsState &= ~TBSTATE_WRAP;
        if (!IsButtonShown(pData[i]))
            continue;
        const int dx = GetButtonSize(pData, i).cx;
        if (x + dx <= nWidth) {
            x += dx;
            continue;
        }
        // Break at the row's last plain separator (the one overflowing included), else
        // after the last button before the one that overflows; never at a hidden button
        // or a child control's place.
        int breakAt = -1;
        for (int j = i; j >= 0 && breakAt == -1; --j) {
            if (j < i && (pData[j].fsState & TBSTATE_WRAP))
                break;
            if (IsButtonShown(pData[j]) && IsPlainSeparator(pData[j]))
                breakAt = j;
        }
        for (int j = i - 1; j >= 0 && breakAt == -1; --j) {
            if (pData[j].fsState & TBSTATE_WRAP)
                break;
            if (IsButtonShown(pData[j]) && !IsControlPlaceholder(pData[j]))
                breakAt = j;
        }
        if (breakAt == -1) {
            x += dx;
            continue;
        }
        pData[breakAt].fsState |= TBSTATE_WRAP;
        i = breakAt;
        x = 0;
        ++wraps;
    }
    return wraps + 1;
}

void CQZToolBar::SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert)
{
    if (!bVert) {
        if (nLength != kNoLimit) {
            const int target = WrapToolBar(pData, nCount, nLength);
            if (WrapToolBar(pData, nCount, 0) != target) {
                int low = 0;
                int high = nLength;
                while (low < high) {
                    const int mid = (low + high) / 2;
                    if (WrapToolBar(pData, nCount, mid) == target) {
                        high = mid;
                    } else if (low == mid) {
                        WrapToolBar(pData, nCount, high);
                        break;
                    } else {
                        low = mid;
                    }
                }
            }
        } else {
            WrapToolBar(pData, nCount, kNoLimit);
        }
        const CSize size = CalcSize(pData, nCount);
        WrapToolBar(pData, nCount, size.cx);
        return;
    }

    WrapToolBar(pData, nCount, 0);
    CSize sizeMin = CalcSize(pData, nCount);
    WrapToolBar(pData, nCount, kNoLimit);
    CSize sizeMax = CalcSize(pData, nCount);
    for (int step = 0; sizeMin.cx < sizeMax.cx && step < kMaxSearchSteps; ++step) {
        const int mid = (sizeMin.cx + sizeMax.cx) / 2;
        WrapToolBar(pData, nCount, mid);
        const CSize sizeMid = CalcSize(pData, nCount);
        if (nLength < sizeMid.cy) {
            if (sizeMid == sizeMin) {
                WrapToolBar(pData, nCount, sizeMax.cx);
                break;
            }
            sizeMin = sizeMid;
        } else if (nLength > sizeMid.cy) {
            // A width that measures as the widest already would be tried again for ever.
            if (sizeMid == sizeMax)
                break;
            sizeMax = sizeMid;
        } else {
            break;
        }
    }
}

CSize CQZToolBar::CalcLayout(DWORD dwMode, int nLength)
{
    CSize size(0, 0);
    bool chevronChanged = false;
    CQZToolBarRecords records(*this);
    TBBUTTON* data = records.data();
    const int count = records.count();
    if (count > 0) {
        if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
            const bool dynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
            if (dynamic && (dwMode & LM_MRUWIDTH)) {
                SizeToolBar(data, count, m_nMRUWidth);
            } else if (dynamic && (dwMode & LM_HORZDOCK)) {
                SizeToolBar(data, count, kNoLimit);
            } else if (dynamic && (dwMode & LM_VERTDOCK)) {
                SizeToolBar(data, count, 0);
            } else if (dynamic && nLength != -1) {
                CRect inside(0, 0, 0, 0);
                CalcInsideRect(inside, (dwMode & LM_HORZ) != 0);
                const BOOL vertical = (dwMode & LM_LENGTHY) != 0;
                SizeToolBar(data, count, nLength + (vertical ? inside.Height() : inside.Width()), vertical);
            } else if (dynamic && (m_dwStyle & CBRS_FLOATING)) {
                SizeToolBar(data, count, m_nMRUWidth);
            } else {
                SizeToolBar(data, count, (dwMode & LM_HORZ) ? kNoLimit : 0);
            }
        }
        size = CalcSize(data, count);

        if (dwMode & LM_COMMIT) {
            // Where each visible child control's item is now, to move the control with it.
            std::vector<QZ_CONTROLPOS> controls;
            for (int i = 0; i < count; ++i) {
                if (!IsControlPlaceholder(data[i]) || !IsButtonShown(data[i]))
                    continue;
                QZ_CONTROLPOS position = {data[i].idCommand, i, {}};
                SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&position.rectOldPos));
                ClientToScreen(&position.rectOldPos);
                controls.push_back(position);
            }
            const BOOL wasPending = m_bLayoutPending;
            m_bLayoutPending = FALSE;
            if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
                m_nMRUWidth = size.cx;
            for (int i = 0; i < count; ++i)
                SetButton(i, &data[i]);
            for (const QZ_CONTROLPOS& position : controls) {
                CWnd* control = ChildWithId(position.nID);
                if (!control)
                    continue;
                CRect window;
                control->GetWindowRect(&window);
                CRect item;
                GetItemRect(position.nIndex, &item);
                const CPoint at(item.left + window.left - position.rectOldPos.left,
                                item.top + window.top - position.rectOldPos.top);
                control->SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            if (CWnd* chevron = ChildWithId(ID_QZ_CUSTOMIZE_TOOLBAR)) {
                const bool isFloating = (m_dwStyle & CBRS_FLOATING) || IsFloating();
                if (!isFloating && (m_bCustomizable || HasHiddenButtons())) {
                    const CSize wanted = IsHorizontalBar() ? CSize(QZ_CHEVRON_LENGTH, size.cy - 2)
                                                           : CSize(size.cx - 2, QZ_CHEVRON_LENGTH);
                    CRect current;
                    chevron->GetWindowRect(&current);
                    if (current.Size() != wanted || !chevron->IsWindowVisible()) {
                        chevron->SetWindowPos(nullptr, 0, 0, wanted.cx, wanted.cy,
                                              SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
                        chevronChanged = true;
                    }
                } else if (chevron->IsWindowVisible()) {
                    chevron->ShowWindow(SW_HIDE);
                    chevronChanged = true;
                }
            }
            m_bLayoutPending = wasPending;
        }
    }

    // The inside of an empty rectangle is negative: subtracting it adds the borders.
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (dwMode & LM_HORZ) != 0);
    size.cx -= inside.Width();
    size.cy -= inside.Height();
    const CSize least = CControlBar::CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
    size.cx = std::max<int>(size.cx, least.cx);
    size.cy = std::max<int>(size.cy, least.cy);
    if (chevronChanged)
        PostMessage(WM_IDLEUPDATECMDUI, TRUE);
    return size;
}

CSize CQZToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CalcLayout((bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0));
}

CSize CQZToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
    return CalcLayout(dwMode, nLength);
}

void CQZToolBar::Layout()
{
    m_bLayoutPending = FALSE;
    if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
        CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    else if (m_dwStyle & CBRS_ORIENT_HORZ)
        CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    else
        CalcDynamicLayout(0, LM_VERTDOCK | LM_COMMIT);
}

void CQZToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
    if (m_hWnd && ((dwOldStyle ^ dwNewStyle) & CBRS_BORDER_ANY))
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_bLayoutPending = TRUE;
    if (dwOldStyle == dwNewStyle)
        return;
    DWORD mode;
    if ((dwNewStyle & CBRS_FLOATING) && (dwNewStyle & CBRS_SIZE_DYNAMIC))
        mode = LM_HORZ | LM_MRUWIDTH;
    else if (dwNewStyle & CBRS_ORIENT_HORZ)
        mode = LM_HORZ | LM_HORZDOCK;
    else
        mode = LM_VERTDOCK;
    RestoreHiddenButtons();
    CalcDynamicLayout(-1, mode | LM_COMMIT);
}
