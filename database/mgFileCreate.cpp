// Creating engine files: data files, variable-length files and superfile hosts, index files
// with their additional index members, and (through the superfile layer) members inside a
// host. A failed create deletes what it made, unless the file existed already.
#include "database/mgFile.h"

#include <cstring>

#include "database/mgInstance.h"
#include "database/mgNode.h"
#include "database/mgOs.h"
#include "database/mgResource.h"
#include "database/mgRuntime.h"

namespace {

uint16_t PageRule(uint16_t extension, uint32_t unit)
{
    if (extension >= 16384 && extension > unit)
        return extension;
    if (unit <= 2048)
        return 16384;
    if (unit <= 32768)
        return 32768;
    return uint16_t(unit > 65535 ? 65535 : unit);
}

void SetNodeSizeCode(mgFileControl* f, uint32_t nodeSize)
{
    f->nodeSize = nodeSize;
    mgSetH16(f, kHdrNodeSizeCode, nodeSize < 65536 ? nodeSize : nodeSize / 16384);
}

uint16_t FillAndWriteHeader(mgFileControl* f)
{
    mgInstanceContext* ctx = mgCtx();
    uint32_t end = mgH32(f, kHdrLogicalEnd);
    for (uint32_t at = 0; at <= end;) {
        uint32_t chunk = end + 1 - at;
        if (chunk > uint32_t(ctx->fillSize))
            chunk = uint32_t(ctx->fillSize);
        if (uint16_t error = mgReadWrite(kMgWrite | kMgFillerTransfer, f, at, ctx->fillBuffer, chunk, nullptr))
            return error;
        at += chunk;
    }
    mgSetH32(f, kHdrWriteCount, mgH32(f, kHdrWriteCount) + 1);
    return mgReadWrite(kMgWrite | kMgHeaderTransfer, f, mgHeaderPosition(f), f->header, kMgHeaderSize, nullptr);
}

// Frame of every new file: a free number inside the table and a clean control block.
mgFileControl* TakeFreeControl(int fileNumber)
{
    mgInstanceContext* ctx = mgCtx();
    if (fileNumber >= ctx->fileSlots && !mgGrowFileTable(fileNumber)) {
        mgSetError(kMgBadFileNumber);
        return nullptr;
    }
    mgFileControl* f = mgGetFileControl(fileNumber);
    if (!f)
        return nullptr;
    if (f->status != 'n') {
        mgSetError(kMgNumberInUse);
        return nullptr;
    }
    mgResetControl(f);
    return f;
}

// Opens the operating-system file of a new plain file; 0 or the create error.
uint16_t CreateDiskFile(mgFileControl* f, const char* name, bool index)
{
    HANDLE handle = mgCreateSystemFile(f, name);
    if (handle == INVALID_HANDLE_VALUE) {
        bool exists = mgCtx()->uerr_cod == kMgFileExists;
        return mgSetError(index ? (exists ? kMgIndexExists : kMgIndexCreateFailed)
                                : (exists ? kMgFileExists : kMgDataCreateFailed));
    }
    f->handle = handle;
    return 0;
}

void FinishCreated(mgFileControl* f, uint16_t mode)
{
    mgInstanceContext* ctx = mgCtx();
    f->status = 'y';
    f->openSequence = ++ctx->openSequence;
    mgLruAppend(f);
    ctx->logicalOpen += 1;
    if (!mgIsMember(f))
        ctx->physicalOpen += 1;
    if (!(mode & kMgModeNoUpdateFlag))
        f->flags |= kMgPendingUpdate;
}

// A member has no disk file and no room of its own: the host's space holds its pieces.
void MakeMember(mgFileControl* f, mgFileControl* host)
{
    mgSetH16(f, kHdrExtensionSize, 0);
    mgSetH32(f, kHdrLogicalEnd, 0xFFFFFFFF);
    mgSetH32(f, kHdrPhysicalEnd, 0xFFFFFFFF);
    f->partner = host;
    f->handle = INVALID_HANDLE_VALUE;
    f->mode |= kMgModePermanent;
    f->permanent = true;
    mgSetH16(f, kHdrFileMode, mgH16(f, kHdrFileMode) | kMgModePermanent);
}

// The header of a new file: a member's block alone, a plain file's whole header area.
uint16_t WriteNewHeader(mgFileControl* f, bool member, uint32_t headerPosition)
{
    mgComputeDerivedSizes(f);
    return member ? mgReadWrite(kMgWrite | kMgHeaderTransfer, f, headerPosition, f->header, kMgHeaderSize, nullptr)
                  : FillAndWriteHeader(f);
}

// Deletes a plain file that a failed create left behind.
void DiscardCreated(mgFileControl* f, const char* name)
{
    if (f->status == 'y' || f->status == 'm') {
        f->flags &= ~kMgPendingUpdate;
        f->header[kHdrUpdateFlag] = 0;
        mgCloseFile(f->fileNumber, 0);
    }
    if (f->handle != INVALID_HANDLE_VALUE) {
        mgCloseSystemFile(f, f->handle);
        f->handle = INVALID_HANDLE_VALUE;
    }
    mgResetControl(f);
    mgDeleteSystemFile(name, false);
}

// The end of a create: 0, or the error with the file made so far deleted again (a file
// that existed already is left alone).
uint16_t KeepOrDiscard(mgFileControl* f, const char* name, uint16_t error)
{
    if (!error)
        return 0;
    if (error != kMgFileExists && error != kMgIndexExists)
        DiscardCreated(f, name);
    else
        mgResetControl(f);
    return mgSetError(error);
}

} // namespace

