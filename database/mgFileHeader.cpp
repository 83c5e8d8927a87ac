// Header transfers, the update flag, and file growth.
// Keeps invariant 2 of the file layer: before the first write of a change reaches a file
// opened with the pending-update bit, the single update-flag byte (0xFF) is written and
// flushed. One byte cannot be torn, so a file cut anywhere later says "left mid-change".
// While the flag is set the header image stays ahead of the disk and is written at close.
// A file opened shared writes its header at every change, so its flag is not deferred; it is
// set all the same, and a session byte says whose it is: each handle that changes the file
// holds one of 32 one-byte region locks beyond the lock area (per member of a host) until its
// close. A process that ends in the middle of a change loses its locks with its handles, so
// the next open finds the flag set and no session alive: left mid-change (14).
#include "database/mgFile.h"

#include <cstring>
#include <vector>

#include "database/mgOs.h"
#include "database/mgRuntime.h"

namespace {

constexpr uint32_t kSessionBytes = kMgLockAreaTop + 1;
constexpr int kSessions = 32;

DWORD SessionByte(const mgFileControl* t, int slot)
{
    return kSessionBytes + (mgH32(t, kHdrMemberId) & 0x3FFF) * kSessions + uint32_t(slot);
}

HANDLE HandleOf(mgFileControl* t)
{
    mgFileControl* first = mgGroupFirst(t);
    mgFileControl* holder = mgIsMember(first) ? first->partner : first;
    if (holder && holder->status == 'v')
        mgReopenVirtual(holder);
    return holder ? holder->handle : INVALID_HANDLE_VALUE;
}

bool ChangesShared(const mgFileControl* t)
{
    return (t->mode & kMgModeShared) && !(t->mode & kMgModeReadOnly);
}

// The flag byte written alone (one byte cannot be torn), under the header lock, and flushed;
// a failed change another handle marked stays marked.
uint16_t WriteFlag(mgFileControl* t, uint8_t flag)
{
    uint32_t header = mgHeaderPosition(t);
    if (uint16_t error = mgLockHeader(header, t, true))
        return error;
    uint8_t onDisk = 0;
    uint16_t error = mgReadWrite(kMgRead | kMgHeaderTransfer, t, header + kHdrUpdateFlag, &onDisk, 1, nullptr);
    if (!error && onDisk == kMgUpdateFailed) {
        t->header[kHdrUpdateFlag] = kMgUpdateFailed;
        return mgUnlockHeader(header, t);
    }
    t->header[kHdrUpdateFlag] = flag;
    if (!error)
        error = mgReadWrite(kMgWrite | kMgHeaderTransfer, t, header + kHdrUpdateFlag, &flag, 1, nullptr);
    if (!error)
        error = mgsave(t);
    uint16_t unlock = mgUnlockHeader(header, t);
    return error ? error : unlock;
}

uint16_t MarkShared(mgFileControl* t)
{
    if (!t || !ChangesShared(t) || t->sessionSlot)
        return 0;
    HANDLE handle = HandleOf(t);
    const mgIoFunctions& io = mgIo();
    int slot = 0;
    while (slot < kSessions && !io.lock(handle, SessionByte(t, slot), 1))
        ++slot;
    if (slot == kSessions)
        return mgSetError(kMgHeaderLockFailed);
    t->sessionSlot = uint8_t(slot + 1);
    // A file holding region locks is never closed behind the caller's back, which would
    // give the session byte up.
    t->regionLocks += 1;
    uint16_t error = WriteFlag(t, kMgUpdateChanged);
    if (error) {
        io.unlock(handle, SessionByte(t, slot), 1);
        t->sessionSlot = 0;
        t->regionLocks -= 1;
    }
    return error;
}

uint16_t WriteBytes(mgFileControl* f, int offset, int length)
{
    mgFileControl* first = mgGroupFirst(f);
    if (first->flags & kMgPendingUpdate) {
        if (first->header[kHdrUpdateFlag] == 0) {
            if (uint16_t error = mgMarkUpdate(f))
                return error;
        }
        return 0;
    }
    if (uint16_t error = mgMarkUpdate(f))
        return error;
    // The flag goes with every image of its file that a session writes (a failed change's
    // mark, read with the header, stays).
    if (f->sessionSlot && f->header[kHdrUpdateFlag] != kMgUpdateFailed)
        f->header[kHdrUpdateFlag] = kMgUpdateChanged;
    mgSetH32(f, kHdrWriteCount, mgH32(f, kHdrWriteCount) + 1);
    return mgReadWrite(kMgWrite | kMgHeaderTransfer, f, mgHeaderPosition(f) + uint32_t(offset), f->header + offset,
                       uint32_t(length), nullptr);
}

uint16_t MarkOne(mgFileControl* t)
{
    if (!t || !(t->flags & kMgPendingUpdate) || t->header[kHdrUpdateFlag] != 0 || (t->mode & kMgModeReadOnly))
        return 0;
    uint8_t flag = kMgUpdateChanged;
    t->header[kHdrUpdateFlag] = flag;
    if (uint16_t error = mgReadWrite(kMgWrite | kMgHeaderTransfer, t, mgHeaderPosition(t) + kHdrUpdateFlag, &flag,
                                     1, nullptr)) {
        t->header[kHdrUpdateFlag] = 0;
        return error;
    }
    return mgsave(t);
}

// Moves the physical end past a new logical end by the extension rules and fills the
// added bytes with 0xFF; 0 or the error (the logical end is then restored).
uint16_t GrowPhysical(mgFileControl* f, uint32_t oldLogical, uint32_t bytes, uint64_t wanted)
{
    mgInstanceContext* ctx = mgCtx();
    uint32_t physical = mgH32(f, kHdrPhysicalEnd);
    if (wanted <= physical)
        return 0;
    uint64_t extension = mgH16(f, kHdrExtensionSize);
    uint64_t target = physical;
    if (bytes >= extension) {
        target = wanted;
        if (extension == 0) {
            mgSetH32(f, kHdrPhysicalEnd, uint32_t(target));
            return 0;
        }
    }
    if (target < extension - 1) {
        target = extension - 1;
        if (target < wanted)
            target = (extension - 1 + wanted) / extension * extension - 1;
    } else {
        target += extension;
    }
    if (target >= 0xE8000000ull)
        target = wanted;
    if (target < wanted) {
        mgSetH32(f, kHdrPhysicalEnd, uint32_t(wanted));
        return 0;
    }
    uint64_t written = uint64_t(physical) + 1;
    while (written <= target) {
        uint64_t chunk = target + 1 - written;
        if (chunk > uint64_t(ctx->fillSize))
            chunk = uint64_t(ctx->fillSize);
        if (mgReadWrite(kMgWrite | kMgFillerTransfer, f, uint32_t(written), ctx->fillBuffer, uint32_t(chunk),
                        nullptr) != 0)
            break;
        written += chunk;
    }
    if (written <= target) {
        uint64_t last = written - 1;
        mgSetH32(f, kHdrPhysicalEnd, uint32_t(last > physical ? last : physical));
        if (last < wanted) {
            uint16_t error = ctx->uerr_cod ? ctx->uerr_cod : uint16_t(kMgShortWrite);
            mgSetH32(f, kHdrLogicalEnd, oldLogical);
            return error;
        }
        mgSetError(0);
    } else {
        mgSetH32(f, kHdrPhysicalEnd, uint32_t(target));
    }
    if (!(f->mode & kMgModeTransaction20)) {
        if (uint16_t error = mgsave(f))
            return error;
    }
    return 0;
}

} // namespace

