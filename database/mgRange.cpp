// Range counts and position estimates: the exact number of keys between two keys (a walk
// over the leaves between them), the key at a percentage of the index (a descent by
// proportions of entry counts, an estimate), and the key count kept in the header.
// A high key below the low key gives the plain (negative) difference of the two positions.
#include "database/mgNode.h"

#include <cstring>

#include "database/mgRuntime.h"

mgNode* mgDescendToLeaf(mgFileControl* f, const uint8_t* target, uint32_t root, const char* where,
                        uint32_t* stack, int* depth);

int32_t RNGENT(int fileNumber, const uint8_t* low, const uint8_t* high)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return 0;
    int keyLength = mgKeyLength(f);
    for (int attempt = 0; attempt < 101; ++attempt) {
        mgSetError(0);
        uint32_t root = mgRootNode(f);
        if (root == 0)
            return 0;
        mgNode* node =
            mgDescendToLeaf(f, low, root, "Corrupt index encountered during RNGENT...", nullptr, nullptr);
        if (!node) {
            if (ctx->uerr_cod == kMgStartOver)
                continue;
            return 0;
        }
        mgLinkWalk walk(f);
        int32_t r = mgSearchNode(node, low, 'S', 0);
        while (r == -1) {
            if (mgSucesr(node) == 0) {
                mgSetError(kMgCorruptIndex);
                return 0;
            }
            node = walk.Follow(node, 1);
            if (!node)
                break;
            r = mgSearchNode(node, low, 'S', 0);
        }
        if (!node) {
            if (ctx->uerr_cod == kMgStartOver)
                continue;
            return 0;
        }
        if (r == -3)
            continue;
        if (r < 1)
            return 0;
        int32_t count = 1 - r;
        bool restart = false;
        for (;;) {
            int32_t h = mgSearchNode(node, high, 'S', 0);
            if (h == -3) {
                restart = true;
                break;
            }
            if (h >= 1) {
                int32_t equal = mgCompareKey(high, mgNodeEntry(node, h), keyLength) == 0;
                return count + (equal ? h : h - 1);
            }
            if (h == -2)
                return count + mgNumrec(node);
            count += mgNumrec(node);
            if (mgSucesr(node) == 0) {
                mgSetError(kMgCorruptIndex);
                return 0;
            }
            node = walk.Follow(node, 1);
            if (!node) {
                restart = ctx->uerr_cod == kMgStartOver;
                break;
            }
        }
        if (!restart)
            return 0;
    }
    mgSetError(kMgCorruptIndex);
    return 0;
}

uint32_t mgKeyAtPercent(int fileNumber, uint8_t* out, int16_t percent)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return 0;
    if (percent < 0 || percent > 100) {
        mgSetError(kMgBadPercent);
        return 0;
    }
    mgSetError(0);
    uint32_t position = mgRootNode(f);
    if (position == 0)
        return 0;
    int32_t p = int32_t(percent) * 100;
    mgNode* node = nullptr;
    int entry = 1;
    for (int level = 0;; ++level) {
        node = mggetnod(0, position, f);
        if (!node)
            return 0;
        if (mgPredsr(node) == kMgDeletedNode || level > 16) {
            mgSetError(kMgCorruptIndex);
            return 0;
        }
        int n = mgNumrec(node);
        int32_t step = n ? 10000 / n : 10000;
        int32_t i = (p + step - 1) / step;
        if (i > n)
            i = n;
        if (i == 0) {
            i = 1;
            p = 0;
        } else {
            p = (p - (i - 1) * step) * n;
            if (p > 10000)
                p = 10000;
        }
        entry = i;
        if (mgIsLeaf(node))
            break;
        uint32_t child = n ? mgEntryPointer(node, i) : 0;
        if (child == 0) {
            // A child of 0 can only come from the file: a corrupt index, not an end.
            mgFileControl* phys = mgPhysicalFile(f);
            mgStatusLogFile("No child node during mgKeyAtPercent (250)...", phys ? phys->name : "", kMgCorruptIndex);
            mgSetError(kMgCorruptIndex);
            return 0;
        }
        position = child;
    }
    if (mgNumrec(node) == 0) {
        mgLinkWalk walk(f);
        while (node && mgNumrec(node) == 0) {
            if (mgSucesr(node) == 0) {
                node = nullptr;
                break;
            }
            node = walk.Follow(node, 1);
            if (!node || mgPredsr(node) == kMgDeletedNode) {
                // An estimate is not searched again: a link that cannot be followed now is
                // answered as a corrupt index, a failed read as itself.
                if (node || ctx->uerr_cod == 0 || ctx->uerr_cod == kMgStartOver)
                    mgSetError(kMgCorruptIndex);
                return 0;
            }
        }
        if (!node) {
            // The last key, with the index's search position left as it was.
            uint32_t savedNode = f->searchNode;
            int32_t savedEntry = f->searchEntry;
            int keyLength = mgKeyLength(f);
            uint8_t savedImage[kMgMaxKeyLength + 8];
            if (f->keyImages)
                memcpy(savedImage, f->keyImages, size_t(keyLength));
            uint32_t result = lstkey(f, out);
            f->searchNode = savedNode;
            f->searchEntry = savedEntry;
            if (f->keyImages)
                memcpy(f->keyImages, savedImage, size_t(keyLength));
            return result;
        }
        entry = 1;
    }
    const uint8_t* key = mgNodeEntry(node, entry);
    if (!key)
        return 0;
    if (out)
        memcpy(out, key, size_t(node->keyLength));
    return mgEntryRecordPosition(node, entry);
}

uint32_t mgKeyCount(int fileNumber)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return 0;
    if (mgIsFixed(f)) {
        mgSetError(kMgWrongFileKind);
        return 0;
    }
    if (mgIsShared(f) && mgRefreshHeader(f) != 0)
        return 0;
    mgSetError(0);
    return mgH32(f, kHdrEntryCount);
}
