// Tab painting for a tab-control window class. In the toolkit's XP look: a light band
// behind the tabs, the selected tab raised in the face colour with light and dark edges,
// the others flat with thin separators, item images from the control's image list and a
// frame around the page, for tabs on any of the four sides. In the classic look (or with
// the XP painting switched off) the control paints itself. Either way every paint goes
// through one off-screen bitmap and the background is never erased on its own, so that
// switching tabs and resizing do not flicker.
#pragma once

#include "framework/CString.h"
#include "framework/GdiObjects.h"
#include "framework/Geometry.h"

class CDC;
class CWnd;

// The painting half of a toolkit tab control: the window class that inherits it beside
// CTabCtrl points m_pTabCtrl at itself and forwards its paint, erase, setting-change and
// colour-change messages here. Owns its pens.
class CQZTabCtrlBase {
public:
    CQZTabCtrlBase();
    virtual ~CQZTabCtrlBase();
    CQZTabCtrlBase(const CQZTabCtrlBase&) = delete;
    CQZTabCtrlBase& operator=(const CQZTabCtrlBase&) = delete;

    // The page area beside the tabs, in client coordinates; empty without a selected tab.
    virtual void GetPageRect(CRect& rect) const;
    // One variant per side the tabs sit on: the band, the raised selected tab, the items.
    virtual void DrawTopTabs(CDC* pDC, CRect rectClient, CRect rectSelected);
    virtual void DrawBottomTabs(CDC* pDC, CRect rectClient, CRect rectSelected);
    virtual void DrawLeftTabs(CDC* pDC, CRect rectClient, CRect rectSelected);
    virtual void DrawRightTabs(CDC* pDC, CRect rectClient, CRect rectSelected);
    // Adds spaces, first in front and then alternately at the end, until the text is as
    // wide in the regular font as in the bold one: the control then sizes the tab for the
    // bold text the selected tab may show. An empty text stays empty.
    virtual void PadTabText(CString& strText);

    void SetTabCtrl(CWnd* pTabCtrl) { m_pTabCtrl = pTabCtrl; }
    void OnPaint();
    // WM_PRINTCLIENT: the same picture into the DC given.
    void OnPrintClient(CDC* pDC);
    // TRUE: painting covers everything, erasing first would only flicker.
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    // The pens in the new system colours.
    void OnSysColorChange();

    CPen m_penWindowFrame;  // dark edges and base lines
    CPen m_penWindow;       // light edges and base lines
    CPen m_penFace;         // joins the selected tab to the page
    CPen m_penShadowDark;   // separators between tabs
    // Inset of item images.
    int m_cxEdge;
    // The tab-control window painted; not owned.
    CWnd* m_pTabCtrl = nullptr;
    // Public settings for the owner.
    BYTE m_bBoldSelected = 1;  // the selected tab's text in bold
    BYTE m_bPageFrame = 1;     // in the XP look, a one-pixel frame around the page
    BYTE m_bNoXPLook = 0;      // the control paints itself also in the XP look

private:
    void CreatePens();
    void PaintInto(CDC* pDC);
    // The items' images and texts and the separators between them; bVertical for tabs on
    // the left or right, whose texts read upwards.
    void DrawItems(CDC* pDC, BOOL bVertical);
};