uint16_t mgSetIndexParameters(mgFileControl* f, int16_t keyLength, int16_t keyType, int16_t duplicates)
{
    if (keyLength > kMgMaxKeyLength)
        return mgSetError(kMgKeyTooLong);
    if (keyLength < 0 || (duplicates && keyLength <= 3))
        return mgSetError(kMgBadDuplicateKeyLength);
    if (keyType & 0x03)
        return mgSetError(kMgBadKeyType);
    uint8_t flags = uint8_t(keyType & 0x0C);
    bool slots = (mgH16(f, kHdrAttributeFlags) & 0x0600) != 0;
    uint16_t leafLimit = 0;
    uint16_t nodeLimit = 0;
    uint16_t leafSlots = 0;
    if (uint16_t error =
            mgIndexCapacity(f->nodeSize, keyLength, duplicates != 0, flags, slots, &leafLimit, &nodeLimit, &leafSlots))
        return mgSetError(error);
    mgSetH16(f, kHdrKeyLength, uint16_t(keyLength));
    f->header[kHdrKeyFlags] = flags;
    f->header[kHdrDuplicates] = duplicates ? 1 : 0;
    f->header[kHdrKindByte] = (keyType & 0x10) ? 1 : 0;
    mgSetH16(f, kHdrLeafLimit, leafLimit);
    mgSetH16(f, kHdrNodeLimit, nodeLimit);
    mgSetH16(f, kHdrLeafSlots, leafSlots);
    return 0;
}

uint16_t mgAllocKeyImages(mgFileControl* f, int16_t keyLength)
{
    if (keyLength < 0)
        return mgSetError(kMgBadDuplicateKeyLength);
    mgFree(f->keyImages);
    f->keyImages = nullptr;
    f->keyImageLength = keyLength;
    f->currentKeyValid = false;
    f->savedKeyValid = false;
    if (keyLength == 0)
        return 0;
    f->keyImages = static_cast<uint8_t*>(mgAlloc(3LL * keyLength));
    if (!f->keyImages)
        return mgSetError(kMgNoMemoryContext);
    return 0;
}

