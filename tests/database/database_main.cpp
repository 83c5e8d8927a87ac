// The engine's test program. Run with "--child <scenario> <path>" it is the second process
// of the cross-process lock tests instead.
#include <gtest/gtest.h>

#include <cstring>

int RunLockChild(int argc, char** argv);

int main(int argc, char** argv)
{
    if (argc >= 2 && strcmp(argv[1], "--child") == 0)
        return RunLockChild(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
