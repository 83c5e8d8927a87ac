// Makes sure no foundation test ever waits for a person: any message box that a
// test did not expect fails that test and is answered with Cancel.
#include "lib/src/MsgBox.h"

#include <gtest/gtest.h>

namespace {

int UnexpectedBox(HWND, const char* text, const char* caption, UINT)
{
    ADD_FAILURE() << "unexpected message box \"" << (caption ? caption : "") << "\": " << text;
    return IDCANCEL;
}

class NoMessageBoxes : public ::testing::Environment {
public:
    void SetUp() override { SetMsgBoxShowFunction(UnexpectedBox); }
};

const ::testing::Environment* const g_noMessageBoxes = ::testing::AddGlobalTestEnvironment(new NoMessageBoxes);

} // namespace
