// Keys: the bytes of up to 12 segments of a record laid end to end, each transformed by its
// segment mode so that a plain unsigned byte comparison gives the wanted order, followed in
// an index with duplicates by the record position (4 bytes, most significant first).
//
// Record schema (the data file's definition part 1): 1 u8 alignment code, 2 u8 delimiter,
// 3 u8 pad character, 8 u32 fields, 12 u32 descriptors, 16 descriptors of u16 size, u8 type
// code, u8 repeat count (repeat + 1 consecutive fields).
// Invariant: every segment and field is checked to lie inside the record (445) before a
// byte of it is read; a field whose type has no copy rule is refused, not skipped.
#pragma once

#include <cstdint>

#include "database/mgContext.h"

struct mgFileControl;

// The record schema of a data file, checked: empty when the file has none.
struct mgSchema {
    const uint8_t* bytes;
    uint32_t length;
    uint32_t fields;
    uint32_t descriptors;
    bool present() const
    {
        return bytes != nullptr;
    }
    uint8_t alignment() const
    {
        return bytes ? bytes[1] : 0;
    }
    uint8_t delimiter() const
    {
        return bytes ? bytes[2] : 0;
    }
    uint8_t pad() const
    {
        return bytes ? bytes[3] : ' ';
    }
};

mgSchema mgSchemaOf(const uint8_t* part, uint32_t length);
// The descriptor (size, type) of field n; false when n is beyond the schema.
bool mgSchemaField(const mgSchema& schema, uint32_t n, uint16_t* size, uint8_t* type);

uint16_t mgTransformSegment(int16_t field, int16_t mode, int16_t length, uint8_t* bytes, const uint8_t* translation,
                            const mgSchema& schema);

uint32_t mgBuildKeyValue(int16_t indexFile, const uint8_t* record, uint8_t* key, uint32_t recordLength);
uint8_t* mgTransformKey(int16_t indexFile, uint8_t* key, uint32_t position, bool suffix);
int16_t mgBuildKey(int16_t indexFile, const uint8_t* record, uint8_t* key, uint32_t position, uint32_t recordLength);
uint8_t* mgPrepareTargetKey(int16_t indexFile, uint8_t* key);
uint8_t* mgSetKeyImage(int16_t indexFile, const uint8_t* record, uint32_t position, int which, uint32_t recordLength);
uint32_t mgCurrentPosition(uint16_t dataFile);
uint32_t mgCurrentRecordPosition(uint16_t dataFile);
uint8_t* mgCurrentKeyImage(int16_t indexFile, uint8_t* out, int* length);
uint8_t* mgGetCurrentKey(int16_t indexFile, uint8_t* out, int* length);

// Field routines of key formation; each fills exactly the segment length and never reads
// past `available` bytes of the source.
void mgCopyDelimitedField(uint8_t* dst, const uint8_t* src, uint32_t available, int segmentLength, uint8_t delimiter,
                          uint8_t pad);
void mgCopyCountedField(uint8_t* dst, const uint8_t* src, uint32_t count, uint32_t available, int segmentLength,
                        uint8_t pad);
void mgCopyWideField(uint8_t* dst, const uint8_t* src, bool counted, uint32_t count, uint32_t available,
                     int segmentLength, uint8_t pad);
// Bytes the field of a type takes at src (at most `available`); 0 for a field that does not
// fit.
uint32_t mgFieldSize(uint8_t type, uint16_t declared, const uint8_t* src, uint32_t available, uint8_t delimiter);
uint32_t mgWideLength(const uint8_t* src, uint32_t available);
void mgFillPattern(uint8_t* dst, int length, uint8_t first, uint8_t second);
int mgFindByte(const uint8_t* src, int length, uint8_t value);