void mgMarkFailed(mgFileControl* f)
{
    mgFileControl* first = mgGroupFirst(f);
    mgFileControl* targets[2] = {first, mgIsMember(first) ? first->partner : nullptr};
    for (mgFileControl* t : targets) {
        if (!t || (t->flags & kMgSessionFailed))
            continue;
        t->flags |= kMgSessionFailed;
        // A file changed without the deferred flag (opened shared) is marked on disk now, as
        // far as the disk still takes it, with the mark no other handle's close clears.
        if (!(t->flags & kMgPendingUpdate) && !(t->mode & kMgModeReadOnly)) {
            uint8_t flag = kMgUpdateFailed;
            mgReadWrite(kMgWrite | kMgHeaderTransfer, t, mgHeaderPosition(t) + kHdrUpdateFlag, &flag, 1, nullptr);
            t->header[kHdrUpdateFlag] = kMgUpdateFailed;
        }
    }
}

uint16_t mgMarkUpdate(mgFileControl* f)
{
    mgFileControl* first = mgGroupFirst(f);
    if (uint16_t error = MarkOne(first))
        return error;
    if (mgIsMember(first)) {
        if (uint16_t error = MarkOne(first->partner))
            return error;
    }
    if (uint16_t error = MarkShared(first))
        return error;
    return mgIsMember(first) ? MarkShared(first->partner) : 0;
}

