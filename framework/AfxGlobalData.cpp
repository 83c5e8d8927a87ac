// The framework's global colours, metrics and cursor.
#include "AfxGlobalData.h"

AUX_DATA afxData;

AUX_DATA::AUX_DATA()
{
    UpdateSysColors();
    UpdateSysMetrics();
    hcurArrow = ::LoadCursorA(nullptr, IDC_ARROW);
}

void AUX_DATA::UpdateSysColors()
{
    clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
    clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    clrBtnText = ::GetSysColor(COLOR_BTNTEXT);
    clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
}

void AUX_DATA::UpdateSysMetrics()
{
    cxBorder2 = ::GetSystemMetrics(SM_CXBORDER) * 2;
    cyBorder2 = ::GetSystemMetrics(SM_CYBORDER) * 2;
}
