// Creating a file set from its definition: the data file, each index file (or additional
// index member), the instance's key tables, and the packed definition stored in the data
// file. A failed create leaves no file behind.
#include "database/mgFileSet.h"

#include <cstdlib>
#include <cstring>

#include "database/mgCondition.h"
#include "database/mgFile.h"
#include "database/mgInstance.h"
#include "database/mgResource.h"
#include "database/mgRuntime.h"

namespace {

char* CopyText(const char* text)
{
    if (!text)
        return nullptr;
    size_t length = strlen(text);
    auto* copy = static_cast<char*>(malloc(length + 1));
    if (copy)
        memcpy(copy, text, length + 1);
    return copy;
}

// Checks the segments of a definition before anything is made: a base mode the key
// transform knows (0 to 15, or 0x100), no flag 0x80 and, in fixed-length records, a place
// inside the record for the modes that take bytes at an offset. Found only when keys were
// built, such a fault would refuse every record added to a set already made.
uint16_t CheckSegments(const mgFileDef* def)
{
    bool fixed = (def->dataMode & kMgModeVariable) == 0;
    for (int i = 0; i < def->indexCount; ++i) {
        const mgIndexDef& index = def->indexes[i];
        for (int s = 0; s < index.segmentCount && s < kMgMaxSegments; ++s) {
            const mgSegmentDef& segment = index.segments[s];
            if (segment.offset < 0)
                break;
            int base = segment.mode & 0x10F;
            if (base > 15 && base != 0x100)
                return kMgBadDefinitionType;
            if (segment.mode & 0x80)
                return kMgSegmentRefused;
            bool byField = base == 4 || base == 5 || (base >= 12 && base <= 15);
            if (fixed && !byField && segment.length > 0 && segment.offset + segment.length > def->recordLength)
                return kMgOutsideRecord;
        }
    }
    return 0;
}

} // namespace

// The name of a set file: a name and an extension (none for a host; blanks mean none);
// false when the two reach 256 characters.
bool mgSetFileName(char* out, const char* name, const char* extension, bool host)
{
    size_t nameLength = strlen(name);
    size_t extensionLength = 0;
    if (!host && extension && extension[0] && extension[0] != ' ')
        extensionLength = strnlen(extension, 8);
    if (nameLength + extensionLength >= 256) {
        out[0] = 0;
        return false;
    }
    memcpy(out, name, nameLength);
    memcpy(out + nameLength, extension, extensionLength);
    out[nameLength + extensionLength] = 0;
    return true;
}

// A member name without an extension of its own gets the index extension.
void mgIndexFileName(char* out, const char* memberName, const char* extension)
{
    const char* last = memberName;
    for (const char* p = memberName; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == '!' || *p == ':')
            last = p + 1;
    if (strchr(last, '.'))
        mgCopyBounded(out, memberName, 256);
    else if (!mgSetFileName(out, memberName, extension, false))
        out[0] = 0;
}

