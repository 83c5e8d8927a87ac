// Stands in for the framework's OLE control containment switch: the control-site
// manager that makes the site of every control a window hosts, and
// AfxEnableControlContainer, which installs it. Windows host OLE controls only once
// containment is enabled.
#pragma once

#include <windows.h>

class COleControlContainer;
class COleControlSite;

// The base of framework objects that live outside the program's own allocation
// tracking; here an ordinary heap object with a virtual destructor.
class CNoTrackObject {
public:
    virtual ~CNoTrackObject() = default;
};

// Makes the sites of hosted controls. The program derives from it to host its controls
// on a site of its own; the framework owns each site it is given and deletes it through
// its virtual destructor once the control is gone and nothing refers to it.
class COccManager : public CNoTrackObject {
public:
    ~COccManager() override;
    // A new framework site over pCtrlCont; null refuses the control.
    virtual COleControlSite* CreateSite(COleControlContainer* pCtrlCont);
};

// Installs pOccManager (null: the framework's own) as the manager of every control created
// from now on; the framework owns it and deletes a manager it replaces. The first call also
// initialises OLE on the calling thread (the user-interface thread, where controls live).
void AfxEnableControlContainer(COccManager* pOccManager = nullptr);
// The installed manager, or null while containment is not enabled.
COccManager* AfxGetOccManager();
// Undoes AfxEnableControlContainer at the end of the program: deletes the manager and, on
// the thread that initialised OLE, uninitialises it. The framework's entry calls it after
// ExitInstance; a second call does nothing.
void AfxTermControlContainer();
