// The key-capture edit of the shortcut sheet: it takes every key before the dialog does
// and shows the combination held or typed. A combination is complete once a key that is
// not a modifier goes down; it then stays through key-ups and through further keys while
// Alt is held, and the next key without Alt (or a new press of Alt) starts a new one.
#include "toolkit/shortcuts/QZAccelSheet.h"

#include "toolkit/shortcuts/QZAccelManager.h"

namespace {

// lParam of a key message: the Alt key is held.
constexpr LPARAM kAltHeldBit = 1 << 29;
// lParam of a key-down: the key was already down (an auto-repeat).
constexpr LPARAM kKeyWasDownBit = 1 << 30;

} // namespace

CQZAccelKeyEdit::CQZAccelKeyEdit() : m_bShift(FALSE), m_bCtrl(FALSE), m_bAlt(FALSE), m_wKey(0), m_bDefined(FALSE) {}

BOOL CQZAccelKeyEdit::GetKey(WORD& wKey, BOOL& bCtrl, BOOL& bAlt, BOOL& bShift) const
{
    if (!m_bDefined)
        return FALSE;
    wKey = m_wKey;
    bCtrl = m_bCtrl;
    bAlt = m_bAlt;
    bShift = m_bShift;
    return TRUE;
}

void CQZAccelKeyEdit::Reset()
{
    m_wKey = 0;
    m_bShift = m_bCtrl = m_bAlt = FALSE;
    m_bDefined = FALSE;
    if (m_hWnd)
        SetWindowText("");
}

BOOL CQZAccelKeyEdit::PreTranslateMessage(MSG* pMsg)
{
    const bool keyDown = pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN;
    const bool keyUp = pMsg->message == WM_KEYUP || pMsg->message == WM_SYSKEYUP;
    if (!keyDown && !keyUp)
        return CEdit::PreTranslateMessage(pMsg);
    // A key pressed without Alt held starts a new combination, and so does a fresh press
    // of Alt itself (not its auto-repeat): Alt+X can follow Ctrl+S.
    const bool freshAlt = pMsg->wParam == VK_MENU && !(pMsg->lParam & kKeyWasDownBit);
    if (keyDown && m_bDefined && (!(pMsg->lParam & kAltHeldBit) || freshAlt))
        Reset();
    if (!m_bDefined) {
        switch (pMsg->wParam) {
        case VK_SHIFT:
            m_bShift = keyDown;
            break;
        case VK_CONTROL:
            m_bCtrl = keyDown;
            break;
        case VK_MENU:
            m_bAlt = keyDown;
            break;
        default:
            m_wKey = static_cast<WORD>(pMsg->wParam);
            if (keyDown)
                m_bDefined = TRUE;
            break;
        }
    }
    ShowCombination();
    return TRUE;
}

void CQZAccelKeyEdit::ShowCombination()
{
    CString text;
    const struct {
        BOOL held;
        const char* name;
    } modifiers[] = {{m_bCtrl, "Ctrl"}, {m_bAlt, "Alt"}, {m_bShift, "Shift"}};
    for (const auto& modifier : modifiers) {
        if (!modifier.held)
            continue;
        if (!text.IsEmpty())
            text += '+';
        text += modifier.name;
    }
    if (!text.IsEmpty())
        text += '+';
    text += CQZAccelManager::GetKeyName(m_wKey);
    if (m_hWnd)
        SetWindowText(text);
}
