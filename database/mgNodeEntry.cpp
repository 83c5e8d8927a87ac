// Entries of a node: direct addressing in plain nodes, forward decoding from the decode
// cursor in compressed ones. Nodes reach this code only after the cache checked them
// whole (node invariant 1), so a decode stays inside the entry area.
#include "database/mgNode.h"

#include <cstring>

#include "database/mgRuntime.h"

namespace {

int PlainEntrySize(const mgNode* node)
{
    return node->keyLength + (node->layout != 0 ? 4 : 0);
}

uint8_t PadOf(const mgNode* node)
{
    return node->control->header[kHdrPadByte];
}

// Decodes entry j into the work buffer, the work buffer holding entry j - 1 (or nothing
// for j = 1), and moves the cursor onto it.
void DecodeNext(mgNode* node, int j)
{
    int offset = j == 1 ? 0 : node->cursorOffset + node->cursorSize;
    const uint8_t* p = node->entries + offset;
    const uint8_t* start = p;
    if (mgHasPointer(node)) {
        memcpy(node->work, p, 4);
        p += 4;
    }
    int lead = (node->compression & 4) ? *p++ : 0;
    int trail = (node->compression & 8) ? *p++ : 0;
    int stored = mgStoredKeyLength(node);
    int body = stored - lead - trail;
    uint8_t* key = node->work + 4;
    memcpy(key + lead, p, size_t(body));
    p += body;
    memset(key + lead + body, PadOf(node), size_t(trail));
    if (node->layout != 1) {
        memcpy(key + stored, p, 4);
        p += 4;
    }
    node->cursorEntry = j;
    node->cursorOffset = offset;
    node->cursorSize = int(p - start);
    node->cursorTrailing = trail;
}

bool DecodeTo(mgNode* node, int entry)
{
    if (entry < 1 || entry > mgNumrec(node))
        return false;
    if (node->cursorEntry == entry)
        return true;
    int from = 1;
    if (node->cursorEntry >= 1 && node->cursorEntry < entry)
        from = node->cursorEntry + 1;
    for (int j = from; j <= entry; ++j)
        DecodeNext(node, j);
    return true;
}

} // namespace

uint8_t* mgNodeEntry(mgNode* node, int entry)
{
    if (entry < 1 || entry > mgNumrec(node)) {
        mgSetError(kMgCorruptIndex);
        return nullptr;
    }
    if (!node->compression)
        return node->entries + (entry - 1) * PlainEntrySize(node) + (mgHasPointer(node) ? 4 : 0);
    DecodeTo(node, entry);
    return node->work + 4;
}

int mgEntryOffset(mgNode* node, int entry)
{
    if (!node->compression)
        return (entry - 1) * PlainEntrySize(node);
    if (entry > mgNumrec(node))
        return mgBytesUsed(node);
    DecodeTo(node, entry);
    return node->cursorOffset;
}

int mgEntrySize(mgNode* node, int entry)
{
    if (!node->compression)
        return PlainEntrySize(node);
    DecodeTo(node, entry);
    return node->cursorSize;
}

uint32_t mgEntryPointer(mgNode* node, int entry)
{
    if (entry < 1 || entry > mgNumrec(node))
        return 0;
    if (!node->compression)
        return mgGet32(node->entries + (entry - 1) * PlainEntrySize(node));
    DecodeTo(node, entry);
    return mgGet32(node->work);
}

void mgSetEntryPointer(mgNode* node, int entry, uint32_t value)
{
    if (!node->compression) {
        mgPut32(node->entries + (entry - 1) * PlainEntrySize(node), value);
        return;
    }
    DecodeTo(node, entry);
    mgPut32(node->entries + node->cursorOffset, value);
    mgPut32(node->work, value);
}

uint32_t mgEntryRecordPosition(mgNode* node, int entry)
{
    if (node->layout == 1)
        return mgEntryPointer(node, entry);
    const uint8_t* key = mgNodeEntry(node, entry);
    return key ? mgGet32BE(key + node->keyLength - 4) : 0;
}

uint8_t* mgHighKey(mgNode* node)
{
    return node->entries + node->byteLimit;
}

void mgOpenGap(int size, mgNode* node, int offset)
{
    int used = mgBytesUsed(node);
    memmove(node->entries + offset + size, node->entries + offset, size_t(used - offset));
}

void mgCloseGap(int size, mgNode* node, int offset)
{
    int used = mgBytesUsed(node);
    memmove(node->entries + offset, node->entries + offset + size, size_t(used - offset - size));
}

int mgMaxEntrySize(mgNode* node)
{
    int size = mgStoredKeyLength(node) + (mgHasPointer(node) ? 4 : 0) + (node->layout != 1 ? 4 : 0);
    if (node->compression & 4)
        size += 1;
    if (node->compression & 8)
        size += 1;
    return size;
}

int32_t mgCompareKey(const uint8_t* target, const uint8_t* stored, int keyLength)
{
    int i = 0;
    // Eight bytes at a time while the keys agree.
    while (i + 8 <= keyLength) {
        uint64_t a;
        uint64_t b;
        memcpy(&a, target + i, 8);
        memcpy(&b, stored + i, 8);
        if (a != b)
            break;
        i += 8;
    }
    for (; i < keyLength; ++i) {
        if (target[i] != stored[i]) {
            int32_t p = i + 1 > 256 ? 256 : i + 1;
            return target[i] > stored[i] ? p : -p;
        }
    }
    return 0;
}
