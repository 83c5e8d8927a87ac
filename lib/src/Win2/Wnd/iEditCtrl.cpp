// The library's edit: creation, notification connectors, colours, the change rule with
// its auto-advance, and the standard edit commands.
#include "lib/src/Win2/Wnd/iEditCtrl.h"

namespace {

// Fields with the default limit (far above this) never advance by themselves.
constexpr UINT kShortFieldLimit = 1000;

} // namespace

BEGIN_MESSAGE_MAP(iEditCtrl, CEdit)
    ON_WM_GETDLGCODE()
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_CONTEXTMENU()
    ON_CONTROL_REFLECT_EX(EN_SETFOCUS, OnSetFocusReflect)
    ON_CONTROL_REFLECT_EX(EN_KILLFOCUS, OnKillFocusReflect)
    ON_CONTROL_REFLECT_EX(EN_CHANGE, OnChangeReflect)
    ON_CONTROL_REFLECT_EX(EN_UPDATE, OnUpdateReflect)
    ON_CONTROL_REFLECT_EX(EN_ERRSPACE, OnErrSpaceReflect)
    ON_CONTROL_REFLECT_EX(EN_MAXTEXT, OnMaxTextReflect)
    ON_CONTROL_REFLECT_EX(EN_HSCROLL, OnHScrollReflect)
    ON_CONTROL_REFLECT_EX(EN_VSCROLL, OnVScrollReflect)
    ON_COMMAND_RANGE(ID_EDIT_CLEAR, 0xE12C, OnEditCommand)
END_MESSAGE_MAP()

iEditCtrl::iEditCtrl() : m_textColor(::GetSysColor(COLOR_WINDOWTEXT)), m_backColor(::GetSysColor(COLOR_WINDOW))
{
    m_backBrush.CreateSolidBrush(m_backColor);
}

iEditCtrl::iEditCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id) : iEditCtrl()
{
    CreateItem(parent, rect, style, id);
}

iEditCtrl::iEditCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                     LPVOID param)
    : iEditCtrl()
{
    CreateWindowForm(parent, rect, style, text, id, exStyle, param);
}

iEditCtrl::~iEditCtrl() = default;

void iEditCtrl::CreateItem(CWnd* parent, const RECT& rect, DWORD style, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CEdit::Create(style, mapped, parent, id);
    JoinParent(*this, parent, m_access);
}

void iEditCtrl::CreateWindowForm(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                                 LPVOID param)
{
    CreateControlWindow(*this, "Edit", parent, rect, style, text, id, exStyle, param);
    JoinParent(*this, parent, m_access);
}

UINT iEditCtrl::OnGetDlgCode()
{
    return CEdit::OnGetDlgCode() | m_dlgCodeMask;
}

HBRUSH iEditCtrl::CtlColor(CDC* pDC, UINT nCtlColor)
{
    // A disabled edit leaves its colours to the parent.
    if (GetStyle() & WS_DISABLED)
        return nullptr;
    pDC->SetTextColor(m_textColor);
    pDC->SetBkColor(m_backColor);
    // Made afresh on every request, so a changed background colour shows at once.
    m_backBrush.DeleteObject();
    m_backBrush.CreateSolidBrush(m_backColor);
    return static_cast<HBRUSH>(m_backBrush.GetSafeHandle());
}

BOOL iEditCtrl::OnSetFocusReflect()
{
    m_onSetFocus.Fire(this);
    return FALSE;
}

BOOL iEditCtrl::OnKillFocusReflect()
{
    m_onKillFocus.Fire(this);
    return FALSE;
}

BOOL iEditCtrl::OnChangeReflect()
{
    m_onChange.Fire(this);
    m_access.SetModified();
    if (!m_autoAdvance)
        return FALSE;
    const UINT limit = static_cast<UINT>(SendMessage(EM_GETLIMITTEXT));
    if (limit >= kShortFieldLimit)
        return FALSE;
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    // Only typing at the end fills the field; a change in the middle of a full field does not.
    if (start != end || start != limit)
        return FALSE;
    m_onFull.Fire(this);
    CWnd* parent = GetParent();
    CWnd* next = parent ? parent->GetNextDlgTabItem(this) : nullptr;
    if (next && next != this)
        next->SetFocus();
    return FALSE;
}

BOOL iEditCtrl::OnUpdateReflect()
{
    m_onUpdate.Fire(this);
    return FALSE;
}

BOOL iEditCtrl::OnErrSpaceReflect()
{
    m_onErrSpace.Fire(this);
    return FALSE;
}

BOOL iEditCtrl::OnMaxTextReflect()
{
    m_onMaxText.Fire(this);
    return FALSE;
}

BOOL iEditCtrl::OnHScrollReflect()
{
    m_onHScroll.Fire(this);
    return FALSE;
}

BOOL iEditCtrl::OnVScrollReflect()
{
    m_onVScroll.Fire(this);
    return FALSE;
}

void iEditCtrl::OnEditCommand(UINT id)
{
    switch (id) {
    case ID_EDIT_CLEAR:
        SendMessage(WM_CLEAR);
        break;
    case ID_EDIT_COPY:
        SendMessage(WM_COPY);
        break;
    case ID_EDIT_CUT:
        SendMessage(WM_CUT);
        break;
    case ID_EDIT_PASTE:
        SendMessage(WM_PASTE);
        break;
    case ID_EDIT_SELECT_ALL:
        SendMessage(EM_SETSEL, 0, -1);
        break;
    case ID_EDIT_UNDO:
        SendMessage(WM_UNDO);
        break;
    default:
        // The other standard edit commands (find, replace, repeat, redo) mean nothing here.
        break;
    }
}