// The header of a new data file, variable-length file or host at a header position;
// a member gets no disk file of its own.
uint16_t mgBuildDataFile(mgFileControl* f, const char* name, uint16_t recordLength, uint16_t extension, uint16_t mode,
                         uint32_t headerPosition, uint16_t superfileKind, mgFileControl* host, uint32_t memberId)
{
    mgInstanceContext* ctx = mgCtx();
    bool member = host != nullptr;
    bool isHost = (mode & kMgModeHost) != 0;
    if (member) {
        uint16_t hostFlags = mgH16(host, kHdrAttributeFlags);
        if (((mode & kMgModeTransaction20) && !(hostFlags & 0x0200)) ||
            ((mode & kMgModeTransaction10) && !(hostFlags & 0x0400)))
            return mgSetError(kMgMemberTransactionBits);
    }
    mode &= 0x7FF6;
    if (isHost)
        mode |= 0x0006;
    bool variable = (mode & kMgModeVariable) != 0;
    if (!variable && recordLength < 5)
        return mgSetError(kMgRecordTooShort);
    f->firstFile = f;
    f->nextMember = nullptr;
    f->mode = mode;
    f->permanent = (mode & kMgModePermanent) != 0;
    mgSetH16(f, kHdrSuperfileKind, superfileKind);
    mgSetH32(f, kHdrMemberId, memberId);
    mgSetH16(f, kHdrRecordLength, variable ? recordLength : recordLength);
    mgSetH16(f, kHdrFileMode, mode);
    mgSetH16(f, kHdrCreateMode, mode & 0x86F4);
    mgSetH16(f, kHdrAttributeFlags, (mode & kMgModeTransaction10) ? 0x0400 : (mode & kMgModeTransaction20) ? 0x0200 : 0);
    mgSetH32(f, kHdrFormatCode, kMgFormatData);
    mgSetH32(f, kHdrHeaderPosition, headerPosition);
    f->partialHeader = headerPosition + 12;
    mgCopyBounded(f->name, name, sizeof f->name);
    mgInitHeader(f);
    uint32_t unit = recordLength;
    if (variable) {
        uint32_t nodeSize = uint32_t(ctx->nodeSize) - (member ? 18u : 0u);
        if ((nodeSize - 18) / 16 < 3)
            return mgSetError(kMgNodeTooSmall);
        SetNodeSizeCode(f, nodeSize);
        mgSetH16(f, kHdrNodeLimit, nodeSize - 18);
        mgSetH16(f, kHdrLeafSlots, nodeSize / 4);
        mgSetH16(f, kHdrLeafLimit, (nodeSize - 18) / 12 * 12 - 12);
        f->header[kHdrKindByte] = 2;
        mgSetH16(f, kHdrKeyLength, 12);
        mgSetH16(f, kHdrFileKind, kMgKindVariable);
        if (uint16_t error = mgAllocKeyImages(f, 12))
            return error;
        unit = nodeSize;
    } else {
        mgSetH16(f, kHdrFileKind, kMgKindFixed);
    }
    f->header[kHdrUpdateFlag] = 0;
    f->header[kHdrDuplicates] = 1;
    f->header[kHdrPadByte] = 0;
    if (member) {
        MakeMember(f, host);
    } else {
        uint32_t end = variable ? unit - 1 : mgFixedHeaderSize(f) - 1;
        mgSetH32(f, kHdrLogicalEnd, end);
        mgSetH32(f, kHdrPhysicalEnd, end);
        mgSetH16(f, kHdrExtensionSize, (mode & kMgModeTransaction20) ? PageRule(extension, unit) : extension);
        if (uint16_t error = CreateDiskFile(f, name, false))
            return error;
    }
    if (uint16_t error = WriteNewHeader(f, member, headerPosition))
        return error;
    FinishCreated(f, mode);
    return 0;
}

