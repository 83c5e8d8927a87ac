// The library's view: the framework's view that owns the control objects created on it
// and deletes them when it goes. Drawing stays abstract.
#pragma once

#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "framework/Framework.h"

class iView : public CView, public iWindowSetContainer {
    DECLARE_DYNAMIC(iView)
public:
    iView();
    // Deletes every control in its set, then the framework view goes.
    ~iView() override;

    iWindowSet& GetWindowSet() override { return m_windowSet; }

protected:
    iWindowSet m_windowSet;
};
