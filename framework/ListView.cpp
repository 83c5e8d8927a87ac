// The list view: a view created over the system's list-view class.
#include "ListView.h"

IMPLEMENT_DYNCREATE(CListView, CView)

BEGIN_MESSAGE_MAP(CListView, CView)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CListView::CListView() = default;

CListCtrl& CListView::GetListCtrl() const
{
    // The list-control class adds no data to a window object, so its members work on the
    // view's window through this object.
    return *reinterpret_cast<CListCtrl*>(const_cast<CListView*>(this));
}

BOOL CListView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.lpszClass = WC_LISTVIEWA;
    return CView::PreCreateWindow(cs);
}

void CListView::OnDraw(CDC*) {}

void CListView::OnPaint()
{
    // The control paints itself, not through OnDraw.
    Default();
}
