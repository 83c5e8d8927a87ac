// Record space inside data files: fixed-length records with the deleted-record chain, and
// the pieces of variable-length files and superfile hosts with their free-space index.
//
// Deleted fixed-length record: byte 0 = 0xFF, bytes 1-4 = position of the previously deleted
// record (little-endian, 0 ends the chain); the header's delete_head points at the newest.
// Piece header (10 bytes in a plain variable-length file, 18 in a superfile), little-endian:
//   0 u16 mark: 0xFAFA in use, 0xFDFD free, 0xFCFC free in a member's host, 0xFEFE header or
//     resource, 0xFBBF index node     2 u32 allocated length (header included)
//   6 u32 data length                 10 u32 member id      14 u32 chain (superfiles only)
// Free-space index keys: member id, allocated length, position, each 4 bytes big-endian.
// Invariants: 1. a record on the deleted chain is marked 0xFF, and a record marked 0xFF is
// never freed again; 2. the chain walk and every piece length are checked against the
// file's logical end before they are followed.
#pragma once

#include <cstdint>

#include "database/mgFile.h"

constexpr uint16_t kMgPieceInUse = 0xFAFA;
constexpr uint16_t kMgPieceFree = 0xFDFD;
constexpr uint16_t kMgPieceFreeInHost = 0xFCFC;
constexpr uint16_t kMgPieceHeader = 0xFEFE;
constexpr uint16_t kMgPieceNode = 0xFBBF;
constexpr uint8_t kMgDeletedMark = 0xFF;

struct mgVarHeader {
    uint16_t mark;
    uint32_t allocated;
    uint32_t dataLength;
    uint32_t memberId;
    uint32_t chain;
};

inline bool mgIsValidMark(uint16_t mark)
{
    return mark == kMgPieceInUse || mark == kMgPieceFree || mark == kMgPieceFreeInHost || mark == kMgPieceHeader ||
           mark == kMgPieceNode;
}

uint32_t mgNewRecordPosition(mgFileControl* f);
uint16_t mgFreeRecord(mgFileControl* f, uint32_t position, int count);
uint16_t mgDeleteRecordSpace(mgFileControl* f, uint32_t position);
uint16_t mgReadRecordBytes(mgFileControl* f, uint32_t position, void* buffer);
uint16_t mgWriteRecordAt(mgFileControl* f, uint32_t position, const void* buffer);
uint16_t mgCheckPosition(mgFileControl* f, uint32_t position);
uint16_t mgReadVarHeader(mgFileControl* f, uint32_t position, mgVarHeader* header);
uint16_t mgWriteVarHeader(mgFileControl* f, uint32_t position, const mgVarHeader& header);
uint32_t mgVarRecordLength(mgFileControl* f, uint32_t position);
uint32_t mgAllocSpace(mgFileControl* f, int lockFile, uint32_t length, uint32_t alignment, int purpose, bool count,
                      bool serial);
uint32_t mgNewVariableRecord(mgFileControl* f, uint32_t length);
uint16_t mgWriteVariableRecord(mgFileControl* f, uint32_t position, const void* buffer, uint32_t length,
                               bool internal);
uint16_t mgReadVariableRecordAt(mgFileControl* f, uint32_t position, void* buffer, long size, bool strict,
                                uint32_t* length);
uint16_t mgFreeSpace(mgFileControl* f, int lockFile, uint32_t position);
uint16_t mgFreeSpaceOf(mgFileControl* f, uint32_t position);
// Offset of a record's data from its piece header in this file (10, 18, or 22 in members
// with attribute 0x0040); 0 for a plain fixed-length file.
uint32_t mgDataOffset(mgFileControl* f);
// The file whose header holds the space bookkeeping: the host of a member, else the file.
mgFileControl* mgSpaceFile(mgFileControl* f);
