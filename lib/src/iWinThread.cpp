// The worker-thread base: a thin layer over the framework thread object.
#include "iWinThread.h"

iWinThread::iWinThread() = default;

iWinThread::~iWinThread() = default;

BOOL iWinThread::CreateThread(DWORD createFlags, UINT stackSize, LPSECURITY_ATTRIBUTES security)
{
    return CWinThread::CreateThread(createFlags, stackSize, security);
}
