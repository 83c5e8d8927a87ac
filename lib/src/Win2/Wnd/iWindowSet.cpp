// Window sets, the access object that joins a control to its container's set, and the
// steps every creating constructor of a control shares (rectangle, window form and font).
#include "lib/src/Win2/Wnd/iWindowSet.h"

iWindowSet::~iWindowSet() = default;

bool iWindowSet::Add(CWnd* control)
{
    return control && insert(control).second;
}

bool iWindowSet::Remove(CWnd* control)
{
    return erase(control) != 0;
}

void iWindowSet::DeleteAll()
{
    while (!empty()) {
        CWnd* first = *begin();
        // The member's access object takes it out of the set while it is destroyed, and
        // its destructor may delete further members: the first member is taken afresh.
        delete first;
        // A member that joined without an access object stays behind; it must not be
        // deleted twice.
        erase(first);
    }
}

iWindowSetContainer::~iWindowSetContainer() = default;

bool iWindowSetContainer::UsesDialogUnits() const
{
    return false;
}

bool iWindowSetContainer::IsPropertyPage() const
{
    return false;
}

void iWindowSetContainer::MarkPageModified() {}

iWindowSetAccess::iWindowSetAccess() = default;

iWindowSetAccess::~iWindowSetAccess()
{
    if (m_set)
        static_cast<void>(m_set->Remove(m_control));
}

int iWindowSetAccess::Attach(CWnd* control)
{
    CWnd* parent = control ? CWnd::FromHandle(::GetParent(control->GetSafeHwnd())) : nullptr;
    if (!parent)
        return 0;
    // A second attach moves the control, so that it is never in two sets.
    if (m_set)
        static_cast<void>(m_set->Remove(m_control));
    m_control = control;
    m_set = nullptr;
    m_page = nullptr;
    // A temporary wrapper of a foreign window is a plain CWnd and no container.
    auto* container = dynamic_cast<iWindowSetContainer*>(parent);
    if (container) {
        m_set = &container->GetWindowSet();
        // Already a member (the set was filled by hand): nothing to add.
        static_cast<void>(m_set->Add(control));
        if (container->IsPropertyPage())
            m_page = container;
    }
    return 1;
}

void iWindowSetAccess::SetModified()
{
    if (m_page)
        m_page->MarkPageModified();
}

void MapDialogRectFor(CWnd* container, LPRECT rect)
{
    if (!container || !rect)
        return;
    if (auto* library = dynamic_cast<iWindowSetContainer*>(container)) {
        if (library->UsesDialogUnits())
            ::MapDialogRect(container->m_hWnd, rect);
        return;
    }
    // Any other framework dialog (a property page of the framework's included) always does.
    if (container->IsKindOf(RUNTIME_CLASS(CDialog)))
        ::MapDialogRect(container->m_hWnd, rect);
}

void CopyParentFont(CWnd* control, CWnd* parent)
{
    if (!control || !parent)
        return;
    auto parentFont = reinterpret_cast<HFONT>(parent->SendMessage(WM_GETFONT));
    CFont* font = parentFont ? CFont::FromHandle(parentFont) : nullptr;
    control->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), TRUE);
}

void JoinParent(CWnd& control, CWnd* parent, iWindowSetAccess& access)
{
    CopyParentFont(&control, parent);
    static_cast<void>(access.Attach(&control));
}

void CreateControlWindow(CWnd& control, LPCSTR className, CWnd* parent, const RECT& rect, DWORD style, LPCSTR text,
                         UINT id, DWORD exStyle, LPVOID param)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    control.CreateEx(exStyle, className, text, style | WS_CHILD, mapped.left, mapped.top, mapped.Width(),
                     mapped.Height(), parent ? parent->GetSafeHwnd() : nullptr,
                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}
