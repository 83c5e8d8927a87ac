// Stands in for the framework's OLE control site: the host side of one control that a
// window holds in place. It creates the control, activates it in place as a child of
// the container's window, keeps its rectangle in step with the hosting window object,
// offers it keyboard messages, answers its calls back to the host (client site,
// in-place site, control site, ambient properties) and, when the window goes, closes
// and releases it so that nothing of the control outlives the window.
#pragma once

#include "CmdTarget.h"
#include "Geometry.h"

#include <ole2.h>
#include <ocidl.h>

class CFile;
class COleControlContainer;
class CWnd;

// Owned by the framework: made by the control-site manager, deleted through its virtual
// destructor when the control has been destroyed and the last reference has gone.
class COleControlSite : public CCmdTarget {
public:
    explicit COleControlSite(COleControlContainer* pCtrlCont);
    ~COleControlSite() override;

    // Creates the control of clsid for pWndCtrl: the site becomes the control's client
    // site and activates it in place at *prect (parent coordinates) with id nID; when the
    // control has a window, pWndCtrl becomes that window's object. A persisted state
    // (pPersist) cannot be loaded here: such a call fails with E_NOTIMPL. On failure the
    // control is closed and released and pWndCtrl is left as it was.
    virtual HRESULT CreateControl(CWnd* pWndCtrl, REFCLSID clsid, LPCSTR lpszWindowName, DWORD dwStyle,
                                  const RECT* prect, UINT nID, CFile* pPersist = nullptr, BOOL bStorage = FALSE,
                                  BSTR bstrLicKey = nullptr);
    // Deactivates and closes the control, takes the site from it and releases it, frees
    // the hosting window object and leaves the container; the framework's reference to the
    // site goes last. Safe to call again (it does nothing then).
    virtual void DestroyControl();

    // The control's rectangle in the container's client coordinates; the control moves
    // its own window (SetObjectRects).
    void MoveWindow(int x, int y, int nWidth, int nHeight);
    // SetWindowPos for a hosted control: position and size go to the control, the rest
    // (z-order, showing) to its window when it has one.
    BOOL SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    // Offers a keyboard message to the active control; TRUE when the control used it.
    BOOL PreTranslateMessage(MSG* pMsg);

    // Calls the control's automation method or property dispid (see CWnd::InvokeHelper).
    void InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                       va_list argList);

    // The value of an ambient property the site offers its control; FALSE when it offers
    // none for dispid. Offered: user mode (TRUE), message reflection (FALSE), the
    // container window's font, and its background and text colours.
    virtual BOOL GetAmbientProp(DISPID dispid, VARIANT* pvarResult);

    COleControlContainer* m_pCtrlCont;
    CWnd* m_pWndCtrl = nullptr;  // the hosting window object while the control lives
    HWND m_hWnd = nullptr;       // the control's own window; null for a control without one
    UINT m_nID = 0;
    CRect m_rect;                // in the container's client coordinates
    DWORD m_dwStyle = 0;
    IOleObject* m_pObject = nullptr;
    IOleInPlaceObject* m_pInPlaceObject = nullptr;
    IOleInPlaceActiveObject* m_pActiveObject = nullptr;
    BOOL m_bInPlaceActive = FALSE;

    DECLARE_INTERFACE_MAP()

public:
    BEGIN_INTERFACE_PART(OleClientSite, IOleClientSite)
        STDMETHOD(SaveObject)() override;
        STDMETHOD(GetMoniker)(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) override;
        STDMETHOD(GetContainer)(IOleContainer** ppContainer) override;
        STDMETHOD(ShowObject)() override;
        STDMETHOD(OnShowWindow)(BOOL fShow) override;
        STDMETHOD(RequestNewObjectLayout)() override;
    END_INTERFACE_PART(OleClientSite)

    BEGIN_INTERFACE_PART(OleIPSite, IOleInPlaceSite)
        STDMETHOD(GetWindow)(HWND* phwnd) override;
        STDMETHOD(ContextSensitiveHelp)(BOOL fEnterMode) override;
        STDMETHOD(CanInPlaceActivate)() override;
        STDMETHOD(OnInPlaceActivate)() override;
        STDMETHOD(OnUIActivate)() override;
        STDMETHOD(GetWindowContext)(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                    LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
        STDMETHOD(Scroll)(SIZE scrollExtent) override;
        STDMETHOD(OnUIDeactivate)(BOOL fUndoable) override;
        STDMETHOD(OnInPlaceDeactivate)() override;
        STDMETHOD(DiscardUndoState)() override;
        STDMETHOD(DeactivateAndUndo)() override;
        STDMETHOD(OnPosRectChange)(LPCRECT lprcPosRect) override;
    END_INTERFACE_PART(OleIPSite)

    BEGIN_INTERFACE_PART(OleControlSite, IOleControlSite)
        STDMETHOD(OnControlInfoChanged)() override;
        STDMETHOD(LockInPlaceActive)(BOOL fLock) override;
        STDMETHOD(GetExtendedControl)(IDispatch** ppDisp) override;
        STDMETHOD(TransformCoords)(POINTL* pPtlHimetric, POINTF* pPtfContainer, DWORD dwFlags) override;
        STDMETHOD(TranslateAccelerator)(MSG* pMsg, DWORD grfModifiers) override;
        STDMETHOD(OnFocus)(BOOL fGotFocus) override;
        STDMETHOD(ShowPropertyFrame)() override;
    END_INTERFACE_PART(OleControlSite)

    BEGIN_INTERFACE_PART(AmbientProps, IDispatch)
        STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
        STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
        STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                 DISPID* rgDispId) override;
        STDMETHOD(Invoke)(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                          VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
    END_INTERFACE_PART(AmbientProps)

private:
    // Closes, unsites and releases whatever of the control is held.
    void ReleaseControl();
    // The control's object from its class: plain, or licensed with bstrLicKey.
    HRESULT CreateObject(REFCLSID clsid, BSTR bstrLicKey);
    // Takes the control's window as pWndCtrl's: id, text and visibility as asked.
    void AttachControlWindow(LPCSTR lpszWindowName);
    HWND GetContainerHwnd() const;

    BOOL m_bDestroying = FALSE;
};
