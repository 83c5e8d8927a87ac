// Operating-system layer of the engine: positioned transfers, file create, open, close,
// delete and flush, one-byte region locks beyond every file's data, file names and the
// two start-up probes. All file access goes through one replaceable table of functions
// (mgIoFunctions), so tests can fail the Nth write, cut a write short or refuse a lock.
#pragma once

#include <windows.h>

#include <cstdint>

#include "database/mgContext.h"

struct mgFileControl;

// The engine's whole access to files. Each function reports failure like the Win32 call
// it stands for (FALSE or INVALID_HANDLE_VALUE, the reason in GetLastError).
struct mgIoFunctions {
    HANDLE (*open)(const char* name, DWORD access, DWORD share, DWORD disposition);
    BOOL (*close)(HANDLE handle);
    BOOL (*remove)(const char* name);
    BOOL (*read)(HANDLE handle, uint64_t position, void* buffer, DWORD length, DWORD* done);
    BOOL (*write)(HANDLE handle, uint64_t position, const void* buffer, DWORD length, DWORD* done);
    BOOL (*size)(HANDLE handle, uint64_t* size);
    BOOL (*flush)(HANDLE handle);
    BOOL (*lock)(HANDLE handle, uint64_t offset, DWORD length);
    BOOL (*unlock)(HANDLE handle, uint64_t offset, DWORD length);
};

// The functions over the Win32 kernel.
const mgIoFunctions& mgWin32Io();
// Installs another table (null: the Win32 one); answers the one it replaces.
const mgIoFunctions* mgSetIoFunctions(const mgIoFunctions* io);
const mgIoFunctions& mgIo();

// I/O operation codes; 0x10 marks a header transfer, 0x20 a filler transfer, 0x40 the
// writing of a changed data buffer (mgDataCache.h).
constexpr int kMgRead = 0;
constexpr int kMgWrite = 1;
constexpr int kMgHeaderTransfer = 0x10;
constexpr int kMgFillerTransfer = 0x20;
constexpr int kMgWriteBackTransfer = 0x40;

uint16_t mgReadWrite(int operation, mgFileControl* f, uint32_t position, void* buffer, uint32_t length,
                     uint32_t* transferred);
uint16_t mgReadWriteChecked(int operation, mgFileControl* f, uint32_t position, void* buffer, long length);
// Length of the file's disk file in bytes; -1 on failure (uerr_cod set).
long long mgFileSize(mgFileControl* f);
HANDLE mgCreateSystemFile(mgFileControl* f, const char* name);
HANDLE mgOpenSystemFile(mgFileControl* f, const char* name, uint16_t mode);
int mgCloseSystemFile(mgFileControl* f, HANDLE handle);
uint16_t mgDeleteSystemFile(const char* name, bool noPrefix);
uint16_t mgsave(mgFileControl* f);

// Region locks: kind 1 waits, 2 tries once, 4 unlocks. Answers 0 or the system error.
DWORD mgRegionLock(HANDLE handle, DWORD offset, DWORD length, int kind);
uint16_t mgLockHeader(uint32_t position, mgFileControl* f, bool wait);
uint16_t mgUnlockHeader(uint32_t position, mgFileControl* f);
uint16_t mgLockNode(uint32_t position, mgFileControl* f);
uint16_t mgUnlockNode(uint32_t position, mgFileControl* f);
// Record locks of the lock table place their region lock through these (wait: mode 3).
uint16_t mgLockPosition(uint32_t position, mgFileControl* f, bool wait);
uint16_t mgUnlockPosition(uint32_t position, mgFileControl* f);
// The region-lock byte of a position (the lock area lies below 0xFFF7FFFF); 0 and error
// 653 when the file reaches into the lock area.
DWORD mgLockOffset(mgFileControl* f, uint32_t position, bool header);

int mgSameFileName(const char* a, const char* b);
uint16_t mgPrefixDirectory(char* name, const char* directory);
int mgDriveClass(const char* name);
int mgSystemClass();
// The class from version data (tests inject it): extended = the record has a product type.
int mgSystemClassFrom(const OSVERSIONINFOEXA& version, bool extended, const char* productType);
int mgRedirectorProbe();
void mgSleep(DWORD milliseconds);
uint32_t mgNow();
void mgNowText(uint32_t time, char* text, size_t size);
// Start-up step of the operating-system layer: the fill buffer, probes and lock waits.
uint16_t mgOsStart();
void mgOsStop();
