// The command-line record's default per-parameter hook.
#include "CommandLineInfo.h"

void CCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast) {}
