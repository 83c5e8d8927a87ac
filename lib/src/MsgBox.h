// Printf-style message boxes in four kinds: plain, exclamation, question, stop.
// The text is formatted into 2048 bytes (longer texts are cut at 2047 characters)
// and shown through one replaceable function, so that tests answer for the user.
#pragma once

#include <windows.h>

#include <cstdio>

using MsgBoxShowFunction = int (*)(HWND owner, const char* text, const char* caption, UINT style);

// Makes show the function that puts boxes on screen (null: MessageBoxA); returns
// the one it replaces.
MsgBoxShowFunction SetMsgBoxShowFunction(MsgBoxShowFunction show);

// flags choose the buttons (0: OK); the result is the id of the button pressed.
WORD MsgBox(UINT flags, const char* caption, HWND owner, const char* format, ...)
    __attribute__((format(__MINGW_PRINTF_FORMAT, 4, 5)));
WORD MsgBoxExclamation(UINT flags, const char* caption, HWND owner, const char* format, ...)
    __attribute__((format(__MINGW_PRINTF_FORMAT, 4, 5)));
WORD MsgBoxQuestion(UINT flags, const char* caption, HWND owner, const char* format, ...)
    __attribute__((format(__MINGW_PRINTF_FORMAT, 4, 5)));
WORD MsgBoxStop(UINT flags, const char* caption, HWND owner, const char* format, ...)
    __attribute__((format(__MINGW_PRINTF_FORMAT, 4, 5)));
