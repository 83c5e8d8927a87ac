// File sets: one data file and its index files, created from a definition (mgFileDef),
// stored packed inside the data file and opened again from it; the instance's set entries
// and member lists describe every open set.
//
// Stored definition (part 0 of the data file's definition resource), little-endian, with
// n indexes and S segments in all:
//   0   36      the mgFileDef image: +4 data file number, +6 record length, +8 data extension,
//               +10 data mode, +12 index count, +14 index extension, +16 index mode,
//               +24/+28 text pointers (present when non-zero), +32 set file number
//   36  32 x n  the mgIndexDef images: +0 key length, +2 key type, +4 duplicates, +6 key
//               options, +8 empty character, +10 segment count, +16 text, +20 member name,
//               +24 translation table, +28 attribute byte (pointers: present when non-zero)
//   then 6 x S  the segments (offset, length, mode), index by index; the name and its NUL;
//               text 1 and text 2 (64 bytes each); per index its text, member name, 512-byte
//               translation table, 4-byte attribute item when present; the data and index
//               extension texts (8 bytes each).
// The pointer slots keep their 4-byte width on disk whatever the build's pointer size.
#pragma once

#include <cstdint>

#include "database/mgContext.h"

struct mgFileControl;

int16_t mgCreateFileSet(mgFileDef* definition);
int16_t mgOpenFileSetFromResource(int16_t fileNumber, const char* name, uint16_t mode);
uint32_t mgGetDefinitionResource(uint16_t dataFile, uint32_t bufferSize, void* buffer);
uint16_t mgCloseFileSetByNumber(uint16_t dataFile);
uint16_t mgCloseFileSet(mgFileDef* definition);
uint16_t mgFlushFile(uint16_t fileNumber);
uint16_t mgCloseFileSetMembers(uint16_t dataFile, int mode);
int32_t mgCountSetFiles(uint16_t dataFile);
uint16_t mgRegisterIndexDef(int index, const mgFileDef* definition, int firstIndexFile, int listOffset);

// Packs a definition into its stored form; the block is mgAlloc'd (null with uerr_cod).
uint8_t* mgPackDefinition(const mgFileDef* definition, uint32_t* length);
// Unpacks a stored definition into a caller's buffer (pointers set into it); the size the
// buffer needs when it is too small or null, 0 when the stored form is damaged (13).
uint32_t mgUnpackDefinition(const uint8_t* stored, uint32_t storedLength, bool widened, void* buffer,
                            uint32_t bufferSize);

// The index file numbers of a data file's open set, in key order; -66 marks a skipped one.
inline int16_t* mgMemberList(int dataFile)
{
    return mgCtx()->memberLists[dataFile];
}
