// The scripted test dialog's timer: one step per tick, and the safety stop.
#include "dialog_test_support.h"

namespace test_support {

BEGIN_MESSAGE_MAP(ScriptedDialog, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

void ScriptedDialog::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kSafetyTimer) {
        KillTimer(kSafetyTimer);
        EndDialog(kTimedOut);
        return;
    }
    if (m_nextStep >= steps.size()) {
        KillTimer(kStepTimer);
        return;
    }
    // Copied: a step may end the dialog and the caller may then clear the script.
    Step step = steps[m_nextStep++];
    step(*this);
}

} // namespace test_support
