// The program's picture control: a bitmap view that can take over another picture
// control's view and marks it over its own image with a red frame. The preview marks
// the part of the image that the result picture shows.
#pragma once

#include "lib/src/Win2/Wnd/iLBitmapCtrl.h"

class BitmapCtrl : public iLBitmapCtrl {
public:
    BitmapCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~BitmapCtrl() override;

    // Takes the other control's view and image size when it holds an image; otherwise
    // the frame goes. The caller repaints.
    void CopyViewFrom(const iLBitmapCtrl& other);
    // The frame over the image.
    void DrawOverlay(CDC* dc) override;

    // The rectangle the frame is drawn with, in client pixels; empty when there is none
    // (no view copied, or a zero size on either side).
    CRect GetFrameRect() const;
    const CRect& GetCopiedView() const { return m_copiedView; }

protected:
    CRect m_copiedView;
    int m_otherWidth = 0;
    int m_otherHeight = 0;
};
