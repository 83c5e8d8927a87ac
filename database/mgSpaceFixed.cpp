// Fixed-length record space: new positions from the deleted-record chain or the end of the
// file, and records given back onto the chain.
// Keeps invariant 1 of the space layer: a record whose first byte is already 0xFF is never
// freed again (a second free would link it twice, make a cycle and hand one position out
// twice), and every link taken from the chain must be a record of this file marked 0xFF.
#include "database/mgSpace.h"

#include <cstring>

#include "database/mgLock.h"
#include "database/mgOs.h"
#include "database/mgRuntime.h"

namespace {

// Raises the counts of a data file: entry_count for fixed-length files, the serial number
// when asked; 0 or 44 when the serial numbers are exhausted.
uint16_t RaiseCounts(mgFileControl* f, bool serial)
{
    if (mgIsFixed(f))
        mgSetH32(f, kHdrEntryCount, mgH32(f, kHdrEntryCount) + 1);
    if (serial) {
        uint32_t next = mgH32(f, kHdrSerialNumber) + 1;
        if (next == 0 && !(mgH16(f, kHdrAttributeFlags) & 0x004A)) {
            if (mgIsFixed(f))
                mgSetH32(f, kHdrEntryCount, mgH32(f, kHdrEntryCount) - 1);
            return mgSetError(kMgSerialExhausted);
        }
        mgSetH32(f, kHdrSerialNumber, next);
        mgCtx()->lastSerial = next;
    }
    return 0;
}

void LowerCounts(mgFileControl* f)
{
    if (mgIsFixed(f))
        mgSetH32(f, kHdrEntryCount, mgH32(f, kHdrEntryCount) - 1);
}

// A record position of this fixed-length file: on a record boundary, inside the file.
bool IsRecordPosition(mgFileControl* f, uint32_t position)
{
    mgFileControl* space = mgSpaceFile(f);
    uint64_t end = uint64_t(position) + mgDataOffset(f) + mgRecordLength(f) - 1;
    if (position < kMgHeaderSize || end > mgH32(space, kHdrLogicalEnd))
        return false;
    if (mgIsMember(f))
        return true;
    uint32_t first = mgFirstRecordPosition(f);
    return position >= first && (position - first) % mgRecordLength(f) == 0;
}

} // namespace

uint16_t mgRaiseDataCounts(mgFileControl* f, bool serial)
{
    return RaiseCounts(f, serial);
}

void mgLowerDataCounts(mgFileControl* f)
{
    LowerCounts(f);
}

mgFileControl* mgSpaceFile(mgFileControl* f)
{
    mgFileControl* first = mgGroupFirst(f);
    return mgIsMember(first) ? first->partner : first;
}

uint32_t mgDataOffset(mgFileControl* f)
{
    mgFileControl* first = mgGroupFirst(f);
    if (mgIsMember(first))
        return (mgH16(first, kHdrAttributeFlags) & 0x0040) ? 22 : 18;
    if (mgIsVariable(first))
        return 10;
    return 0;
}

uint16_t mgCheckPosition(mgFileControl* f, uint32_t position)
{
    if (position == 0)
        return mgSetError(kMgPositionZero);
    mgFileControl* space = mgSpaceFile(f);
    if (position > mgH32(space, kHdrLogicalEnd)) {
        mgRefreshHeader(space);
        if (position > mgH32(space, kHdrLogicalEnd))
            return mgSetError(kMgBeyondEnd);
    }
    return 0;
}

uint32_t mgNewRecordPosition(mgFileControl* f)
{
    mgInstanceContext* ctx = mgCtx();
    if (!mgIsFixed(f)) {
        mgSetError(kMgWrongFileKind);
        return 0;
    }
    uint32_t header = mgHeaderPosition(f);
    if (uint16_t error = mgLockHeader(header, f, true)) {
        mgSetError(error);
        return 0;
    }
    if (uint16_t error = mgRefreshHeader(f)) {
        mgUnlockHeader(header, f);
        mgSetError(error);
        return 0;
    }
    uint32_t head = mgH32(f, kHdrDeleteHead);
    if (head == 0 && mgIsMember(f)) {
        mgUnlockHeader(header, f);
        return mgNewVariableRecord(f, mgRecordLength(f));
    }
    uint32_t position = 0;
    uint16_t error = 0;
    if (head == 0) {
        if ((error = RaiseCounts(f, true)) == 0) {
            position = mgExtendFile(f, mgRecordLength(f), 0);
            if (position == 0) {
                error = ctx->uerr_cod ? ctx->uerr_cod : uint16_t(kMgFileTooLarge);
                LowerCounts(f);
            } else if ((error = mgWriteHeader(f)) != 0) {
                LowerCounts(f);
                position = 0;
            }
        }
    } else {
        uint8_t link[5];
        if (!IsRecordPosition(f, head)) {
            error = kMgDeleteChainBroken;
        } else if ((error = RaiseCounts(f, true)) == 0) {
            error = mgReadWrite(kMgRead, f, head + mgDataOffset(f), link, 5, nullptr);
            uint32_t next = mgGet32(link + 1);
            if (!error && (link[0] != kMgDeletedMark || next == head || (next != 0 && !IsRecordPosition(f, next))))
                error = kMgDeleteChainBroken;
            if (!error) {
                mgSetH32(f, kHdrDeleteHead, next);
                error = mgWriteHeader(f);
                if (error)
                    mgSetH32(f, kHdrDeleteHead, head);
            }
            if (error)
                LowerCounts(f);
            else
                position = head;
        }
        if (error == kMgDeleteChainBroken) {
            mgStatusLogFile("Deleted-record chain broken...", mgPhysicalFile(f)->name, kMgDeleteChainBroken);
        }
    }
    uint16_t unlock = mgUnlockHeader(header, f);
    if (error) {
        mgSetError(error);
        return 0;
    }
    if (unlock) {
        mgSetError(unlock);
        return 0;
    }
    return position;
}

