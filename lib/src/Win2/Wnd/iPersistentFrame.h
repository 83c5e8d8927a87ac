// What the library's two persistent frames share over their frame (iFrameWnd or
// iVeltraFrameWnd): the placement record (rectangle, maximised, minimised) registered
// while the window is created, followed on every move and resize, and saved in the
// registry when the frame object goes.
#pragma once

#include "lib/src/Win2/Wnd/iWindowData.h"

// What the persistent frames do to the creation values once the record exists: the
// record's screen rectangle, kept on a monitor and at least minTrackSize, its style (with
// WS_MAXIMIZE when remembered so) and its name. A window remembered minimised opens in
// its normal place, shown: one that opened minimised would look as if it never started.
void ApplyWindowData(const iWindowData& record, SIZE minTrackSize, CREATESTRUCT& cs);
// The record for a frame being created with cs, registered on first use.
iWindowData* RegisterWindowData(CWnd* frame, const CREATESTRUCT& cs);

template <class Frame>
class iPersistentFrame : public Frame {
public:
    // Saves and drops the placement record, then the frame goes.
    ~iPersistentFrame() override
    {
        if (m_windowData)
            iWindowDataMap::Unregister(this);
    }

    // The base frame's preparation, then the remembered rectangle, style and name.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        if (!Frame::PreCreateWindow(cs))
            return FALSE;
        if (!m_windowData)
            m_windowData = RegisterWindowData(this, cs);
        ApplyWindowData(*m_windowData, GetMinTrackSize(), cs);
        return TRUE;
    }

    iWindowData* GetWindowData() const { return m_windowData; }
    // The smallest size the user can give the window; a remembered size below it is
    // raised to it. The system's unless the frame has its own.
    virtual SIZE GetMinTrackSize() const
    {
        return SIZE{::GetSystemMetrics(SM_CXMINTRACK), ::GetSystemMetrics(SM_CYMINTRACK)};
    }

protected:
    // No placement record yet: one is registered from the creation values.
    iPersistentFrame() = default;
    // The record must have been registered for this frame object (iWindowDataMap::Register),
    // since the destructor unregisters it by the frame's address.
    explicit iPersistentFrame(iWindowData* windowData) : m_windowData(windowData) {}

    afx_msg void OnMove(int, int)
    {
        this->Default();
        if (m_windowData)
            m_windowData->Update();
    }
    afx_msg void OnSize(UINT nType, int cx, int cy)
    {
        Frame::OnSize(nType, cx, cy);
        if (m_windowData)
            m_windowData->Update();
    }
    DECLARE_MESSAGE_MAP()

    // The creating forms over a given record: at its rectangle, with its style and its name
    // as title. Each class calls it from its own constructors, so that its own
    // PreCreateWindow applies.
    void CreateFromRecord(CWnd* parent, DWORD exStyle, CCreateContext* context)
    {
        if (!m_windowData)
            return;
        RECT rect;
        m_windowData->GetRect(&rect);
        this->CreateFrame(parent, rect, m_windowData->GetStyle(), m_windowData->GetName(), exStyle, context);
    }

    iWindowData* m_windowData = nullptr;
};

BEGIN_TEMPLATE_MESSAGE_MAP(iPersistentFrame, Frame, Frame)
    ON_WM_MOVE()
    ON_WM_SIZE()
END_MESSAGE_MAP()
