// The program's one main window: its fixed title, its first-start size of 720 x 620
// centred on the screen, its placement remembered from run to run, its minimum
// tracking size, the toolkit's menu bar and flat toolbar docked at the top (they dock top
// or bottom and float), image menus with the toolbar's images, and the status bar whose
// progress control follows every imaging operation. The workspace view fills the rest;
// it tells the frame how many library operations a resize chains so that one bar covers
// all of them.
#pragma once

#include "Workspace.h"

#include "imaging/ImagingApi.h"
#include "lib/src/Win2/Wnd/iPersistentVeltraFrameWnd.h"
#include "lib/src/Win2/Wnd/iStatusBar.h"

class iProgressCtrl;
class iVeltraToolBar;

class MainFrame : public iPersistentVeltraFrameWnd, public PassCountTarget {
    DECLARE_DYNCREATE(MainFrame)
public:
    static constexpr const char* kTitle = "Tamrow Sorvanta [Standard]";
    static constexpr int kDefaultWidthPx = 720;
    static constexpr int kDefaultHeightPx = 620;
    static constexpr int kMinTrackWidthPx = 640;
    static constexpr int kMinTrackHeightPx = 562;

    // A status bar without panes, filled by a progress control that shows the imaging
    // library's reports. While it exists it is the library's status callback; the one
    // installed before comes back when it goes.
    class StatusBar : public iStatusBar {
    public:
        explicit StatusBar(CWnd* parent);
        ~StatusBar() override;

        // One report of the library; always 1, the operation goes on. With a pass
        // count the bar runs over all passes and empties after the last one's 100.
        int OnImagingStatus(int percent);
        static int StatusCallback(int percent, void* userData);
        // count operations follow (0: single operations again); the bar's range becomes
        // count x 100 (or 100) in 32 bits, so long chains do not wrap.
        void SetPassCount(int count);

        iProgressCtrl* GetProgressCtrl() const { return m_progress; }
        int GetPassCount() const { return m_passCount; }

    protected:
        // Lays out the progress control; there are no panes to lay out.
        afx_msg void OnSize(UINT nType, int cx, int cy);
        DECLARE_MESSAGE_MAP()

    private:
        // Child of the bar, which is no window-set container: the bar deletes it.
        iProgressCtrl* m_progress = nullptr;
        imaging::StatusCallback m_previousCallback = nullptr;
        int m_passCount = 0;
        int m_currentPass = 0;
    };

    MainFrame();
    ~MainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // 640 x 562: the window is never tracked smaller, nor opened smaller.
    SIZE GetMinTrackSize() const override;
    // The title alone while the document has no title, else "title - document title".
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void SetPassCount(int count) override;

    StatusBar* GetStatusBar() const { return m_statusBar; }
    iVeltraToolBar* GetToolBar() const { return m_toolBar; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // Erases nothing: the view and the bars cover the client area.
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    DECLARE_MESSAGE_MAP()

    // In no window set: the frame deletes it when it goes.
    iVeltraToolBar* m_toolBar = nullptr;
    // In the frame's window set, which deletes it with the frame.
    StatusBar* m_statusBar = nullptr;
};
