// The flows the file picker tests share, driven through the system's file dialog.
#include "file_picker_test_support.h"

namespace winlib_test {

void DoubleClickOnText(CWnd& edit, UINT flags, int charIndex)
{
    LRESULT position = edit.SendMessage(EM_POSFROMCHAR, static_cast<WPARAM>(charIndex));
    edit.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON | flags, MAKELPARAM(LOWORD(position) + 1, HIWORD(position) + 2));
}

void ExpectLinkedButtonFillsTheEdit(ButtonParent& parent, iFileEdit& edit, iButton& button, const char* caption,
                                    const std::string& chosen, const std::string& fileType)
{
    ClickCounter counter;
    button.SetOnClicked(iConnector(&counter, &ClickCounter::OnClicked));
    const std::string startName = static_cast<LPCSTR>(edit.GetText());

    ExpectFileDialog(chosen, true);
    button.SendMessage(BM_CLICK);
    ASSERT_TRUE(g_fileDialog.sawDialog);
    EXPECT_EQ(startName, g_fileDialog.nameBox);
    EXPECT_EQ(fileType, g_fileDialog.fileType);
    EXPECT_STREQ(chosen.c_str(), edit.GetText());
    CString shown;
    button.GetWindowText(shown);
    EXPECT_STREQ(caption, shown);
    EXPECT_EQ(0, counter.m_count);
    EXPECT_EQ(0, parent.m_clicksSeen);

    // The edit now asks with the button's options.
    ExpectFileDialog("", false);
    DoubleClickOnText(edit, MK_CONTROL);
    ASSERT_TRUE(g_fileDialog.sawDialog);
    EXPECT_EQ(fileType, g_fileDialog.fileType);
}

void ExpectUnlinkedButtonWritesItsCaption(iButton& button, const char* startName, const std::string& chosen,
                                          const std::string& cancelled)
{
    ExpectFileDialog(chosen, true);
    button.SendMessage(BM_CLICK);
    ASSERT_TRUE(g_fileDialog.sawDialog);
    EXPECT_EQ(startName, g_fileDialog.nameBox);
    EXPECT_EQ("All Files (*.*)", g_fileDialog.fileType);
    CString caption;
    button.GetWindowText(caption);
    EXPECT_STREQ(chosen.c_str(), caption);

    ExpectFileDialog(cancelled, false);
    button.SendMessage(BM_CLICK);
    ASSERT_TRUE(g_fileDialog.sawDialog);
    button.GetWindowText(caption);
    EXPECT_STREQ(chosen.c_str(), caption) << "cancel leaves the caption";
}

} // namespace winlib_test
