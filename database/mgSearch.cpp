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

// Bounds a walk along right or left links by the number of nodes the file can hold.
struct LinkWalk {
    uint32_t moves = 0;
    uint32_t limit = 0;
    explicit LinkWalk(mgFileControl* f)
    {
        mgFileControl* phys = mgPhysicalFile(f);
        uint32_t size = f->nodeSize ? f->nodeSize : 1;
        limit = mgH32(phys, kHdrLogicalEnd) / size + 16;
        if (limit < 16384)
            limit = 16384;
    }
    bool Step()
    {
        return ++moves <= limit;
    }
};

void LogCorrupt(const char* text, mgFileControl* f)
{
    mgFileControl* phys = mgPhysicalFile(f);
    mgStatusLogFile(text, phys ? phys->name : "", kMgCorruptIndex);
    mgSetError(kMgCorruptIndex);
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
mgNode* NextNonEmpty(mgFileControl* f, mgNode* node, int direction, LinkWalk& walk)
{
    for (;;) {
        uint32_t next = direction == 1 ? mgSucesr(node) : mgPredsr(node);
        if (next == 0) {
            mgSetError(0);
            return nullptr;
        }
        if (!walk.Step()) {
            mgSetError(kMgCorruptIndex);
            return nullptr;
        }
        node = mggetnod(0, next, f);
        if (!node)
            return nullptr;
        if (mgPredsr(node) == kMgDeletedNode) {
            mgSetError(kMgStartOver);
            return nullptr;
        }
        if (!mgIsLeaf(node)) {
            LogCorrupt("Leaf link to a non-leaf node...", f);
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
    LinkWalk walk(f);
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
        LinkWalk walk(f);
        int32_t r = mgSearchNode(node, target, leafMode, 0);
        while (r == -1) {
            uint32_t right = mgSucesr(node);
            if (right == 0 || !walk.Step()) {
                mgSetError(kMgCorruptIndex);
                return 0;
            }
            node = mggetnod(0, right, f);
            if (!node)
                return 0;
            if (!mgIsLeaf(node) && mgPredsr(node) != kMgDeletedNode) {
                LogCorrupt("Leaf link to a non-leaf node...", f);
                return 0;
            }
            r = mgSearchNode(node, target, leafMode, 0);
        }
        if (r == -3)
            continue;
        int entry = r;
        if (mode == 'H' && r != -2 && ctx->lastCompare == 0) {
            entry = r + 1;
            if (entry > mgNumrec(node)) {
                node = NextNonEmpty(f, node, 1, walk);
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
                node = NextNonEmpty(f, node, 2, walk);
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
        if (out)
            memcpy(out, key, size_t(node->keyLength));
        return mgEntryRecordPosition(node, entry);
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
        LinkWalk walk(f);
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
            node = NextNonEmpty(f, node, direction, walk);
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
        return mgEntryRecordPosition(node, entry);
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
    LinkWalk walk(f);
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
