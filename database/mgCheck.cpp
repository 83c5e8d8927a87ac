// The consistency checker. Each walk is bounded by what the file can hold, so the checker
// itself never loops on a damaged file; what it finds goes into the report.
#include "database/mgCheck.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgKey.h"
#include "database/mgNode.h"
#include "database/mgOs.h"
#include "database/mgResource.h"
#include "database/mgRuntime.h"
#include "database/mgSpace.h"

namespace {

struct Checker {
    mgCheckReport* report;
    void Problem(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)))
    {
        if (report->problems++ == 0) {
            va_list args;
            va_start(args, format);
            vsnprintf(report->first, sizeof report->first, format, args);
            va_end(args);
        }
    }
};

struct LeafEntry {
    std::vector<uint8_t> key;
    uint32_t position;
};

struct NodeCopy {
    bool leaf;
    bool deleted;
    uint32_t sucesr;
    uint32_t predsr;
    std::vector<std::vector<uint8_t>> keys;
    std::vector<uint32_t> pointers;
    std::vector<uint8_t> high;
};

bool CopyNode(mgFileControl* f, uint32_t position, NodeCopy* copy)
{
    mgNode* node = mggetnod(0, position, f);
    if (!node)
        return false;
    copy->leaf = mgIsLeaf(node);
    copy->deleted = mgPredsr(node) == kMgDeletedNode;
    copy->sucesr = mgSucesr(node);
    copy->predsr = mgPredsr(node);
    int n = mgNumrec(node);
    int keyLength = node->keyLength;
    for (int i = 1; i <= n; ++i) {
        const uint8_t* key = mgNodeEntry(node, i);
        if (!key)
            return false;
        copy->keys.emplace_back(key, key + keyLength);
        copy->pointers.push_back(copy->leaf ? mgEntryRecordPosition(node, i) : mgEntryPointer(node, i));
    }
    if (copy->leaf)
        copy->high.assign(mgHighKey(node), mgHighKey(node) + keyLength);
    return true;
}

// Walks an index tree: order, bounds, levels, leaf links and the key count.
bool WalkTree(mgFileControl* f, Checker& c, std::vector<LeafEntry>* entries)
{
    entries->clear();
    uint32_t root = mgRootNode(f);
    uint32_t count = mgH32(f, kHdrEntryCount);
    if (root == 0) {
        if (count != 0)
            c.Problem("%s: empty index counts %u keys", f->name, count);
        return true;
    }
    int keyLength = mgKeyLength(f);
    mgFileControl* phys = mgPhysicalFile(f);
    uint32_t limit = mgH32(phys, kHdrLogicalEnd) / (f->nodeSize ? f->nodeSize : 1) + 16;
    uint32_t visits = 0;
    int leafDepth = -1;
    std::vector<uint32_t> leaves;
    std::vector<uint8_t> top(size_t(keyLength), 0xFF);
    bool ok = true;
    struct Frame {
        uint32_t position;
        int depth;
        std::vector<uint8_t> low;
        bool hasLow;
        std::vector<uint8_t> high;
        bool rightmost;
    };
    std::vector<Frame> stack;
    stack.push_back(Frame{root, 0, {}, false, top, true});
    while (!stack.empty() && ok) {
        Frame frame = stack.back();
        stack.pop_back();
        if (++visits > limit) {
            c.Problem("%s: more nodes visited than the file holds", f->name);
            return false;
        }
        NodeCopy node;
        if (!CopyNode(f, frame.position, &node)) {
            c.Problem("%s: node %x cannot be read (%d)", f->name, frame.position, mgCtx()->uerr_cod);
            return false;
        }
        if (node.deleted) {
            c.Problem("%s: deleted node %x in the tree", f->name, frame.position);
            return false;
        }
        if (node.leaf) {
            if (leafDepth < 0)
                leafDepth = frame.depth;
            else if (leafDepth != frame.depth)
                c.Problem("%s: leaves at depths %d and %d", f->name, leafDepth, frame.depth);
        } else if (frame.depth >= 16) {
            c.Problem("%s: tree deeper than 16 levels", f->name);
            return false;
        }
        for (size_t i = 0; i < node.keys.size(); ++i) {
            const auto& key = node.keys[i];
            if (i > 0 && mgCompareKey(key.data(), node.keys[i - 1].data(), keyLength) <= 0)
                c.Problem("%s: node %x keys out of order at %zu", f->name, frame.position, i + 1);
            if (frame.hasLow && mgCompareKey(key.data(), frame.low.data(), keyLength) <= 0)
                c.Problem("%s: node %x key %zu below its bound", f->name, frame.position, i + 1);
            if (mgCompareKey(key.data(), frame.high.data(), keyLength) > 0)
                c.Problem("%s: node %x key %zu above its bound", f->name, frame.position, i + 1);
        }
        if (node.leaf) {
            if (node.high != frame.high)
                c.Problem("%s: leaf %x high key differs from its parent's", f->name, frame.position);
            for (size_t i = 0; i < node.keys.size(); ++i)
                entries->push_back(LeafEntry{node.keys[i], node.pointers[i]});
            leaves.push_back(frame.position);
            continue;
        }
        if (node.keys.empty()) {
            c.Problem("%s: empty non-leaf node %x", f->name, frame.position);
            return false;
        }
        if (node.keys.back() != frame.high)
            c.Problem("%s: node %x last key differs from its bound", f->name, frame.position);
        // Children in key order: pushed last first.
        for (size_t i = node.keys.size(); i-- > 0;) {
            if (node.pointers[i] == 0) {
                c.Problem("%s: node %x child %zu is 0", f->name, frame.position, i + 1);
                return false;
            }
            Frame child{node.pointers[i], frame.depth + 1, {}, false, node.keys[i],
                        frame.rightmost && i + 1 == node.keys.size()};
            if (i > 0) {
                child.low = node.keys[i - 1];
                child.hasLow = true;
            } else if (frame.hasLow) {
                child.low = frame.low;
                child.hasLow = true;
            }
            stack.push_back(child);
        }
    }
    for (size_t i = 0; i < leaves.size(); ++i) {
        NodeCopy node;
        if (!CopyNode(f, leaves[i], &node))
            return false;
        uint32_t right = i + 1 < leaves.size() ? leaves[i + 1] : 0;
        uint32_t left = i > 0 ? leaves[i - 1] : 0;
        if (node.sucesr != right || node.predsr != left)
            c.Problem("%s: leaf %x links %x/%x, expected %x/%x", f->name, leaves[i], node.predsr, node.sucesr, left,
                      right);
    }
    if (entries->size() != count)
        c.Problem("%s: %zu keys in the tree, %u in the header", f->name, entries->size(), count);
    return true;
}

