// Resources: numbered blocks of data stored inside an engine file, in a circular chain
// anchored in the header and sorted by (type, number); and the definition resource
// "DM!DEF" of 32 independently sized parts that makes a file self-describing.
//
// Resource record (little-endian): 0 u16 mark 0xFEFE, 2 u32 allocated length, 6 u32 data
// length, 10 u32 member id, 14 u32 next, 18 u32 previous; the data follows at 22 and begins
// with u32 type, u32 number and an optional NUL-terminated name (at most 63 characters).
// The anchor is the 31-byte record of type 0, number 0 that every chain starts from.
// Definition resource data: 0 type, 4 number (1 data file, 3 index file), 8 "DM!DEF" padded
// to 8 bytes, 16 u32 total length (at least 280), 20 u32 time of the last change, 24 the
// part directory (32 x: u32 offset, u16 allocated, u16 used), 280 the parts.
// Invariants: 1. every link, length and part offset read is checked against the file and
// the resource before use; 2. a chain walk visits at most as many records as the file can
// hold and answers 407 on a loop; 3. names are compared over at most 64 bytes.
#pragma once

#include <cstdint>

#include "database/mgFile.h"

constexpr int kMgResourceHeader = 22;
constexpr int kMgAnchorSize = 31;
constexpr uint32_t kMgNextNumber = 0xFFFFFFFF;
constexpr int kMgDefinitionDirectory = 280;
constexpr int kMgDefinitionMinimum = 2026;
constexpr int kMgIndexDefinitionSize = 512;

// Search codes of mgFindResource, and its mode bits.
constexpr int kMgFindTypeNumber = 2;
constexpr int kMgFindType = 4;
constexpr int kMgFindFirst = 8;
constexpr int kMgFindName = 0x10;
constexpr int kMgFindPosition = 0x20;
constexpr int kMgFindNext = 0x80;
constexpr int kMgFindLock = 0x01;
constexpr int kMgFindSummary = 0x40;

// Headers handed out by a search: the 22-byte record header and the first 14 data bytes.
constexpr int kMgResourceHeaderCopy = 36;

// One part of a definition resource, as stored or read.
struct mgDefinitionPart {
    void* data;
    uint32_t length;
    uint32_t hint;
    int16_t part;
    int16_t resourceNumber;
};

// What a search found: positions of the previous, found and next records.
struct mgResourceHit {
    uint32_t previous;
    uint32_t found;
    uint32_t next;
};

uint16_t mgFindResource(int fileNumber, const void* key, mgFileControl** control, uint32_t* previous, uint32_t* found,
                        uint32_t* next, uint8_t* previousHeader, uint8_t* foundHeader, uint8_t* nextHeader,
                        void* data, uint32_t size, int mode);
uint16_t mgAddResource(int fileNumber, void* data, uint32_t length);
uint16_t mgUpdateResource(int fileNumber, const void* data, uint32_t length);
uint16_t mgDeleteResource(int fileNumber, uint32_t type, uint32_t number);
// Reads the resource the key finds; answers its position, 0 with uerr_cod set (408 not
// found, 404 truncated: only size bytes were copied). The length found goes to *length.
uint32_t mgGetResource(int fileNumber, const void* key, void* buffer, uint32_t size, int mode, uint32_t* length);
uint16_t mgCreateAnchor(mgFileControl* f);
// Walks the whole chain, checking links, lengths and order; the resources it holds, the
// anchor not counted. 0, 401 without an anchor, or the fault met.
uint16_t mgWalkResourceChain(int fileNumber, uint32_t* count);

uint16_t mgPutDefinitionPart(int fileNumber, const mgDefinitionPart* part, uint32_t type);
uint16_t mgGetDefinitionPart(int fileNumber, mgDefinitionPart* part, uint32_t type);
// A new block (mgAlloc) with the part; null with uerr_cod set (438 empty, 197 no memory).
void* mgReadDefinitionPart(int fileNumber, uint32_t* length, int16_t part, uint32_t type);
uint16_t mgPutIndexMemberDefinition(int fileNumber, const uint8_t* block);
uint16_t mgGetIndexMemberDefinition(int fileNumber, uint8_t* buffer, uint32_t size);
uint16_t mgSetFileHeaderBytes(int fileNumber, const uint8_t* bytes);
