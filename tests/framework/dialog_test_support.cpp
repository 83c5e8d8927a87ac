// The scripted test dialog's message map: its timer plays the script.
#include "dialog_test_support.h"

namespace test_support {

BEGIN_MESSAGE_MAP(ScriptedDialog, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

} // namespace test_support
