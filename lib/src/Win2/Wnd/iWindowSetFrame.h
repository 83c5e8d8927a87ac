// What the library's two frames share over their base frame (the framework's plain frame
// or the toolkit's): the set of control objects created on the frame, deleted with it,
// and creation from a constructor.
#pragma once

#include "lib/src/Win2/Wnd/iWindowSet.h"

// Joins no window set itself. Like every framework frame, one made with new deletes
// itself, and its controls with it, once its window is destroyed.
template <class BaseFrame>
class iWindowSetFrame : public BaseFrame, public iWindowSetContainer {
public:
    // Deletes the controls in its set, then the base frame goes.
    ~iWindowSetFrame() override { m_windowSet.DeleteAll(); }

    iWindowSet& GetWindowSet() override { return m_windowSet; }

protected:
    iWindowSetFrame() = default;

    // A creation that fails inside a creating constructor must not delete the object the
    // constructor is still building: the caller gets it back without a window and deletes
    // it. Afterwards the frame deletes itself as every frame does.
    void PostNcDestroy() override
    {
        if (!m_isConstructing)
            BaseFrame::PostNcDestroy();
    }
    // The creating forms' work. Each class calls it from its own constructors, so that
    // its own PreCreateWindow applies.
    void CreateFrame(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, DWORD exStyle,
                     CCreateContext* context)
    {
        m_isConstructing = true;
        const BOOL created = this->Create(nullptr, title, style, rect, parent, nullptr, exStyle, context);
        m_isConstructing = false;
        if (created)
            CopyParentFont(this, parent);
    }

    iWindowSet m_windowSet;

private:
    bool m_isConstructing = false;
};