// A record's bytes at a position (the whole record of a variable-length file).
bool ReadRecord(mgFileControl* data, uint32_t position, std::vector<uint8_t>* record)
{
    if (mgIsFixed(data)) {
        record->assign(mgRecordLength(data), 0);
        if (mgReadRecordBytes(data, position, record->data()) != 0)
            return false;
        return (*record)[0] != kMgDeletedMark && !((*record)[0] == 0xFE && (*record)[1] == 0xFE);
    }
    uint32_t length = mgVarRecordLength(data, position);
    if (length == 0)
        return false;
    record->assign(length, 0);
    uint32_t total = 0;
    return mgReadVariableRecordAt(data, position, record->data(), long(length), true, &total) == 0;
}

// The active records of a data file, and the deleted-record chain of a fixed-length one.
void CollectRecords(mgFileControl* data, Checker& c, std::vector<uint32_t>* active)
{
    mgFileControl* space = mgSpaceFile(data);
    uint32_t end = mgH32(space, kHdrLogicalEnd);
    std::set<uint32_t> deleted;
    bool member = mgIsMember(data);
    if (member) {
        uint32_t memberId = mgH32(data, kHdrMemberId);
        std::set<uint32_t> seen;
        for (uint32_t at = mgH32(data, kHdrMemberCounter); at != 0;) {
            if (!seen.insert(at).second || seen.size() > end / 18 + 2) {
                c.Problem("%s: member chain loops at %x", data->name, at);
                return;
            }
            mgVarHeader piece;
            if (mgReadVarHeader(data, at, &piece) != 0 || piece.memberId != memberId) {
                c.Problem("%s: member chain reaches a foreign piece at %x", data->name, at);
                return;
            }
            if (piece.mark == kMgPieceInUse) {
                uint8_t first = 0;
                mgReadWrite(kMgRead, data, at + mgDataOffset(data), &first, 1, nullptr);
                if (mgIsFixed(data) && first == kMgDeletedMark)
                    deleted.insert(at);
                else
                    active->push_back(at);
            }
            at = piece.chain;
        }
    } else if (mgIsFixed(data)) {
        uint32_t length = mgRecordLength(data);
        for (uint64_t at = mgFirstRecordPosition(data); at + length - 1 <= end;) {
            uint8_t mark[6];
            if (mgReadWrite(kMgRead, data, uint32_t(at), mark, 6 < length ? 6 : length, nullptr) != 0) {
                c.Problem("%s: record at %llx cannot be read", data->name, (unsigned long long)at);
                return;
            }
            if (mark[0] == 0xFE && mark[1] == 0xFE) {
                uint32_t allocated = mgGet32(mark + 2);
                if (allocated < length || allocated % length) {
                    c.Problem("%s: resource at %llx covers %u bytes", data->name, (unsigned long long)at, allocated);
                    return;
                }
                at += allocated;
                continue;
            }
            if (mark[0] == kMgDeletedMark)
                deleted.insert(uint32_t(at));
            else
                active->push_back(uint32_t(at));
            at += length;
        }
    } else {
        int headerSize = mgPieceHeaderSize(space);
        for (uint64_t at = data->nodeSize; at <= end;) {
            mgVarHeader piece;
            if (mgReadVarHeader(data, uint32_t(at), &piece) != 0 || !mgIsValidMark(piece.mark) ||
                piece.allocated < uint32_t(headerSize) || at + piece.allocated - 1 > end) {
                c.Problem("%s: bad piece at %llx", data->name, (unsigned long long)at);
                return;
            }
            if (piece.mark == kMgPieceInUse && piece.dataLength > 0)
                active->push_back(uint32_t(at));
            at += piece.allocated;
        }
    }
    if (!mgIsFixed(data))
        return;
    if (!member && active->size() != mgH32(data, kHdrEntryCount))
        c.Problem("%s: %zu active records, %u in the header", data->name, active->size(),
                  mgH32(data, kHdrEntryCount));
    std::set<uint32_t> chained;
    for (uint32_t at = mgH32(data, kHdrDeleteHead); at != 0;) {
        if (!deleted.count(at)) {
            c.Problem("%s: deleted chain reaches %x, not a deleted record", data->name, at);
            return;
        }
        if (!chained.insert(at).second) {
            c.Problem("%s: deleted chain loops at %x", data->name, at);
            return;
        }
        uint8_t link[5];
        if (mgReadWrite(kMgRead, data, at + mgDataOffset(data), link, 5, nullptr) != 0)
            return;
        at = mgGet32(link + 1);
    }
    if (chained.size() != deleted.size())
        c.Problem("%s: %zu deleted records, %zu on the chain", data->name, deleted.size(), chained.size());
}

