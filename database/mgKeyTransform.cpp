// Segment transforms: each mode turns a segment's bytes, in place, into bytes whose plain
// unsigned order is the order of the values (integers, floating point, packed and zoned
// decimal, case-free text, length-prefixed text), then the flags right-justify, translate
// and invert them.
// Mode 10 (10-byte decimal: sign, exponent, 16 digits) puts every negative number before
// every positive one but does not complement negative digits, so among negative numbers a
// larger magnitude sorts later; stored keys rely on that order, so it is kept.
#include "database/mgKey.h"

#include <cstring>

#include "database/mgBytes.h"
#include "database/mgRuntime.h"

namespace {

int Nibble(const uint8_t* digits, int i)
{
    uint8_t byte = digits[i / 2];
    return (i % 2 == 0) ? (byte & 0x0F) : (byte >> 4);
}

void SetNibble(uint8_t* digits, int i, int value)
{
    uint8_t& byte = digits[i / 2];
    if (i % 2 == 0)
        byte = uint8_t((byte & 0xF0) | (value & 0x0F));
    else
        byte = uint8_t((byte & 0x0F) | ((value & 0x0F) << 4));
}

void NormaliseDecimal(uint8_t* value)
{
    uint8_t* digits = value + 2;
    int zeros = 0;
    for (int i = 15; i >= 0 && Nibble(digits, i) == 0; --i)
        ++zeros;
    uint8_t work[8];
    memset(work, 0, sizeof work);
    for (int i = 0; i + zeros < 16; ++i)
        SetNibble(work, i + zeros, Nibble(digits, i));
    memcpy(digits, work, sizeof work);
    value[1] = uint8_t(value[1] - zeros);
}

// Base mode of a schema field type (by groups of eight codes); -1 none, -2 refused.
int SchemaBaseMode(uint8_t type)
{
    if (type >= 0xF0)
        type = 0x92;
    if (type >= 0xB0 && type <= 0xCF)
        return -2;
    if ((type >= 0x20 && type <= 0x27) || (type >= 0x30 && type <= 0x37) || (type >= 0x40 && type <= 0x47) ||
        (type >= 0x88 && type <= 0x8F) || (type >= 0xE0 && type <= 0xE7))
        return 8;
    if ((type >= 0x28 && type <= 0x2F) || (type >= 0x38 && type <= 0x3F) || (type >= 0x48 && type <= 0x4F) ||
        (type >= 0x50 && type <= 0x57) || (type >= 0x78 && type <= 0x7F) || (type >= 0xE8 && type <= 0xEF))
        return 1;
    if ((type >= 0x58 && type <= 0x67) || (type >= 0x70 && type <= 0x77))
        return 9;
    if (type >= 0x68 && type <= 0x6F)
        return 11;
    return -1;
}

// Applies one base mode; toggles *descending for negative floating point numbers.
uint16_t ApplyBase(int base, int length, uint8_t* bytes, bool* descending)
{
    switch (base) {
    case 0:
    case 4:
    case 7:
        return 0;
    case 1:
    case 3:
        mgReverseBytes(bytes, length);
        return 0;
    case 2:
    case 5:
        for (int i = 0; i < length; ++i)
            if (bytes[i] >= 'a' && bytes[i] <= 'z')
                bytes[i] = uint8_t(bytes[i] - 'a' + 'A');
        return 0;
    case 6:
        if (length == 0)
            return 0;
        if ((bytes[0] & 0xF0) == 0) {
            bytes[0] |= 0xF0;
        } else {
            for (int i = 0; i < length; ++i)
                bytes[i] = uint8_t(0x99 - bytes[i]);
            bytes[0] &= 0x0F;
        }
        return 0;
    case 8:
        mgReverseBytes(bytes, length);
        if (length > 0)
            bytes[0] ^= 0x80;
        return 0;
    case 9:
        mgReverseBytes(bytes, length);
        if (length > 0) {
            if (bytes[0] & 0x80)
                *descending = !*descending;
            else
                bytes[0] |= 0x80;
        }
        return 0;
    case 10: {
        // The work area holds one 10-byte value; other lengths are refused when the set
        // is defined, and here as well.
        if (length != 10)
            return kMgKeyLengthMismatch;
        NormaliseDecimal(bytes);
        bytes[0] = bytes[0] == 0 ? 1 : 0;
        bytes[1] ^= 0x80;
        mgReverseBytes(bytes + 2, 8);
        return 0;
    }
    case 11: {
        if (length < 3)
            return kMgShortLengthSegment;
        uint32_t count = mgGet16(bytes);
        uint32_t room = uint32_t(length - 2);
        if (count > room)
            count = room;
        memmove(bytes, bytes + 2, count);
        memset(bytes + count, 0, size_t(length) - count);
        return 0;
    }
    default:
        return kMgBadDefinitionType;
    }
}

} // namespace

