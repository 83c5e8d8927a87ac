// Index search: the search inside one node, the descent from the root in five comparison
// modes, first and last key, steps to the next and previous key, and the locked move to
// the right that insertion and deletion use.
// Keeps invariant 3 of the node layer: a descent is at most 16 levels, restarts after a
// deleted node at most 101 times, and a walk along links at most as many moves as the file
// holds nodes; a damaged tree answers 527 instead of looping.
#include "database/mgNode.h"

#include <cstring>

#include "database/mgOs.h"
#include "database/mgRuntime.h"

namespace {

constexpr int kMaxDescent = 16;
constexpr int kMaxRestarts = 101;

void LogCorrupt(const char* text, mgFileControl* f)
{
    mgFileControl* phys = mgPhysicalFile(f);
    mgStatusLogFile(text, phys ? phys->name : "", kMgCorruptIndex);
    mgSetError(kMgCorruptIndex);
}

// What a damaged link or entry answers: a corrupt index, or in a shared file a start from
// the root, since another program may be between the writes of a split (bounded: a
// search starts over at most kMaxRestarts times).
uint16_t BentAnswer(mgFileControl* f, const char* text)
{
    if (mgIsShared(mgPhysicalFile(f)))
        return mgSetError(kMgStartOver);
    LogCorrupt(text, f);
    return kMgCorruptIndex;
}

// Whether the key found stands where the mode asks, beyond the target for 'H', before it
// for 'N': each step of a walk then moves on in key order, whatever a damaged node says.
bool FoundInOrder(char mode, int32_t compare)
{
    switch (mode) {
    case 'G':
        return compare <= 0;
    case 'H':
        return compare < 0;
    case 'M':
        return compare >= 0;
    case 'N':
        return compare > 0;
    default:
        return compare == 0;
    }
}

uint8_t* SearchImage(mgFileControl* f)
{
    return f->keyImages;
}

void SetSearchPosition(mgFileControl* f, uint32_t node, int32_t entry, const uint8_t* key)
{
    f->searchNode = node;
    f->searchEntry = entry;
    if (key && f->keyImages && key != SearchImage(f))
        memcpy(SearchImage(f), key, size_t(mgKeyLength(f)));
}

// Fetches the next non-empty node in a direction (1 right, 2 left); null with uerr_cod 0
// at the end of the level, null with kMgStartOver on a deleted node, null with an error.
mgNode* NextNonEmpty(mgNode* node, int direction, mgLinkWalk& walk)
{
    for (;;) {
        node = walk.Follow(node, direction);
        if (!node)
            return nullptr;
        if (mgPredsr(node) == kMgDeletedNode) {
            mgSetError(kMgStartOver);
            return nullptr;
        }
        if (mgNumrec(node) > 0)
            return node;
    }
}

// Descends from the root to the leaf for the target (non-leaf search 'L'); null with
// kMgStartOver when a deleted node was met.
mgNode* DescendToLeaf(mgFileControl* f, const uint8_t* target, uint32_t root, const char* where,
                      uint32_t* stack, int* depth)
{
    mgInstanceContext* ctx = mgCtx();
    mgLinkWalk walk(f);
    uint32_t position = root;
    int levels = 0;
    for (;;) {
        ctx->walkNode = position;
        mgNode* node = mggetnod(0, position, f);
        if (!node)
            return nullptr;
        if (mgIsLeaf(node))
            return node;
        int32_t r = mgSearchNode(node, target, 'L', 0);
        if (r == -3) {
            mgSetError(kMgStartOver);
            return nullptr;
        }
        if (r == -1) {
            position = mgSucesr(node);
            if (position == 0 || !walk.Step()) {
                LogCorrupt(where, f);
                return nullptr;
            }
            continue;
        }
        if (r == -2) {
            LogCorrupt(where, f);
            return nullptr;
        }
        if (++levels > kMaxDescent) {
            LogCorrupt("Too many levels in b-tree structure...", f);
            return nullptr;
        }
        if (stack && depth) {
            if (*depth >= kMgMaxLevels) {
                mgStatusLog("Too many levels in b-tree structure...", *depth + 1);
                mgSetError(kMgCorruptIndex);
                return nullptr;
            }
            stack[++*depth] = position;
        }
        uint32_t child = mgEntryPointer(node, r);
        if (child == 0) {
            LogCorrupt("No leaf node found...", f);
            return nullptr;
        }
        position = child;
    }
}

} // namespace

