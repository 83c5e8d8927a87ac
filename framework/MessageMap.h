// Stands in for the framework's message maps: per-class tables of (message, code, id
// range) -> handler, chained to the base class's table. A handler is stored as a member
// pointer of one fixed type together with its signature code; each entry macro checks
// the handler's exact framework signature at compile time, and dispatch casts back to
// that same type before calling.
#pragma once

#include "FrameworkConstants.h"

#include <windows.h>

class CCmdTarget;
class CCmdUI;
class CWnd;
class CDC;
class CMenu;
class CPoint;
class CScrollBar;

typedef void (CCmdTarget::*AFX_PMSG)();

enum AfxSig : UINT {
    AfxSig_end = 0,

    // Commands and notifications (OnCmdMsg).
    AfxSigCmd_v,        // void ()
    AfxSigCmd_b,        // BOOL (): reflected control notification, FALSE lets the parent see it
    AfxSigCmd_RANGE,    // void (UINT id)
    AfxSigCmd_EX,       // BOOL (UINT id): FALSE routes on
    AfxSigCmdUI,        // void (CCmdUI*)
    AfxSigNotify_v,     // void (NMHDR*, LRESULT*)
    AfxSigNotify_b,     // BOOL (NMHDR*, LRESULT*): reflected, FALSE lets the parent see it
    AfxSigNotify_RANGE, // void (UINT id, NMHDR*, LRESULT*)
    AfxSigNotify_EX,    // BOOL (UINT id, NMHDR*, LRESULT*)

    // Window messages (CWnd::OnWndMsg).
    AfxSig_lwl,      // LRESULT (WPARAM, LPARAM)
    AfxSig_is,       // int (LPCREATESTRUCT)
    AfxSig_bs,       // BOOL (LPCREATESTRUCT)
    AfxSig_vv,       // void ()
    AfxSig_bD,       // BOOL (CDC*)
    AfxSig_vbNCCALC, // void (BOOL, NCCALCSIZE_PARAMS*)
    AfxSig_lp,       // LRESULT (CPoint)
    AfxSig_bb,       // BOOL (BOOL)
    AfxSig_vwp,      // void (UINT, CPoint)
    AfxSig_bWww,     // BOOL (CWnd*, UINT, UINT)
    AfxSig_vwii,     // void (UINT, int, int)
    AfxSig_vii,      // void (int, int)
    AfxSig_vPOS,     // void (WINDOWPOS*)
    AfxSig_vMINMAX,  // void (MINMAXINFO*)
    AfxSig_vws,      // void (UINT, LPCSTR)
    AfxSig_vMwb,     // void (CMenu*, UINT, BOOL)
    AfxSig_vM,       // void (CMenu*)
    AfxSig_vwwh,     // void (UINT, UINT, HMENU)
    AfxSig_vwwS,     // void (UINT, UINT, CScrollBar*)
    AfxSig_vWp,      // void (CWnd*, CPoint)
    AfxSig_wv,       // UINT ()
    AfxSig_vW,       // void (CWnd*)
    AfxSig_vwWb,     // void (UINT, CWnd*, BOOL)
    AfxSig_vbd,      // void (BOOL, DWORD)
    AfxSig_vt,       // void (UINT_PTR)
    AfxSig_vwww,     // void (UINT, UINT, UINT)
    AfxSig_hDWw,     // HBRUSH (CDC*, CWnd*, UINT)
    AfxSig_vbw,      // void (BOOL, UINT)
    AfxSig_vwl,      // void (UINT, LPARAM)
    AfxSig_vOWNER,   // void (int, LPDRAWITEMSTRUCT)
    AfxSig_vMEASURE, // void (int, LPMEASUREITEMSTRUCT)
    AfxSig_lwwM,     // LRESULT (UINT, UINT, CMenu*)
    AfxSig_vb,       // void (BOOL)