// The header of a new index file (or index member inside a host), with its additional
// index members reserved ('m') until they are defined.
uint16_t mgBuildIndexFile(mgFileControl* f, const char* name, int16_t keyLength, int16_t keyType, int16_t duplicates,
                          int16_t members, uint16_t extension, uint16_t mode, uint32_t headerPosition,
                          uint16_t superfileKind, mgFileControl* host, uint32_t memberId)
{
    mgInstanceContext* ctx = mgCtx();
    bool member = host != nullptr;
    if (members < 0 || members > 31)
        return mgSetError(kMgBadMemberCount);
    int number = f->fileNumber;
    if (number + members >= ctx->fileSlots && !mgGrowFileTable(number + members))
        return mgSetError(kMgBadFileNumber);
    for (int n = number + 1; n <= number + members; ++n) {
        mgFileControl* m = mgGetFileControl(n);
        if (!m)
            return mgCtx()->uerr_cod;
        if (m->status != 'n')
            return mgSetError(kMgNumberInUse);
    }
    mode &= 0x7FF6;
    f->firstFile = f;
    f->mode = mode;
    f->permanent = (mode & kMgModePermanent) != 0;
    mgSetH16(f, kHdrSuperfileKind, superfileKind);
    mgSetH32(f, kHdrMemberId, memberId);
    mgSetH16(f, kHdrAttributeFlags, (mode & kMgModeTransaction10) ? 0x0400 : (mode & kMgModeTransaction20) ? 0x0200 : 0);
    mgSetH16(f, kHdrFileMode, mode);
    mgSetH16(f, kHdrCreateMode, mode & 0x86F4);
    mgInitHeader(f);
    SetNodeSizeCode(f, uint32_t(ctx->nodeSize) - (member ? 18u : 0u));
    if (uint16_t error = mgSetIndexParameters(f, keyLength, keyType, duplicates))
        return error;
    mgSetH32(f, kHdrFormatCode, kMgFormatIndex);
    mgSetH32(f, kHdrHeaderPosition, headerPosition);
    f->partialHeader = headerPosition + 12;
    f->header[kHdrPadByte] = 0x20;
    mgSetH16(f, kHdrMemberCount, uint16_t(members));
    mgSetH16(f, kHdrFileKind, kMgKindIndex);
    mgCopyBounded(f->name, name, sizeof f->name);
    if ((mode & kMgModeTransaction20)) {
        mgSetH16(f, kHdrCreateMode, mgH16(f, kHdrCreateMode) | 0x0030);
        mgSetH16(f, kHdrFileMode, mgH16(f, kHdrFileMode) | 0x0010);
    }
    if (uint16_t error = mgAllocKeyImages(f, keyLength))
        return error;
    if (member) {
        MakeMember(f, host);
    } else {
        uint32_t end = mgFirstNodePosition(f) - 1;
        mgSetH32(f, kHdrLogicalEnd, end);
        mgSetH32(f, kHdrPhysicalEnd, end);
        mgSetH16(f, kHdrExtensionSize, (mode & kMgModeTransaction20) ? PageRule(extension, f->nodeSize) : extension);
        if (uint16_t error = CreateDiskFile(f, name, true))
            return error;
    }
    if (uint16_t error = WriteNewHeader(f, member, headerPosition))
        return error;
    mgFileControl* previous = f;
    for (int n = number + 1; n <= number + members; ++n) {
        mgFileControl* m = mgGetFileControl(n);
        mgResetControl(m);
        m->status = 'm';
        m->firstFile = f;
        previous->nextMember = m;
        previous = m;
    }
    FinishCreated(f, mode);
    return 0;
}

uint16_t mgCreateIndexMember(int fileNumber, int16_t keyLength, int16_t keyType, int16_t duplicates,
                             int16_t memberNumber)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return mgCtx()->uerr_cod;
    if (!mgIsIndex(f))
        return mgSetError(kMgWrongFileKind);
    if (memberNumber < 1 || memberNumber > int(mgH16(f, kHdrMemberCount)))
        return mgSetError(kMgBadMemberCount);
    mgFileControl* m = mgGetFileControl(fileNumber + memberNumber);
    if (!m || m->status != 'm')
        return mgSetError(kMgNumberInUse);
    memcpy(m->header, f->header, kMgHeaderSize);
    mgSetH16(m, kHdrAttributeFlags, mgH16(f, kHdrAttributeFlags) & ~1u);
    mgSetH32(m, kHdrHeaderPosition, mgHeaderPosition(f) + 128u * uint32_t(memberNumber));
    m->partialHeader = mgHeaderPosition(m) + 12;
    mgSetH16(m, kHdrMemberNumber, uint16_t(memberNumber));
    mgSetH16(m, kHdrMemberCount, 0);
    mgSetH16(m, kHdrExtensionSize, 0xFFFF);
    mgSetH32(m, kHdrLogicalEnd, 0xFFFFFFFF);
    mgSetH32(m, kHdrPhysicalEnd, 0xFFFFFFFF);
    mgSetH32(m, kHdrRootNode, 0);
    mgSetH32(m, kHdrFirstLeaf, 0);
    mgSetH32(m, kHdrEntryCount, 0);
    mgSetH32(m, kHdrResourceAnchor, 0);
    m->nodeSize = f->nodeSize;
    m->partner = f->partner;
    m->mode = f->mode;
    m->permanent = f->permanent;
    m->handle = INVALID_HANDLE_VALUE;
    if (uint16_t error = mgSetIndexParameters(m, keyLength, keyType, duplicates))
        return error;
    if (uint16_t error = mgAllocKeyImages(m, keyLength))
        return error;
    mgComputeDerivedSizes(m);
    // Defining a member is part of creating the file: it does not mark the file changed.
    uint32_t pending = f->flags & kMgPendingUpdate;
    bool flagClear = f->header[kHdrUpdateFlag] == 0;
    f->flags &= ~kMgPendingUpdate;
    uint16_t error = flagClear ? mgReadWrite(kMgWrite | kMgHeaderTransfer, m, mgHeaderPosition(m), m->header,
                                             kMgHeaderSize, nullptr)
                               : 0;
    f->flags |= pending;
    if (error)
        return error;
    m->status = 'y';
    return 0;
}