mgLinkWalk::mgLinkWalk(mgFileControl* f) : file_(f)
{
    mgFileControl* phys = mgPhysicalFile(f);
    uint32_t size = f->nodeSize ? f->nodeSize : 1;
    limit_ = mgH32(phys, kHdrLogicalEnd) / size + 16;
    if (limit_ < 16384)
        limit_ = 16384;
}

bool mgLinkWalk::Step()
{
    return ++moves_ <= limit_;
}

mgNode* mgLinkWalk::Follow(mgNode* from, int direction)
{
    uint32_t next = direction == 1 ? mgSucesr(from) : mgPredsr(from);
    if (next == 0) {
        mgSetError(0);
        return nullptr;
    }
    if (!Step()) {
        mgSetError(kMgCorruptIndex);
        return nullptr;
    }
    bool leaf = mgIsLeaf(from);
    uint32_t fromPosition = from->position;
    int keyLength = from->keyLength;
    uint8_t fromHigh[kMgMaxKeyLength + 8];
    if (leaf)
        memcpy(fromHigh, mgHighKey(from), size_t(keyLength));
    // The fetch may take the buffer `from` lies in: what the check needs is copied above.
    mgNode* to = mggetnod(0, next, file_);
    if (!to || !leaf || mgPredsr(to) == kMgDeletedNode)
        return to;
    if (!mgIsLeaf(to)) {
        LogCorrupt("Leaf link to a non-leaf node...", file_);
        return nullptr;
    }
    uint32_t back = direction == 1 ? mgPredsr(to) : mgSucesr(to);
    int32_t order = mgCompareKey(mgHighKey(to), fromHigh, keyLength);
    if (back != fromPosition || (direction == 1 ? order <= 0 : order >= 0)) {
        BentAnswer(file_, "Leaf link out of key order...");
        return nullptr;
    }
    return to;
}

mgNode* mgDescendToLeaf(mgFileControl* f, const uint8_t* target, uint32_t root, const char* where,
                        uint32_t* stack, int* depth)
{
    return DescendToLeaf(f, target, root, where, stack, depth);
}

int32_t mgSearchNode(mgNode* node, const uint8_t* target, char mode, int)
{
    mgInstanceContext* ctx = mgCtx();
    if (mgPredsr(node) == kMgDeletedNode)
        return -3;
    int n = mgNumrec(node);
    int keyLength = node->keyLength;
    ctx->previousCompare = 0;
    ctx->previousTrailing = 0;
    int low = 1;
    if (mgIsLeaf(node)) {
        if (mgCompareKey(target, mgHighKey(node), keyLength) > 0 || (mode == 'S' && n == 0 && mgSucesr(node) != 0)) {
            ctx->lastCompare = 1;
            ctx->stopEntry = 0;
            return -1;
        }
    } else if (!node->compression && n > 0) {
        if (mgCompareKey(target, mgNodeEntry(node, n), keyLength) > 0) {
            ctx->lastCompare = 1;
            ctx->stopEntry = 0;
            return -1;
        }
    }
    if (n == 0) {
        ctx->stopEntry = 0;
        ctx->lastCompare = -1;
        return -2;
    }
    if (!node->compression) {
        int high = n;
        int count = n;
        while (count > 3) {
            int mid = low + count / 2;
            int32_t c = mgCompareKey(target, mgNodeEntry(node, mid), keyLength);
            ctx->stopEntry = mid;
            ctx->lastCompare = c;
            if (c == 0)
                return mid;
            if (c > 0)
                low = mid + 1;
            else
                high = mid;
            count = high + 1 - low;
        }
    } else if (node->cursorEntry >= 1 && node->cursorEntry <= n) {
        int c = node->cursorEntry;
        int32_t cmp = mgCompareKey(target, node->work + 4, keyLength);
        if (cmp > 0) {
            ctx->previousCompare = cmp;
            ctx->previousTrailing = node->cursorTrailing;
            low = c + 1;
        } else if (cmp == 0) {
            ctx->lastCompare = 0;
            ctx->previousCompare = -1;
            ctx->stopEntry = c;
            return c;
        }
    }
    for (int stop = low; stop <= n; ++stop) {
        int32_t c = mgCompareKey(target, mgNodeEntry(node, stop), keyLength);
        ctx->stopEntry = stop;
        ctx->lastCompare = c;
        if (c <= 0) {
            if (c < 0 && mode == 'E')
                return -2;
            return stop;
        }
        ctx->previousCompare = c;
        ctx->previousTrailing = node->compression ? node->cursorTrailing : 0;
    }
    if ((mode == 'S' && mgSucesr(node) != 0) || (node->compression && !mgIsLeaf(node) && mgSucesr(node) != 0)) {
        ctx->lastCompare = 1;
        ctx->stopEntry = 0;
        return -1;
    }
    ctx->lastCompare = ctx->previousCompare;
    ctx->stopEntry = n + 1;
    return -2;
}

