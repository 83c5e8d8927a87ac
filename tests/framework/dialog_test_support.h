// A dialog that plays a script of steps from a timer once its modal loop runs, so modal
// tests end without a person; a safety timer ends a stuck dialog with kTimedOut.
#pragma once

#include "framework/Framework.h"

#include <functional>
#include <vector>

namespace test_support {

constexpr int kTimedOut = 99;
constexpr UINT_PTR kStepTimer = 7001;
constexpr UINT_PTR kSafetyTimer = 7002;

class ScriptedDialog : public CDialog {
public:
    using Step = std::function<void(ScriptedDialog&)>;

    // Each step runs on its own timer tick, in order; the loop keeps running between them.
    std::vector<Step> steps;
    std::function<void(CDataExchange*)> exchange;
    int initCount = 0;
    BOOL attachedAtInit = FALSE;

    BOOL OnInitDialog() override
    {
        ++initCount;
        attachedAtInit = CWnd::FromHandlePermanent(m_hWnd) == this;
        BOOL result = CDialog::OnInitDialog();
        SetTimer(kSafetyTimer, 5000, nullptr);
        if (!steps.empty())
            SetTimer(kStepTimer, 10, nullptr);
        return result;
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        if (exchange)
            exchange(pDX);
    }

    afx_msg void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()

private:
    size_t m_nextStep = 0;
};

} // namespace test_support
