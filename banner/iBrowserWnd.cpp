// Browser windows that belong to their container's window set.
#include "banner/iBrowserWnd.h"

iBrowserWnd::iBrowserWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR windowText, UINT id)
{
    Create(nullptr, windowText, style, rect, parent, id);
    JoinWindowSet(parent);
}

iBrowserWnd::iBrowserWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR, UINT id, DWORD exStyle, LPVOID param)
{
    CreateEx(exStyle, nullptr, nullptr, style | WS_CHILD, rect, parent, id, param);
    JoinWindowSet(parent);
}

iBrowserWnd::~iBrowserWnd()
{
    if (m_windowlessSet)
        static_cast<void>(m_windowlessSet->Remove(this));
}

void iBrowserWnd::JoinWindowSet(CWnd* parent)
{
    if (m_access.Attach(this) || !m_pCtrlSite)
        return;
    // A control may run without a window of its own (Wine's browser on its null display
    // driver does): the set cannot be found from the window, so it is joined through the
    // parent given.
    if (auto* container = dynamic_cast<iWindowSetContainer*>(parent)) {
        m_windowlessSet = &container->GetWindowSet();
        static_cast<void>(m_windowlessSet->Add(this));
    }
}
