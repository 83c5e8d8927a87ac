// The XP skin's drawing proxies and the two skins. Each proxy holds its skin as the
// site it asks whether a bar drag is in progress. All colours come from the XP palette
// of the toolkit's global record.
#pragma once

#include "toolkit/foundation/QZSkin.h"

#include <commctrl.h>

class CQZFlatComboProxyXP : public IQZFlatComboProxy {
public:
    void DrawFlatCombo(CWnd* pCombo, CDC* pDC, BOOL bHot) override;

    IQZProxySite* m_pSite = nullptr;
};

class CQZTbProxyXP : public IQZToolbarProxy {
public:
    void FillButtonBackground(CDC* pDC, CQZToolBar* pBar, int nIndex) override;
    BOOL DrawButton(CDC* pDC, CQZToolBar* pBar, int nIndex) override;
    void DrawSeparator(CDC* pDC, CQZToolBar* pBar, int nIndex) override;
    void DrawDropDownShadow(CDC* pDC, CQZToolBar* pBar, int nIndex) override;
    void InvalidateDropDown(CQZToolBar* pBar, int nIndex) override;

    // A button's text in its box, as a silhouette in the shadow colour when disabled.
    void DrawButtonText(CDC* pDC, CQZToolBar* pBar, int x, int y, int cx, int cy, LPCSTR lpszText, UINT nFormat,
                        BOOL bDisabled);

    IQZProxySite* m_pSite = nullptr;
};

// The classic skin: no proxies, so callers draw their own classic way.
class CQZSkinDefault : public IQZSkin {
public:
    IQZFlatComboProxy* GetFlatComboProxy() override { return nullptr; }
    IQZToolbarProxy* GetToolbarProxy() override { return nullptr; }
    void SetDragMode(BOOL) override {}
};

class CQZSkinXP : public IQZSkin, public IQZProxySite {
public:
    CQZSkinXP();

    IQZFlatComboProxy* GetFlatComboProxy() override { return &m_flatComboProxy; }
    IQZToolbarProxy* GetToolbarProxy() override { return &m_toolbarProxy; }
    void SetDragMode(BOOL bDragMode) override { m_bDragMode = bDragMode != FALSE; }
    bool IsDragMode() override { return m_bDragMode; }

    CQZFlatComboProxyXP m_flatComboProxy;
    CQZTbProxyXP m_toolbarProxy;
    bool m_bDragMode = false;
};

// Where the toolbar proxy takes a button's image from an image list: the system's
// ImageList_GetIcon unless replaced (tests count the icons it hands out). Null restores it.
using QZToolbarIconSource = HICON (*)(HIMAGELIST hImageList, int nImage, UINT nFlags);
QZToolbarIconSource QZSetToolbarIconSource(QZToolbarIconSource source);
