// Progress of one library operation, reported through the installed status callback:
// percentages rise from 0, and an operation that has started ends with exactly one 100
// unless the callback cancelled it.
#pragma once

#include "imaging/ImagingApi.h"
#include "imaging/PixelKernels.h"

namespace imaging {

class ProgressReporter {
public:
    // Takes the callback installed now: a callback changed during the operation waits for the next one.
    ProgressReporter();
    // Sends the final 100 if the operation started and neither finished nor was cancelled.
    ~ProgressReporter();
    ProgressReporter(const ProgressReporter&) = delete;
    ProgressReporter& operator=(const ProgressReporter&) = delete;

    // Reports 0. False when the callback cancels.
    [[nodiscard]] bool Start();
    // Reports `percent` (held within 0..99) when it is above the last report. False
    // when the callback cancels, now or before.
    [[nodiscard]] bool Report(int percent);
    // Sends the one final 100 of a started operation; the callback's answer no longer matters.
    void Finish();
    bool IsCancelled() const { return m_isCancelled; }

    // A kernel's 0..99 mapped onto from..to of this operation.
    ProgressFn Span(int from, int to);

private:
    bool Send(int percent);

    StatusCallback m_callback;
    void* m_userData;
    int m_last = -1;
    bool m_isStarted = false;
    bool m_isFinished = false;
    bool m_isCancelled = false;
};

} // namespace imaging