    // Reflected owner-draw and colour messages, handled by the child itself.
    AfxSig_vDRAW,    // void (LPDRAWITEMSTRUCT)
    AfxSig_vMEASURE1, // void (LPMEASUREITEMSTRUCT)
    AfxSig_vDELETE,  // void (LPDELETEITEMSTRUCT)
    AfxSig_iCOMPARE, // int (LPCOMPAREITEMSTRUCT)
    AfxSig_hDw,      // HBRUSH (CDC*, UINT): null lets the parent's colouring apply
    AfxSig_iww,      // int (UINT, UINT)
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;     // control or notification code; compared on its low 16 bits
    UINT nID;       // first control or command id
    UINT nLastID;   // last id, for ranges
    UINT nSig;      // an AfxSig value
    AFX_PMSG pfn;
    const UINT* pRegisteredMessage;  // ON_REGISTERED_MESSAGE: the variable holding the message number
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The extra data of a WM_NOTIFY routed through OnCmdMsg.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Filled by OnCmdMsg instead of calling, to ask whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// The registered-message entries' message field; the number itself is in the variable.
#define AFX_REGISTERED_MESSAGE 0xC000

#define afx_msg

#define DECLARE_MESSAGE_MAP()                        \
protected:                                           \
    static const AFX_MSGMAP* GetThisMessageMap();    \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define SORVANTA_MESSAGE_MAP_BODY(baseClass)  \
    typedef baseClass TheBaseClass;           \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                   \
    {                                                                                 \
        typedef theClass ThisClass;                                                   \
        SORVANTA_MESSAGE_MAP_BODY(baseClass)

#define BEGIN_TEMPLATE_MESSAGE_MAP(theClass, typeName, baseClass)            \
    template <typename typeName>                                             \
    const AFX_MSGMAP* theClass<typeName>::GetMessageMap() const              \
    {                                                                        \
        return GetThisMessageMap();                                          \
    }                                                                        \
    template <typename typeName>                                             \
    const AFX_MSGMAP* theClass<typeName>::GetThisMessageMap()                \
    {                                                                        \
        typedef theClass<typeName> ThisClass;                                \
        SORVANTA_MESSAGE_MAP_BODY(baseClass)

#define END_MESSAGE_MAP()                                                                   \
    {0, 0, 0, 0, AfxSig_end, nullptr, nullptr}                                              \
    }                                                                                       \
    ;                                                                                       \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                     \
    }

// Converts between member-pointer types. Handlers go into the common slot type and
// come back to exactly the type they were checked against, a round trip the language
// defines; the compiler's cast warning does not apply to it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
template <class To, class From>
inline To AfxMemberCast(From member)
{
    return reinterpret_cast<To>(member);
}
#pragma GCC diagnostic pop

// Checks the handler against its exact signature, then stores it in the common slot type.
#define AFX_MSG_CAST(fn, ...) AfxMemberCast<AFX_PMSG>(static_cast<__VA_ARGS__>(fn))

// Commands.
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AfxSigCmd_v, AFX_MSG_CAST(&ThisClass::memberFxn, void (CCmdTarget::*)())},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                            \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), AfxSigCmd_RANGE, \
     AFX_MSG_CAST(&ThisClass::memberFxn, void (CCmdTarget::*)(UINT))},
#define ON_COMMAND_EX(id, memberFxn)                                   \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AfxSigCmd_EX, \
     AFX_MSG_CAST(&ThisClass::memberFxn, BOOL (CCmdTarget::*)(UINT))},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                         \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), AfxSigCmd_EX, \
     AFX_MSG_CAST(&ThisClass::memberFxn, BOOL (CCmdTarget::*)(UINT))},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                     \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), AfxSigCmdUI, \
     AFX_MSG_CAST(&ThisClass::memberFxn, void (CCmdTarget::*)(CCmdUI*))},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                           \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), AfxSigCmdUI, \
     AFX_MSG_CAST(&ThisClass::memberFxn, void (CCmdTarget::*)(CCmdUI*))},

// Control notifications arriving at the parent as WM_COMMAND.
#define ON_CONTROL(code, id, memberFxn) \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), AfxSigCmd_v, AFX_MSG_CAST(&ThisClass::memberFxn, void (CCmdTarget::*)())},
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                            \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(idLast), AfxSigCmd_RANGE, \
     AFX_MSG_CAST(&ThisClass::memberFxn, void (CCmdTarget::*)(UINT))},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)

