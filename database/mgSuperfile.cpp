// Superfile members: each member is a header record inside its host (record header, name
// area of the member-name width, the member's header blocks), listed by name in the host's
// member directory, an index kept as member 1 under the host's number + 1.
// A member that cannot be made leaves no record behind; a host whose directory cannot be
// made is deleted again.
#include "database/mgFile.h"

#include <cstring>

#include "database/mgNode.h"
#include "database/mgOs.h"
#include "database/mgResource.h"
#include "database/mgRuntime.h"
#include "database/mgSpace.h"

uint16_t mgBuildDataFile(mgFileControl* f, const char* name, uint16_t recordLength, uint16_t extension, uint16_t mode,
                         uint32_t headerPosition, uint16_t superfileKind, mgFileControl* host, uint32_t memberId);
uint16_t mgBuildIndexFile(mgFileControl* f, const char* name, int16_t keyLength, int16_t keyType, int16_t duplicates,
                          int16_t members, uint16_t extension, uint16_t mode, uint32_t headerPosition,
                          uint16_t superfileKind, mgFileControl* host, uint32_t memberId);

int32_t mgMemberSeparator(const char* name)
{
    if (!name)
        return 0;
    mgInstanceContext* ctx = mgCtx();
    char separator = (ctx && ctx->memberSeparator) ? ctx->memberSeparator : '!';
    const char* at = strchr(name, separator);
    return at ? int32_t(at - name) : 0;
}

const char* mgMemberKey(int32_t separator, const char* name, int host, char* key)
{
    mgInstanceContext* ctx = mgCtx();
    int width = ctx->memberNameWidth;
    mgFileControl* directory = (host >= 0 && host + 1 < ctx->fileSlots) ? ctx->files[host + 1] : nullptr;
    if (!directory || directory->status != 'y' || mgSuperfileKind(directory) != kMgDirectory) {
        memset(key, ' ', size_t(width));
        return nullptr;
    }
    width = mgKeyLength(directory);
    memset(key, directory->header[kHdrPadByte], size_t(width));
    const char* memberName = name + separator + 1;
    size_t length = strnlen(memberName, size_t(width));
    memcpy(key, memberName, length);
    return name;
}

uint16_t mgFillRange(mgFileControl* f, uint32_t position, uint32_t length)
{
    mgInstanceContext* ctx = mgCtx();
    uint64_t end = uint64_t(position) + length;
    for (uint64_t at = position; at < end;) {
        uint32_t chunk = uint32_t(end - at > uint64_t(ctx->fillSize) ? uint64_t(ctx->fillSize) : end - at);
        if (uint16_t error = mgReadWrite(kMgWrite | kMgFillerTransfer, f, uint32_t(at), ctx->fillBuffer, chunk, nullptr))
            return error;
        at += chunk;
    }
    return 0;
}

int32_t mgSizeShift(mgFileControl* f)
{
    mgComputeDerivedSizes(f);
    return f->sizeShift;
}