// Pieces of a variable-length file or host from its first node to its logical end, and the
// free-space index against them.
void CheckPieces(mgFileControl* f, Checker& c)
{
    uint32_t end = mgH32(f, kHdrLogicalEnd);
    int headerSize = mgPieceHeaderSize(f);
    struct Free {
        uint32_t allocated;
        uint32_t memberId;
    };
    std::vector<std::pair<uint32_t, Free>> free;
    uint64_t at = f->nodeSize;
    while (at <= end) {
        mgVarHeader piece;
        if (mgReadVarHeader(f, uint32_t(at), &piece) != 0 || !mgIsValidMark(piece.mark) ||
            piece.allocated < uint32_t(headerSize) || at + piece.allocated - 1 > end) {
            c.Problem("%s: bad piece at %llx", f->name, (unsigned long long)at);
            return;
        }
        if (piece.mark == kMgPieceFree || piece.mark == kMgPieceFreeInHost)
            free.push_back({uint32_t(at), Free{piece.allocated, piece.memberId}});
        at += piece.allocated;
    }
    if (at != uint64_t(end) + 1)
        c.Problem("%s: pieces end at %llx, the file at %x", f->name, (unsigned long long)at, end + 1);
    std::vector<LeafEntry> entries;
    if (!WalkTree(f, c, &entries))
        return;
    c.report->freePieces = uint32_t(entries.size());
    for (const LeafEntry& e : entries) {
        uint32_t owner = mgGet32BE(e.key.data());
        uint32_t length = mgGet32BE(e.key.data() + 4);
        uint32_t position = mgGet32BE(e.key.data() + 8);
        bool found = false;
        for (const auto& piece : free)
            if (piece.first == position && piece.second.allocated == length && piece.second.memberId == owner)
                found = true;
        if (!found)
            c.Problem("%s: free-space entry %x (%u bytes) names no free piece", f->name, position, length);
    }
}

void CheckResources(mgFileControl* f, Checker& c)
{
    if (mgH32(f, kHdrResourceAnchor) == 0)
        return;
    uint32_t count = 0;
    if (uint16_t error = mgWalkResourceChain(f->fileNumber, &count))
        c.Problem("%s: resource chain broken (%d)", f->name, error);
    c.report->resources += count;
}

} // namespace

