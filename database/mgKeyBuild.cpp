// Key formation: a record's key for one index, from fixed places in the record or from
// fields located through the data file's record schema, with the conditional and null-key
// rules that keep a record out of an index; and the key images of the current record.
// Keeps the invariant of mgKey.h: nothing is read outside the record's length.
#include "database/mgKey.h"

#include <cstring>

#include "database/mgBytes.h"
#include "database/mgCondition.h"
#include "database/mgFile.h"
#include "database/mgInstance.h"
#include "database/mgRuntime.h"

namespace {

bool IsVariableType(uint8_t type)
{
    return type == 0x92 || type == 0x9A || type == 0xA2 || type == 0xAA || type == 0xB9 || type == 0xC9;
}

bool IsWideType(uint8_t type)
{
    return type >= 0xB1 && type <= 0xC9;
}

// Padding in front of a field of the fixed part under the schema's alignment code.
uint32_t AlignmentPad(const mgSchema& schema, uint8_t type, uint32_t offset)
{
    uint8_t code = schema.alignment();
    uint32_t mask;
    if (code == 0 || code == 2)
        mask = 0;
    else if (code == 4)
        mask = uint32_t(type - 1) & 7u;
    else
        mask = uint32_t(type - 1) & code;
    uint32_t unit = mask + 1;
    uint32_t within = offset % 16;
    return (unit - within % unit) % unit;
}

uint16_t FailKey(uint16_t code, int16_t file)
{
    mgSetError(code);
    mgSetIsamError(code, uint16_t(file));
    return code;
}

mgFileControl* IndexControl(int16_t indexFile)
{
    mgInstanceContext* ctx = mgCtx();
    if (indexFile < 0 || indexFile >= ctx->fileSlots || indexFile >= ctx->setTableSize)
        return nullptr;
    mgFileControl* f = ctx->files[indexFile];
    if (!f || f->status == 'n' || ctx->sets[indexFile].dataFile == 65535)
        return nullptr;
    return f;
}

} // namespace

uint32_t mgWideLength(const uint8_t* src, uint32_t available)
{
    uint32_t i = 0;
    while (i + 1 < available && (src[i] != 0 || src[i + 1] != 0))
        i += 2;
    return i;
}

void mgFillPattern(uint8_t* dst, int length, uint8_t first, uint8_t second)
{
    for (int i = 0; i < length; ++i)
        dst[i] = (i % 2 == 0) ? first : second;
}

int mgFindByte(const uint8_t* src, int length, uint8_t value)
{
    for (int i = 0; i < length; ++i)
        if (src[i] == value)
            return i + 1;
    return 0;
}

void mgCopyDelimitedField(uint8_t* dst, const uint8_t* src, uint32_t available, int segmentLength, uint8_t delimiter,
                          uint8_t pad)
{
    int scan = int(available < uint32_t(segmentLength) ? available : uint32_t(segmentLength));
    int at = mgFindByte(src, scan, delimiter);
    int copy = at ? at - 1 : scan;
    memcpy(dst, src, size_t(copy));
    memset(dst + copy, pad, size_t(segmentLength - copy));
}

void mgCopyCountedField(uint8_t* dst, const uint8_t* src, uint32_t count, uint32_t available, int segmentLength,
                        uint8_t pad)
{
    uint32_t copy = uint32_t(segmentLength);
    if (count < copy)
        copy = count;
    if (available < copy)
        copy = available;
    memcpy(dst, src, copy);
    memset(dst + copy, pad, size_t(segmentLength) - copy);
}

void mgCopyWideField(uint8_t* dst, const uint8_t* src, bool counted, uint32_t count, uint32_t available,
                     int segmentLength, uint8_t pad)
{
    uint32_t copy;
    if (counted) {
        copy = count;
    } else {
        copy = mgWideLength(src, available);
        if (copy + 2 <= available)
            copy += 2;
    }
    if (copy > uint32_t(segmentLength))
        copy = uint32_t(segmentLength);
    if (copy > available)
        copy = available;
    memcpy(dst, src, copy);
    mgSwapWords(dst, int(copy / 2));
    if (copy % 2 == 1 && copy < uint32_t(segmentLength))
        dst[copy++] = 0;
    mgFillPattern(dst + copy, int(uint32_t(segmentLength) - copy), pad, 0);
}

