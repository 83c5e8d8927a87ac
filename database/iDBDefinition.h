// Record definition building: a typed record (iType::Record with its index of keys) becomes
// the binding's description of a file set, iDBDefinition (offsets, lengths and a kind per
// key segment, the kind chosen by the exact class of the segment's field), and that becomes
// the engine's file definition (mgFileDef with its index and segment arrays).
// A fixed-length record is stored behind one leading zero byte, so in the engine definition
// its record length and every segment offset count that byte.
#pragma once

#include "database/mgContext.h"

namespace iType {
class Record;
} // namespace iType

// Segment kinds, and the flags of a definition and of a key.
enum : int {
    kSegmentUnsigned = 1,
    kSegmentSigned = 2,
    kSegmentSerial = 3,
    kSegmentFloat = 4,
    kSegmentDouble = 5,
    kSegmentText = 6,
    kSegmentTextNoCase = 7,
    // Text compared from its last significant character.
    kSegmentTextReversed = 0x100000,
};
constexpr unsigned kDefinitionVariable = 0x1;
// The record option: both bits together; 0x10 gives keys over text key type 12.
constexpr unsigned kDefinitionRecordOption = 0x30;
constexpr unsigned kDefinitionTextKeyType = 0x10;
constexpr unsigned kKeyDuplicates = 0x1;
constexpr unsigned kKeyNull = 0x8;
// Segment flags read from a key segment (iType::Record::Segment's segment flags).
constexpr unsigned kSegmentFlagNoCase = 0x4;
constexpr unsigned kSegmentFlagSerial = 0x10000;
constexpr unsigned kSegmentFlagReversed = 0x100000;

struct iDBSegmentDef {
    int offset;  // bytes from the start of the record buffer to the field
    int length;  // the field's byte size
    int kind;
};

struct iDBKeyDef {
    int segmentCount;
    iDBSegmentDef* segments;  // the key's first segment in the definition's array
    unsigned flags;
};

// Owns its key and segment arrays.
struct iDBDefinition {
    iDBDefinition() = default;
    iDBDefinition(const iDBDefinition&) = delete;
    iDBDefinition& operator=(const iDBDefinition&) = delete;
    ~iDBDefinition() { Free(); }

    // Fills the definition from the record (what it held before is freed).
    iDBDefinition& Build(iType::Record* record);
    void Free();

    int recordLength = 0;  // the fixed part: the whole buffer less a trailing variable buffer
    int keyCount = 0;
    iDBKeyDef* keys = nullptr;
    int segmentCount = 0;
    iDBSegmentDef* segments = nullptr;
    unsigned flags = 0;
};

// A new engine definition named by a heap copy of the path; null when a value does not fit
// the engine's 16-bit fields (the engine itself refuses more keys or segments than it
// takes). Released with FreeEngineFileDef.
mgFileDef* BuildEngineFileDef(const iDBDefinition* definition, const char* path);
void FreeEngineFileDef(mgFileDef* definition);
