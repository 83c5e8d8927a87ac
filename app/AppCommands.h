// Command ids of the program's own, beside the framework's standard ids. Plain
// defines: the resource scripts use them too.
#pragma once

// Answered by the application without any action.
#define ID_APP_SPARE 57672
#define ID_APP_SEND_TO_FRIEND 57673
// Taken by the workspace view; the application answers it without any action.
#define ID_APP_BANNER_HISTORY 57674

// The Extra menu's range, taken by the workspace view; Options is its one command.
#define ID_EXTRA_FIRST 300
#define ID_EXTRA_OPTIONS 301
#define ID_EXTRA_LAST 399
