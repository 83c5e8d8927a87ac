// New index nodes: a whole node at the end of a plain index file, or a piece of a
// variable-length file or superfile host for indexes that live inside one (the free-space
// index, and the indexes that are superfile members).
#include "database/mgNode.h"

#include "database/mgOs.h"
#include "database/mgRuntime.h"
#include "database/mgSpace.h"

mgNode* mgNewNode(mgFileControl* f, uint32_t* position, int mode)
{
    mgInstanceContext* ctx = mgCtx();
    uint32_t indexHeader = mgHeaderPosition(f);
    if (mode != 2) {
        if (uint16_t error = mgLockHeader(indexHeader, f, true)) {
            mgSetError(error);
            return nullptr;
        }
        mgRefreshHeader(f);
        if (mode == 1 && mgH32(f, kHdrRootNode) != 0) {
            mgUnlockHeader(indexHeader, f);
            mgSetError(kMgNotFoundMark);
            return nullptr;
        }
    }
    mgFileControl* first = mgGroupFirst(f);
    mgFileControl* space = mgIsMember(first) ? first->partner : first;
    auto releaseIndexHeader = [&]() {
        if (mode != 2)
            mgUnlockHeader(indexHeader, f);
    };
    uint32_t spaceHeader = mgHeaderPosition(space);
    if (uint16_t error = mgLockHeader(spaceHeader, space, true)) {
        releaseIndexHeader();
        mgSetError(error);
        return nullptr;
    }
    mgRefreshHeader(space);

    bool inRecords = mgIsSuperfile(first) || mgIsVariable(first);
    bool inMember = mgIsMember(first);
    mgVarHeader piece{};
    uint32_t nodePosition = 0;
    uint16_t error = 0;
    if (inRecords) {
        int headerSize = mgPieceHeaderSize(space);
        uint32_t at = mgAllocSpace(first, -1, f->nodeSize, inMember ? uint32_t(ctx->nodeSize) : 0, 2, false, false);
        if (at == 0) {
            error = ctx->uerr_cod ? ctx->uerr_cod : uint16_t(kMgShortWrite);
        } else {
            piece.mark = inMember ? kMgPieceInUse : kMgPieceNode;
            piece.allocated = f->nodeSize + uint32_t(headerSize);
            piece.dataLength = f->nodeSize;
            piece.memberId = mgH32(first, kHdrMemberId);
            piece.chain = 0;
            nodePosition = at + uint32_t(headerSize);
            if (!inMember)
                error = mgWriteVarHeader(space, at, piece);
        }
    } else {
        nodePosition = mgExtendFile(space, f->nodeSize, f->nodeSize);
        if (nodePosition == 0)
            error = ctx->uerr_cod ? ctx->uerr_cod : uint16_t(kMgFileTooLarge);
        else
            error = mgWriteHeaderStart(space);
    }
    mgUnlockHeader(spaceHeader, space);
    if (mode == 0)
        mgUnlockHeader(indexHeader, f);
    if (error) {
        if (mode == 1)
            mgUnlockHeader(indexHeader, f);
        mgSetError(error);
        return nullptr;
    }
    if ((error = mgLockNode(nodePosition, f)) != 0) {
        if (mode == 1)
            mgUnlockHeader(indexHeader, f);
        mgSetError(error);
        return nullptr;
    }
    mgNode* node = mgTakeNodeBuffer(0, nodePosition, f);
    if (!node) {
        mgUnlockNode(nodePosition, f);
        if (mode == 1)
            mgUnlockHeader(indexHeader, f);
        return nullptr;
    }
    mgInitNode(node, f, nodePosition);
    if (inMember && node->prefix == 18) {
        uint8_t* h = node->buffer;
        mgPut16(h, piece.mark);
        mgPut32(h + 2, piece.allocated);
        mgPut32(h + 6, piece.dataLength);
        mgPut32(h + 10, piece.memberId);
        mgPut32(h + 14, piece.chain);
    }
    *position = nodePosition;
    return node;
}
