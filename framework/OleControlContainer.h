// Stands in for the framework's OLE control container: made on demand for a window that
// hosts controls, it holds their sites and answers, for all of them, as the in-place frame
// (the top-level window) and as the container object. When its window is destroyed the
// controls go first, while their windows still exist.
#pragma once

#include "CmdTarget.h"

#include <ole2.h>

#include <vector>

class COleControlSite;
class CWnd;

class COleControlContainer : public CCmdTarget {
public:
    explicit COleControlContainer(CWnd* pWnd);
    ~COleControlContainer() override;

    // Destroys every control still hosted, newest first.
    void DestroyControls();

    CWnd* m_pWnd;  // the window whose children the controls are; null once it has gone
    std::vector<COleControlSite*> m_sites;
    // The control that made itself the active object through the frame, if any.
    IOleInPlaceActiveObject* m_pActiveObject = nullptr;

    DECLARE_INTERFACE_MAP()

public:
    BEGIN_INTERFACE_PART(OleIPFrame, IOleInPlaceFrame)
        STDMETHOD(GetWindow)(HWND* phwnd) override;
        STDMETHOD(ContextSensitiveHelp)(BOOL fEnterMode) override;
        STDMETHOD(GetBorder)(LPRECT lprectBorder) override;
        STDMETHOD(RequestBorderSpace)(LPCBORDERWIDTHS pborderwidths) override;
        STDMETHOD(SetBorderSpace)(LPCBORDERWIDTHS pborderwidths) override;
        STDMETHOD(SetActiveObject)(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR pszObjName) override;
        STDMETHOD(InsertMenus)(HMENU hmenuShared, LPOLEMENUGROUPWIDTHS lpMenuWidths) override;
        STDMETHOD(SetMenu)(HMENU hmenuShared, HOLEMENU holemenu, HWND hwndActiveObject) override;
        STDMETHOD(RemoveMenus)(HMENU hmenuShared) override;
        STDMETHOD(SetStatusText)(LPCOLESTR pszStatusText) override;
        STDMETHOD(EnableModeless)(BOOL fEnable) override;
        STDMETHOD(TranslateAccelerator)(LPMSG lpmsg, WORD wID) override;
    END_INTERFACE_PART(OleIPFrame)

    BEGIN_INTERFACE_PART(OleContainer, IOleContainer)
        STDMETHOD(ParseDisplayName)(IBindCtx* pbc, LPOLESTR pszDisplayName, ULONG* pchEaten,
                                    IMoniker** ppmkOut) override;
        STDMETHOD(EnumObjects)(DWORD grfFlags, IEnumUnknown** ppenum) override;
        STDMETHOD(LockContainer)(BOOL fLock) override;
    END_INTERFACE_PART(OleContainer)
};

// Framework window hooks. hosted: the window object of a control is being destroyed
// (or its window has gone): the control is closed and released. container: a window
// that hosts controls is being destroyed: its controls go, then its container.
void AfxOleDestroyHostedControl(CWnd* hosted);
void AfxOleDestroyContainer(CWnd* container);
