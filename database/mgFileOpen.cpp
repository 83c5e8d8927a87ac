// Opening engine files by number: plain files, superfile hosts with their member directory,
// and members found through their host's directory; with every header check.
// Keeps invariant 3 of the file layer: a header whose values no sound file holds (record
// length below 5, ends past the file's real size, roots and heads outside the file, a
// pointer size other than 4) is refused with 13 and the file closed again.
#include "database/mgFile.h"

#include <cstring>
#include <initializer_list>

#include "database/mgCondition.h"
#include "database/mgNode.h"
#include "database/mgOs.h"
#include "database/mgResource.h"
#include "database/mgRuntime.h"

namespace {

bool NodeAligned(mgFileControl* f, uint32_t position)
{
    if (mgIsSuperfile(f) || !mgIsIndex(f))
        return true;
    return f->nodeSize > 0 && position % f->nodeSize == 0;
}

// The end that positions of this file must not pass: its own, or its host's for a member.
uint32_t LimitOf(mgFileControl* f)
{
    if (mgIsMember(f) && f->partner)
        return mgH32(f->partner, kHdrLogicalEnd);
    return mgH32(f, kHdrLogicalEnd);
}

bool PositionOk(mgFileControl* f, uint32_t position, uint32_t length)
{
    return position == 0 ||
           (position >= uint32_t(kMgHeaderSize) && uint64_t(position) + length - 1 <= LimitOf(f));
}

void CloseHandleOnly(mgFileControl* f)
{
    if (f->handle != INVALID_HANDLE_VALUE && !mgIsMember(f)) {
        mgCloseSystemFile(f, f->handle);
    }
    f->handle = INVALID_HANDLE_VALUE;
    for (mgFileControl* m = f->nextMember; m; m = m->nextMember)
        mgResetControl(m);
    mgLruRemove(f);
    mgResetControl(f);
}

// Whether the changed flag of a file opened shared belongs to a session still open. The
// header is read again under its lock, the lock a closing handle clears the flag under: the
// first read may have come just before the last session's clean close.
uint16_t FlagOfLiveSession(mgFileControl* f, bool* live)
{
    *live = false;
    uint32_t header = mgHeaderPosition(f);
    if (uint16_t error = mgLockHeader(header, f, true))
        return error;
    uint16_t error = mgReadHeader(f, true);
    if (!error)
        *live = f->header[kHdrUpdateFlag] == kMgUpdateChanged && mgSessionAlive(f);
    uint16_t unlock = mgUnlockHeader(header, f);
    return error ? error : unlock;
}

uint16_t OpenDirectory(mgFileControl* host)
{
    mgInstanceContext* ctx = mgCtx();
    int number = host->fileNumber + 1;
    if (number >= ctx->fileSlots && !mgGrowFileTable(number))
        return mgSetError(kMgBadFileNumber);
    mgFileControl* d = mgGetFileControl(number);
    if (!d)
        return ctx->uerr_cod;
    uint32_t position = mgH32(host, kHdrDirectoryPosition);
    if (d->status != 'n')
        return mgSetError(d->partner == host && mgHeaderPosition(d) == position ? 0 : kMgNumberInUse);
    mgResetControl(d);
    d->firstFile = d;
    d->partner = host;
    d->mode = uint16_t(host->mode & ~(kMgModeHost | kMgModeVariable));
    d->permanent = true;
    d->handle = INVALID_HANDLE_VALUE;
    mgSetH32(d, kHdrHeaderPosition, position);
    mgSetH16(d, kHdrSuperfileKind, kMgDirectory);
    d->partialHeader = position + 12;
    if (!PositionOk(host, position, kMgHeaderSize))
        return mgSetError(kMgBadHeader);
    if (uint16_t error = mgReadHeader(d, true)) {
        mgResetControl(d);
        return error;
    }
    mgComputeDerivedSizes(d);
    if (mgSuperfileKind(d) != kMgDirectory || !mgIsIndex(d) || mgH32(d, kHdrMemberId) != 1 ||
        mgCheckHeaderValues(d, -1) != 0 || d->nodeSize + 18 != host->nodeSize) {
        mgResetControl(d);
        return mgSetError(kMgBadHeader);
    }
    if (uint16_t error = mgAllocKeyImages(d, int16_t(mgKeyLength(d)))) {
        mgResetControl(d);
        return error;
    }
    d->mode = uint16_t(host->mode & ~(kMgModeHost | kMgModeVariable));
    d->status = 'y';
    d->openSequence = ++ctx->openSequence;
    if (host->flags & kMgPendingUpdate)
        d->flags |= kMgPendingUpdate;
    host->partner = d;
    return 0;
}

} // namespace

