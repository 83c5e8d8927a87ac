// The definition resource "DM!DEF": 32 independently sized parts behind a 280-byte
// directory (the stored set definition, the record layout, field names, index member
// definitions), and the two attribute bytes of a file.
#include "database/mgResource.h"

#include <cstring>
#include <vector>

#include "database/mgOs.h"
#include "database/mgRuntime.h"

namespace {

constexpr int kParts = 32;

int ResourceNumberOf(mgFileControl* f)
{
    return mgIsIndex(f) ? 3 : 1;
}

// Reads the whole definition resource; false when there is none (error in uerr_cod).
bool ReadDefinition(int fileNumber, uint32_t type, int resourceNumber, std::vector<uint8_t>& data)
{
    uint8_t key[8];
    mgPut32(key, type);
    mgPut32(key + 4, uint32_t(resourceNumber));
    uint8_t summary[12];
    uint32_t length = 0;
    if (!mgGetResource(fileNumber, key, summary, sizeof summary, kMgFindTypeNumber | kMgFindSummary, &length))
        return false;
    if (length < uint32_t(kMgDefinitionDirectory) || length > 32u * 65536u + kMgDefinitionDirectory) {
        mgSetError(kMgPartTooLarge);
        return false;
    }
    data.assign(length, 0);
    if (!mgGetResource(fileNumber, key, data.data(), length, kMgFindTypeNumber, nullptr))
        return false;
    // The directory must describe parts inside the resource.
    uint32_t total = mgGet32(data.data() + 16);
    if (total < uint32_t(kMgDefinitionDirectory) || total > length || memcmp(data.data() + 8, "DM!DEF", 7) != 0) {
        mgSetError(kMgPartTooLarge);
        return false;
    }
    for (int p = 0; p < kParts; ++p) {
        const uint8_t* entry = data.data() + 24 + 8 * p;
        uint32_t offset = mgGet32(entry);
        uint32_t allocated = mgGet16(entry + 4);
        uint32_t used = mgGet16(entry + 6);
        if (used == 0 && allocated == 0)
            continue;
        if (used > allocated || offset < uint32_t(kMgDefinitionDirectory) || uint64_t(offset) + allocated > total) {
            mgSetError(kMgPartTooLarge);
            return false;
        }
    }
    return true;
}

} // namespace

uint16_t mgPutDefinitionPart(int fileNumber, const mgDefinitionPart* part, uint32_t type)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return mgCtx()->uerr_cod;
    if (part->resourceNumber != ResourceNumberOf(f))
        return mgSetError(kMgWrongFileKind);
    if (type > 999)
        return mgSetError(kMgBadDefinitionType);
    if (f->mode & (kMgModeReadOnly | kMgModeShared))
        return mgSetError(kMgResourceReadOnly);
    if (part->part < 0 || part->part >= kParts)
        return mgSetError(kMgBadPartNumber);
    uint32_t allocation = part->hint > part->length ? part->hint : part->length;
    allocation = (allocation + 7) & ~7u;
    if (allocation > 65535)
        return mgSetError(kMgPartTooLarge);
    std::vector<uint8_t> data;
    bool exists = ReadDefinition(fileNumber, type, part->resourceNumber, data);
    uint16_t readError = mgCtx()->uerr_cod;
    if (!exists && readError != kMgResourceNotFound && readError != kMgNoResources)
        return readError;
    if (!exists && readError == kMgNoResources) {
        if (uint16_t error = mgCreateAnchor(f))
            return error;
    }
    uint32_t oldLength = uint32_t(data.size());
    if (!exists) {
        data.assign(size_t(kMgDefinitionDirectory + allocation) > size_t(kMgDefinitionMinimum)
                        ? size_t(kMgDefinitionDirectory + allocation)
                        : size_t(kMgDefinitionMinimum),
                    0);
        mgPut32(data.data(), type);
        mgPut32(data.data() + 4, uint32_t(part->resourceNumber));
        memcpy(data.data() + 8, "DM!DEF", 7);
        mgPut32(data.data() + 16, kMgDefinitionDirectory);
    }
    uint8_t* entry = data.data() + 24 + 8 * part->part;
    uint32_t total = mgGet32(data.data() + 16);
    if (mgGet16(entry + 4) < part->length || (mgGet16(entry + 4) == 0 && allocation > 0)) {
        uint32_t offset = total;
        total += allocation;
        if (total > data.size())
            data.resize(total, 0);
        entry = data.data() + 24 + 8 * part->part;
        mgPut32(entry, offset);
        mgPut16(entry + 4, allocation);
        mgPut32(data.data() + 16, total);
    }
    uint32_t offset = mgGet32(entry);
    if (part->length > 0)
        memcpy(data.data() + offset, part->data, part->length);
    mgPut16(entry + 6, part->length);
    mgPut32(data.data() + 20, mgNow());
    uint16_t error;
    if (exists) {
        uint32_t length = uint32_t(data.size()) > oldLength ? uint32_t(data.size()) : oldLength;
        data.resize(length, 0);
        error = mgUpdateResource(fileNumber, data.data(), length);
    } else {
        error = mgAddResource(fileNumber, data.data(), uint32_t(data.size()));
    }
    if (error)
        return error;
    if (part->part == 1 && !mgIsIndex(f) && part->data != f->dataDefinition) {
        mgFree(f->dataDefinition);
        f->dataDefinition = static_cast<uint8_t*>(mgAlloc(part->length));
        f->dataDefinitionLength = f->dataDefinition ? part->length : 0;
        if (f->dataDefinition)
            memcpy(f->dataDefinition, part->data, part->length);
    }
    return mgSetError(0);
}

