// Index nodes and the node cache; index search, insert and delete; range counts.
//
// Node on disk (at the node position; in a superfile member an 18-byte record header
// precedes it and is read and written with it), little-endian:
//   0 u32 sucesr (right neighbour)   4 u32 predsr (left neighbour of a leaf; 0xFFFFFFFF deleted)
//   8 u16 numrec                    10 u16 bytes used               12 u16 numexc (0)
//  14 u16 reserved                  16 u8 member                    17 u8 leaf flag
//  18 entries, in key order, no gaps. Entry layouts: unique leaf and unique non-leaf:
//     u32 pointer + key; duplicates leaf: key with its big-endian position suffix;
//     duplicates non-leaf: u32 pointer + key with suffix. Compressed entries: pointer,
//     leading count (flag 4), trailing pad count (flag 8), the rest of the key, suffix.
//  A leaf's high key lies at entry offset leaf byte limit; the slot table after it.
// Invariants: 1. every node read from disk is checked (kind, member, counts, bytes used,
// every compressed entry's counts, the order of its keys) before any entry is used, so a
// damaged node is a corrupt-index error (527), never a read outside the buffer; 2. every
// change of a node is written before the operation that made it returns; 3. every walk
// along links or down the tree is bounded, and every step along a leaf link is checked
// to lead to the leaf that links back and lies beyond in key order.
#pragma once

#include <cstdint>

#include "database/mgContext.h"
#include "database/mgFile.h"

constexpr uint32_t kMgDeletedNode = 0xFFFFFFFF;
constexpr int kMgNodeHeader = 18;
constexpr int kMgWorkBuffer = kMgMaxKeyLength + 4;

struct mgNode {
    mgRing hash;
    mgRing lru;
    uint8_t* buffer;
    int prefix;
    uint8_t* entries;
    int32_t fileNumber;
    uint32_t position;
    int16_t physicalFile;
    int16_t keyLength;
    mgFileControl* control;
    uint8_t* slots;
    uint16_t byteLimit;
    uint16_t entryLimit;
    int layout;
    uint8_t compression;
    int cursorEntry;
    int cursorOffset;
    int cursorSize;
    int cursorTrailing;
    int lastInsert;
    int run;
    char mark;
    uint8_t work[kMgWorkBuffer];
};

inline uint8_t* mgNodeHeaderBytes(mgNode* n)
{
    return n->buffer + n->prefix;
}
inline uint32_t mgSucesr(mgNode* n)
{
    return mgGet32(mgNodeHeaderBytes(n));
}
inline uint32_t mgPredsr(mgNode* n)
{
    return mgGet32(mgNodeHeaderBytes(n) + 4);
}
inline int mgNumrec(mgNode* n)
{
    return mgGet16(mgNodeHeaderBytes(n) + 8);
}
inline int mgBytesUsed(mgNode* n)
{
    return mgGet16(mgNodeHeaderBytes(n) + 10);
}
inline bool mgIsLeaf(mgNode* n)
{
    return mgNodeHeaderBytes(n)[17] == 1;
}
inline void mgSetSucesr(mgNode* n, uint32_t v)
{
    mgPut32(mgNodeHeaderBytes(n), v);
}
inline void mgSetPredsr(mgNode* n, uint32_t v)
{
    mgPut32(mgNodeHeaderBytes(n) + 4, v);
}
inline void mgSetNumrec(mgNode* n, int v)
{
    mgPut16(mgNodeHeaderBytes(n) + 8, uint32_t(v));
}
inline void mgSetBytesUsed(mgNode* n, int v)
{
    mgPut16(mgNodeHeaderBytes(n) + 10, uint32_t(v));
}
inline bool mgHasPointer(const mgNode* n)
{
    return n->layout != 0;
}
// Key bytes stored per entry before the suffix: the key length, less 4 with duplicates.
inline int mgStoredKeyLength(const mgNode* n)
{
    return n->layout == 1 ? n->keyLength : n->keyLength - 4;
}

// Cache.
uint16_t mgNodeCacheStart(int buffers);
void mgNodeCacheStop();
mgNode* mggetnod(int mode, uint32_t position, mgFileControl* f);
uint16_t mgReadNode(mgNode* node, int reserved, uint32_t position, mgFileControl* f);
uint16_t mgWriteNode(mgNode* node);
uint16_t mgPutNode(mgNode* node, int entryCount, bool moveToBack, bool unlock);
mgNode* mgTakeNodeBuffer(int reserved, uint32_t position, mgFileControl* f);
mgNode* mgNewNode(mgFileControl* f, uint32_t* position, int mode);
mgNode* mgInitNode(mgNode* node, mgFileControl* f, uint32_t position);
void mgSetNodeKind(mgNode* node, mgFileControl* f, bool leaf);
void mgClearLeafSlots(mgFileControl* physical, mgNode* node);
void mgInvalidateNode(mgNode* node);
// Writes the file's changed nodes (and its members'); forgets them too when asked.
uint16_t mgWriteFileNodes(mgFileControl* f, bool forget);

