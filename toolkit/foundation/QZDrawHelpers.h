// Small drawing and window routines shared by the toolkit's parts: embossed (disabled)
// images, the dithered face of a pushed button, a dialog's font change, the child
// control under a point, the opening that joins a popup to the button it drops from, and
// the clip that leaves a window DC its non-client area.
#pragma once

#include <windows.h>

class CDC;
class CFont;
class CImageList;
class CRect;
class CWnd;

// One image of the list drawn disabled: a highlight copy one pixel down and right under
// a shadow copy. bColor keeps the image's colours for the mask (else a monochrome mask).
void QZDrawEmbossedImage(CDC* pDC, CImageList* pImageList, int nIndex, int x, int y, BOOL bColor);
// A one-pixel checkerboard of the face and highlight colours.
void QZDrawDitheredRect(CDC* pDC, const CRect& rect);
// Gives the window and each child the font, scaling their sizes and places by the change
// of the font's average character width and line height.
void QZChangeWindowFont(CWnd* pWnd, CFont* pFont);
// The first visible child with a control id whose window contains the point (in the
// parent's client coordinates), or null.
HWND QZChildWindowFromPoint(HWND hWndParent, POINT point);
// Opens a popup's frame where it shares an edge with the button that opened it (both
// rectangles in screen coordinates): a line of the colour along the shared edge, its
// first pixel left out, so that button and popup read as one shape.
void DrawPopupOwnerGap(CDC* pDC, COLORREF color, const RECT* lpRectOwner, const RECT* lpRectPopup);
// Clips a window DC of pWnd to the non-client area: the client rectangle, in window
// coordinates, is excluded, so that borders and captions paint without touching it.
void QZExcludeClientArea(CDC* pDC, CWnd* pWnd);