void mgResetControl(mgFileControl* f)
{
    int16_t number = f->fileNumber;
    mgFree(f->keyImages);
    mgFree(f->indexDefinition);
    mgFree(f->dataDefinition);
    mgFreeConditions(f);
    memset(f, 0, sizeof *f);
    f->fileNumber = number;
    f->status = 'n';
    f->handle = INVALID_HANDLE_VALUE;
}

uint16_t mgCheckHeaderValues(mgFileControl* f, long long fileSize)
{
    uint16_t kind = mgFileKind(f);
    uint16_t superKind = mgSuperfileKind(f);
    if (superKind != 0 && superKind != 1 && superKind != 2 && superKind != 6)
        return kMgBadHeader;
    if (f->header[kHdrAttributeBytes + 2] != 4)
        return kMgBadHeader;
    uint32_t nodeSize = f->nodeSize;
    if (kind == kMgKindFixed) {
        if (mgRecordLength(f) < 5 || superKind == kMgHost)
            return kMgBadHeader;
    } else {
        if (nodeSize < 128 || nodeSize > 65536)
            return kMgBadHeader;
        if (mgH16(f, kHdrNodeLimit) != nodeSize - 18)
            return kMgBadHeader;
        if (kind == kMgKindVariable) {
            if (mgKeyLength(f) != 12 || f->header[kHdrDuplicates] != 1 || f->header[kHdrKeyFlags] != 0 ||
                mgH16(f, kHdrLeafLimit) != (nodeSize - 18) / 12 * 12 - 12 || mgH16(f, kHdrLeafSlots) != nodeSize / 4)
                return kMgBadHeader;
        } else {
            uint16_t leafLimit = 0;
            uint16_t nodeLimit = 0;
            uint16_t leafSlots = 0;
            bool slots = (mgH16(f, kHdrAttributeFlags) & 0x0600) != 0;
            if (mgIndexCapacity(nodeSize, mgKeyLength(f), f->header[kHdrDuplicates] != 0, f->header[kHdrKeyFlags],
                                slots, &leafLimit, &nodeLimit, &leafSlots) != 0 ||
                f->header[kHdrDuplicates] > 1 || mgH16(f, kHdrLeafLimit) != leafLimit ||
                mgH16(f, kHdrLeafSlots) > nodeSize / 4 || mgH16(f, kHdrLeafSlots) == 0)
                return kMgBadHeader;
        }
    }
    if (!mgIsMember(f)) {
        uint32_t logical = mgH32(f, kHdrLogicalEnd);
        uint32_t physical = mgH32(f, kHdrPhysicalEnd);
        if (logical > physical || logical >= 0xE8000000u)
            return kMgBadHeader;
        if (fileSize >= 0 && uint64_t(logical) >= uint64_t(fileSize))
            return kMgBadHeader;
        uint32_t minimum = kind == kMgKindFixed ? mgFixedHeaderSize(f) - 1
                           : kind == kMgKindIndex ? mgFirstNodePosition(f) - 1
                                                  : nodeSize - 1;
        if (logical < minimum)
            return kMgBadHeader;
    }
    if (kind != kMgKindFixed) {
        for (int offset : {kHdrRootNode, kHdrFirstLeaf}) {
            uint32_t position = mgH32(f, offset);
            if (!PositionOk(f, position, nodeSize) || !NodeAligned(f, position))
                return kMgBadHeader;
        }
    } else {
        uint32_t head = mgH32(f, kHdrDeleteHead);
        if (!PositionOk(f, head, 5))
            return kMgBadHeader;
        if (head && !mgIsMember(f) && (head - mgFirstRecordPosition(f)) % mgRecordLength(f) != 0)
            return kMgBadHeader;
    }
    if (!PositionOk(f, mgH32(f, kHdrResourceAnchor), kMgAnchorSize))
        return kMgBadHeader;
    if (superKind == kMgHost && !PositionOk(f, mgH32(f, kHdrDirectoryPosition), kMgHeaderSize))
        return kMgBadHeader;
    return 0;
}