uint16_t mgFreeRecord(mgFileControl* f, uint32_t position, int count)
{
    if (uint16_t error = mgCheckWritable(f))
        return error;
    if (!mgIsFixed(f))
        return mgSetError(kMgWrongFileKind);
    if (uint16_t error = mgCheckPosition(f, position))
        return error;
    if (!IsRecordPosition(f, position))
        return mgSetError(kMgBeyondEnd);
    if ((f->mode & kMgModeLockedWrites) && mgIsShared(f) && mgTestLock(f->fileNumber, kMgKindWrite, position) != 0)
        return mgSetError(kMgNotLocked);
    uint32_t header = mgHeaderPosition(f);
    if (uint16_t error = mgLockHeader(header, f, true))
        return error;
    uint16_t error = mgRefreshHeader(f);
    uint8_t mark[5];
    if (!error)
        error = mgReadWrite(kMgRead, f, position + mgDataOffset(f), mark, 1, nullptr);
    // Freed before: refused, whether or not it heads the chain.
    if (!error && (mark[0] == kMgDeletedMark || mgH32(f, kHdrDeleteHead) == position))
        error = kMgAlreadyDeleted;
    if (!error) {
        uint32_t oldHead = mgH32(f, kHdrDeleteHead);
        mark[0] = kMgDeletedMark;
        mgPut32(mark + 1, oldHead);
        error = mgReadWrite(kMgWrite, f, position + mgDataOffset(f), mark, 5, nullptr);
        if (!error) {
            if (count)
                mgSetH32(f, kHdrEntryCount, mgH32(f, kHdrEntryCount) - 1);
            mgSetH32(f, kHdrDeleteHead, position);
            mgRemoveLock(position, f->fileNumber);
            error = mgWriteHeader(f);
            if (error) {
                if (count)
                    mgSetH32(f, kHdrEntryCount, mgH32(f, kHdrEntryCount) + 1);
                mgSetH32(f, kHdrDeleteHead, oldHead);
            }
        }
    }
    uint16_t unlock = mgUnlockHeader(header, f);
    if (error)
        return mgSetError(error);
    return unlock;
}

uint16_t mgDeleteRecordSpace(mgFileControl* f, uint32_t position)
{
    return mgFreeRecord(f, position, 1);
}

uint16_t mgReadRecordBytes(mgFileControl* f, uint32_t position, void* buffer)
{
    if (!buffer)
        return mgSetError(kMgNoBuffer);
    if (uint16_t error = mgCheckPosition(f, position))
        return error;
    return mgReadWrite(kMgRead, f, position + mgDataOffset(f), buffer, mgRecordLength(f), nullptr);
}

uint16_t mgWriteRecordAt(mgFileControl* f, uint32_t position, const void* buffer)
{
    if (!mgIsFixed(f))
        return mgWriteVariableRecord(f, position, buffer, mgRecordLength(f), false);
    if (!buffer)
        return mgSetError(kMgNoBuffer);
    if (uint16_t error = mgCheckWritable(f))
        return error;
    if (uint16_t error = mgCheckPosition(f, position))
        return error;
    if ((f->mode & kMgModeLockedWrites) && mgIsShared(f) && mgTestLock(f->fileNumber, kMgKindWrite, position) != 0)
        return mgSetError(kMgNotLocked);
    return mgReadWrite(kMgWrite, f, position + mgDataOffset(f), const_cast<void*>(buffer), mgRecordLength(f),
                       nullptr);
}