uint16_t mgCreateMemberFile(int reserved, int hostNumber, int memberNumber, const char* name, const char* directoryKey,
                            int16_t length, int16_t keyType, int16_t duplicates, int16_t extraBlocks, uint16_t mode)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* host = mgCheckFile(hostNumber);
    if (!host || !mgIsHost(host))
        return mgSetError(kMgNotAHost);
    if (reserved != 0)
        mgInternalError(8903);
    if (!name)
        name = "";
    if (memberNumber < 0 || (memberNumber >= ctx->fileSlots && !mgGrowFileTable(memberNumber)))
        return mgSetError(kMgBadFileNumber);
    mgFileControl* f = mgGetFileControl(memberNumber);
    if (!f)
        return ctx->uerr_cod;
    if (f->status != 'n')
        return mgSetError(kMgNumberInUse);
    mgFileControl* directory = host->partner;
    bool isDirectory = memberNumber == hostNumber + 1 && mgH32(host, kHdrMemberCounter) == 0;
    char key[kMgMaxKeyLength + 8];
    if (!isDirectory) {
        if (!directory || directory->status != 'y')
            return mgSetError(kMgHostNotOpen);
        memset(key, directory->header[kHdrPadByte], size_t(mgKeyLength(directory)));
        const char* text = directoryKey ? directoryKey : "";
        size_t n = strnlen(text, size_t(mgKeyLength(directory)));
        memcpy(key, text, n);
        if (mgEqualKey(directory, reinterpret_cast<uint8_t*>(key)) != 0)
            return mgSetError(kMgFileExists);
    }
    uint32_t width = uint32_t(ctx->memberNameWidth);
    uint32_t page = uint32_t(ctx->nodeSize);
    uint32_t needed = 128u * uint32_t(extraBlocks + 1) + width;
    uint32_t size = (needed + page - 1) / page * page - 18;
    if (size < needed)
        size += page;
    uint32_t record = mgAllocSpace(host, -1, size, page, 0, false, false);
    if (!record)
        return ctx->uerr_cod ? ctx->uerr_cod : mgSetError(kMgFileTooLarge);
    uint32_t headerPosition = record + 18 + width;
    mgVarHeader piece{kMgPieceInUse, size + 18, size, 0, 0};
    uint16_t error = mgWriteVarHeader(host, record, piece);
    if (!error && !isDirectory)
        error = mgReadWrite(kMgWrite, host, record + 18, key, width < uint32_t(mgKeyLength(directory))
                                                                  ? width
                                                                  : uint32_t(mgKeyLength(directory)),
                            nullptr);
    uint32_t memberId = 0;
    uint32_t hostHeader = mgHeaderPosition(host);
    bool hostLocked = false;
    if (!error) {
        error = mgLockHeader(hostHeader, host, true);
        hostLocked = error == 0;
    }
    if (!error && mgH32(host, kHdrMemberCounter) > 0)
        error = mgRefreshHeader(host);
    if (!error) {
        memberId = mgH32(host, kHdrMemberCounter) + 1;
        mgSetH32(host, kHdrMemberCounter, memberId);
        if (memberId == 1)
            mgSetH32(host, kHdrDirectoryPosition, headerPosition);
        error = mgWriteHeader(host);
    }
    if (hostLocked)
        mgUnlockHeader(hostHeader, host);
    if (!error) {
        mgResetControl(f);
        uint16_t memberMode = uint16_t(mode | kMgModePermanent);
        if (keyType == -1) {
            error = mgBuildDataFile(f, name, uint16_t(length), 0, memberMode, headerPosition, kMgMember, host, memberId);
        } else {
            error = mgBuildIndexFile(f, isDirectory ? "" : name, length, keyType, duplicates, extraBlocks, 0,
                                     memberMode, headerPosition, memberId == 1 ? kMgDirectory : kMgMember, host,
                                     memberId);
        }
        if (!error && isDirectory)
            host->partner = f;
        if (!error && (host->flags & kMgPendingUpdate))
            f->flags |= kMgPendingUpdate;
    }
    if (!error && memberId > 1)
        error = mgAddKeyTo(directory, reinterpret_cast<uint8_t*>(key), headerPosition, 0x90);
    if (!error && !(mode & kMgModeNoAnchor))
        error = mgCreateAnchor(f);
    if (error) {
        if (f->status == 'y') {
            f->flags &= ~kMgPendingUpdate;
            f->header[kHdrUpdateFlag] = 0;
            if (isDirectory)
                host->partner = nullptr;
            mgWriteFileNodes(f, true);
            mgResetControl(f);
        }
        mgVarHeader freed{kMgPieceFree, size + 18, 0, 0, 0};
        mgWriteVarHeader(host, record, freed);
        return mgSetError(error);
    }
    f->newlyMade = true;
    return 0;
}

uint16_t mgCreateMemberDirectory(const char* name, int hostNumber, uint16_t mode)
{
    mgInstanceContext* ctx = mgCtx();
    if (!(mode & kMgModeHost))
        return 0;
    int width = ctx->memberNameWidth;
    int16_t keyType = width > 255 ? 0x10 : 0x1C;
    uint16_t directoryMode = uint16_t((mode & ~(kMgModeHost | kMgModeVariable)) | 0x1800);
    uint16_t error = mgCreateMemberFile(0, hostNumber, hostNumber + 1, name, nullptr, int16_t(width), keyType, 0, 0,
                                        directoryMode);
    return error;
}

uint16_t mgDeleteFile(int fileNumber)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return ctx->uerr_cod;
    if ((f->mode & (kMgModeShared | kMgModeReadOnly)) || mgSuperfileKind(f) == kMgDirectory)
        return mgSetError(kMgSharedInSet);
    bool member = mgIsMember(f);
    char name[256];
    mgCopyBounded(name, f->name, sizeof name);
    mgFileControl* host = member ? f->partner : nullptr;
    uint32_t headerPosition = mgHeaderPosition(f);
    uint16_t first = mgCloseFile(fileNumber, 0);
    if (member && host && host->partner) {
        char key[kMgMaxKeyLength + 8];
        int32_t separator = mgMemberSeparator(name);
        if (mgMemberKey(separator, name, host->fileNumber, key)) {
            mgFileControl* directory = host->partner;
            uint32_t found = mgEqualKey(directory, reinterpret_cast<uint8_t*>(key));
            uint16_t error = 0;
            if (found != headerPosition)
                error = found ? kMgKeyOtherPosition : kMgKeyNotFound;
            if (!error)
                error = delkey(directory, reinterpret_cast<uint8_t*>(key), found, 0x20);
            uint32_t record = headerPosition - 18 - uint32_t(ctx->memberNameWidth);
            mgVarHeader piece;
            if (!error)
                error = mgReadVarHeader(host, record, &piece);
            if (!error) {
                piece.mark = kMgPieceFree;
                piece.dataLength = 0;
                error = mgWriteVarHeader(host, record, piece);
            }
            if (error && !first)
                first = error;
        }
    } else if (!member) {
        uint16_t error = mgDeleteSystemFile(name, false);
        if (error && !first)
            first = error;
    }
    if (first)
        return mgSetError(first);
    ctx->uerr_cod = 0;
    return 0;
}