uint16_t mgCheckNamedFileCall(int fileNumber, const char* name)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx || !ctx->started)
        return ctx ? mgSetError(kMgNotStarted) : uint16_t(kMgNoInstance);
    ctx->uerr_cod = 0;
    if (!name || !name[0])
        return mgSetError(kMgEmptyName);
    if (!mgNameFits(name))
        return mgSetError(kMgNameTooLong);
    if (fileNumber < 0 || (fileNumber >= ctx->fileSlots && !mgGrowFileTable(fileNumber)))
        return mgSetError(kMgBadFileNumber);
    return 0;
}

int mgHostOfMember(const char* memberName, uint16_t mode, int callerNumber)
{
    mgInstanceContext* ctx = mgCtx();
    int32_t separator = mgMemberSeparator(memberName);
    if (separator <= 0)
        return -1;
    char hostName[256];
    mgCopyBounded(hostName, memberName, size_t(separator) + 1 < sizeof hostName ? size_t(separator) + 1 : sizeof hostName);
    int open = mgFindOpenFile(hostName);
    if (open >= 0)
        return open;
    for (int round = 0; round < 2; ++round) {
        for (int n = ctx->fileSlots - 4; n >= 0; --n) {
            mgFileControl* a = ctx->files[n];
            mgFileControl* b = ctx->files[n + 1];
            if ((a && a->status != 'n') || (b && b->status != 'n'))
                continue;
            if (n == callerNumber || n + 1 == callerNumber)
                return -1;
            uint16_t hostMode = uint16_t((mode & ~(kMgModeHost | kMgModeVariable)) | kMgModeHostByEngine |
                                         kMgModeShared | kMgModeHost);
            if (mgOpenFile(n, hostName, hostMode) != 0)
                return -1;
            return n;
        }
        if (!mgGrowFileTable(ctx->fileSlots))
            break;
    }
    return -1;
}