uint16_t mgCheckIndex(int indexFile, mgCheckReport* report)
{
    *report = mgCheckReport{};
    Checker c{report};
    mgFileControl* f = mgCheckFile(indexFile);
    if (!f) {
        c.Problem("index %d is not open", indexFile);
        return kMgFileDamaged;
    }
    std::vector<LeafEntry> entries;
    WalkTree(f, c, &entries);
    report->keys[0] = uint32_t(entries.size());
    return report->problems ? kMgFileDamaged : 0;
}

uint16_t mgCheckFileSet(uint16_t dataFile, mgCheckReport* report)
{
    *report = mgCheckReport{};
    Checker c{report};
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* data = mgCheckFile(dataFile);
    if (!data) {
        c.Problem("data file %d is not open", dataFile);
        return kMgFileDamaged;
    }
    // A shared file's headers may have been changed by another handle since they were read.
    if (mgRefreshHeader(data) != 0 || (mgSpaceFile(data) != data && mgRefreshHeader(mgSpaceFile(data)) != 0)) {
        c.Problem("%s: header cannot be read (%d)", data->name, ctx->uerr_cod);
        return kMgFileDamaged;
    }
    std::vector<uint32_t> active;
    CollectRecords(data, c, &active);
    report->records = uint32_t(active.size());
    if (mgIsVariable(data) && !mgIsMember(data))
        CheckPieces(data, c);
    CheckResources(data, c);
    int16_t* list = mgMemberList(dataFile);
    std::vector<uint8_t> record;
    uint8_t key[kMgMaxKeyLength + 8];
    for (int k = 0; k < kMgMaxIndexes && list[k] != -1 && report->problems == 0; ++k) {
        int number = list[k];
        if (number < 0)
            continue;
        mgFileControl* index = ctx->files[number];
        std::vector<LeafEntry> entries;
        if (!WalkTree(index, c, &entries))
            break;
        report->keys[k] = uint32_t(entries.size());
        int keyLength = mgKeyLength(index);
        for (const LeafEntry& e : entries) {
            if (!ReadRecord(data, e.position, &record)) {
                c.Problem("%s: key points at %x, no record in use there", index->name, e.position);
                break;
            }
            int16_t built = mgBuildKey(int16_t(number), record.data(), key, e.position, uint32_t(record.size()));
            if (built == 0 || memcmp(key, e.key.data(), size_t(keyLength)) != 0) {
                c.Problem("%s: key at %x is not the record's key", index->name, e.position);
                break;
            }
        }
        uint32_t keyed = 0;
        for (uint32_t position : active) {
            if (!ReadRecord(data, position, &record))
                continue;
            if (mgBuildKey(int16_t(number), record.data(), key, position, uint32_t(record.size())) != 0)
                ++keyed;
        }
        if (keyed != entries.size())
            c.Problem("%s: %u records have a key, the index holds %zu", index->name, keyed, entries.size());
    }
    ctx->isam_code = 0;
    ctx->uerr_cod = 0;
    return report->problems ? kMgFileDamaged : 0;
}

uint16_t mgCheckHost(int hostFile, mgCheckReport* report)
{
    *report = mgCheckReport{};
    Checker c{report};
    mgFileControl* host = mgCheckFile(hostFile);
    if (!host || !mgIsHost(host)) {
        c.Problem("file %d is not an open host", hostFile);
        return kMgFileDamaged;
    }
    if (mgRefreshHeader(host) != 0) {
        c.Problem("%s: header cannot be read (%d)", host->name, mgCtx()->uerr_cod);
        return kMgFileDamaged;
    }
    CheckPieces(host, c);
    CheckResources(host, c);
    mgFileControl* directory = host->partner;
    if (!directory) {
        c.Problem("%s: no member directory", host->name);
    } else {
        std::vector<LeafEntry> entries;
        if (WalkTree(directory, c, &entries)) {
            int width = mgKeyLength(directory);
            for (const LeafEntry& e : entries) {
                uint8_t header[kMgHeaderSize];
                std::vector<uint8_t> name(size_t(width), 0);
                if (mgReadWrite(kMgRead, host, e.position, header, kMgHeaderSize, nullptr) != 0 ||
                    mgGet32(header + kHdrHeaderPosition) != e.position) {
                    c.Problem("%s: directory entry %x names no member header", host->name, e.position);
                    continue;
                }
                if (mgReadWrite(kMgRead, host, e.position - uint32_t(width), name.data(), uint32_t(width), nullptr) !=
                        0 ||
                    name != e.key)
                    c.Problem("%s: member at %x carries another name", host->name, e.position);
            }
        }
    }
    mgCtx()->uerr_cod = 0;
    return report->problems ? kMgFileDamaged : 0;
}
