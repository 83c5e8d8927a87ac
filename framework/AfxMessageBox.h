// Stands in for the framework's message boxes. Every box goes through one replaceable
// function, so tests see the text and give the answer instead of a person.
#pragma once

#include <windows.h>

typedef int (*AFX_MESSAGEBOX_FUNCTION)(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType);

// Installs the function that shows boxes (null: the system's MessageBoxA); returns the previous one.
AFX_MESSAGEBOX_FUNCTION AfxSetMessageBoxFunction(AFX_MESSAGEBOX_FUNCTION pfn);
int AfxShowMessageBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType);

// A box owned by the thread's main window (its last active popup), captioned with the
// application's name.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The text is the string resource nIDPrompt.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// The application's name, or an empty text when there is no application object.
LPCSTR AfxGetAppName();