uint16_t mgRegisterIndexDef(int i, const mgFileDef* definition, int firstIndexFile, int listOffset)
{
    mgInstanceContext* ctx = mgCtx();
    const mgIndexDef& index = definition->indexes[i];
    int dataFile = definition->setFileNumber;
    int number = firstIndexFile == -1 ? dataFile + 1 + i : firstIndexFile + i;
    if (index.segmentCount > kMgMaxSegments)
        return mgSetError(kMgTooManySegments);
    if (index.segmentCount < 1 || !index.segments)
        return mgSetError(kMgBadDefinition);
    int sum = 0;
    for (int s = 0; s < index.segmentCount; ++s) {
        const mgSegmentDef& segment = index.segments[s];
        if (segment.offset < 0)
            break;
        if (segment.mode & 0x80)
            return mgSetError(kMgSegmentRefused);
        // Mode 10 values are exactly 10 bytes; another length would overrun its work area.
        if ((segment.mode & 0x10F) == 10 && segment.length != 10)
            return mgSetError(kMgKeyLengthMismatch);
        if (segment.length < 0)
            return mgSetError(kMgKeyLengthMismatch);
        sum += segment.length;
    }
    if (sum + (index.duplicates ? 4 : 0) != index.keyLength)
        return mgSetError(kMgKeyLengthMismatch);
    if (number >= ctx->setTableSize || dataFile < 0 || dataFile >= ctx->setTableSize)
        return mgSetError(kMgBadFileNumber);
    mgSetEntry& entry = ctx->sets[number];
    free(entry.indexText);
    entry.indexText = nullptr;
    entry.keyType = uint16_t(index.keyType);
    entry.keyOptions = uint16_t(index.keyOptions & ~0x10);
    entry.keyOptions |= mgIsKeyConditional(dataFile, listOffset + i);
    entry.emptyChar = uint8_t(index.emptyChar);
    entry.dataFile = uint16_t(dataFile);
    entry.keyNumber = uint16_t(listOffset + i);
    entry.segmentCount = index.segmentCount;
    entry.positionCheck = 0;
    mgFileControl* data = mgCheckFile(dataFile);
    for (int s = 0; s < kMgMaxSegments; ++s) {
        if (s < index.segmentCount) {
            entry.segments[s] = index.segments[s];
            int base = index.segments[s].mode & 0x10F;
            if (base == 4 || base == 5)
                entry.positionCheck = 1;
            if (base == 3 && data) {
                data->serialOffset = uint16_t(index.segments[s].offset + 1);
                data->serialLength = uint16_t(index.segments[s].length);
            }
        } else {
            entry.segments[s] = mgSegmentDef{-1, 0, 0};
        }
    }
    if (index.text) {
        entry.indexText = CopyText(index.text);
        if (!entry.indexText)
            return mgSetError(kMgIndexTextNoMemory);
    }
    ctx->memberLists[dataFile][listOffset + i] = int16_t(number);
    if (listOffset + i + 1 < kMgMaxIndexes)
        ctx->memberLists[dataFile][listOffset + i + 1] = -1;
    return 0;
}