// Entries.
uint8_t* mgNodeEntry(mgNode* node, int entry);
uint32_t mgEntryPointer(mgNode* node, int entry);
uint32_t mgEntryRecordPosition(mgNode* node, int entry);
void mgSetEntryPointer(mgNode* node, int entry, uint32_t value);
uint8_t* mgHighKey(mgNode* node);
// Offset and size in the entry area of entry i (decoding forward in compressed nodes).
int mgEntryOffset(mgNode* node, int entry);
int mgEntrySize(mgNode* node, int entry);
uint32_t mgRootNode(mgFileControl* f);
void mgOpenGap(int size, mgNode* node, int offset);
void mgCloseGap(int size, mgNode* node, int offset);
uint32_t mgFirstNodePosition(mgFileControl* f);
// The largest stored size of an entry including its pointer and compression bytes.
int mgMaxEntrySize(mgNode* node);

// Search.
int32_t mgCompareKey(const uint8_t* target, const uint8_t* stored, int keyLength);
int32_t mgSearchNode(mgNode* node, const uint8_t* target, char mode, int reserved);
uint32_t fndkey(mgFileControl* f, const uint8_t* target, char mode, uint8_t* out);
uint32_t frskey(int fileNumber, uint8_t* out);
uint32_t mgFirstKey(mgFileControl* f, uint8_t* out);
uint32_t lstkey(mgFileControl* f, uint8_t* out);
mgNode* MOVRGT(const uint8_t* target, mgFileControl* f, mgNode* node, int reserved);
uint32_t mgEqualKey(mgFileControl* f, const uint8_t* target);
uint32_t mgSearchKey(mgFileControl* f, const uint8_t* target, uint8_t* out, char mode);
uint32_t mgGreaterOrEqualKey(mgFileControl* f, const uint8_t* target, uint8_t* out);
uint32_t mgGreaterKey(mgFileControl* f, const uint8_t* target, uint8_t* out);
uint32_t mgEqualKeyByNumber(int fileNumber, const uint8_t* target, uint8_t* out);
uint32_t mgGreaterOrEqualKeyByNumber(int fileNumber, const uint8_t* target, uint8_t* out);
uint32_t mgGreaterKeyByNumber(int fileNumber, const uint8_t* target, uint8_t* out);
uint32_t mgLessKeyByNumber(int fileNumber, const uint8_t* target, uint8_t* out);
uint32_t mgLessOrEqualKeyByNumber(int fileNumber, const uint8_t* target, uint8_t* out);
uint32_t mgLastKeyByNumber(int fileNumber, const uint8_t* target, uint8_t* out);
uint32_t mgStepKey(int fileNumber, uint8_t* out, int direction);

// A walk along the links of one level of an index. Bounded by the number of nodes the
// file can hold; a step from a leaf must reach the leaf that links back to it and whose
// high key lies beyond (right) or before (left) its own, so that a link bent back into
// the level, or past a leaf, stops the walk instead of repeating or skipping keys.
class mgLinkWalk {
  public:
    explicit mgLinkWalk(mgFileControl* f);
    // Counts one move; false once the walk has passed its bound.
    bool Step();
    // The neighbour of `from` in a direction (1 right, 2 left), fetched. Null with
    // uerr_cod 0 when there is none, 527 for a bent link or a walk past its bound (in a
    // shared file kMgStartOver: another program may be between the writes of a split),
    // or the fetch's error. A deleted node is returned for the caller to start over.
    mgNode* Follow(mgNode* from, int direction);

  private:
    mgFileControl* file_;
    uint32_t moves_ = 0;
    uint32_t limit_ = 0;
};

// Insert and delete.
// Descends to the leaf a key belongs in, locks it, reads it again under the lock and moves
// right to where the key belongs: the leaf, still locked, with the search state on the
// key's place; or null with uerr_cod (kMgStartOver: start again from the root).
mgNode* mgLockLeafFor(mgFileControl* f, const uint8_t* key, uint32_t root, const char* where, uint32_t* stack,
                      int* depth);
uint16_t mgAddKey(int fileNumber, const uint8_t* key, uint32_t position, int flags);
uint16_t addkey(int fileNumber, const uint8_t* key, uint32_t position, int flags);
uint16_t mgDeleteKey(int fileNumber, const uint8_t* key, uint32_t position);
uint16_t delkey(mgFileControl* f, const uint8_t* key, uint32_t position, int flags);
// The same two steps on a control block (the free-space index of a variable-length file).
uint16_t mgAddKeyTo(mgFileControl* f, const uint8_t* key, uint32_t position, int flags);
uint16_t mgDeleteKeyFrom(mgFileControl* f, const uint8_t* key, uint32_t position);
void mgPutSuffix(uint8_t* key, mgFileControl* f, uint32_t position);
uint16_t mgAdjustKeyCount(mgFileControl* f, int delta);

// Range counts and position estimates.
int32_t RNGENT(int fileNumber, const uint8_t* low, const uint8_t* high);
uint32_t mgKeyAtPercent(int fileNumber, uint8_t* out, int16_t percent);
uint32_t mgKeyCount(int fileNumber);

// Capacity of an index's nodes; 0 or the error (20, 45, 52, 582).
uint16_t mgIndexCapacity(uint32_t nodeSize, int keyLength, bool duplicates, uint8_t keyFlags, bool slotOption,
                         uint16_t* leafLimit, uint16_t* nodeLimit, uint16_t* leafSlots);