bool mgSessionAlive(mgFileControl* f)
{
    HANDLE handle = HandleOf(f);
    const mgIoFunctions& io = mgIo();
    for (int slot = 0; slot < kSessions; ++slot) {
        if (f->sessionSlot == slot + 1)
            continue;
        if (!io.lock(handle, SessionByte(f, slot), 1))
            return true;
        io.unlock(handle, SessionByte(f, slot), 1);
    }
    return false;
}

uint16_t mgEndSharedSession(mgFileControl* f, bool failed)
{
    if (!f->sessionSlot)
        return 0;
    // The look at the other sessions, the flag and the giving up of this session byte happen
    // under one header lock: of two handles closing at once, the later one sees the earlier
    // gone and clears the flag, and a handle starting a session (its flag write waits for
    // the lock) sets the flag after any clearing.
    uint32_t header = mgHeaderPosition(f);
    uint16_t error = mgLockHeader(header, f, true);
    bool locked = error == 0;
    if (locked && !failed && !mgSessionAlive(f))
        error = WriteFlag(f, 0);
    mgIo().unlock(HandleOf(f), SessionByte(f, f->sessionSlot - 1), 1);
    f->sessionSlot = 0;
    f->regionLocks -= 1;
    if (locked) {
        uint16_t unlock = mgUnlockHeader(header, f);
        if (!error)
            error = unlock;
    }
    return error;
}

uint16_t mgReadHeader(mgFileControl* f, bool atOpen)
{
    mgFileControl* first = mgGroupFirst(f);
    if ((first->flags & kMgPendingUpdate) && first->header[kHdrUpdateFlag] != 0 && !atOpen)
        return 0;
    uint32_t position = mgHeaderPosition(f);
    uint8_t image[kMgHeaderSize];
    if (uint16_t error = mgReadWrite(kMgRead | kMgHeaderTransfer, f, position, image, kMgHeaderSize, nullptr))
        return error;
    if (mgGet32(image + kHdrHeaderPosition) != position)
        return mgSetError(kMgBadHeader);
    uint16_t permanentBit = mgH16(f, kHdrFileMode) & kMgModePermanent;
    if (!atOpen && mgH16(f, kHdrMemberNumber) > 0) {
        // A member block keeps the mode word it has in memory.
        uint16_t mode = mgH16(f, kHdrFileMode);
        memcpy(f->header, image, kMgHeaderSize);
        mgSetH16(f, kHdrFileMode, mode);
    } else {
        memcpy(f->header, image, kMgHeaderSize);
        mgSetH16(f, kHdrFileMode, (mgH16(f, kHdrFileMode) & ~kMgModePermanent) | permanentBit);
    }
    return 0;
}

uint16_t mgRefreshHeader(mgFileControl* f)
{
    if (!mgIsShared(f))
        return 0;
    return mgReadHeader(f, false);
}

uint16_t mgWriteHeader(mgFileControl* f)
{
    return WriteBytes(f, 0, kMgHeaderSize);
}

uint16_t mgWriteHeaderStart(mgFileControl* f)
{
    return WriteBytes(f, 0, 12);
}

uint16_t mgWriteHeaderTail(mgFileControl* f)
{
    return WriteBytes(f, 12, kMgHeaderSize - 12);
}

void mgInitHeader(mgFileControl* f)
{
    mgInstanceContext* ctx = mgCtx();
    f->header[kHdrUpdateFlag] = 0;
    mgSetH16(f, kHdrFormatVersion, kMgFormatVersion);
    memcpy(f->header + kHdrAttributeBytes, ctx->attributeBytes, 3);
    mgSetH16(f, kHdrNameLimit, mgIsSuperfile(f) ? uint32_t(ctx->memberNameWidth) : 255u);
    static const int kZeroed[] = {kHdrDeleteHead, kHdrResourceAnchor, kHdrMemberCounter, kHdrSerialNumber,
                                  kHdrEntryCount, kHdrRootNode,       kHdrFirstLeaf,     0x20,
                                  0x24,           0x58};
    for (int offset : kZeroed)
        mgSetH32(f, offset, 0);
}