mgSchema mgSchemaOf(const uint8_t* part, uint32_t length)
{
    mgSchema schema{};
    if (!part || length < 16)
        return schema;
    uint32_t fields = mgGet32(part + 8);
    uint32_t descriptors = mgGet32(part + 12);
    // A schema that claims more descriptors than it holds is cut to what it holds.
    uint32_t room = (length - 16) / 4;
    if (descriptors > room)
        descriptors = room;
    schema.bytes = part;
    schema.length = length;
    schema.fields = fields;
    schema.descriptors = descriptors;
    return schema;
}

bool mgSchemaField(const mgSchema& schema, uint32_t n, uint16_t* size, uint8_t* type)
{
    if (!schema.present() || n >= schema.fields)
        return false;
    uint32_t covered = 0;
    for (uint32_t d = 0; d < schema.descriptors; ++d) {
        const uint8_t* entry = schema.bytes + 16 + 4 * d;
        uint32_t span = uint32_t(entry[3]) + 1;
        if (n < covered + span) {
            *size = mgGet16(entry);
            *type = entry[2];
            return true;
        }
        covered += span;
    }
    return false;
}

uint16_t mgTransformSegment(int16_t field, int16_t mode, int16_t length, uint8_t* bytes, const uint8_t* translation,
                            const mgSchema& schema)
{
    if (mode & 0x80)
        return kMgSegmentRefused;
    if (length <= 0)
        return 0;
    bool descending = (mode & 0x10) != 0;
    int base = mode & 0x10F;
    if (base >= 12 && base <= 15) {
        if (!schema.present())
            return kMgNoSchema;
        if (field < 0 || uint32_t(field) >= schema.fields)
            return kMgFieldBeyondSchema;
        uint16_t size = 0;
        uint8_t type = 0;
        if (!mgSchemaField(schema, uint32_t(field), &size, &type))
            return kMgFieldBeyondSchema;
        int mapped = SchemaBaseMode(type);
        if (mapped == -2)
            return kMgBadDefinitionType;
        if (mapped == -1)
            mapped = (base == 13 || base == 15) ? 2 : 0;
        if (uint16_t error = ApplyBase(mapped, length, bytes, &descending))
            return error;
    } else if (base == 0x100) {
        memset(bytes, 0, size_t(length));
        bytes[0] = 'D';
    } else if (base < 12) {
        if (uint16_t error = ApplyBase(base, length, bytes, &descending))
            return error;
    } else {
        return kMgBadDefinitionType;
    }
    if (mode & 0x40) {
        uint8_t pad = schema.pad();
        int k = 0;
        while (k < length && (bytes[length - 1 - k] == pad || bytes[length - 1 - k] == 0))
            ++k;
        if (k > 0 && k < length) {
            memmove(bytes + k, bytes, size_t(length - k));
            memset(bytes, pad, size_t(k));
        }
        mgReverseBytes(bytes, length);
    }
    if ((mode & 0x20) && translation) {
        for (int i = 0; i < length; ++i)
            bytes[i] = translation[2 * bytes[i]];
    }
    if (descending) {
        for (int i = 0; i < length; ++i)
            bytes[i] = uint8_t(~bytes[i]);
    }
    return 0;
}
