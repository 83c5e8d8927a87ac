// The data buffers of an instance: blocks of node size read from data files and kept, so
// that a record read again costs no system call. Only files that no other handle can
// change are kept (not shared, not read under region locks); every write of the engine
// goes to disk at once and into any kept block it covers, so the blocks never differ from
// the disk. A file's blocks are dropped when its handle closes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "database/mgContext.h"
#include "database/mgFile.h"

struct mgDataBuffer {
    mgRing hash;
    mgRing lru;
    HANDLE handle; // null: the buffer holds no block
    uint32_t block;
    uint32_t valid; // bytes of the block the file holds (short at its end)
    uint8_t* bytes;
};

// Makes the instance's data buffers (count of them, each of the node size); 0 or 10.
uint16_t mgDataCacheStart(int count);
void mgDataCacheStop();
// Whether reads of this data file, carried by that physical file, may come from the blocks.
bool mgDataCacheServes(mgFileControl* f, mgFileControl* phys);
enum mgDataRead {
    kMgDataKept,       // the bytes came from kept blocks
    kMgDataNotKept,    // the file ends inside the range: read it directly for the disk's answer
    kMgDataReadFailed, // reading a missing block failed (the reason in GetLastError)
};
// Copies the bytes from kept blocks, reading missing blocks whole.
mgDataRead mgDataCacheRead(HANDLE handle, uint32_t position, void* buffer, uint32_t length);
// After a write of the handle: kept blocks take the written bytes, or are dropped when
// the write failed or left a gap in them.
void mgDataCacheWritten(HANDLE handle, uint32_t position, const void* buffer, uint32_t length, bool whole);
// Drops every block of the handle (it is being closed).
void mgDataCacheForget(HANDLE handle);
