// The data buffers of an instance: blocks of node size of the files no other handle can
// change (not shared, not read under region locks). Records are read from kept blocks, and
// record writes of one or two blocks go into them, marked changed, to reach the disk when
// the buffer is reused, the file is flushed or closed, or another transfer touches the
// block. The file's update flag is on disk before the first change as for every write,
// and a close writes the changed blocks before the flag is cleared, so a process that ends
// with changed blocks leaves a file the next open refuses (14). A file's blocks are
// dropped when its handle closes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "database/mgContext.h"
#include "database/mgFile.h"

struct mgDataBuffer {
    mgRing hash;
    mgRing lru;
    mgFileControl* owner; // the physical file whose handle the block was read with
    HANDLE handle;        // null: the buffer holds no block
    uint32_t block;
    uint32_t valid; // bytes of the block the file holds (short at its end)
    bool changed;   // bytes not yet written to the disk
    uint8_t* bytes;
};

// Makes the instance's data buffers (count of them, each of the node size, none below
// four); 0 or 10.
uint16_t mgDataCacheStart(int count);
void mgDataCacheStop();
// Whether transfers of this data file, carried by that physical file, may use the blocks.
bool mgDataCacheServes(mgFileControl* f, mgFileControl* phys);

enum mgDataTransfer {
    kMgDataKept,           // done with the blocks
    kMgDataNotKept,        // transfer directly (the range is not one the blocks can hold)
    kMgDataTransferFailed, // a block could not be read (the reason in GetLastError)
    kMgDataWriteBackFailed, // a changed block could not be written to make room (uerr_cod)
};
// Copies the bytes from kept blocks, reading missing blocks whole.
mgDataTransfer mgDataCacheRead(mgFileControl* phys, uint32_t position, void* buffer, uint32_t length);
// Puts a write of at most two blocks into kept blocks, marked changed.
mgDataTransfer mgDataCacheWrite(mgFileControl* phys, uint32_t position, const void* buffer, uint32_t length);
// After a direct write of the handle: kept blocks take the written bytes, or are dropped
// when the write failed or left a gap in them.
void mgDataCacheWritten(HANDLE handle, uint32_t position, const void* buffer, uint32_t length, bool whole);
// Writes the changed blocks of the physical file that the range touches (all of them for
// kMgWholeFileRange); a block that cannot be written is dropped and its error answered.
constexpr uint32_t kMgWholeFileRange = 0xFFFFFFFF;
uint16_t mgDataCacheWriteBack(mgFileControl* phys, uint32_t position, uint32_t length);
// Drops every block of the handle (it is being closed; changed blocks are written first
// by the caller).
void mgDataCacheForget(HANDLE handle);
