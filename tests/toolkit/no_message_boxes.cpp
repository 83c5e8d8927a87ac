// Makes sure no toolkit test ever waits for a person: a message box that a test did not
// expect fails that test and is answered with Cancel.
#include "framework/AfxMessageBox.h"
#include "lib/src/MsgBox.h"

#include <gtest/gtest.h>

namespace {

int UnexpectedToolkitBox(HWND, const char* text, const char* caption, UINT)
{
    ADD_FAILURE() << "unexpected message box \"" << (caption ? caption : "") << "\": " << text;
    return IDCANCEL;
}

class NoToolkitMessageBoxes : public ::testing::Environment {
public:
    void SetUp() override
    {
        SetMsgBoxShowFunction(UnexpectedToolkitBox);
        AfxSetMessageBoxFunction(UnexpectedToolkitBox);
    }
};

const ::testing::Environment* const g_noToolkitBoxes =
    ::testing::AddGlobalTestEnvironment(new NoToolkitMessageBoxes);

} // namespace