uint32_t mgFieldSize(uint8_t type, uint16_t declared, const uint8_t* src, uint32_t available, uint8_t delimiter)
{
    uint64_t size;
    switch (type) {
    case 0x92: {
        int at = mgFindByte(src, int(available), delimiter);
        return at ? uint32_t(at) : 0;
    }
    case 0x9A:
        size = available >= 1 ? 1ull + src[0] : ~0ull;
        break;
    case 0xA2:
    case 0xC9:
        size = available >= 2 ? 2ull + mgGet16(src) : ~0ull;
        break;
    case 0xAA:
        size = available >= 4 ? 4ull + mgGet32(src) : ~0ull;
        break;
    case 0xB9:
        size = 2ull * (mgWideLength(src, available) / 2) + 2;
        break;
    default:
        size = declared;
        break;
    }
    return size <= available ? uint32_t(size) : 0;
}

uint32_t mgBuildKeyValue(int16_t indexFile, const uint8_t* record, uint8_t* key, uint32_t recordLength)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* index = key ? IndexControl(indexFile) : nullptr;
    if (!index) {
        FailKey(kMgBadKeyRequest, indexFile);
        return 0;
    }
    const mgSetEntry& entry = ctx->sets[indexFile];
    mgFileControl* data = mgCheckFile(entry.dataFile);
    if (!data) {
        mgSetIsamError(ctx->uerr_cod, uint16_t(entry.dataFile));
        return 0;
    }
    mgSchema schema = mgSchemaOf(data->dataDefinition, data->dataDefinitionLength);
    uint8_t delimiter = schema.delimiter();
    uint8_t pad = schema.pad();
    if (recordLength == 0 || !record) {
        FailKey(kMgOutsideRecord, indexFile);
        return 0;
    }
    if (entry.keyOptions & 0x30) {
        if (!schema.present()) {
            FailKey(kMgNoSchema, indexFile);
            return 0;
        }
        mgFieldTable fields{data->dataDefinition, data->dataDefinitionLength, nullptr, 0};
        int16_t truth = mgEvaluateKeyCondition(data->expressions, entry.keyNumber, record, recordLength, fields);
        if (truth == 0)
            return 0;
        if (truth < 0) {
            mgSetIsamError(ctx->uerr_cod, uint16_t(indexFile));
            return 0;
        }
    }
    uint32_t fixedLength = mgRecordLength(data);
    uint32_t total = 0;
    for (int s = 0; s < entry.segmentCount && s < kMgMaxSegments; ++s) {
        const mgSegmentDef& segment = entry.segments[s];
        if (segment.offset < 0)
            break;
        if (segment.mode & 0x80) {
            FailKey(kMgSegmentRefused, indexFile);
            return 0;
        }
        int length = segment.length;
        if (length < 0 || total + uint32_t(length) > uint32_t(kMgMaxKeyLength)) {
            FailKey(kMgOutsideRecord, indexFile);
            return 0;
        }
        uint8_t* dst = key + total;
        int base = segment.mode & 0x10F;
        if (base == 4 || base == 5) {
            uint32_t position = 0;
            uint32_t field = 0;
            bool described = schema.present();
            while (described && field < schema.fields) {
                uint16_t size = 0;
                uint8_t type = 0;
                if (!mgSchemaField(schema, field, &size, &type)) {
                    described = false;
                    break;
                }
                position += AlignmentPad(schema, type, position);
                if (position >= fixedLength)
                    break;
                if (IsVariableType(type)) {
                    described = false;
                    break;
                }
                position += size;
                ++field;
            }
            if (!described || field >= schema.fields)
                position = fixedLength;
            for (int skip = 0; skip <= segment.offset; ++skip) {
                if (position >= recordLength) {
                    FailKey(kMgOutsideRecord, indexFile);
                    return 0;
                }
                uint16_t size = 0;
                uint8_t type = 0x92;
                if (!described || !mgSchemaField(schema, field, &size, &type))
                    type = 0x92;
                if (skip == segment.offset) {
                    const uint8_t* src = record + position;
                    uint32_t available = recordLength - position;
                    if (type == 0xB1 || type == 0xB9)
                        mgCopyWideField(dst, src, false, 0, available, length, pad);
                    else if (type == 0xC1 || type == 0xC9)
                        mgCopyWideField(dst, src + 2, true, available >= 2 ? mgGet16(src) : 0,
                                        available >= 2 ? available - 2 : 0, length, pad);
                    else
                        mgCopyDelimitedField(dst, src, available, length, delimiter, pad);
                    break;
                }
                uint32_t taken = mgFieldSize(type, size, record + position, recordLength - position, delimiter);
                if (taken == 0) {
                    FailKey(kMgOutsideRecord, indexFile);
                    return 0;
                }
                position += taken;
                ++field;
            }
        } else if (base >= 12 && base <= 15) {
            if (!schema.present()) {
                FailKey(kMgNoSchema, indexFile);
                return 0;
            }
            uint32_t wanted = uint32_t(segment.offset);
            if (wanted >= schema.fields) {
                FailKey(kMgFieldBeyondSchema, indexFile);
                return 0;
            }
            uint32_t position = 0;
            uint16_t size = 0;
            uint8_t type = 0;
            for (uint32_t field = 0;; ++field) {
                if (!mgSchemaField(schema, field, &size, &type)) {
                    FailKey(kMgFieldBeyondSchema, indexFile);
                    return 0;
                }
                if (position < fixedLength)
                    position += AlignmentPad(schema, type, position);
                if (position >= recordLength) {
                    FailKey(kMgOutsideRecord, indexFile);
                    return 0;
                }
                if (field == wanted)
                    break;
                uint32_t taken = mgFieldSize(type, size, record + position, recordLength - position, delimiter);
                if (taken == 0 && IsVariableType(type)) {
                    FailKey(kMgOutsideRecord, indexFile);
                    return 0;
                }
                position += taken;
            }
            if (IsWideType(type)) {
                FailKey(kMgSegmentRefused, indexFile);
                return 0;
            }
            const uint8_t* src = record + position;
            uint32_t available = recordLength - position;
            bool textRule = (type >= 0x92 && type <= 0xB0) || (type == 0x90 && base >= 14);
            if (textRule) {
                switch (type) {
                case 0x90:
                case 0x92:
                    mgCopyDelimitedField(dst, src, available, length, delimiter, pad);
                    break;
                case 0x98:
                case 0x9A:
                    mgCopyCountedField(dst, src + 1, available >= 1 ? src[0] : 0, available >= 1 ? available - 1 : 0,
                                       length, pad);
                    break;
                case 0xA0:
                case 0xA2:
                    mgCopyCountedField(dst, src + 2, available >= 2 ? mgGet16(src) : 0,
                                       available >= 2 ? available - 2 : 0, length, pad);
                    break;
                case 0xA8:
                case 0xAA:
                    mgCopyCountedField(dst, src + 4, available >= 4 ? mgGet32(src) : 0,
                                       available >= 4 ? available - 4 : 0, length, pad);
                    break;
                default:
                    // A text type without a copy rule would leave the segment unfilled and
                    // misplace the segments after it: refused.
                    FailKey(kMgOutsideRecord, indexFile);
                    return 0;
                }
            } else {
                if (uint64_t(position) + uint32_t(length) > recordLength) {
                    FailKey(kMgOutsideRecord, indexFile);
                    return 0;
                }
                memcpy(dst, src, size_t(length));
            }
        } else {
            if (uint64_t(uint16_t(segment.offset)) + uint32_t(length) > recordLength) {
                FailKey(kMgOutsideRecord, indexFile);
                return 0;
            }
            memcpy(dst, record + segment.offset, size_t(length));
        }
        total += uint32_t(length);
    }
    if ((entry.keyOptions & 0x0F) == 1 && mgAllBytesEqual(key, int(total), entry.emptyChar) == 0)
        return 0;
    return total;
}