void mgComputeDerivedSizes(mgFileControl* f)
{
    uint16_t code = mgH16(f, kHdrNodeSizeCode);
    if (code >= 1 && code <= 127)
        f->nodeSize = 16384u * code - (mgIsMember(f) ? 18u : 0u);
    else
        f->nodeSize = code;
    uint32_t unit;
    if (mgIsIndex(f))
        unit = f->nodeSize;
    else
        unit = uint32_t(mgRecordLength(f)) + (mgIsSuperfile(f) ? 18u : 0u) + (mgIsVariable(f) ? 10u : 0u);
    int shift = 1;
    while (unit > 2) {
        unit /= 2;
        ++shift;
    }
    f->sizeShift = shift;
}

uint32_t mgExtendFile(mgFileControl* f, uint32_t bytes, uint32_t alignment)
{
    uint32_t oldLogical = mgH32(f, kHdrLogicalEnd);
    uint64_t start = uint64_t(oldLogical) + 1;
    uint64_t filler = 0;
    if (alignment > 1) {
        uint64_t aligned = (start + alignment - 1) / alignment * alignment;
        filler = aligned - start;
        if (mgIsSuperfile(f) && filler > 0 && filler < 18)
            filler += alignment;
    }
    uint64_t newLogical = uint64_t(oldLogical) + bytes + filler;
    // The file stays below the region-lock area; the farthest unit of a position is
    // position / 10, so that bound keeps every lock byte above the data.
    if (newLogical >= 0xE8000000ull) {
        mgSetError(kMgFileTooLarge);
        return 0;
    }
    uint32_t position = uint32_t(start + filler);
    mgSetH32(f, kHdrLogicalEnd, uint32_t(newLogical));
    if (GrowPhysical(f, oldLogical, bytes, newLogical) != 0) {
        mgSetH32(f, kHdrLogicalEnd, oldLogical);
        return 0;
    }
    if (filler > 0 && mgIsSuperfile(f)) {
        // The gap before an aligned piece becomes a free piece of its own.
        uint8_t piece[18] = {};
        mgPut16(piece, 0xFDFD);
        mgPut32(piece + 2, uint32_t(filler));
        if (mgReadWrite(kMgWrite, f, uint32_t(start), piece, 18, nullptr) != 0) {
            mgSetH32(f, kHdrLogicalEnd, oldLogical);
            return 0;
        }
    }
    return position;
}

int mgCheckEmptyFile(mgFileControl* f, uint16_t error)
{
    long long size = mgFileSize(f);
    if (size < 0)
        return 0;
    if (size < kMgHeaderSize)
        return -539;
    if (size > 0x30000)
        return 0;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    uint8_t* content = bytes.data();
    if (mgReadWrite(kMgRead | kMgHeaderTransfer, f, 0, content, uint32_t(size), nullptr) != 0)
        return 0;
    auto allFF = [&](long long from, long long to) {
        for (long long i = from; i < to; ++i)
            if (content[i] != 0xFF)
                return false;
        return true;
    };
    if (allFF(0, kMgHeaderSize))
        return allFF(kMgHeaderSize, size) ? -539 : 0;
    if (error == kMgBadHeader)
        return 0;
    uint16_t members = mgGet16(content + kHdrMemberCount);
    uint16_t kind = mgGet16(content + kHdrFileKind);
    if (members > 31 || (members > 0 && kind != kMgKindIndex))
        return 0;
    long long position = kMgHeaderSize;
    for (uint16_t n = 1; n <= members && position + kMgHeaderSize <= size; ++n, position += kMgHeaderSize) {
        if (allFF(position, position + kMgHeaderSize))
            break;
        if (mgGet16(content + position + kHdrMemberNumber) != n)
            return 0;
    }
    uint32_t anchor = mgGet32(content + kHdrResourceAnchor);
    if (anchor == 0)
        return allFF(position, size) ? -539 : 0;
    if (anchor < position || anchor + 31 > size || !allFF(position, anchor))
        return 0;
    const uint8_t* a = content + anchor;
    if (mgGet16(a) != 0xFEFE || mgGet32(a + 6) != 9 || mgGet32(a + 14) != anchor || mgGet32(a + 18) != anchor)
        return 0;
    for (int i = 22; i < 31; ++i)
        if (a[i] != 0)
            return 0;
    long long after = anchor + (long long)mgGet32(a + 2);
    if (after < anchor + 31)
        after = anchor + 31;
    return allFF(after, size) ? -539 : 0;
}
