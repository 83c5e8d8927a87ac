// The library's status callback and the progress of each operation.
#include "imaging/StatusProgress.h"

#include "imaging/ImagingApi.h"

namespace imaging {
namespace {

// One callback for the library, as the interface has it; the library is used from the UI thread.
StatusCallback g_callback = nullptr;
void* g_userData = nullptr;

} // namespace

ProgressReporter::ProgressReporter() : m_callback(g_callback), m_userData(g_userData) {}

ProgressReporter::~ProgressReporter() { Finish(); }

bool ProgressReporter::Send(int percent)
{
    m_last = percent;
    if (m_callback == nullptr)
        return true;
    return m_callback(percent, m_userData) != 0;
}

bool ProgressReporter::Start()
{
    if (m_isStarted)
        return !m_isCancelled;
    m_isStarted = true;
    if (!Send(0))
        m_isCancelled = true;
    return !m_isCancelled;
}

bool ProgressReporter::Report(int percent)
{
    if (m_isCancelled)
        return false;
    if (percent > 99)
        percent = 99;
    if (percent <= m_last)
        return true;
    if (!Send(percent))
        m_isCancelled = true;
    return !m_isCancelled;
}

void ProgressReporter::Finish()
{
    if (!m_isStarted || m_isFinished || m_isCancelled)
        return;
    m_isFinished = true;
    Send(100);
}

ProgressFn ProgressReporter::Span(int from, int to)
{
    return [this, from, to](int percent) { return Report(from + (to - from) * percent / 100); };
}

} // namespace imaging

imaging::StatusCallback L_SetStatusCallBack(imaging::StatusCallback callback, void* userData)
{
    const imaging::StatusCallback previous = imaging::g_callback;
    imaging::g_callback = callback;
    imaging::g_userData = userData;
    return previous;
}
