// The library's view.
#include "lib/src/Win2/Wnd/iView.h"

IMPLEMENT_DYNAMIC(iView, CView)

iView::iView() = default;

iView::~iView()
{
    m_windowSet.DeleteAll();
}
