// The ISAM engine's per-instance state, mgInstanceContext, and the definition records that
// its callers fill (mgFileDef, mgIndexDef, mgSegmentDef). Every engine function works on
// the instance that the process-wide current-instance pointer designates; nothing here is
// locked, so one thread at a time enters the engine.
// The definition records and expression nodes are memory only and use real pointers; their
// stored forms (the packed definition, the node images) are written field by field.
#pragma once

#include <windows.h>

#include <cstdint>

#include "database/mgErrors.h"

struct mgFileControl;
struct mgNode;
struct mgDataBuffer;
struct mgLockEntry;
struct mgPoolChunk;

constexpr int kMgMaxIndexes = 32;
constexpr int kMgMaxSegments = 12;
constexpr int kMgMaxKeyLength = 1024;
constexpr int kMgPoolCount = 22;
constexpr int kMgLockBuckets = 16;
constexpr int kMgMaxLevels = 14;
constexpr int kMgFileTableLimit = 1024;
// The member list entry of an index that was not opened; record operations skip it.
constexpr int16_t kMgSkippedIndex = -66;

// One key segment: where its bytes come from and how they are transformed.
struct mgSegmentDef {
    int16_t offset;
    int16_t length;
    int16_t mode;
};

// One index of a file set; the caller owns the arrays and texts it points to.
struct mgIndexDef {
    int16_t keyLength;
    int16_t keyType;
    int16_t duplicates;
    int16_t keyOptions;
    int16_t emptyChar;
    int16_t segmentCount;
    mgSegmentDef* segments;
    char* text;
    char* memberName;
    unsigned char* translation;
    unsigned char* attribute;
};

// A file set: one data file and its indexes; the caller owns it and everything it points to.
struct mgFileDef {
    char* name;
    int16_t dataFileNumber;
    uint16_t recordLength;
    uint16_t dataExtension;
    uint16_t dataMode;
    int16_t indexCount;
    uint16_t indexExtension;
    uint16_t indexMode;
    mgIndexDef* indexes;
    char* text1;
    char* text2;
    int16_t setFileNumber;
};

// Per file number: what the open set knows of the file (index or data file).
struct mgSetEntry {
    char* indexText;
    uint16_t keyType;
    char* text1;
    char* text2;
    uint16_t state;
    uint16_t dataFile;
    uint16_t keyNumber;
    uint16_t keyOptions;
    uint8_t emptyChar;
    uint8_t positionCheck;
    int16_t segmentCount;
    mgSegmentDef segments[kMgMaxSegments];
};

struct mgPool {
    mgPoolChunk* current;
    long elements;
    long freeElements;
    long chunks;
    long chunksWithFree;
    size_t elementSize;
    int perChunk;
};

// A ring link: next and previous, with the owner it belongs to.
struct mgRing {
    mgRing* next;
    mgRing* prev;
    void* owner;
};

struct mgLockBucket {
    mgLockEntry* head;
    mgLockEntry* tail;
};

// A region lock this instance holds on one handle; a second lock of the same byte through
// the same handle only counts, since a handle cannot lock its own byte twice.
struct mgHeldRegion {
    HANDLE handle;
    DWORD offset;
    int count;
};

struct mgInstanceContext {
    mgInstanceContext* next;
    char name[32];

    // Error words of the last call.
    uint16_t uerr_cod;
    uint16_t sys_code;
    uint16_t isam_code;
    uint16_t isam_file;
    int32_t secondaryCode;

    bool started;
    bool stopping;
    bool openingSet;
    bool lockModesEnabled;
    int16_t fileNumbers;
    uint16_t profile;
    uint32_t flags;

    // Files: control blocks by number, the least-recently-used list of non-permanent handles.
    mgFileControl** files;
    int16_t fileSlots;
    int32_t highestUsed;
    mgFileControl* lruHead;
    int nonPermanentHandles;
    int handleLimit;
    uint32_t openSequence;
    int physicalOpen;
    int logicalOpen;

    // Set tables over file numbers.
    mgSetEntry* sets;
    int16_t (*memberLists)[kMgMaxIndexes];
    int16_t setTableSize;

    uint8_t keyScratch[kMgMaxKeyLength + 4];
    uint16_t lockMode;
    uint16_t justAdded;
    int16_t readThrough;
    uint16_t transactionActive;
    uint16_t transactionWord;
    uint32_t lastSerial;

    mgLockBucket lockBuckets[kMgLockBuckets];
    long lockCount;
    long lockPeak;

    int32_t nodeSize;
    int32_t sectors;
    int32_t buffers;
    int32_t dataBuffers;
    int memberNameWidth;
    char dataExtension[8];
    char indexExtension[8];
    char memberSeparator;
    uint16_t formatVersion;
    uint8_t attributeBytes[3];

    // Conditional expressions: the evaluation stack (512 slots of 8 bytes) and its state.
    uint64_t* exprStack;
    int exprDepth;
    uint16_t exprStatus;

    mgPool pools[kMgPoolCount];

    // Node cache.
    mgNode* nodes;
    mgRing* nodeBuckets;
    int nodeBucketCount;
    mgRing nodeLru;
    int hashShift;
    long nodeRequests;
    long nodeHits;

    // Data buffers: blocks of data files kept for reading again (mgDataCache.h).
    mgDataBuffer* dataBufferArray;
    int dataBufferCount;
    int dataChanged;
    mgRing* dataBuckets;
    int dataBucketCount;
    mgRing dataLru;

    uint8_t* fillBuffer;
    int fillSize;

    // Search state of the last node search.
    int32_t stopEntry;
    int32_t lastCompare;
    int32_t previousCompare;
    int32_t previousTrailing;
    uint32_t walkNode;
    uint32_t foundNode;

    // Update state of the last insertion or deletion.
    uint8_t keyWork[kMgMaxKeyLength + 8];
    uint8_t separator[kMgMaxKeyLength + 8];
    uint32_t lastSplitNode;
    uint32_t levelStack[kMgMaxLevels + 2];
    int depth;

    // Operating-system layer.
    int redirectorProbe;
    int systemKind;
    char localDirectory[256];
    long reads;
    long long bytesRead;
    long writes;
    long long bytesWritten;
    int lockRetries;
    int lockSleepMs;
    mgHeldRegion* heldRegions;
    int heldRegionCount;
    int heldRegionCapacity;
};

// The process-wide current instance; null until the first instance is registered.
extern mgInstanceContext* mgCurrentInstance;

inline mgInstanceContext* mgCtx()
{
    return mgCurrentInstance;
}