uint32_t fndkey(mgFileControl* f, const uint8_t* target, char mode, uint8_t* out)
{
    mgInstanceContext* ctx = mgCtx();
    ctx->walkNode = 0;
    ctx->foundNode = 0;
    char leafMode = (mode == 'G' || mode == 'H') ? 'S' : 'E';
    for (int attempt = 0; attempt < kMaxRestarts; ++attempt) {
        mgSetError(0);
        uint32_t root = mgRootNode(f);
        if (root == 0) {
            ctx->stopEntry = 0;
            return 0;
        }
        mgNode* node = DescendToLeaf(f, target, root, "Corrupt index encountered during fndkey...", nullptr, nullptr);
        if (!node) {
            if (ctx->uerr_cod == kMgStartOver)
                continue;
            return 0;
        }
        mgLinkWalk walk(f);
        int32_t r = mgSearchNode(node, target, leafMode, 0);
        while (r == -1) {
            if (mgSucesr(node) == 0) {
                mgSetError(kMgCorruptIndex);
                return 0;
            }
            node = walk.Follow(node, 1);
            if (!node)
                break;
            r = mgSearchNode(node, target, leafMode, 0);
        }
        if (!node) {
            if (ctx->uerr_cod == kMgStartOver)
                continue;
            return 0;
        }
        if (r == -3)
            continue;
        int entry = r;
        if (mode == 'H' && r != -2 && ctx->lastCompare == 0) {
            entry = r + 1;
            if (entry > mgNumrec(node)) {
                node = NextNonEmpty(node, 1, walk);
                if (!node) {
                    if (ctx->uerr_cod == kMgStartOver)
                        continue;
                    return 0;
                }
                entry = 1;
            }
        } else if (mode == 'N' || (mode == 'M' && r == -2)) {
            entry = ctx->stopEntry - 1;
            if (entry < 1) {
                node = NextNonEmpty(node, 2, walk);
                if (!node) {
                    if (ctx->uerr_cod == kMgStartOver)
                        continue;
                    return 0;
                }
                entry = mgNumrec(node);
            }
        } else if (r == -2) {
            ctx->foundNode = node->position;
            return 0;
        }
        ctx->stopEntry = entry;
        ctx->foundNode = node->position;
        const uint8_t* key = mgNodeEntry(node, entry);
        if (!key)
            return 0;
        if (!FoundInOrder(mode, mgCompareKey(target, key, node->keyLength))) {
            if (BentAnswer(f, "Key out of order during fndkey...") == kMgStartOver)
                continue;
            return 0;
        }
        if (out)
            memcpy(out, key, size_t(node->keyLength));
        uint32_t position = mgEntryRecordPosition(node, entry);
        if (position == 0)
            LogCorrupt("Entry without a record during fndkey...", f);
        return position;
    }
    mgStatusLogFile("Unexpected deleted node during fndkey in file...", mgPhysicalFile(f)->name, kMgCorruptIndex);
    mgSetError(kMgCorruptIndex);
    return 0;
}