// WM_NOTIFY at the parent.
#define ON_NOTIFY(code, id, memberFxn)                                          \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), AfxSigNotify_v, \
     AFX_MSG_CAST(&ThisClass::memberFxn, void (CCmdTarget::*)(NMHDR*, LRESULT*))},
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                                  \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(idLast), AfxSigNotify_RANGE, \
     AFX_MSG_CAST(&ThisClass::memberFxn, void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*))},
#define ON_NOTIFY_EX(code, id, memberFxn)                                        \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), AfxSigNotify_EX, \
     AFX_MSG_CAST(&ThisClass::memberFxn, BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*))},
#define ON_NOTIFY_EX_RANGE(code, id, idLast, memberFxn)                              \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(idLast), AfxSigNotify_EX, \
     AFX_MSG_CAST(&ThisClass::memberFxn, BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*))},

// Reflected notifications, handled by the control that sent them.
#define ON_CONTROL_REFLECT(code, memberFxn)                              \
    {WM_COMMAND + WM_REFLECT_BASE, (UINT)(code), 0, 0, AfxSigCmd_v, \
     AFX_MSG_CAST(&ThisClass::memberFxn, void (CCmdTarget::*)())},
#define ON_CONTROL_REFLECT_EX(code, memberFxn)                           \
    {WM_COMMAND + WM_REFLECT_BASE, (UINT)(code), 0, 0, AfxSigCmd_b, \
     AFX_MSG_CAST(&ThisClass::memberFxn, BOOL (CCmdTarget::*)())},
#define ON_NOTIFY_REFLECT(code, memberFxn)                                  \
    {WM_NOTIFY + WM_REFLECT_BASE, (UINT)(code), 0, 0, AfxSigNotify_v, \
     AFX_MSG_CAST(&ThisClass::memberFxn, void (CCmdTarget::*)(NMHDR*, LRESULT*))},
#define ON_NOTIFY_REFLECT_EX(code, memberFxn)                               \
    {WM_NOTIFY + WM_REFLECT_BASE, (UINT)(code), 0, 0, AfxSigNotify_b, \
     AFX_MSG_CAST(&ThisClass::memberFxn, BOOL (CCmdTarget::*)(NMHDR*, LRESULT*))},
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFxn)                                   \
    {WM_COMMAND + WM_REFLECT_BASE, CN_UPDATE_COMMAND_UI, 0, 0, AfxSigCmdUI, \
     AFX_MSG_CAST(&ThisClass::memberFxn, void (CCmdTarget::*)(CCmdUI*))},
#define ON_WM_CTLCOLOR_REFLECT() \
    {WM_CTLCOLOR + WM_REFLECT_BASE, 0, 0, 0, AfxSig_hDw, AFX_MSG_CAST(&ThisClass::CtlColor, HBRUSH (CWnd::*)(CDC*, UINT))},
#define ON_WM_DRAWITEM_REFLECT() \
    {WM_DRAWITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vDRAW, AFX_MSG_CAST(&ThisClass::DrawItem, void (CWnd::*)(LPDRAWITEMSTRUCT))},
#define ON_WM_MEASUREITEM_REFLECT()                                    \
    {WM_MEASUREITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vMEASURE1, \
     AFX_MSG_CAST(&ThisClass::MeasureItem, void (CWnd::*)(LPMEASUREITEMSTRUCT))},
#define ON_WM_DELETEITEM_REFLECT()                                   \
    {WM_DELETEITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vDELETE, \
     AFX_MSG_CAST(&ThisClass::DeleteItem, void (CWnd::*)(LPDELETEITEMSTRUCT))},
#define ON_WM_COMPAREITEM_REFLECT()                                    \
    {WM_COMPAREITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_iCOMPARE, \
     AFX_MSG_CAST(&ThisClass::CompareItem, int (CWnd::*)(LPCOMPAREITEMSTRUCT))},
#define ON_WM_VKEYTOITEM_REFLECT() \
    {WM_VKEYTOITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_iww, AFX_MSG_CAST(&ThisClass::VKeyToItem, int (CWnd::*)(UINT, UINT))},
#define ON_WM_CHARTOITEM_REFLECT() \
    {WM_CHARTOITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_iww, AFX_MSG_CAST(&ThisClass::CharToItem, int (CWnd::*)(UINT, UINT))},