uint8_t* mgTransformKey(int16_t indexFile, uint8_t* key, uint32_t position, bool suffix)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* index = IndexControl(indexFile);
    if (!index) {
        FailKey(kMgBadKeyRequest, indexFile);
        return nullptr;
    }
    const mgSetEntry& entry = ctx->sets[indexFile];
    mgFileControl* data = mgCheckFile(entry.dataFile);
    mgSchema schema = data ? mgSchemaOf(data->dataDefinition, data->dataDefinitionLength) : mgSchema{};
    const uint8_t* translation = index->indexDefinition;
    uint32_t offset = 0;
    for (int s = 0; s < entry.segmentCount && s < kMgMaxSegments; ++s) {
        const mgSegmentDef& segment = entry.segments[s];
        if (segment.offset < 0)
            break;
        if (uint16_t error =
                mgTransformSegment(segment.offset, segment.mode, segment.length, key + offset, translation, schema)) {
            FailKey(error, indexFile);
            return nullptr;
        }
        offset += uint32_t(segment.length > 0 ? segment.length : 0);
    }
    if (suffix && index->header[kHdrDuplicates])
        mgPut32BE(key + mgKeyLength(index) - 4, position);
    ctx->uerr_cod = 0;
    ctx->isam_code = 0;
    return key;
}