// First (direction 1) or last key of an index.
static uint32_t EndKey(mgFileControl* f, uint8_t* out, int direction)
{
    const char* noLeaf = direction == 1 ? "No leaf node found during frskey..." : "No leaf node found during lstkey...";
    for (int attempt = 0; attempt < kMaxRestarts; ++attempt) {
        mgSetError(0);
        uint32_t position = mgRootNode(f);
        if (position == 0) {
            SetSearchPosition(f, 0, 0, nullptr);
            return 0;
        }
        mgLinkWalk walk(f);
        int levels = 0;
        mgNode* node = nullptr;
        bool restart = false;
        for (;;) {
            node = mggetnod(0, position, f);
            if (!node)
                return 0;
            if (mgPredsr(node) == kMgDeletedNode) {
                restart = true;
                break;
            }
            if (mgIsLeaf(node))
                break;
            if (direction == 2) {
                while (mgSucesr(node) != 0) {
                    if (!walk.Step()) {
                        LogCorrupt(noLeaf, f);
                        return 0;
                    }
                    node = mggetnod(0, mgSucesr(node), f);
                    if (!node)
                        return 0;
                    if (mgPredsr(node) == kMgDeletedNode || mgIsLeaf(node))
                        break;
                }
                if (mgPredsr(node) == kMgDeletedNode) {
                    restart = true;
                    break;
                }
                if (mgIsLeaf(node)) {
                    LogCorrupt(noLeaf, f);
                    return 0;
                }
            }
            int n = mgNumrec(node);
            uint32_t child = n > 0 ? mgEntryPointer(node, direction == 1 ? 1 : n) : 0;
            if (child == 0 || ++levels > kMaxDescent) {
                LogCorrupt(noLeaf, f);
                SetSearchPosition(f, 0, 0, nullptr);
                return 0;
            }
            position = child;
        }
        if (restart)
            continue;
        if (mgNumrec(node) == 0) {
            node = NextNonEmpty(node, direction, walk);
            if (!node) {
                if (mgCtx()->uerr_cod == kMgStartOver)
                    continue;
                if (mgCtx()->uerr_cod == 0)
                    SetSearchPosition(f, 0, 0, nullptr);
                return 0;
            }
        }
        int entry = direction == 1 ? 1 : mgNumrec(node);
        const uint8_t* key = mgNodeEntry(node, entry);
        if (!key)
            return 0;
        if (out)
            memcpy(out, key, size_t(node->keyLength));
        SetSearchPosition(f, node->position, entry, key);
        mgCtx()->foundNode = node->position;
        mgCtx()->stopEntry = entry;
        uint32_t record = mgEntryRecordPosition(node, entry);
        if (record == 0)
            LogCorrupt("Entry without a record during a key walk...", f);
        return record;
    }
    LogCorrupt("Unexpected deleted node during key walk...", f);
    return 0;
}

uint32_t mgFirstKey(mgFileControl* f, uint8_t* out)
{
    return EndKey(f, out, 1);
}

uint32_t frskey(int fileNumber, uint8_t* out)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return 0;
    return EndKey(f, out, 1);
}

uint32_t lstkey(mgFileControl* f, uint8_t* out)
{
    return EndKey(f, out, 2);
}

mgNode* MOVRGT(const uint8_t* target, mgFileControl* f, mgNode* node, int)
{
    mgLinkWalk walk(f);
    for (;;) {
        int32_t r = mgSearchNode(node, target, 'L', 0);
        if (r == -3) {
            mgUnlockNode(node->position, f);
            mgSetError(kMgStartOver);
            return nullptr;
        }
        if (r != -1)
            return node;
        uint32_t here = node->position;
        uint32_t right = mgSucesr(node);
        if (right == 0 || !walk.Step()) {
            mgUnlockNode(here, f);
            LogCorrupt("MOVRGT limit...", f);
            return nullptr;
        }
        if (uint16_t error = mgLockNode(right, f)) {
            mgUnlockNode(here, f);
            mgSetError(error);
            return nullptr;
        }
        mgUnlockNode(here, f);
        node = mggetnod(0, right, f);
        if (!node) {
            uint16_t error = mgCtx()->uerr_cod;
            mgUnlockNode(right, f);
            mgSetError(error ? error : kMgCorruptIndex);
            return nullptr;
        }
    }
}

