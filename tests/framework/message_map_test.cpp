// Command maps: dispatch by id, code and range, base-map chaining, handler queries,
// update handlers and CCmdUI's disable-if-no-handler rule.
#include "framework/CmdTarget.h"
#include "framework/CmdUI.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kOpen = 100;
constexpr UINT kSave = 101;
constexpr UINT kRangeFirst = 200;
constexpr UINT kRangeLast = 209;
constexpr UINT kMaybe = 300;
constexpr UINT kList = 400;

class BaseTarget : public CCmdTarget {
public:
    std::vector<std::string> calls;
    afx_msg void OnOpen() { calls.push_back("base open"); }
    afx_msg void OnSave() { calls.push_back("base save"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseTarget, CCmdTarget)
    ON_COMMAND(kOpen, OnOpen)
    ON_COMMAND(kSave, OnSave)
END_MESSAGE_MAP()

class DerivedTarget : public BaseTarget {
public:
    BOOL maybeAnswer = FALSE;
    BOOL enableSave = TRUE;
    bool continueRouting = false;
    UINT lastRangeId = 0;
    NMHDR* lastHeader = nullptr;

    afx_msg void OnOpenHere() { calls.push_back("derived open"); }
    afx_msg void OnRange(UINT id) { lastRangeId = id; }
    afx_msg BOOL OnMaybe(UINT id) { calls.push_back("maybe"); return maybeAnswer; }
    afx_msg void OnUpdateSave(CCmdUI* pCmdUI)
    {
        pCmdUI->Enable(enableSave);
        if (continueRouting)
            pCmdUI->ContinueRouting();
    }
    afx_msg void OnCustomDraw(NMHDR* header, LRESULT* result)
    {
        lastHeader = header;
        *result = CDRF_NOTIFYITEMDRAW;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedTarget, BaseTarget)
    ON_COMMAND(kOpen, OnOpenHere)
    ON_COMMAND_RANGE(kRangeFirst, kRangeLast, OnRange)
    ON_COMMAND_EX(kMaybe, OnMaybe)
    ON_UPDATE_COMMAND_UI(kSave, OnUpdateSave)
    ON_NOTIFY(NM_CUSTOMDRAW, kList, OnCustomDraw)
END_MESSAGE_MAP()

// Records what update handlers do to the item instead of touching a window.
class RecordingCmdUI : public CCmdUI {
public:
    int enableCalls = 0;
    BOOL enabled = TRUE;
    void Enable(BOOL bOn) override
    {
        ++enableCalls;
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
};

} // namespace

TEST(MessageMap, DerivedEntryReplacesBaseEntryAndBaseEntriesStillWork)
{
    DerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(kOpen, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(kSave, CN_COMMAND, nullptr, nullptr));
    std::vector<std::string> expected = {"derived open", "base save"};
    EXPECT_EQ(expected, target.calls);
    EXPECT_FALSE(target.OnCmdMsg(999, CN_COMMAND, nullptr, nullptr));
}

TEST(MessageMap, RangeHandlersGetTheIdAndStopAtTheirBounds)
{
    struct Case { const char* why; UINT id; bool handled; };
    const Case cases[] = {
        {"first id of the range", kRangeFirst, true},
        {"last id of the range", kRangeLast, true},
        {"one before the range", kRangeFirst - 1, false},
        {"one past the range", kRangeLast + 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        DerivedTarget target;
        EXPECT_EQ(c.handled, target.OnCmdMsg(c.id, CN_COMMAND, nullptr, nullptr) != FALSE);
        EXPECT_EQ(c.handled ? c.id : 0u, target.lastRangeId);
    }
}

TEST(MessageMap, ExtendedCommandHandlerDecidesWhetherItHandled)
{
    DerivedTarget target;
    target.maybeAnswer = FALSE;
    EXPECT_FALSE(target.OnCmdMsg(kMaybe, CN_COMMAND, nullptr, nullptr));
    target.maybeAnswer = TRUE;
    EXPECT_TRUE(target.OnCmdMsg(kMaybe, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(2u, target.calls.size());
}

TEST(MessageMap, HandlerQueryFindsWithoutCalling)
{
    DerivedTarget target;
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    EXPECT_TRUE(target.OnCmdMsg(kOpen, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(&target, info.pTarget);
    EXPECT_NE(nullptr, info.pmf);
    EXPECT_TRUE(target.calls.empty());
}

TEST(MessageMap, NotificationCodesMatchThroughTheirLowWord)
{
    DerivedTarget target;
    NMHDR header = {nullptr, kList, static_cast<UINT>(NM_CUSTOMDRAW)};
    LRESULT result = 0;
    AFX_NOTIFY notify = {&result, &header};
    EXPECT_TRUE(target.OnCmdMsg(kList, MAKELONG(NM_CUSTOMDRAW, WM_NOTIFY), &notify, nullptr));
    EXPECT_EQ(&header, target.lastHeader);
    EXPECT_EQ(CDRF_NOTIFYITEMDRAW, result);
    // The same code from another control id, or as a command, is not this entry.
    EXPECT_FALSE(target.OnCmdMsg(kList + 1, MAKELONG(NM_CUSTOMDRAW, WM_NOTIFY), &notify, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(kList, CN_COMMAND, nullptr, nullptr));
}

TEST(CmdUI, UpdateHandlerSetsTheItemAndCanPassItOn)
{
    DerivedTarget target;
    RecordingCmdUI item;
    item.m_nID = kSave;
    target.enableSave = FALSE;
    EXPECT_TRUE(item.DoUpdate(&target, TRUE));
    EXPECT_FALSE(item.enabled);
    // A handler that continues routing reports the item as not yet updated.
    target.continueRouting = true;
    EXPECT_FALSE(item.DoUpdate(&target, FALSE));
}

TEST(CmdUI, DisablesOnlyItemsThatNothingWouldCarryOut)
{
    struct Case { const char* why; UINT id; BOOL disableIfNoHandler; int enableCalls; BOOL enabled; };
    const Case cases[] = {
        {"a command handler keeps the item as it is", kOpen, TRUE, 0, TRUE},
        {"no handler at all disables", 999, TRUE, 1, FALSE},
        {"no handler, but disabling not asked", 999, FALSE, 0, TRUE},
        {"an update handler's answer stands", kSave, TRUE, 1, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        DerivedTarget target;
        RecordingCmdUI item;
        item.m_nID = c.id;
        item.DoUpdate(&target, c.disableIfNoHandler);
        EXPECT_EQ(c.enableCalls, item.enableCalls);
        EXPECT_EQ(c.enabled, item.enabled);
        EXPECT_TRUE(target.calls.empty());
    }
}
