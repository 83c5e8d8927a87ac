// The docking drag's pointer and window-update lock, replaceable by tests.
#include "toolkit/docking/QZDragInput.h"

namespace {

QZCursorPosReader g_cursorPosReader = nullptr;
QZWindowUpdateLocker g_windowUpdateLocker = nullptr;

} // namespace

BOOL QZGetDragCursorPos(POINT* pPoint)
{
    return g_cursorPosReader ? g_cursorPosReader(pPoint) : ::GetCursorPos(pPoint);
}

QZCursorPosReader QZSetCursorPosReader(QZCursorPosReader reader)
{
    const QZCursorPosReader previous = g_cursorPosReader;
    g_cursorPosReader = reader;
    return previous;
}

BOOL QZLockDragWindowUpdate(HWND hWnd)
{
    return g_windowUpdateLocker ? g_windowUpdateLocker(hWnd) : ::LockWindowUpdate(hWnd);
}

QZWindowUpdateLocker QZSetWindowUpdateLocker(QZWindowUpdateLocker locker)
{
    const QZWindowUpdateLocker previous = g_windowUpdateLocker;
    g_windowUpdateLocker = locker;
    return previous;
}
