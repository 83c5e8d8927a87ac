// The special-folder lookup behind the first-run folders: the folder when the shell
// gives it, the fallback when any step fails, and the library released on every path.
#include "app/ShellFolder.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// A system library nothing in this program loads, so that its release can be seen.
constexpr const char* kUnusedLibrary = "cabinet.dll";

} // namespace

TEST(ShellFolder, GivesTheShellsFolder)
{
    char expected[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_MYPICTURES | CSIDL_FLAG_CREATE, nullptr,
                                           SHGFP_TYPE_CURRENT, expected)));
    EXPECT_EQ(std::string(expected), std::string(ShellFolderPathOr(nullptr, CSIDL_MYPICTURES, "C:\\")));
}

TEST(ShellFolder, FallsBackAndReleasesTheLibraryWhateverStepFails)
{
    ASSERT_EQ(nullptr, GetModuleHandleA(kUnusedLibrary)) << "precondition: the library is not loaded yet";
    struct Case { const char* why; const char* library; const char* function; int csidl; };
    const Case cases[] = {
        {"no such library", "sorvanta_no_such_library.dll", "SHGetSpecialFolderPathA", CSIDL_MYPICTURES},
        {"no such function in the library", kUnusedLibrary, "SHGetSpecialFolderPathA", CSIDL_MYPICTURES},
        {"the shell refuses the folder id", "Shell32.dll", "SHGetSpecialFolderPathA", 0x7F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iString folder = ShellFolderPathOr(nullptr, c.csidl, "C:\\", c.library, c.function);
        EXPECT_STREQ("C:\\", folder);
        EXPECT_EQ(nullptr, GetModuleHandleA(kUnusedLibrary));
    }
}
