// Control containment: the installed manager and the OLE initialisation it needs.
#include "OccManager.h"

#include "OleControlSite.h"

#include <ole2.h>

namespace {

struct ContainmentState {
    COccManager* manager = nullptr;
    // The thread whose OleInitialize this module must balance; 0 when it did not initialise.
    DWORD oleThreadId = 0;
};

ContainmentState& Containment()
{
    static ContainmentState state;
    return state;
}

} // namespace

COccManager::~COccManager() = default;

COleControlSite* COccManager::CreateSite(COleControlContainer* pCtrlCont)
{
    return new COleControlSite(pCtrlCont);
}

void AfxEnableControlContainer(COccManager* pOccManager)
{
    ContainmentState& state = Containment();
    if (!state.oleThreadId) {
        // The browser control can neither be created nor activated in place without an
        // initialised single-threaded apartment on the thread that hosts it. A thread already
        // in the multi-threaded apartment answers RPC_E_CHANGED_MODE: nothing to balance then.
        if (SUCCEEDED(OleInitialize(nullptr)))
            state.oleThreadId = GetCurrentThreadId();
    }
    if (!pOccManager)
        pOccManager = new COccManager;
    if (state.manager != pOccManager)
        delete state.manager;
    state.manager = pOccManager;
}

COccManager* AfxGetOccManager()
{
    return Containment().manager;
}

void AfxTermControlContainer()
{
    ContainmentState& state = Containment();
    delete state.manager;
    state.manager = nullptr;
    if (state.oleThreadId && state.oleThreadId == GetCurrentThreadId()) {
        state.oleThreadId = 0;
        OleUninitialize();
    }
}
