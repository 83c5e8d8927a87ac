// Region locks between handles and processes.
#include <gtest/gtest.h>

#include "database_test_support.h"

int RunLockChild(int argc, char** argv)
{
    (void)argc;
    (void)argv;
    return 2;
}