int16_t mgBuildKey(int16_t indexFile, const uint8_t* record, uint8_t* key, uint32_t position, uint32_t recordLength)
{
    uint32_t length = mgBuildKeyValue(indexFile, record, key, recordLength);
    if (length == 0)
        return 0;
    if (!mgTransformKey(indexFile, key, position, true))
        return 0;
    return int16_t(length);
}

uint8_t* mgPrepareTargetKey(int16_t indexFile, uint8_t* key)
{
    return mgTransformKey(indexFile, key, 0, true);
}

uint8_t* mgSetKeyImage(int16_t indexFile, const uint8_t* record, uint32_t position, int which, uint32_t recordLength)
{
    mgFileControl* index = IndexControl(indexFile);
    if (!index || !index->keyImages) {
        FailKey(kMgBadKeyRequest, indexFile);
        return nullptr;
    }
    int keyLength = mgKeyLength(index);
    uint8_t* image = index->keyImages + keyLength * (which == 0 ? 1 : 2);
    int16_t length = mgBuildKey(indexFile, record, image, position, recordLength);
    if (which == 0)
        index->currentKeyValid = length != 0;
    else
        index->savedKeyValid = length != 0;
    return length ? image : nullptr;
}

uint32_t mgCurrentPosition(uint16_t dataFile)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx || dataFile >= ctx->fileSlots || !ctx->files[dataFile] || ctx->files[dataFile]->status == 'n')
        return 0;
    return ctx->files[dataFile]->currentPosition;
}

uint32_t mgCurrentRecordPosition(uint16_t dataFile)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return 0;
    ctx->uerr_cod = 0;
    if (!mgCheckFile(dataFile)) {
        mgSetIsamError(ctx->uerr_cod, dataFile);
        return 0;
    }
    uint32_t position = mgCurrentPosition(dataFile);
    mgSetIsamError(ctx->uerr_cod, dataFile);
    return position;
}

uint8_t* mgCurrentKeyImage(int16_t indexFile, uint8_t* out, int* length)
{
    if (length)
        *length = 0;
    mgFileControl* index = mgCheckFile(indexFile);
    if (!index)
        return nullptr;
    if (!mgIsIndex(index)) {
        mgSetError(kMgWrongFileKind);
        return nullptr;
    }
    if (!index->currentKeyValid || !index->keyImages)
        return nullptr;
    int keyLength = mgKeyLength(index);
    uint8_t* image = index->keyImages + keyLength;
    if (length)
        *length = keyLength;
    if (out) {
        memcpy(out, image, size_t(keyLength));
        return out;
    }
    return image;
}

uint8_t* mgGetCurrentKey(int16_t indexFile, uint8_t* out, int* length)
{
    mgInstanceContext* ctx = mgCtx();
    ctx->uerr_cod = 0;
    uint8_t* result = mgCurrentKeyImage(indexFile, out, length);
    mgSetIsamError(ctx->uerr_cod, uint16_t(indexFile));
    return result;
}
