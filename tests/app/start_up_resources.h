// Resource and command ids of the start-up test program's own resources.
#pragma once

#include "app/AppCommands.h"
#include "framework/FrameworkConstants.h"

#define IDR_START_UP_FRAME 128
#define ID_TEST_COUNT 33001
#define ID_TEST_TOGGLE 33002
#define ID_TEST_NO_HANDLER 33003
