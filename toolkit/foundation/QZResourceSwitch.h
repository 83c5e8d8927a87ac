// The toolkit's own resource module and the switch to it. Toolkit parts that load their
// own dialogs and strings enter the switch while they do; when the toolkit has no module
// of its own (the resources are linked into the program), the switch changes nothing.
#pragma once

#include <windows.h>

// The toolkit's resource module; null unless set.
HINSTANCE QZGetToolkitResourceHandle();
void QZSetToolkitResourceHandle(HINSTANCE hInstance);

// Holds the framework's resource module from Enter to Leave.
class QZResourceSwitch {
public:
    // Keeps the current resource module and makes the toolkit's current when there is one.
    void Enter();
    // Puts the kept module back.
    void Leave();

private:
    HINSTANCE m_hSaved = nullptr;
};

// Holds the toolkit's module for as long as it lives. As the first base of a dialog, sheet
// or page, it is entered before the framework base loads the caption and template and
// left after that base is gone.
class QZResourceSwitchScope : public QZResourceSwitch {
public:
    QZResourceSwitchScope() { Enter(); }
    ~QZResourceSwitchScope() { Leave(); }
    QZResourceSwitchScope(const QZResourceSwitchScope&) = delete;
    QZResourceSwitchScope& operator=(const QZResourceSwitchScope&) = delete;
};
