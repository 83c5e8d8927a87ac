// Resource ids of the program's own resources, beside the framework's standard
// command ids and the program's command ids. Plain defines: the resource script reads it.
#pragma once

#include "app/AppCommands.h"
#include "framework/FrameworkConstants.h"

// The main frame's menu, toolbar, accelerators, icon and document strings.
#define IDR_MAINFRAME 128
