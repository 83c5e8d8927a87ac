// Makes sure no banner test ever waits for a person: any message box a test did not
// expect fails that test and is answered with Cancel.
#include "lib/src/MsgBox.h"

#include <gtest/gtest.h>

namespace {

int UnexpectedBannerBox(HWND, const char* text, const char* caption, UINT)
{
    ADD_FAILURE() << "unexpected message box \"" << (caption ? caption : "") << "\": " << text;
    return IDCANCEL;
}

class NoBannerMessageBoxes : public ::testing::Environment {
public:
    void SetUp() override { SetMsgBoxShowFunction(UnexpectedBannerBox); }
};

const ::testing::Environment* const g_noBannerMessageBoxes =
    ::testing::AddGlobalTestEnvironment(new NoBannerMessageBoxes);

} // namespace
