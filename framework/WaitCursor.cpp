// The framework's wait cursor: the hourglass over a long operation, nested per thread.
#include "CmdTarget.h"

namespace {

// Plain values: thread_local needs no destructor here.
thread_local int t_waitDepth = 0;
thread_local HCURSOR t_cursorBeforeWait = nullptr;

void BeginThreadWait()
{
    HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    if (t_waitDepth++ == 0)
        t_cursorBeforeWait = previous;
}

void EndThreadWait()
{
    if (t_waitDepth == 0)
        return;
    if (--t_waitDepth == 0)
        ::SetCursor(t_cursorBeforeWait);
}

} // namespace

void CCmdTarget::BeginWaitCursor()
{
    BeginThreadWait();
}

void CCmdTarget::EndWaitCursor()
{
    EndThreadWait();
}

CWaitCursor::CWaitCursor()
{
    BeginThreadWait();
}

CWaitCursor::~CWaitCursor()
{
    EndThreadWait();
}
