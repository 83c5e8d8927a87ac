// The program's own control site, which hosts every OLE control of the program (the
// banner's and the history window's browsers). Besides the framework site's answers it
// gives the browser a user-interface handler (no border, no context menu, no
// accelerators of its own, nothing for window.external), a command target that keeps
// script errors and the browser's dialogs from appearing, and the download-control
// ambient property that keeps pages from running applets and ActiveX controls.
#pragma once

#include "framework/Framework.h"

#include <docobj.h>
#include <mshtmhst.h>

// What pages in a hosted browser may not do: no Java, no ActiveX controls run or
// downloaded. The history window's browser also runs no scripts.
constexpr DWORD kBrowserDownloadControl = 0x700;
constexpr DWORD kHistoryDownloadControl = kBrowserDownloadControl | 0x80;

// Owned by the framework like every site (see COleControlSite).
class CustomControlSite : public COleControlSite {
public:
    explicit CustomControlSite(COleControlContainer* pCtrlCont);
    ~CustomControlSite() override;

    // The download-control value this site's control is given; a running control is told
    // of a change at once.
    void SetDownloadControl(DWORD flags);
    DWORD GetDownloadControl() const { return m_downloadControl; }

    DECLARE_INTERFACE_MAP()

public:
    BEGIN_INTERFACE_PART(DocHostUIHandler, IDocHostUIHandler)
        STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved) override;
        STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo) override;
        STDMETHOD(ShowUI)(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                          IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) override;
        STDMETHOD(HideUI)() override;
        STDMETHOD(UpdateUI)() override;
        STDMETHOD(EnableModeless)(BOOL fEnable) override;
        STDMETHOD(OnDocWindowActivate)(BOOL fActivate) override;
        STDMETHOD(OnFrameWindowActivate)(BOOL fActivate) override;
        STDMETHOD(ResizeBorder)(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow) override;
        STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
        STDMETHOD(GetOptionKeyPath)(LPOLESTR* pchKey, DWORD dw) override;
        STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
        STDMETHOD(GetExternal)(IDispatch** ppDispatch) override;
        STDMETHOD(TranslateUrl)(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut) override;
        STDMETHOD(FilterDataObject)(IDataObject* pDO, IDataObject** ppDORet) override;
    END_INTERFACE_PART(DocHostUIHandler)

    BEGIN_INTERFACE_PART(CommandTarget, IOleCommandTarget)
        STDMETHOD(QueryStatus)(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[], OLECMDTEXT* pCmdText) override;
        STDMETHOD(Exec)(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn,
                        VARIANT* pvaOut) override;
    END_INTERFACE_PART(CommandTarget)

    BEGIN_INTERFACE_PART(Dispatch, IDispatch)
        STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
        STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
        STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                 DISPID* rgDispId) override;
        STDMETHOD(Invoke)(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                          VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
    END_INTERFACE_PART(Dispatch)

private:
    DWORD m_downloadControl = kBrowserDownloadControl;
};
