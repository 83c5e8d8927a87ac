// What the tests of the library's two combo boxes share: a page-like parent to put the
// control on, the notifications the system would send it, and the check that each one
// fires its own connector before it reaches the parent.
#pragma once

#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace winlib_test {

template <class Combo>
class ComboTest : public ::testing::Test {
protected:
    void SetUp() override { m_parent = std::make_unique<ComboPage>(); }

    // What the control reports to its parent, as the system sends it.
    void Notify(Combo* combo, int code)
    {
        m_parent->SendMessage(WM_COMMAND, MAKEWPARAM(kComboId, code), reinterpret_cast<LPARAM>(combo->m_hWnd));
    }

    // Binds a counter to every connector, then sends each notification in turn: only its
    // own connector fires, with the control as sender, the parent hears it once, and only
    // selection and edit changes mark the page.
    void ExpectEachNotificationFiresItsOwnConnector(Combo* combo)
    {
        struct Row {
            int code;
            iConnector Combo::*slot;
            bool marksPage;
        };
        const Row kRows[] = {
            {CBN_ERRSPACE, &Combo::m_onErrSpace, false},
            {CBN_SELCHANGE, &Combo::m_onSelChange, true},
            {CBN_DBLCLK, &Combo::m_onDblClk, false},
            {CBN_SETFOCUS, &Combo::m_onSetFocus, false},
            {CBN_KILLFOCUS, &Combo::m_onKillFocus, false},
            {CBN_EDITCHANGE, &Combo::m_onEditChange, true},
            {CBN_EDITUPDATE, &Combo::m_onEditUpdate, true},
            {CBN_DROPDOWN, &Combo::m_onDropDown, false},
            {CBN_CLOSEUP, &Combo::m_onCloseUp, false},
            {CBN_SELENDOK, &Combo::m_onSelEndOk, false},
            {CBN_SELENDCANCEL, &Combo::m_onSelEndCancel, false},
        };
        std::vector<FireCounter> counters(std::size(kRows));
        for (size_t i = 0; i < std::size(kRows); ++i)
            combo->*(kRows[i].slot) = iConnector(&counters[i], &FireCounter::OnFired);

        for (size_t i = 0; i < std::size(kRows); ++i) {
            SCOPED_TRACE("notification " + std::to_string(kRows[i].code));
            m_parent->m_parentSaw.clear();
            int marksBefore = m_parent->m_modifiedMarks;
            Notify(combo, kRows[i].code);
            // Each connector has fired once for its own row and earlier, never for a later one.
            for (size_t j = 0; j < counters.size(); ++j)
                EXPECT_EQ(j <= i ? 1 : 0, counters[j].m_count) << "connector " << j;
            EXPECT_EQ(combo, counters[i].m_sender);
            EXPECT_EQ(std::vector<int>{kRows[i].code}, m_parent->m_parentSaw);
            EXPECT_EQ(marksBefore + (kRows[i].marksPage ? 1 : 0), m_parent->m_modifiedMarks);
        }
    }

    std::unique_ptr<ComboPage> m_parent;
};

} // namespace winlib_test
