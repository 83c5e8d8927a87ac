// The wait cursor: the hourglass while it lasts, nested calls, and the earlier cursor back
// on every way out, an exception included.
#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

HCURSOR SystemCursor(LPCSTR id)
{
    return ::LoadCursorA(nullptr, id);
}

class WaitCursorTest : public ::testing::Test {
protected:
    void SetUp() override { m_before = ::SetCursor(SystemCursor(IDC_CROSS)); }
    void TearDown() override { ::SetCursor(m_before); }
    HCURSOR m_before = nullptr;
};

TEST_F(WaitCursorTest, NestedCallsShowTheHourglassUntilTheLastEnd)
{
    CCmdTarget target;
    target.BeginWaitCursor();
    EXPECT_EQ(SystemCursor(IDC_WAIT), ::GetCursor());
    {
        CWaitCursor inner;
        EXPECT_EQ(SystemCursor(IDC_WAIT), ::GetCursor());
    }
    EXPECT_EQ(SystemCursor(IDC_WAIT), ::GetCursor());  // the outer wait still runs
    target.EndWaitCursor();
    EXPECT_EQ(SystemCursor(IDC_CROSS), ::GetCursor());
    // An end without a begin leaves the cursor alone.
    target.EndWaitCursor();
    EXPECT_EQ(SystemCursor(IDC_CROSS), ::GetCursor());
}

TEST_F(WaitCursorTest, ScopedWaitEndsWhenAnExceptionLeavesTheScope)
{
    try {
        CWaitCursor wait;
        EXPECT_EQ(SystemCursor(IDC_WAIT), ::GetCursor());
        throw std::runtime_error("fill failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(SystemCursor(IDC_CROSS), ::GetCursor());
    // The depth went back to zero: a new wait ends at the cursor shown now.
    ::SetCursor(SystemCursor(IDC_IBEAM));
    { CWaitCursor again; }
    EXPECT_EQ(SystemCursor(IDC_IBEAM), ::GetCursor());
}

} // namespace
