// What the tests of the two kinds of file picker share: an edit of either kind on a parent
// of the library, the double-click that asks it for a name, and the flows every picker
// button must follow, linked to the edit before it or writing its own caption.
#pragma once

#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iFileEdit.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace winlib_test {

// Double-clicks just inside the character at charIndex, with flags (MK_CONTROL) held.
void DoubleClickOnText(CWnd& edit, UINT flags, int charIndex = 1);

// A picker edit of the given kind, bordered as asked, on a top-level parent.
template <class Edit>
class PickerEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent = std::make_unique<iWnd>(nullptr, CRect(0, 0, 400, 200), WS_OVERLAPPEDWINDOW, "parent", 0, 0,
                                          nullptr);
        m_edit = new Edit(m_parent.get(), CRect(10, 10, 300, 32), WS_VISIBLE | WS_BORDER, nullptr, 20);
    }
    void DoubleClick(UINT flags, int charIndex = 1) { DoubleClickOnText(*m_edit, flags, charIndex); }

    // Asked for a border, a picker edit scrolls sideways with a client edge instead, and
    // joins its parent's set.
    void ExpectAClientEdgeInsteadOfABorder()
    {
        EXPECT_TRUE(m_edit->GetStyle() & ES_AUTOHSCROLL);
        EXPECT_FALSE(m_edit->GetStyle() & WS_BORDER);
        EXPECT_TRUE(m_edit->GetExStyle() & WS_EX_CLIENTEDGE);
        EXPECT_EQ(1u, m_parent->GetWindowSet().count(m_edit));
    }

    // Ctrl + double-click, then cancel the dialog: the text stays as it was.
    void ExpectCancellingLeavesTheTextAlone()
    {
        m_edit->SetWindowText("keep.bmp");
        ExpectFileDialog("", false);
        DoubleClick(MK_CONTROL);
        ASSERT_TRUE(g_fileDialog.sawDialog);
        EXPECT_STREQ("keep.bmp", m_edit->GetText());
    }

    // A double-click without Ctrl opens no dialog and selects the first word of
    // "alpha beta", with or without the blank after it as the platform breaks words.
    void ExpectAPlainDoubleClickSelectsTheFirstWord()
    {
        m_edit->SetWindowText("alpha beta");
        m_edit->SetSel(0, 0);
        g_fileDialog = FileDialogScript();
        DoubleClick(0);
        int start = -1, end = -1;
        m_edit->GetSel(start, end);
        EXPECT_EQ(0, start);
        EXPECT_GE(end, 5);
        EXPECT_LE(end, 6);
        EXPECT_FALSE(g_fileDialog.sawDialog);
    }

    std::unique_ptr<iWnd> m_parent;
    Edit* m_edit = nullptr;
};

// Clicks a linked button (caption given, options set, the edit holding a name) and
// chooses a path: the edit takes it, the button keeps its caption and consumes the click,
// and the edit's own Ctrl + double-click then asks with the button's options.
void ExpectLinkedButtonFillsTheEdit(ButtonParent& parent, iFileEdit& edit, iButton& button, const char* caption,
                                    const std::string& chosen, const std::string& fileType);

// Clicks an unlinked button whose caption is startName, with no filter of its own: the
// dialog starts on that name and every file, the chosen path becomes the caption, and a
// cancelled second choice leaves it.
void ExpectUnlinkedButtonWritesItsCaption(iButton& button, const char* startName, const std::string& chosen,
                                          const std::string& cancelled);

} // namespace winlib_test
