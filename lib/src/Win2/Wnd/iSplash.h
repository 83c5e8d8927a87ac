// The splash window: a top-most pop-up that shows a picture centred on the screen,
// optionally plays a sound and draws an overlay text, and goes away after its display
// time, on a key or on a mouse button, as its flags say. It lives on the heap and
// deletes itself once its window is destroyed; callers keep no pointer to it.
#pragma once

#include "lib/src/Win2/Wnd/iPicture.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "lib/src/iString.h"

enum : UINT {
    SPLASH_SYNC = 1,      // Run waits for the sound or the display time and destroys the window itself
    SPLASH_RESOURCE = 2,  // picture and sound are resources of the program named by the name
    SPLASH_MOUSE = 4,     // the window captures the mouse; any button closes it
    SPLASH_KEYBOARD = 8,  // any key closes it
};

class iSplash : public iWnd {
public:
    // A splash of seconds x 1000 ms (none for 0), shown at once. Always TRUE.
    static BOOL Show(CWnd* parent, UINT flags, LPCSTR name, int seconds);
    // The same with an overlay text laid out in textBox (client coordinates).
    static BOOL ShowWithText(CWnd* parent, UINT flags, LPCSTR name, int seconds, LPCSTR text, const RECT* textBox,
                             UINT format, COLORREF colour);

    // Create the hidden window, owned by parent, and load the picture: the resource
    // name (RT_RCDATA) with SPLASH_RESOURCE, else the file name + ".BMP". With a picture
    // the window's client area is the picture's size, centred on the screen; without
    // one the window stays 100 x 100 at the screen's top-left corner.
    iSplash(CWnd* parent, UINT flags, LPCSTR name, UINT milliseconds);
    iSplash(CWnd* parent, UINT flags, LPCSTR name, UINT milliseconds, LPCSTR text, const RECT* textBox, UINT format,
            COLORREF colour);

    // Shows the window, plays the sound (to its end) and starts the close timer and the
    // mouse capture as the flags say. With SPLASH_SYNC the window is gone, and this
    // object deleted, when it returns; a splash whose window could not be made is
    // deleted at once. Always TRUE.
    BOOL Run();
    // Releases the capture, stops the timer and destroys the window (and so the object).
    void Close();

    // Moves box, keeping its size, so that it ends at least 4 pixels inside client's
    // right and bottom edges, then its left and top edges; the left and top win.
    static void KeepInside(RECT& box, const RECT& client);

    UINT GetFlags() const { return m_flags; }
    BOOL IsTimerActive() const { return m_timerActive; }
    const iPicture* GetPicture() const { return m_picture; }

protected:
    // Deletes the picture.
    ~iSplash() override;

    void Initialize(UINT flags, LPCSTR name, UINT milliseconds, LPCSTR text, const RECT* textBox, UINT format,
                    COLORREF colour);
    void PostNcDestroy() override;
    // What OnPaint draws into its paint DC.
    void Paint(CDC* dc, const CRect& client);

    afx_msg void OnPaint();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnNotifyMode(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    BOOL HasWindow() const;
    void FitToPicture();
    void DrawOverlayText(CDC* dc, const CRect& client);
    void DrawPlaceholder(CDC* dc, const CRect& client);

    UINT m_flags = 0;
    iString m_name;
    UINT m_displayTimeMs = 0;
    iPicture* m_picture = nullptr;
    BOOL m_timerActive = FALSE;
    iString m_pictureFileName;
    iString m_soundFileName;
    iString m_text;
    RECT m_textBox = {};
    UINT m_textFormat = 0;
    COLORREF m_textColour = 0;
};