mgNode* mgLockLeafFor(mgFileControl* f, const uint8_t* key, uint32_t root, const char* where, uint32_t* stack,
                      int* depth)
{
    mgInstanceContext* ctx = mgCtx();
    mgNode* leaf = DescendToLeaf(f, key, root, where, stack, depth);
    if (!leaf) {
        if (!ctx->uerr_cod)
            mgSetError(kMgCorruptIndex);
        return nullptr;
    }
    uint32_t leafPos = leaf->position;
    if (uint16_t error = mgLockNode(leafPos, f)) {
        mgSetError(error);
        return nullptr;
    }
    // Read again under the lock: another program may have split it meanwhile.
    leaf = mggetnod(0, leafPos, f);
    if (!leaf) {
        uint16_t error = ctx->uerr_cod;
        mgUnlockNode(leafPos, f);
        mgSetError(error ? error : kMgCorruptIndex);
        return nullptr;
    }
    return MOVRGT(key, f, leaf, 0);
}

uint32_t mgEqualKey(mgFileControl* f, const uint8_t* target)
{
    uint32_t position = fndkey(f, target, 'E', nullptr);
    mgInstanceContext* ctx = mgCtx();
    f->searchNode = ctx->foundNode;
    f->searchEntry = ctx->stopEntry;
    if (position && f->keyImages)
        memcpy(SearchImage(f), target, size_t(mgKeyLength(f)));
    return position;
}

uint32_t mgSearchKey(mgFileControl* f, const uint8_t* target, uint8_t* out, char mode)
{
    uint32_t position = mode == 'E' ? fndkey(f, target, 'E', out) : fndkey(f, target, mode, out);
    if (position) {
        mgInstanceContext* ctx = mgCtx();
        SetSearchPosition(f, ctx->foundNode, ctx->stopEntry, out);
    }
    return position;
}

uint32_t mgGreaterOrEqualKey(mgFileControl* f, const uint8_t* target, uint8_t* out)
{
    return mgSearchKey(f, target, out, 'G');
}

uint32_t mgGreaterKey(mgFileControl* f, const uint8_t* target, uint8_t* out)
{
    return mgSearchKey(f, target, out, 'H');
}

static mgFileControl* IndexByNumber(int fileNumber)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return nullptr;
    if (!mgIsIndex(f)) {
        mgSetError(kMgWrongFileKind);
        return nullptr;
    }
    return f;
}

uint32_t mgEqualKeyByNumber(int fileNumber, const uint8_t* target, uint8_t* out)
{
    mgFileControl* f = IndexByNumber(fileNumber);
    if (!f)
        return 0;
    uint32_t position = mgEqualKey(f, target);
    if (position && out)
        memcpy(out, target, size_t(mgKeyLength(f)));
    return position;
}

uint32_t mgGreaterOrEqualKeyByNumber(int fileNumber, const uint8_t* target, uint8_t* out)
{
    mgFileControl* f = IndexByNumber(fileNumber);
    return f ? mgSearchKey(f, target, out, 'G') : 0;
}

uint32_t mgGreaterKeyByNumber(int fileNumber, const uint8_t* target, uint8_t* out)
{
    mgFileControl* f = IndexByNumber(fileNumber);
    return f ? mgSearchKey(f, target, out, 'H') : 0;
}

uint32_t mgLessKeyByNumber(int fileNumber, const uint8_t* target, uint8_t* out)
{
    mgFileControl* f = IndexByNumber(fileNumber);
    return f ? mgSearchKey(f, target, out, 'N') : 0;
}

uint32_t mgLessOrEqualKeyByNumber(int fileNumber, const uint8_t* target, uint8_t* out)
{
    mgFileControl* f = IndexByNumber(fileNumber);
    return f ? mgSearchKey(f, target, out, 'M') : 0;
}

uint32_t mgLastKeyByNumber(int fileNumber, const uint8_t*, uint8_t* out)
{
    mgFileControl* f = IndexByNumber(fileNumber);
    return f ? lstkey(f, out) : 0;
}

uint32_t mgStepKey(int fileNumber, uint8_t* out, int direction)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return 0;
    if (!mgIsIndex(f)) {
        mgSetError(kMgWrongFileKind);
        return 0;
    }
    if (!f->currentKeyValid || !f->keyImages)
        return 0;
    const uint8_t* current = f->keyImages + mgKeyLength(f);
    return mgSearchKey(f, current, out, direction == 1 ? 'H' : 'N');
}