// User and registered messages.
#define ON_MESSAGE(message, memberFxn) \
    {(UINT)(message), 0, 0, 0, AfxSig_lwl, AFX_MSG_CAST(&ThisClass::memberFxn, LRESULT (CWnd::*)(WPARAM, LPARAM))},
#define ON_REGISTERED_MESSAGE(messageVariable, memberFxn)                                   \
    {AFX_REGISTERED_MESSAGE, 0, 0, 0, AfxSig_lwl,                                           \
     AFX_MSG_CAST(&ThisClass::memberFxn, LRESULT (CWnd::*)(WPARAM, LPARAM)), &messageVariable},

// Standard window messages with the framework's handler names and signatures.
#define SORVANTA_ON_WM(message, sig, memberFxn, ...) \
    {message, 0, 0, 0, sig, AFX_MSG_CAST(&ThisClass::memberFxn, __VA_ARGS__)},

#define ON_WM_CREATE() SORVANTA_ON_WM(WM_CREATE, AfxSig_is, OnCreate, int (CWnd::*)(LPCREATESTRUCT))
#define ON_WM_NCCREATE() SORVANTA_ON_WM(WM_NCCREATE, AfxSig_bs, OnNcCreate, BOOL (CWnd::*)(LPCREATESTRUCT))
#define ON_WM_DESTROY() SORVANTA_ON_WM(WM_DESTROY, AfxSig_vv, OnDestroy, void (CWnd::*)())
#define ON_WM_NCDESTROY() SORVANTA_ON_WM(WM_NCDESTROY, AfxSig_vv, OnNcDestroy, void (CWnd::*)())
#define ON_WM_CLOSE() SORVANTA_ON_WM(WM_CLOSE, AfxSig_vv, OnClose, void (CWnd::*)())
#define ON_WM_PAINT() SORVANTA_ON_WM(WM_PAINT, AfxSig_vv, OnPaint, void (CWnd::*)())
#define ON_WM_NCPAINT() SORVANTA_ON_WM(WM_NCPAINT, AfxSig_vv, OnNcPaint, void (CWnd::*)())
#define ON_WM_ERASEBKGND() SORVANTA_ON_WM(WM_ERASEBKGND, AfxSig_bD, OnEraseBkgnd, BOOL (CWnd::*)(CDC*))
#define ON_WM_NCCALCSIZE() \
    SORVANTA_ON_WM(WM_NCCALCSIZE, AfxSig_vbNCCALC, OnNcCalcSize, void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*))
#define ON_WM_NCHITTEST() SORVANTA_ON_WM(WM_NCHITTEST, AfxSig_lp, OnNcHitTest, LRESULT (CWnd::*)(CPoint))
#define ON_WM_NCACTIVATE() SORVANTA_ON_WM(WM_NCACTIVATE, AfxSig_bb, OnNcActivate, BOOL (CWnd::*)(BOOL))
#define ON_WM_NCMOUSEMOVE() SORVANTA_ON_WM(WM_NCMOUSEMOVE, AfxSig_vwp, OnNcMouseMove, void (CWnd::*)(UINT, CPoint))
#define ON_WM_NCLBUTTONDOWN() \
    SORVANTA_ON_WM(WM_NCLBUTTONDOWN, AfxSig_vwp, OnNcLButtonDown, void (CWnd::*)(UINT, CPoint))
#define ON_WM_NCLBUTTONUP() SORVANTA_ON_WM(WM_NCLBUTTONUP, AfxSig_vwp, OnNcLButtonUp, void (CWnd::*)(UINT, CPoint))
#define ON_WM_NCLBUTTONDBLCLK() \
    SORVANTA_ON_WM(WM_NCLBUTTONDBLCLK, AfxSig_vwp, OnNcLButtonDblClk, void (CWnd::*)(UINT, CPoint))
#define ON_WM_LBUTTONDOWN() SORVANTA_ON_WM(WM_LBUTTONDOWN, AfxSig_vwp, OnLButtonDown, void (CWnd::*)(UINT, CPoint))
#define ON_WM_LBUTTONUP() SORVANTA_ON_WM(WM_LBUTTONUP, AfxSig_vwp, OnLButtonUp, void (CWnd::*)(UINT, CPoint))
#define ON_WM_LBUTTONDBLCLK() \
    SORVANTA_ON_WM(WM_LBUTTONDBLCLK, AfxSig_vwp, OnLButtonDblClk, void (CWnd::*)(UINT, CPoint))
