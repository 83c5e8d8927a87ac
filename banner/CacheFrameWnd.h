// The banner history window: a frame that reopens where it was last, filled by a browser
// that shows the history page. Its browser runs no scripts: the page joins fragments of
// many served pages. The frame deletes itself when its window is destroyed.
#pragma once

#include "lib/src/Win2/Wnd/iPersistentFrameWnd.h"

class iBrowserWnd;

class CacheFrameWnd : public iPersistentFrameWnd {
public:
    // Pop-up with caption, system menu, sizing border and maximise box.
    static constexpr DWORD kStyle = 0x80CD0000;
    static constexpr const char* kTitle = "Last 10 Banner History - From Youngest to Oldest";

    // The frame at rect (or where it was last), over parent, with the browser filling it.
    // Without a window afterwards the caller deletes the object.
    CacheFrameWnd(CWnd* parent, const RECT& rect);
    ~CacheFrameWnd() override;

    // Shows the page at path in the browser.
    void Navigate(const char* path);
    // Escape closes the window, as it closes a dialog, wherever the focus is inside it.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // TRUE when the message was an Escape for this window, which is then closing.
    BOOL CloseOnEscape(const MSG* pMsg);
    iBrowserWnd* GetBrowser() const { return m_browser; }

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    // A child of the frame, deleted with it.
    iBrowserWnd* m_browser = nullptr;
};
