// Dialogs and sheets that play a script of steps from a timer once their modal loop runs,
// so modal tests end without a person; a safety timer ends a stuck run with kTimedOut.
// Steps wait for states, not for time: a loaded machine may deliver the first tick before
// the loop has even shown the window.
#pragma once

#include "framework/Framework.h"

#include <functional>
#include <vector>

namespace test_support {

constexpr int kTimedOut = 99;
constexpr UINT_PTR kStepTimer = 7001;
constexpr UINT_PTR kSafetyTimer = 7002;
// Only a stuck run reaches it: a script that waits for a state may take long on a loaded
// machine, and must still finish on its own.
constexpr UINT kSafetyMs = 20000;

// The script of a modal window: each step runs on its own timer tick, in order, and the
// loop keeps running between them.
template <class Window>
class TimerScript {
public:
    using Step = std::function<void(Window&)>;
    std::vector<Step> steps;

    // A step that holds the script until the condition is true (tried again every tick,
    // until the safety timer ends the run).
    static Step WaitUntil(std::function<bool(Window&)> condition)
    {
        return [condition](Window& window) { window.m_repeatStep = !condition(window); };
    }

protected:
    // Starts the timers once the window exists.
    void StartScript(Window& window)
    {
        window.SetTimer(kSafetyTimer, kSafetyMs, nullptr);
        if (!steps.empty())
            window.SetTimer(kStepTimer, 10, nullptr);
    }

    void PlayScript(Window& window, UINT_PTR nIDEvent)
    {
        if (nIDEvent == kSafetyTimer) {
            window.KillTimer(kSafetyTimer);
            window.EndDialog(kTimedOut);
            return;
        }
        if (m_nextStep >= steps.size()) {
            window.KillTimer(kStepTimer);
            return;
        }
        // Copied: a step may end the run and the caller may then clear the script.
        const size_t index = m_nextStep++;
        Step step = steps[index];
        m_repeatStep = false;
        step(window);
        if (m_repeatStep)
            m_nextStep = index;
    }

private:
    size_t m_nextStep = 0;
    bool m_repeatStep = false;
};

class ScriptedDialog : public CDialog, public TimerScript<ScriptedDialog> {
public:
    std::function<void(CDataExchange*)> exchange;
    int initCount = 0;
    BOOL attachedAtInit = FALSE;

    BOOL OnInitDialog() override
    {
        ++initCount;
        attachedAtInit = CWnd::FromHandlePermanent(m_hWnd) == this;
        BOOL result = CDialog::OnInitDialog();
        StartScript(*this);
        return result;
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        if (exchange)
            exchange(pDX);
    }

    afx_msg void OnTimer(UINT_PTR nIDEvent) { PlayScript(*this, nIDEvent); }

    DECLARE_MESSAGE_MAP()
};

} // namespace test_support