#define ON_WM_RBUTTONDOWN() SORVANTA_ON_WM(WM_RBUTTONDOWN, AfxSig_vwp, OnRButtonDown, void (CWnd::*)(UINT, CPoint))
#define ON_WM_RBUTTONUP() SORVANTA_ON_WM(WM_RBUTTONUP, AfxSig_vwp, OnRButtonUp, void (CWnd::*)(UINT, CPoint))
#define ON_WM_MBUTTONDOWN() SORVANTA_ON_WM(WM_MBUTTONDOWN, AfxSig_vwp, OnMButtonDown, void (CWnd::*)(UINT, CPoint))
#define ON_WM_MBUTTONDBLCLK() \
    SORVANTA_ON_WM(WM_MBUTTONDBLCLK, AfxSig_vwp, OnMButtonDblClk, void (CWnd::*)(UINT, CPoint))
#define ON_WM_MOUSEMOVE() SORVANTA_ON_WM(WM_MOUSEMOVE, AfxSig_vwp, OnMouseMove, void (CWnd::*)(UINT, CPoint))
#define ON_WM_SETCURSOR() SORVANTA_ON_WM(WM_SETCURSOR, AfxSig_bWww, OnSetCursor, BOOL (CWnd::*)(CWnd*, UINT, UINT))
#define ON_WM_SIZE() SORVANTA_ON_WM(WM_SIZE, AfxSig_vwii, OnSize, void (CWnd::*)(UINT, int, int))
#define ON_WM_MOVE() SORVANTA_ON_WM(WM_MOVE, AfxSig_vii, OnMove, void (CWnd::*)(int, int))
#define ON_WM_WINDOWPOSCHANGING() \
    SORVANTA_ON_WM(WM_WINDOWPOSCHANGING, AfxSig_vPOS, OnWindowPosChanging, void (CWnd::*)(WINDOWPOS*))
#define ON_WM_WINDOWPOSCHANGED() \
    SORVANTA_ON_WM(WM_WINDOWPOSCHANGED, AfxSig_vPOS, OnWindowPosChanged, void (CWnd::*)(WINDOWPOS*))
#define ON_WM_GETMINMAXINFO() \
    SORVANTA_ON_WM(WM_GETMINMAXINFO, AfxSig_vMINMAX, OnGetMinMaxInfo, void (CWnd::*)(MINMAXINFO*))
#define ON_WM_SETTINGCHANGE() \
    SORVANTA_ON_WM(WM_SETTINGCHANGE, AfxSig_vws, OnSettingChange, void (CWnd::*)(UINT, LPCSTR))
#define ON_WM_SYSCOLORCHANGE() SORVANTA_ON_WM(WM_SYSCOLORCHANGE, AfxSig_vv, OnSysColorChange, void (CWnd::*)())
#define ON_WM_INITMENUPOPUP() \
    SORVANTA_ON_WM(WM_INITMENUPOPUP, AfxSig_vMwb, OnInitMenuPopup, void (CWnd::*)(CMenu*, UINT, BOOL))
