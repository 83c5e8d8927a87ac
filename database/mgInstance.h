// Engine instances: named contexts in a ring behind the process-wide current-instance
// pointer, the engine start (mgInitIsam, mgInitIsamEx) and stop (mgStopIsam), and the
// error words every engine call sets.
#pragma once

#include <cstdint>

#include "database/mgContext.h"

// The name of the instance the engine registers by itself.
constexpr const char* kMgDefaultInstance = "mgREG_DEF_ID";

uint16_t mgRegisterInstance(const char* name);
uint16_t mgSwitchInstance(const char* name);
const char* mgCurrentInstanceId();
mgInstanceContext* mgGetInstanceContext(const char* name);
uint16_t mgUnregisterInstance(const char* name);

int16_t mgInitIsam(int buffers, int files, int sectors);
int16_t mgInitIsamEx(int buffers, int files, int sectors, int dataBuffers, int profile, int reserved1,
                     int reserved2, int reserved3);
int16_t mgStopIsam();

uint16_t mgSetIsamError(uint16_t code, uint16_t fileNumber);
uint32_t mgTakeLockFlags();
uint16_t mgFormatVersion();
uint16_t mgCheckFormatVersion(uint16_t version);
// How long a region lock is waited for: attempts after the first and the sleep between
// them (default 3000 x 50 ms, about 150 s); tests and interactive callers wait less.
void mgSetLockWait(int retries, int sleepMs);
// Makes the set tables cover a new number of file numbers; 1 on success, 0 when memory
// is short (the old tables then stay).
int mgGrowSetTables(int numbers);
void mgResetSetEntry(int fileNumber);
