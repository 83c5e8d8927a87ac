// The library's flat toolbar.
#include "lib/src/Win2/Wnd/iVeltraToolBar.h"

IMPLEMENT_DYNAMIC(iVeltraToolBar, CQZToolBar)

// Its buttons are drawn through the toolkit's current skin.
BEGIN_MESSAGE_MAP(iVeltraToolBar, CQZToolBar)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

namespace {

// The control-style part of a toolbar's combined style word.
constexpr DWORD kVeltraControlStyleMask = 0x0040FFFF;

} // namespace

iVeltraToolBar::iVeltraToolBar() = default;

iVeltraToolBar::iVeltraToolBar(CWnd* parent, const RECT& borders, DWORD style, LPCSTR, UINT id, DWORD exStyle,
                               LPVOID)
{
    const DWORD controlStyle = style & kVeltraControlStyleMask & ~static_cast<DWORD>(CCS_ADJUSTABLE);
    if (CreateEx(parent, controlStyle, style, borders, id) && exStyle)
        ModifyStyleEx(0, exStyle);
}

iVeltraToolBar::iVeltraToolBar(CWnd* parent, const RECT&, DWORD style, LPCSTR, UINT id)
{
    Create(parent, style, id);
}

iVeltraToolBar::~iVeltraToolBar() = default;