int16_t mgCreateFileSet(mgFileDef* def)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return int16_t(kMgNoInstance);
    ctx->isam_code = 0;
    if (!def || !def->name || (def->indexCount > 0 && !def->indexes) || def->indexCount < 0)
        return int16_t(mgSetIsamError(mgSetError(kMgBadDefinition), 0));
    if (def->indexCount > kMgMaxIndexes)
        return int16_t(mgSetIsamError(mgSetError(kMgTooManyIndexes), 0));
    for (int i = 0; i < def->indexCount; ++i)
        if (!def->indexes[i].segments || def->indexes[i].segmentCount < 1)
            return int16_t(mgSetIsamError(mgSetError(kMgBadDefinition), 0));
    if (uint16_t error = CheckSegments(def))
        return int16_t(mgSetIsamError(mgSetError(error), 0));
    int dataFile = mgFindFreeRun(def->dataFileNumber, def->indexCount, 0);
    if (dataFile < 0)
        return int16_t(mgSetIsamError(ctx->uerr_cod, 0));
    bool host = (def->dataMode & kMgModeHost) != 0;
    char name[256];
    if (!mgSetFileName(name, def->name, ctx->dataExtension, host))
        return int16_t(mgSetIsamError(mgSetError(kMgEmptyName), uint16_t(dataFile)));
    if (uint16_t error = mgCreateDataFile(dataFile, name, def->recordLength, def->dataExtension, def->dataMode))
        return int16_t(mgSetIsamError(error, uint16_t(dataFile)));
    def->setFileNumber = int16_t(dataFile);
    mgSetEntry& dataEntry = ctx->sets[dataFile];
    dataEntry.state = 3;
    dataEntry.dataFile = 65535;
    uint16_t error = 0;
    int errorFile = dataFile;
    dataEntry.text1 = CopyText(def->text1);
    dataEntry.text2 = CopyText(def->text2);
    if ((def->text1 && !dataEntry.text1) || (def->text2 && !dataEntry.text2))
        error = kMgDefinitionTextNoMemory;
    ctx->memberLists[dataFile][0] = -1;
    char indexNames[kMgMaxIndexes][256];
    int created = 0;
    int fileStart = dataFile + 1;
    for (int i = 0; !error && i < def->indexCount; ++i) {
        const mgIndexDef& index = def->indexes[i];
        int number = dataFile + 1 + i;
        errorFile = number;
        bool starts = i == 0 || index.memberName;
        if (starts) {
            int extra = 0;
            while (i + 1 + extra < def->indexCount && !def->indexes[i + 1 + extra].memberName)
                ++extra;
            if (index.memberName)
                mgIndexFileName(indexNames[i], index.memberName, ctx->indexExtension);
            else if (!mgSetFileName(indexNames[i], def->name, ctx->indexExtension, false))
                indexNames[i][0] = 0;
            error = mgCreateIndexFile(number, indexNames[i], index.keyLength, index.keyType, index.duplicates,
                                      int16_t(extra), def->indexExtension, def->indexMode);
            if (!error)
                created = i + 1;
            fileStart = number;
        } else {
            indexNames[i][0] = 0;
            error = mgCreateIndexMember(fileStart, index.keyLength, index.keyType, index.duplicates,
                                        int16_t(number - fileStart));
        }
        if (!error)
            error = mgRegisterIndexDef(i, def, -1, 0);
        if (!error && index.translation)
            error = mgPutIndexMemberDefinition(number, index.translation);
        if (!error && index.attribute) {
            uint8_t bytes[2] = {*index.attribute, 0};
            error = mgSetFileHeaderBytes(number, bytes);
        }
        if (!error)
            ctx->sets[number].state = 3;
    }
    if (!error && !(def->dataMode & kMgModeNoAnchor)) {
        errorFile = dataFile;
        // The stored copy names the index files as they were made.
        char* savedNames[kMgMaxIndexes] = {};
        for (int i = 0; i < def->indexCount; ++i) {
            savedNames[i] = def->indexes[i].memberName;
            if (savedNames[i])
                def->indexes[i].memberName = indexNames[i];
        }
        uint32_t length = 0;
        uint8_t* packed = mgPackDefinition(def, &length);
        for (int i = 0; i < def->indexCount; ++i)
            def->indexes[i].memberName = savedNames[i];
        if (!packed) {
            error = ctx->uerr_cod ? ctx->uerr_cod : kMgPackNoMemory;
        } else {
            mgDefinitionPart part{packed, length, 0, 0, 1};
            error = mgPutDefinitionPart(dataFile, &part, 0);
            mgFree(packed);
            if (!error) {
                mgFileControl* data = mgCheckFile(dataFile);
                mgSetH32(data, kHdrFormatCode, mgH32(data, kHdrFormatCode) | 1);
                error = mgWriteHeader(data);
            }
        }
    }
    if (error) {
        // Nothing of a failed set stays: files made so far are closed and deleted, last first.
        def->setFileNumber = 65535;
        for (int i = created - 1; i >= 0; --i) {
            int number = dataFile + 1 + i;
            mgFileControl* f = ctx->files[number];
            mgResetSetEntry(number);
            if (f && f->status == 'y' && mgH16(f, kHdrMemberNumber) == 0) {
                f->flags &= ~kMgPendingUpdate;
                f->header[kHdrUpdateFlag] = 0;
                mgDeleteFile(number);
            }
        }
        mgResetSetEntry(dataFile);
        mgFileControl* data = ctx->files[dataFile];
        if (data && data->status == 'y') {
            data->flags &= ~kMgPendingUpdate;
            data->header[kHdrUpdateFlag] = 0;
            mgDeleteFile(dataFile);
        }
        return int16_t(mgSetIsamError(error, uint16_t(errorFile)));
    }
    ctx->uerr_cod = 0;
    return 0;
}