uint16_t mgCreateDataFile(int fileNumber, const char* name, uint16_t recordLength, uint16_t extensionSize,
                          uint16_t mode)
{
    if (uint16_t error = mgCheckNamedFileCall(fileNumber, name))
        return error;
    mgInstanceContext* ctx = mgCtx();
    if (mode & kMgModeHost) {
        recordLength = 0;
        mode |= kMgModePermanent;
        if (extensionSize < 32768)
            extensionSize = 32768;
    }
    int32_t separator = mgMemberSeparator(name);
    if (separator > 0) {
        if (mode & kMgModeHost)
            return mgSetError(kMgMemberIsHost);
        int host = mgHostOfMember(name, mode, fileNumber);
        if (host < 0)
            return mgSetError(kMgHostNotOpen);
        return mgCreateMemberFile(0, host, fileNumber, name, name + separator + 1, int16_t(recordLength), -1, 0, 0,
                                  mode);
    }
    if (mode & kMgModeHost) {
        if (fileNumber + 1 >= ctx->fileSlots && !mgGrowFileTable(fileNumber + 1))
            return mgSetError(kMgBadFileNumber);
        mgFileControl* directory = mgGetFileControl(fileNumber + 1);
        if (!directory || directory->status != 'n')
            return mgSetError(directory ? kMgNumberInUse : kMgBadFileNumber);
    }
    mgFileControl* f = TakeFreeControl(fileNumber);
    if (!f)
        return ctx->uerr_cod;
    uint16_t error = mgBuildDataFile(f, name, recordLength, extensionSize, mode, 0, (mode & kMgModeHost) ? kMgHost : 0,
                                     nullptr, 0);
    if (!error && !(mode & kMgModeNoAnchor))
        error = mgCreateAnchor(f);
    if (!error && (mode & kMgModeHost))
        error = mgCreateMemberDirectory(name, fileNumber, mgH16(f, kHdrFileMode));
    return KeepOrDiscard(f, name, error);
}

uint16_t mgCreateIndexFile(int fileNumber, const char* name, int16_t keyLength, int16_t keyType, int16_t duplicates,
                           int16_t memberCount, uint16_t extensionSize, uint16_t mode)
{
    if (uint16_t error = mgCheckNamedFileCall(fileNumber, name))
        return error;
    mgInstanceContext* ctx = mgCtx();
    int32_t separator = mgMemberSeparator(name);
    if (separator > 0) {
        int host = mgHostOfMember(name, mode, fileNumber);
        if (host < 0)
            return mgSetError(kMgHostNotOpen);
        return mgCreateMemberFile(0, host, fileNumber, name, name + separator + 1, keyLength, keyType, duplicates,
                                  memberCount, mode);
    }
    mgFileControl* f = TakeFreeControl(fileNumber);
    if (!f)
        return ctx->uerr_cod;
    uint16_t error = mgBuildIndexFile(f, name, keyLength, keyType, duplicates, memberCount, extensionSize, mode, 0,
                                      kMgPlainFile, nullptr, 0);
    if (!error && !(mode & kMgModeNoAnchor))
        error = mgCreateAnchor(f);
    return KeepOrDiscard(f, name, error);
}
