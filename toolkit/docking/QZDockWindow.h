// The toolkit's resizable docking window: a bar holding one child window (any window, or
// a view made from its class) that docks on any side of a toolkit frame or floats, and is
// sized by the dock bar's splitters or the floating frame's borders. Docked it draws a
// caption (a band with its text and grip bars, or a title bar) with a hide button and an
// expand button that gives it its row's whole length; the caption shows whether the focus
// is inside. Its sizes are kept as one binary value, "Bar Position", in its bar section.
#pragma once

#include "framework/ControlsCommon.h"
#include "toolkit/bars/QZControlBar.h"
#include "toolkit/controls/QZButton.h"

#include <cstdint>

class CDocument;
class CQZDockWindow;
struct CCreateContext;
struct CRuntimeClass;

// Toolkit style bits (GetBarStyleEx) of a docking window.
#define QZ_DWS_CAPTION 0x0001L        // a caption; without it the caption is 5 pixels and empty
#define QZ_DWS_CAPTIONTEXT 0x0002L    // the caption shows the window text
#define QZ_DWS_DOUBLEGRIP 0x0004L     // two grip bars in the classic caption
#define QZ_DWS_TITLEBAR 0x0008L       // the classic caption is a title bar in the caption colours
#define QZ_DWS_GRADIENT 0x0010L       // the title bar is a gradient where the system draws them
#define QZ_DWS_BUTTONS 0x0020L        // hide and expand buttons (with QZ_DWS_CAPTION)
#define QZ_DWS_FLATBUTTONS 0x0040L    // flat caption buttons
#define QZ_DWS_THINBUTTONS 0x0100L    // caption buttons with a thin 3-D border (classic look)
#define QZ_DWS_ETCHED 0x0200L         // an etched edge round the child
#define QZ_DWS_SUNKEN 0x0400L         // a thin sunken edge round the child
#define QZ_DWS_RAISED 0x0800L         // a raised edge round the child
#define QZ_DWS_NEWLYSHOWN 0x1000L     // the dock bar places the window last in its row, then clears it

// The "Bar Position" value: eleven little-endian 32-bit fields, 44 bytes whatever the build.
//   offset 0  m_sizeVert.cx     4  m_sizeVert.cy     8  m_sizeHorz.cx   12 m_sizeHorz.cy
//   16 m_sizeFloat.cx  20 m_sizeFloat.cy  24 m_sizeCurrent.cx  28 m_sizeCurrent.cy
//   32 m_bAloneInRow   36 m_bExpanded     40 the toolkit style when saved (not applied)
struct QZ_BARPOSITION {
    int32_t sizeVert[2];
    int32_t sizeHorz[2];
    int32_t sizeFloat[2];
    int32_t sizeCurrent[2];
    int32_t bAloneInRow;
    int32_t bExpanded;
    uint32_t dwStyleEx;
};
static_assert(sizeof(QZ_BARPOSITION) == 44, "the stored record is 44 bytes");
// The stored record's size, and the part of it that loading applies.
constexpr UINT kQZBarPositionBytes = 44;
constexpr UINT kQZBarPositionAppliedBytes = 40;

// The record as stored, and back; Decode answers FALSE (record untouched) for a stored value
// shorter than the applied part or longer than the record, which is no record of ours.
void QZEncodeBarPosition(const QZ_BARPOSITION& position, BYTE bytes[kQZBarPositionBytes]);
BOOL QZDecodeBarPosition(const BYTE* pBytes, UINT nBytes, QZ_BARPOSITION* pPosition);

// A caption button of a docking window. It draws the window's glyphs, which belong to the
// window: the button never destroys an icon.
class CQZBarButton : public CQZButton {
    DECLARE_DYNAMIC(CQZBarButton)
public:
    explicit CQZBarButton(CQZDockWindow* pDockWindow = nullptr);
    ~CQZBarButton() override;

    // The face in the caption's colour while the owning window is active (XP look).
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // Bitmaps only.
    void FreeImages() override;
    // The glyph at (1, 1), pushed at (2, 2); white on the active XP caption.
    void DrawIcon(CDC* pDC, UINT nState, const CRect& rect) override;
    using CQZButton::SetIcon;
    // Takes the glyphs without destroying the ones held before.
    BOOL SetIcon(int cx, int cy, HICON hIcon, HICON hPressedIcon = nullptr, BOOL bRedraw = TRUE) override;

    CQZDockWindow* m_pDockWindow;
};

