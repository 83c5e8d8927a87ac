// The library's dialog: in-memory creation, placement in pixels, the first field's focus
// and the modal run on a window made at construction.
#include "lib/src/Win2/Wnd/iDialog.h"

#include "lib/src/iTempBufferRing.h"

iDialog::iDialog() = default;

iDialog::iDialog(LPCSTR templateName, CWnd* parent) : CDialog(templateName, parent) {}

iDialog::iDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

iDialog::iDialog(CWnd* parent, const RECT& rect, DWORD style, LPCSTR caption, int menu, BOOL modeless)
{
    CreateInMemory(parent, rect, style, caption, menu, 0, modeless);
}

iDialog::iDialog(CWnd* parent, const RECT& rect, DWORD style, LPCSTR caption, int menu, DWORD exStyle,
                 BOOL modeless)
{
    CreateInMemory(parent, rect, style, caption, menu, exStyle, modeless);
}

// Made modal in the constructor and never run, the dialog gives its owner back in the
// framework's destructor, which its own PreModal call prepared.
iDialog::~iDialog()
{
    m_windowSet.DeleteAll();
}

void iDialog::CreateInMemory(CWnd* parent, const RECT& rect, DWORD style, LPCSTR caption, int menu, DWORD exStyle,
                             BOOL modeless)
{
    // A maximised template would fill the screen before OnInitDialog could place it.
    m_template.Build(&rect, style & ~WS_MAXIMIZE, caption, exStyle, menu);
    m_created = 1;
    m_dialogUnits = 1;
    m_rect = rect;
    m_style = style;
    if (modeless)
        CreateDlgIndirect(m_template.GetTemplate(), parent, nullptr);
    else if (InitModalIndirect(m_template.GetTemplate(), parent, nullptr))
        CreateModal(parent);
}

void iDialog::CreateModal(CWnd* parent)
{
    HINSTANCE instance = AfxGetResourceHandle();
    // PreModal also disables the application's modeless windows; its creation hook is
    // taken off here and put back by CreateDlgIndirect for this dialog.
    m_owner = PreModal();
    AfxUnhookWindowCreate();
    if (m_owner && m_owner != ::GetDesktopWindow() && ::IsWindowEnabled(m_owner)) {
        ::EnableWindow(m_owner, FALSE);
        m_ownerDisabled = 1;
    }
    TRY
    {
        CreateDlgIndirect(m_template.GetTemplate(), CWnd::FromHandle(m_owner), instance);
    }
    CATCH_ALL(e)
    {
        e->Delete();
        m_nModalResult = -1;
    }
    END_CATCH_ALL
}

void iDialog::PlaceInPixels()
{
    const int width = m_rect.right - m_rect.left;
    const int height = m_rect.bottom - m_rect.top;
    if (m_rect.left != 0 || m_rect.top != 0) {
        SetWindowPos(nullptr, m_rect.left, m_rect.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    CenterWindow();
}

BOOL iDialog::OnInitDialog()
{
    // Only an in-memory form has a rectangle: a resource dialog switched to pixels keeps
    // the size its template gave it instead of shrinking to nothing.
    if (m_created && !m_dialogUnits && !(m_style & WS_MAXIMIZE))
        PlaceInPixels();

    const BOOL result = CDialog::OnInitDialog();
    if (!result)
        return FALSE;

    CWnd* first = GetNextDlgTabItem(nullptr);
    if (first) {
        first->SetFocus();
        constexpr int kClassNameChars = 256;
        char* className = TempBuffer(kClassNameChars);
        if (::GetClassNameA(first->GetSafeHwnd(), className, kClassNameChars) > 0 &&
            ::lstrcmpiA(className, "Edit") == 0) {
            first->SendMessage(EM_SETSEL, 0, -1);
            first->SendMessage(EM_SCROLLCARET);
        }
    }
    return result;
}

INT_PTR iDialog::DoModal()
{
    if (!m_created)
        return CDialog::DoModal();

    TRY
    {
        RunModalDialogLoop();
    }
    CATCH_ALL(e)
    {
        AbandonModalRun(e);
    }
    END_CATCH_ALL

    AfxEndModalWindow(this, m_owner, m_ownerDisabled);
    m_ownerDisabled = 0;
    PostModal();
    return m_nModalResult;
}

iString iDialog::GetText() const
{
    iString text;
    GetWindowText(text);
    return text;
}