uint16_t mgGetDefinitionPart(int fileNumber, mgDefinitionPart* part, uint32_t type)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return mgCtx()->uerr_cod;
    if (part->part < 0 || part->part >= kParts)
        return mgSetError(kMgBadPartNumber);
    if (!part->data)
        return mgSetError(kMgNoPartBuffer);
    std::vector<uint8_t> data;
    if (!ReadDefinition(fileNumber, type, ResourceNumberOf(f), data))
        return mgCtx()->uerr_cod;
    const uint8_t* entry = data.data() + 24 + 8 * part->part;
    uint32_t used = mgGet16(entry + 6);
    if (used == 0)
        return mgSetError(kMgPartEmpty);
    if (used > part->length)
        return mgSetError(kMgPartTooLarge);
    memcpy(part->data, data.data() + mgGet32(entry), used);
    part->length = used;
    return mgSetError(0);
}

void* mgReadDefinitionPart(int fileNumber, uint32_t* length, int16_t partNumber, uint32_t type)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return nullptr;
    if (partNumber < 0 || partNumber >= kParts) {
        mgSetError(kMgBadPartNumber);
        return nullptr;
    }
    std::vector<uint8_t> data;
    if (!ReadDefinition(fileNumber, type, ResourceNumberOf(f), data))
        return nullptr;
    const uint8_t* entry = data.data() + 24 + 8 * partNumber;
    uint32_t used = mgGet16(entry + 6);
    if (used == 0) {
        mgSetError(kMgPartEmpty);
        return nullptr;
    }
    uint32_t extra = 0;
    if (partNumber == 0 && !(mgH32(f, kHdrFormatCode) & 1) && used >= 14)
        extra = 12u * mgGet16(data.data() + mgGet32(entry) + 12);
    uint8_t* block = static_cast<uint8_t*>(mgAlloc(used + extra));
    if (!block) {
        mgSetError(kMgPackNoMemory);
        return nullptr;
    }
    memcpy(block, data.data() + mgGet32(entry), used);
    if (length)
        *length = used;
    mgSetError(0);
    return block;
}

uint16_t mgPutIndexMemberDefinition(int fileNumber, const uint8_t* block)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return mgCtx()->uerr_cod;
    if (!mgIsIndex(f))
        return mgSetError(kMgWrongFileKind);
    mgFileControl* first = mgGroupFirst(f);
    mgDefinitionPart part{const_cast<uint8_t*>(block), block ? uint32_t(kMgIndexDefinitionSize) : 0,
                          uint32_t(kMgIndexDefinitionSize), int16_t(mgH16(f, kHdrMemberNumber)), 3};
    if (uint16_t error = mgPutDefinitionPart(first->fileNumber, &part, 0))
        return error;
    mgFree(f->indexDefinition);
    f->indexDefinition = nullptr;
    if (block) {
        f->indexDefinition = static_cast<uint8_t*>(mgAlloc(kMgIndexDefinitionSize));
        if (f->indexDefinition)
            memcpy(f->indexDefinition, block, kMgIndexDefinitionSize);
    }
    return 0;
}

uint16_t mgGetIndexMemberDefinition(int fileNumber, uint8_t* buffer, uint32_t size)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return mgCtx()->uerr_cod;
    mgFileControl* first = mgGroupFirst(f);
    mgDefinitionPart part{buffer, size, 0, int16_t(mgH16(f, kHdrMemberNumber)), 3};
    return mgGetDefinitionPart(first->fileNumber, &part, 0);
}

uint16_t mgSetFileHeaderBytes(int fileNumber, const uint8_t* bytes)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return mgCtx()->uerr_cod;
    if (f->mode & (kMgModeReadOnly | kMgModeShared))
        return mgSetError(kMgResourceReadOnly);
    if (mgIsIndex(f)) {
        f->header[kHdrPadByte] = bytes[0];
        if (uint16_t error = mgWriteHeader(f))
            return error;
        return mgsave(f);
    }
    uint8_t block[16] = {};
    uint32_t length = sizeof block;
    if (f->dataDefinition && f->dataDefinitionLength >= 4) {
        std::vector<uint8_t> copy(f->dataDefinition, f->dataDefinition + f->dataDefinitionLength);
        copy[2] = bytes[1];
        copy[3] = bytes[0];
        mgDefinitionPart part{copy.data(), uint32_t(copy.size()), 0, 1, 1};
        return mgPutDefinitionPart(fileNumber, &part, 0);
    }
    block[0] = mgCtx()->attributeBytes[0];
    block[1] = mgCtx()->attributeBytes[1];
    block[2] = bytes[1];
    block[3] = bytes[0];
    mgDefinitionPart part{block, length, 0, 1, 1};
    return mgPutDefinitionPart(fileNumber, &part, 0);
}