uint16_t mgOpenFile(int fileNumber, const char* name, uint16_t mode)
{
    if (uint16_t error = mgCheckNamedFileCall(fileNumber, name))
        return error;
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* f = mgGetFileControl(fileNumber);
    if (!f)
        return ctx->uerr_cod;
    if (f->status != 'n')
        return mgSetError(kMgNumberInUse);
    mgResetControl(f);
    int32_t separator = mgMemberSeparator(name);
    bool member = separator > 0;
    if ((mode & (kMgModeShared | kMgModeReadOnly)) == (kMgModeShared | kMgModeReadOnly))
        mode &= uint16_t(~kMgModeShared);
    if (mode & kMgModeImpliesPermanent)
        mode |= kMgModePermanent;
    if (member)
        mode |= kMgModePermanent;
    f->mode = mode;
    f->permanent = (mode & kMgModePermanent) != 0;
    f->firstFile = f;
    mgCopyBounded(f->name, name, sizeof f->name);

    long long fileSize = -1;
    mgFileControl* host = nullptr;
    if (member) {
        int hostNumber = mgHostOfMember(name, mode, fileNumber);
        host = hostNumber >= 0 ? mgCheckFile(hostNumber) : nullptr;
        if (!host || !mgIsHost(host) || !host->partner) {
            mgResetControl(f);
            return mgSetError(kMgHostNotOpen);
        }
        char key[kMgMaxKeyLength + 8];
        if (!mgMemberKey(separator, name, hostNumber, key)) {
            mgResetControl(f);
            return mgSetError(kMgHostNotOpen);
        }
        uint32_t position = mgEqualKey(host->partner, reinterpret_cast<uint8_t*>(key));
        if (position == 0) {
            uint16_t error = ctx->uerr_cod;
            mgResetControl(f);
            return mgSetError(error && error != kMgKeyNotFound ? error : kMgCannotOpen);
        }
        f->partner = host;
        mgSetH32(f, kHdrHeaderPosition, position);
        mgSetH16(f, kHdrSuperfileKind, kMgMember);
        f->partialHeader = position + 12;
        if (uint64_t(position) + kMgHeaderSize - 1 > mgH32(host, kHdrLogicalEnd)) {
            mgResetControl(f);
            return mgSetError(kMgBadHeader);
        }
    } else {
        HANDLE handle = mgOpenSystemFile(f, name, mode);
        if (handle == INVALID_HANDLE_VALUE) {
            mgResetControl(f);
            return mgSetError(kMgCannotOpen);
        }
        f->handle = handle;
        fileSize = mgFileSize(f);
    }

    auto refuse = [&](uint16_t error) {
        if (!member && error == kMgBadHeader)
            ctx->secondaryCode = mgCheckEmptyFile(f, error);
        CloseHandleOnly(f);
        return mgSetError(error);
    };
    if (!member && fileSize < kMgHeaderSize)
        return refuse(kMgBadHeader);
    if (uint16_t error = mgReadHeader(f, true))
        return refuse(error);
    f->mode = mode;
    mgComputeDerivedSizes(f);
    if (mgH16(f, kHdrAttributeFlags) == 0xFFFF)
        mgSetH16(f, kHdrAttributeFlags, 0);
    uint16_t attributes = mgH16(f, kHdrAttributeFlags);
    uint16_t kind = mgFileKind(f);
    bool writing = !(mode & kMgModeReadOnly);
    if ((attributes & 1) && !(mode & (kMgModeIgnoreMirror | kMgModeReadOnly)))
        return refuse(kMgWantsMirror);
    if (kind > 2 || mgSuperfileKind(f) > 6 || (mgH16(f, kHdrMemberCount) && kind != kMgKindIndex))
        return refuse(kMgBadHeader);
    if (member != mgIsMember(f))
        return refuse(kMgBadHeader);
    if (kind != kMgKindFixed && f->nodeSize > uint32_t(ctx->nodeSize))
        return refuse(kMgNodeTooLarge);
    if ((mode & kMgModeVariable) && kind != kMgKindVariable)
        return refuse(kMgWrongFileKind);
    if (mgIsHost(f) && f->nodeSize != uint32_t(ctx->nodeSize))
        return refuse(kMgHostNodeSize);
    if (mgIsSuperfile(f) && mgH16(f, kHdrNameLimit) > ctx->memberNameWidth)
        return refuse(kMgNameWidth);
    if (mgH16(f, kHdrFormatVersion) != kMgFormatVersion)
        return refuse(kMgBadVersion);
    if (mgKeyLength(f) > kMgMaxKeyLength)
        return refuse(kMgKeyTooLong);
    if (f->header[kHdrUpdateFlag] == kMgUpdateRefused && !(mode & kMgModeForceOpen))
        return refuse(kMgFileRefused);
    if (mgH16(f, kHdrMemberCount) >= 32 || mgH16(f, kHdrMemberNumber) > 0)
        return refuse(kMgBadMemberCount);
    if ((mgH16(f, kHdrCreateMode) & 0x0030) && writing && !(attributes & 0x0600))
        return refuse(kMgNoTransactionAttributes);
    // Left in the middle of a change: refused before its values are judged, since a header
    // on disk is then the one of the change's start and need not agree with the rest of
    // the file (keeps invariant 1 ahead of invariant 3). A flag that a live session of the
    // shared file holds is that session's.
    bool liveSession = false;
    if (f->header[kHdrUpdateFlag] != 0 && !(mode & kMgModeForceOpen)) {
        if (f->header[kHdrUpdateFlag] == kMgUpdateChanged && (mode & kMgModeShared)) {
            if (uint16_t error = FlagOfLiveSession(f, &liveSession))
                return refuse(error);
        }
        if (f->header[kHdrUpdateFlag] != 0 && !liveSession) {
            CloseHandleOnly(f);
            return mgSetError(kMgNotClosedCleanly);
        }
    }
    if (uint16_t error = mgCheckHeaderValues(f, fileSize))
        return refuse(error);
    if (member && mgH32(f, kHdrMemberId) < 2)
        return refuse(kMgBadHeader);
    if (kind != kMgKindFixed) {
        if (uint16_t error = mgAllocKeyImages(f, int16_t(mgKeyLength(f))))
            return refuse(error);
    }
    // Index members: their header blocks follow the first header.
    uint16_t members = mgH16(f, kHdrMemberCount);
    if (members > 0) {
        if (fileNumber + members >= ctx->fileSlots && !mgGrowFileTable(fileNumber + members))
            return refuse(kMgBadFileNumber);
        mgFileControl* previous = f;
        for (int n = 1; n <= members; ++n) {
            mgFileControl* m = mgGetFileControl(fileNumber + n);
            if (!m || (m->status != 'n' && m->status != 'm'))
                return refuse(kMgNumberInUse);
            mgResetControl(m);
            m->firstFile = f;
            m->partner = f->partner;
            m->mode = f->mode;
            m->permanent = f->permanent;
            m->handle = INVALID_HANDLE_VALUE;
            previous->nextMember = m;
            previous = m;
            mgSetH32(m, kHdrHeaderPosition, mgHeaderPosition(f) + 128u * uint32_t(n));
            mgSetH16(m, kHdrMemberNumber, uint16_t(n));
            m->partialHeader = mgHeaderPosition(m) + 12;
            m->status = 'm';
            if (uint16_t error = mgReadHeader(m, true))
                return refuse(error);
            m->nodeSize = f->nodeSize;
            mgComputeDerivedSizes(m);
            m->nodeSize = f->nodeSize;
            if (mgH16(m, kHdrMemberNumber) != n || !mgIsIndex(m))
                return refuse(kMgMemberBlockMissing);
            if (m->header[kHdrKeyFlags] & 0x03)
                return refuse(kMgBadKeyType);
            uint16_t leafLimit = 0;
            uint16_t nodeLimit = 0;
            uint16_t leafSlots = 0;
            bool slots = (mgH16(m, kHdrAttributeFlags) & 0x0600) != 0;
            uint32_t root = mgH32(m, kHdrRootNode);
            if (mgIndexCapacity(m->nodeSize, mgKeyLength(m), m->header[kHdrDuplicates] != 0, m->header[kHdrKeyFlags],
                                slots, &leafLimit, &nodeLimit, &leafSlots) != 0 ||
                mgH16(m, kHdrLeafLimit) != leafLimit || mgH16(m, kHdrLeafSlots) > m->nodeSize / 4 ||
                !(root == 0 || (root <= LimitOf(f) && (mgIsSuperfile(f) || root % f->nodeSize == 0))))
                return refuse(kMgBadHeader);
            if (uint16_t error = mgAllocKeyImages(m, int16_t(mgKeyLength(m))))
                return refuse(error);
        }
    }
    if (writing && (attributes & 0x0600))
        mode &= uint16_t(~0x0030);

    bool recovered = false;
    if (f->header[kHdrUpdateFlag] != 0 && !liveSession) {
        f->header[kHdrUpdateFlag] = kMgUpdateRecovered;
        recovered = true;
    }
    if (writing && (attributes & 1)) {
        mgStatusLog("Following file is opened without mirror ...", kMgLogTextOnly);
        mgStatusLog(f->name, kMgLogTextOnly);
        mgSetH16(f, kHdrAttributeFlags, attributes & ~1u);
    }
    uint16_t createMode = mgH16(f, kHdrCreateMode);
    uint16_t openMode = uint16_t((mode & 0x7FCF) | createMode);
    if (mode & kMgModeNoUpdateFlag) {
        if (createMode & kMgModeTransaction20)
            openMode &= uint16_t(~kMgModeNoUpdateFlag);
        else if ((createMode & kMgModeTransaction10) && kind != kMgKindIndex) {
            openMode &= uint16_t(~kMgModeNoUpdateFlag);
            f->flags |= kMgNoUpdateFlagDropped;
        }
    }
    if (mgIsHost(f))
        openMode |= kMgModePermanent;
    f->mode = openMode;
    if (openMode != mgH16(f, kHdrFileMode)) {
        mgSetH16(f, kHdrFileMode, openMode);
        // A file that keeps the update flag writes its header with the first change and at
        // close; an open alone leaves it as it is (an open refused for another file of the
        // set must not have changed this one).
        bool deferred = !(mode & (kMgModeShared | kMgModeReadOnly | kMgModeNoUpdateFlag));
        if (writing && !recovered && !deferred) {
            mgSetH32(f, kHdrWriteCount, mgH32(f, kHdrWriteCount) + 1);
            if (uint16_t error = mgReadWrite(kMgWrite | kMgHeaderTransfer, f, mgHeaderPosition(f), f->header,
                                             kMgHeaderSize, nullptr))
                return refuse(error);
        }
    }
    for (mgFileControl* m = f->nextMember; m; m = m->nextMember) {
        m->mode = f->mode;
        m->status = 'y';
    }
    f->status = 'y';
    f->openSequence = ++ctx->openSequence;
    mgLruAppend(f);
    ctx->logicalOpen += 1;
    if (!member)
        ctx->physicalOpen += 1;

    if (mgIsHost(f)) {
        if (uint16_t error = OpenDirectory(f)) {
            mgCloseFile(fileNumber, 0);
            return mgSetError(error);
        }
    }
    // Resources: the stored record layout of a data file and its conditions, the member
    // definition of an index.
    uint16_t error = 0;
    if (mgH32(f, kHdrRecoveryMark) != 0) {
        error = kMgRecoveryMark;
    } else if (!mgIsIndex(f) && !mgIsHost(f) && mgH32(f, kHdrResourceAnchor) != 0) {
        uint32_t length = 0;
        void* part = mgReadDefinitionPart(fileNumber, &length, 1, 0);
        if (part) {
            f->dataDefinition = static_cast<uint8_t*>(part);
            f->dataDefinitionLength = length;
            if (uint16_t e = mgLoadConditions(f))
                error = e;
        } else if (ctx->uerr_cod != kMgNoResources && ctx->uerr_cod != kMgResourceNotFound &&
                   ctx->uerr_cod != kMgPartEmpty) {
            error = ctx->uerr_cod;
        }
    } else if (mgIsIndex(f) && mgH32(f, kHdrResourceAnchor) != 0) {
        for (mgFileControl* m = f; m && !error; m = m->nextMember) {
            uint8_t block[kMgIndexDefinitionSize];
            mgDefinitionPart part{block, sizeof block, 0, int16_t(mgH16(m, kHdrMemberNumber)), 3};
            uint16_t e = mgGetDefinitionPart(fileNumber, &part, 0);
            if (e == 0 && part.length == kMgIndexDefinitionSize) {
                m->indexDefinition = static_cast<uint8_t*>(mgAlloc(kMgIndexDefinitionSize));
                if (m->indexDefinition)
                    memcpy(m->indexDefinition, block, kMgIndexDefinitionSize);
            } else if (e && e != kMgNoResources && e != kMgResourceNotFound && e != kMgPartEmpty) {
                error = e;
            }
        }
    }
    if (error) {
        f->flags &= ~kMgPendingUpdate;
        mgCloseFile(fileNumber, 0);
        return mgSetError(error);
    }
    if (!(mode & (kMgModeShared | kMgModeReadOnly | kMgModeNoUpdateFlag))) {
        f->flags |= kMgPendingUpdate;
        if (mgIsHost(f) && f->partner)
            f->partner->flags |= kMgPendingUpdate;
    }
    ctx->uerr_cod = 0;
    return 0;
}
