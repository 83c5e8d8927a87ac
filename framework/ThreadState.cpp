// Per-thread framework state behind a plain thread-local pointer.
#include "ThreadState.h"

#include "ControlsCommon.h"

namespace {
// A pointer, not an object: the application object is destroyed after the main
// thread's thread-local objects, and its destructor still reads this state.
thread_local _AFX_THREAD_STATE* t_state = nullptr;
}

_AFX_THREAD_STATE* AfxGetThreadState()
{
    if (!t_state)
        t_state = new _AFX_THREAD_STATE;
    return t_state;
}

void AfxTermThreadState()
{
    delete t_state;
    t_state = nullptr;
}

_AFX_THREAD_STATE::~_AFX_THREAD_STATE()
{
    delete m_pToolTip;
}