#define ON_WM_INITMENU() SORVANTA_ON_WM(WM_INITMENU, AfxSig_vM, OnInitMenu, void (CWnd::*)(CMenu*))
#define ON_WM_MENUSELECT() SORVANTA_ON_WM(WM_MENUSELECT, AfxSig_vwwh, OnMenuSelect, void (CWnd::*)(UINT, UINT, HMENU))
#define ON_WM_MENUCHAR() SORVANTA_ON_WM(WM_MENUCHAR, AfxSig_lwwM, OnMenuChar, LRESULT (CWnd::*)(UINT, UINT, CMenu*))
#define ON_WM_ENTERMENULOOP() SORVANTA_ON_WM(WM_ENTERMENULOOP, AfxSig_vb, OnEnterMenuLoop, void (CWnd::*)(BOOL))
#define ON_WM_EXITMENULOOP() SORVANTA_ON_WM(WM_EXITMENULOOP, AfxSig_vb, OnExitMenuLoop, void (CWnd::*)(BOOL))
#define ON_WM_HSCROLL() SORVANTA_ON_WM(WM_HSCROLL, AfxSig_vwwS, OnHScroll, void (CWnd::*)(UINT, UINT, CScrollBar*))
#define ON_WM_VSCROLL() SORVANTA_ON_WM(WM_VSCROLL, AfxSig_vwwS, OnVScroll, void (CWnd::*)(UINT, UINT, CScrollBar*))
#define ON_WM_CONTEXTMENU() SORVANTA_ON_WM(WM_CONTEXTMENU, AfxSig_vWp, OnContextMenu, void (CWnd::*)(CWnd*, CPoint))
#define ON_WM_GETDLGCODE() SORVANTA_ON_WM(WM_GETDLGCODE, AfxSig_wv, OnGetDlgCode, UINT (CWnd::*)())
#define ON_WM_SETFOCUS() SORVANTA_ON_WM(WM_SETFOCUS, AfxSig_vW, OnSetFocus, void (CWnd::*)(CWnd*))
#define ON_WM_KILLFOCUS() SORVANTA_ON_WM(WM_KILLFOCUS, AfxSig_vW, OnKillFocus, void (CWnd::*)(CWnd*))
#define ON_WM_ACTIVATE() SORVANTA_ON_WM(WM_ACTIVATE, AfxSig_vwWb, OnActivate, void (CWnd::*)(UINT, CWnd*, BOOL))
#define ON_WM_ACTIVATEAPP() SORVANTA_ON_WM(WM_ACTIVATEAPP, AfxSig_vbd, OnActivateApp, void (CWnd::*)(BOOL, DWORD))
#define ON_WM_CANCELMODE() SORVANTA_ON_WM(WM_CANCELMODE, AfxSig_vv, OnCancelMode, void (CWnd::*)())
#define ON_WM_TIMER() SORVANTA_ON_WM(WM_TIMER, AfxSig_vt, OnTimer, void (CWnd::*)(UINT_PTR))
#define ON_WM_KEYDOWN() SORVANTA_ON_WM(WM_KEYDOWN, AfxSig_vwww, OnKeyDown, void (CWnd::*)(UINT, UINT, UINT))
#define ON_WM_KEYUP() SORVANTA_ON_WM(WM_KEYUP, AfxSig_vwww, OnKeyUp, void (CWnd::*)(UINT, UINT, UINT))
#define ON_WM_SYSKEYDOWN() SORVANTA_ON_WM(WM_SYSKEYDOWN, AfxSig_vwww, OnSysKeyDown, void (CWnd::*)(UINT, UINT, UINT))
#define ON_WM_SYSKEYUP() SORVANTA_ON_WM(WM_SYSKEYUP, AfxSig_vwww, OnSysKeyUp, void (CWnd::*)(UINT, UINT, UINT))
#define ON_WM_CHAR() SORVANTA_ON_WM(WM_CHAR, AfxSig_vwww, OnChar, void (CWnd::*)(UINT, UINT, UINT))
#define ON_WM_CTLCOLOR() SORVANTA_ON_WM(WM_CTLCOLOR, AfxSig_hDWw, OnCtlColor, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT))
#define ON_WM_SHOWWINDOW() SORVANTA_ON_WM(WM_SHOWWINDOW, AfxSig_vbw, OnShowWindow, void (CWnd::*)(BOOL, UINT))
#define ON_WM_SYSCOMMAND() SORVANTA_ON_WM(WM_SYSCOMMAND, AfxSig_vwl, OnSysCommand, void (CWnd::*)(UINT, LPARAM))
#define ON_WM_DRAWITEM() SORVANTA_ON_WM(WM_DRAWITEM, AfxSig_vOWNER, OnDrawItem, void (CWnd::*)(int, LPDRAWITEMSTRUCT))
#define ON_WM_MEASUREITEM() \
    SORVANTA_ON_WM(WM_MEASUREITEM, AfxSig_vMEASURE, OnMeasureItem, void (CWnd::*)(int, LPMEASUREITEMSTRUCT))
