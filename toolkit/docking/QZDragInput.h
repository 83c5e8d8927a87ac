// What a docking drag reads and locks outside itself: the pointer position for the docking
// test, and the window-update lock held on the frame while a live drag moves a bar. One
// function each, so that tests can place the pointer exactly and watch the lock.
#pragma once

#include <windows.h>

// Where the pointer is, on the screen; FALSE when it cannot be read.
BOOL QZGetDragCursorPos(POINT* pPoint);
using QZCursorPosReader = BOOL (*)(POINT* pPoint);
// null: the system's GetCursorPos. Returns the previous reader.
QZCursorPosReader QZSetCursorPosReader(QZCursorPosReader reader);

// Locks updates of hWnd's window (null: releases the lock).
BOOL QZLockDragWindowUpdate(HWND hWnd);
using QZWindowUpdateLocker = BOOL (*)(HWND hWnd);
// null: the system's LockWindowUpdate. Returns the previous locker.
QZWindowUpdateLocker QZSetWindowUpdateLocker(QZWindowUpdateLocker locker);
