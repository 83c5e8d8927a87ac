// Ids of the toolkit tests' own resources (toolkit_test_resources.rc).
#pragma once

// A command string: its status prompt, then its tip after the newline.
#define IDS_TEST_PALETTE 7500
#define IDS_TEST_PROMPT_ONLY 7501
// A context menu: popup 0 holds "First", popup 1 holds "Second".
#define IDR_TEST_CONTEXT_MENU 7510
#define ID_TEST_FIRST 7511
#define ID_TEST_SECOND 7512
