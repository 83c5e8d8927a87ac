// The file button.
#include "lib/src/Win2/Wnd/iFileButton.h"

BEGIN_MESSAGE_MAP(iFileButton, iPushButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnChooseFile)
END_MESSAGE_MAP()

BOOL iFileButton::OnChooseFile()
{
    ChooseForButton(*this);
    return TRUE;
}