// A batch of window moves applied together; it ends itself when it goes.
class CQZDeferWindowPos {
public:
    explicit CQZDeferWindowPos(int nPlanned) : m_nPlanned(nPlanned) {}
    ~CQZDeferWindowPos();
    CQZDeferWindowPos(const CQZDeferWindowPos&) = delete;
    CQZDeferWindowPos& operator=(const CQZDeferWindowPos&) = delete;

    // Shows the window at the rectangle, or hides it when the rectangle is empty; throws
    // the framework's resource exception when the batch cannot take it.
    void MoveWindow(CWnd* pWnd, const CRect& rect);
    void End();

private:
    HDWP m_hDWP = nullptr;
    int m_nPlanned;
};

// Owns its caption buttons, their glyphs and their tooltips; the child window is not its.
class CQZDockWindow : public CQZControlBar {
    DECLARE_DYNAMIC(CQZDockWindow)
public:
    CQZDockWindow();
    ~CQZDockWindow() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void DelayShow(BOOL bShow) override;
    void DoPaint(CDC* pDC) override;
    BOOL ModifyBarStyleEx(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE) override;
    // Border lines in the client area, then the caption; the rectangle is not changed.
    void DrawBorders(CDC* pDC, CRect& rect) override;
    // A docking window has no non-client decoration.
    void DrawNonClient() override;

    // The size is the one for the side the bar style names; the other orientation gets it
    // turned. dwStyle's low word is the bar style, its high word the window style.
    virtual BOOL Create(CWnd* pParentWnd, UINT nID, LPCSTR lpszTitle, CSize size, DWORD dwStyle,
                        DWORD dwStyleEx = QZ_DWS_CAPTION | QZ_DWS_CAPTIONTEXT | QZ_DWS_BUTTONS);
    // Where the child goes, before its one-pixel margin.
    virtual void GetInsideRect(CRect& rect) const;
    // The caption's thickness: the shortest docked length along a row.
    virtual int GetMinExtent() const;
    virtual BOOL IsExpanded() const;
    virtual BOOL IsAloneInRow() const;
    // The current size and the size of the side the window is docked on (or floating).
    virtual void SetDockedSize(const CSize& size);
    virtual void RestoreFloatSize();
    // The current length becomes the docked length again; no longer expanded.
    virtual void RestoreNormalSize();
    // Shrinks the current length to the caption's; the length given up.
    virtual int Collapse();
    // The current length becomes nLength; expanded.
    virtual void Expand(int nLength);
    virtual int GetCurrentWidth() const;
    virtual int GetCurrentHeight() const;
    // A view of pViewClass in this window (pane id, owned by the parent frame), not yet its
    // child window; null when the object or its window cannot be made.
    virtual CWnd* CreateView(CRuntimeClass* pViewClass, CDocument* pDocument = nullptr,
                             CCreateContext* pContext = nullptr);
    virtual void SetChild(CWnd* pWnd);
    // Applies the first ten fields; the style word stays as it is.
    virtual void SetBarPosition(const QZ_BARPOSITION* pPosition);
    virtual void GetGripperRect(CRect& rect) const;
    virtual void GetButtonRect(CRect& rect) const;
    virtual void DrawCaption(CDC* pDC);
    virtual void DrawCaptionTitle(CDC* pDC, const CRect& rcBand);
    virtual void UpdateButtonStyle();

    // "Bar Position" in the bar's section of the toolkit's settings store.
    void SaveBarSize(LPCSTR lpszSection);
    void LoadBarSize(LPCSTR lpszSection);
    // Whether the focus is inside; repaints a caption that shows it.
    void SetActive(BOOL bActive);
    BOOL IsActive() const { return m_bActive; }

    // Caption buttons: both QZ_DWS_CAPTION and QZ_DWS_BUTTONS.
    BOOL HasCaptionButtons() const;
    BOOL HasCaption() const;
    // Docked on a side of a frame (not floating, not loose).
    BOOL IsDocked() const;

    int m_nButtonState = 0;
    CWnd* m_pChildWnd = nullptr;
    CQZBarButton* m_pHideButton = nullptr;
    CQZBarButton* m_pExpandButton = nullptr;
    CToolTipCtrl m_wndToolTip;
    BOOL m_bActive = FALSE;
    BOOL m_bSysMenuRemoved = FALSE;
    CWnd* m_pParentWnd = nullptr;
    // Caption glyphs: cross; left, up, right and down triangles in grey and in black.
    HICON m_hIcons[9] = {};
    int m_nSetupCount = 1;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnInitialUpdate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
    afx_msg void OnHide();
    afx_msg void OnUpdateHide(CCmdUI* pCmdUI);
    afx_msg void OnExpand();
    afx_msg void OnUpdateExpand(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    // The expand button's state for the present docking: its glyph, also 0 when floating.
    int ExpandButtonState() const;
};
