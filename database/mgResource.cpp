// The resource chain: search, add, update and delete of resource records, and the anchor.
// Keeps the invariants of mgResource.h: links and lengths are checked against the file,
// walks are bounded, and a chain change of a shared file is made under its header lock.
#include "database/mgResource.h"

#include <cstring>
#include <vector>

#include "database/mgOs.h"
#include "database/mgRuntime.h"
#include "database/mgSpace.h"

namespace {

struct Record {
    uint32_t position;
    uint32_t allocated;
    uint32_t dataLength;
    uint32_t next;
    uint32_t previous;
    uint32_t type;
    uint32_t number;
    uint8_t bytes[kMgResourceHeader + 72];
};

uint32_t EndOf(mgFileControl* f)
{
    return mgH32(mgSpaceFile(f), kHdrLogicalEnd);
}

bool InFile(mgFileControl* f, uint32_t position, uint32_t length)
{
    return position >= uint32_t(kMgHeaderSize) && uint64_t(position) + length - 1 <= EndOf(f);
}

// Reads and checks the record at a position: its mark, lengths and links.
uint16_t ReadRecord(mgFileControl* f, uint32_t position, Record* r)
{
    if (!InFile(f, position, kMgResourceHeader))
        return mgSetError(kMgNoResourceRecord);
    uint32_t want = kMgResourceHeader + 72;
    if (uint64_t(position) + want - 1 > EndOf(f))
        want = EndOf(f) - position + 1;
    memset(r->bytes, 0, sizeof r->bytes);
    if (uint16_t error = mgReadWrite(kMgRead, f, position, r->bytes, want, nullptr))
        return error;
    r->position = position;
    r->allocated = mgGet32(r->bytes + 2);
    r->dataLength = mgGet32(r->bytes + 6);
    r->next = mgGet32(r->bytes + 14);
    r->previous = mgGet32(r->bytes + 18);
    r->type = mgGet32(r->bytes + 22);
    r->number = mgGet32(r->bytes + 26);
    if (mgGet16(r->bytes) != 0xFEFE)
        return mgSetError(kMgNoResourceRecord);
    if (r->dataLength < 8 || uint64_t(r->dataLength) + kMgResourceHeader > r->allocated ||
        !InFile(f, position, r->allocated))
        return mgSetError(kMgResourceTooShort);
    if (!InFile(f, r->next, kMgResourceHeader) || !InFile(f, r->previous, kMgResourceHeader))
        return mgSetError(kMgNoResourceRecord);
    return 0;
}

uint16_t WriteLink(mgFileControl* f, uint32_t position, int offset, uint32_t value)
{
    uint8_t bytes[4];
    mgPut32(bytes, value);
    return mgReadWrite(kMgWrite, f, position + uint32_t(offset), bytes, 4, nullptr);
}

bool Before(uint32_t t1, uint32_t n1, uint32_t t2, uint32_t n2)
{
    return t1 < t2 || (t1 == t2 && n1 < n2);
}

void CopyHeader(uint8_t* out, const Record& r)
{
    if (out)
        memcpy(out, r.bytes, kMgResourceHeaderCopy);
}

// Space for a resource record of `length` data bytes; its position and allocated length.
uint32_t AllocRecordSpace(mgFileControl* f, uint32_t length, uint32_t* allocated)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* space = mgSpaceFile(f);
    uint32_t wanted = length + kMgResourceHeader;
    uint32_t position = 0;
    if (mgIsVariable(space) || mgIsSuperfile(f)) {
        int headerSize = mgPieceHeaderSize(space);
        position = mgAllocSpace(f, -1, wanted - uint32_t(headerSize), 0, 0, false, false);
        if (!position)
            return 0;
        mgVarHeader piece;
        if (mgReadVarHeader(f, position, &piece) != 0)
            return 0;
        *allocated = piece.allocated;
        return position;
    }
    uint32_t unit = mgIsIndex(f) ? f->nodeSize : mgRecordLength(f);
    uint32_t bytes = (wanted + unit - 1) / unit * unit;
    uint32_t header = mgHeaderPosition(f);
    if (mgLockHeader(header, f, true) != 0)
        return 0;
    mgRefreshHeader(f);
    position = mgExtendFile(f, bytes, mgIsIndex(f) ? unit : 0);
    uint16_t error = position ? mgWriteHeader(f) : (ctx->uerr_cod ? ctx->uerr_cod : uint16_t(kMgFileTooLarge));
    mgUnlockHeader(header, f);
    if (error) {
        mgSetError(error);
        return 0;
    }
    *allocated = bytes;
    // The records a resource covers are filled, so that none of them looks deleted.
    std::vector<uint8_t> fill(bytes, 0xFE);
    if (mgReadWrite(kMgWrite, f, position, fill.data(), bytes, nullptr) != 0)
        return 0;
    return position;
}

uint16_t FreeRecordSpace(mgFileControl* f, const Record& r)
{
    mgFileControl* space = mgSpaceFile(f);
    if (mgIsMember(mgGroupFirst(f))) {
        mgVarHeader piece;
        if (uint16_t error = mgReadVarHeader(f, r.position, &piece))
            return error;
        piece.mark = kMgPieceFreeInHost;
        piece.dataLength = 0;
        return mgWriteVarHeader(f, r.position, piece);
    }
    if (mgIsVariable(space) || mgIsSuperfile(f))
        return mgFreeSpace(f, -1, r.position);
    if (mgIsIndex(f)) {
        uint8_t zero[8] = {};
        return mgReadWrite(kMgWrite, f, r.position + 14, zero, 8, nullptr);
    }
    uint32_t length = mgRecordLength(f);
    for (uint32_t p = r.position; p < r.position + r.allocated; p += length) {
        if (uint16_t error = mgFreeRecord(f, p, 0))
            return error;
    }
    return 0;
}

// The chain-changing operations of a shared file hold its header lock throughout.
struct ChainLock {
    mgFileControl* f;
    uint32_t header;
    uint16_t error;
    explicit ChainLock(mgFileControl* file) : f(file), header(mgHeaderPosition(file))
    {
        error = mgLockHeader(header, f, true);
        if (!error)
            error = mgRefreshHeader(f);
    }
    ~ChainLock()
    {
        mgUnlockHeader(header, f);
    }
};

// The file a resource write goes to, once the call is fit for it: a resource at least as
// long as its type and number, a file open for writing. Null with the answer otherwise.
mgFileControl* ResourceWriteFile(int fileNumber, const void* data, uint32_t length, uint16_t* answer)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        *answer = mgCtx()->uerr_cod;
    else if (length < 8 || !data)
        *answer = mgSetError(kMgResourceTooShort);
    else if (f->mode & kMgModeReadOnly)
        *answer = mgSetError(kMgResourceReadOnly);
    else
        return f;
    return nullptr;
}

} // namespace

uint16_t mgFindResource(int fileNumber, const void* key, mgFileControl** control, uint32_t* previous, uint32_t* found,
                        uint32_t* next, uint8_t* previousHeader, uint8_t* foundHeader, uint8_t* nextHeader,
                        void* data, uint32_t size, int mode)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return mgCtx()->uerr_cod;
    if (control)
        *control = f;
    int search = mode & ~(kMgFindLock | kMgFindSummary);
    const uint8_t* k = static_cast<const uint8_t*>(key);
    uint32_t keyType = 0;
    uint32_t keyNumber = 0;
    const char* keyName = nullptr;
    switch (search) {
    case kMgFindTypeNumber:
    case kMgFindNext:
        keyType = mgGet32(k);
        keyNumber = mgGet32(k + 4);
        if (search == kMgFindTypeNumber && keyType == 0 && keyNumber == 0)
            return mgSetError(kMgEmptySearchKey);
        break;
    case kMgFindType:
        keyType = mgGet32(k);
        if (keyType == 0)
            return mgSetError(kMgEmptySearchKey);
        break;
    case kMgFindFirst:
        break;
    case kMgFindName:
        keyName = static_cast<const char*>(key);
        if (!keyName || !keyName[0])
            return mgSetError(kMgEmptySearchKey);
        break;
    case kMgFindPosition:
        keyNumber = mgGet32(k);
        break;
    default:
        return mgSetError(kMgBadSearchCode);
    }
    uint32_t anchorPosition = mgH32(f, kHdrResourceAnchor);
    if (anchorPosition == 0)
        return mgSetError(kMgNoResources);
    Record anchor;
    if (uint16_t error = ReadRecord(f, anchorPosition, &anchor))
        return error;
    Record prev = anchor;
    Record cur{};
    bool hit = false;
    bool stopped = false;
    uint32_t limit = EndOf(f) / kMgResourceHeader + 2;
    uint32_t at = anchor.next;
    for (uint32_t visits = 0; at != anchorPosition; ++visits) {
        if (visits > limit) {
            mgStatusLogFile("Resource chain does not come back to its anchor...", mgPhysicalFile(f)->name,
                            kMgNoResourceRecord);
            return mgSetError(kMgNoResourceRecord);
        }
        if (uint16_t error = ReadRecord(f, at, &cur))
            return error;
        if (cur.previous != prev.position)
            return mgSetError(kMgNoResourceRecord);
        bool stop = false;
        switch (search) {
        case kMgFindTypeNumber:
            stop = !Before(cur.type, cur.number, keyType, keyNumber);
            hit = stop && cur.type == keyType && cur.number == keyNumber;
            break;
        case kMgFindType:
            stop = cur.type >= keyType;
            hit = stop && cur.type == keyType;
            break;
        case kMgFindNext:
            stop = Before(keyType, keyNumber, cur.type, cur.number);
            hit = stop;
            break;
        case kMgFindFirst:
            stop = cur.type != 0;
            hit = stop;
            break;
        case kMgFindName: {
            const char* stored = reinterpret_cast<const char*>(cur.bytes + kMgResourceHeader + 8);
            uint32_t room = cur.dataLength > 8 ? cur.dataLength - 8 : 0;
            if (room > 64)
                room = 64;
            size_t keyLength = strnlen(keyName, 64);
            stop = hit = keyLength < room && strncmp(stored, keyName, keyLength) == 0 && stored[keyLength] == 0;
            break;
        }
        case kMgFindPosition:
            stop = hit = cur.position == keyNumber;
            break;
        }
        if (stop) {
            stopped = true;
            break;
        }
        prev = cur;
        at = cur.next;
    }
    Record after = anchor;
    if (stopped && hit && cur.next != anchorPosition) {
        if (uint16_t error = ReadRecord(f, cur.next, &after))
            return error;
    }
    if (!stopped || !hit) {
        // Not found: the neighbours a new record goes between, the anchor when the walk
        // came round to it.
        const Record& following = stopped ? cur : anchor;
        if (previous)
            *previous = prev.position;
        if (found)
            *found = 0;
        if (next)
            *next = following.position;
        CopyHeader(previousHeader, prev);
        CopyHeader(nextHeader, following);
        return kMgNotFoundMark;
    }
    if (previous)
        *previous = prev.position;
    if (found)
        *found = cur.position;
    if (next)
        *next = cur.next;
    CopyHeader(previousHeader, prev);
    CopyHeader(foundHeader, cur);
    CopyHeader(nextHeader, after);
    if (data && size > 0) {
        if (mode & kMgFindSummary) {
            uint8_t summary[12];
            mgPut32(summary, cur.type);
            mgPut32(summary + 4, cur.number);
            mgPut32(summary + 8, cur.dataLength);
            memcpy(data, summary, size < 12 ? size : 12);
        } else {
            uint32_t copy = size < cur.dataLength ? size : cur.dataLength;
            if (uint16_t error = mgReadWrite(kMgRead, f, cur.position + kMgResourceHeader, data, copy, nullptr))
                return error;
        }
    }
    return 0;
}

uint16_t mgCreateAnchor(mgFileControl* f)
{
    if (mgH32(f, kHdrResourceAnchor) != 0)
        return mgSetError(kMgHasAnchor);
    if (f->mode & (kMgModeReadOnly | kMgModeShared))
        return mgSetError(kMgAnchorReadOnly);
    uint32_t allocated = 0;
    uint32_t position = AllocRecordSpace(f, 9, &allocated);
    if (!position)
        return mgCtx()->uerr_cod ? mgCtx()->uerr_cod : mgSetError(kMgFileTooLarge);
    uint8_t bytes[kMgAnchorSize] = {};
    mgPut16(bytes, 0xFEFE);
    mgPut32(bytes + 2, allocated);
    mgPut32(bytes + 6, 9);
    mgPut32(bytes + 10, mgH32(mgGroupFirst(f), kHdrMemberId));
    mgPut32(bytes + 14, position);
    mgPut32(bytes + 18, position);
    if (uint16_t error = mgReadWrite(kMgWrite, f, position, bytes, kMgAnchorSize, nullptr))
        return error;
    mgSetH32(f, kHdrResourceAnchor, position);
    return mgWriteHeader(f);
}

uint16_t mgAddResource(int fileNumber, void* data, uint32_t length)
{
    uint16_t refused = 0;
    mgFileControl* f = ResourceWriteFile(fileNumber, data, length, &refused);
    if (!f)
        return refused;
    ChainLock lock(f);
    if (lock.error)
        return lock.error;
    uint8_t* bytes = static_cast<uint8_t*>(data);
    uint32_t type = mgGet32(bytes);
    uint32_t number = mgGet32(bytes + 4);
    uint8_t key[8];
    uint8_t prevHeader[kMgResourceHeaderCopy];
    uint32_t previous = 0;
    uint32_t next = 0;
    if (number == kMgNextNumber) {
        mgPut32(key, type);
        mgPut32(key + 4, kMgNextNumber);
        uint16_t answer = mgFindResource(fileNumber, key, nullptr, &previous, nullptr, &next, prevHeader, nullptr,
                                         nullptr, nullptr, 0, kMgFindTypeNumber);
        if (answer != 0 && answer != kMgNotFoundMark)
            return answer;
        bool sameType = previous != mgH32(f, kHdrResourceAnchor) && mgGet32(prevHeader + 22) == type;
        number = sameType ? mgGet32(prevHeader + 26) + 1 : 0;
        mgPut32(bytes + 4, number);
    }
    mgPut32(key, type);
    mgPut32(key + 4, number);
    uint8_t nextHeader[kMgResourceHeaderCopy];
    uint16_t answer = mgFindResource(fileNumber, key, nullptr, &previous, nullptr, &next, prevHeader, nullptr,
                                     nextHeader, nullptr, 0, kMgFindTypeNumber);
    if (answer == 0)
        return mgSetError(kMgResourceExists);
    if (answer != kMgNotFoundMark)
        return answer;
    uint32_t allocated = 0;
    uint32_t position = AllocRecordSpace(f, length, &allocated);
    if (!position)
        return mgCtx()->uerr_cod ? mgCtx()->uerr_cod : mgSetError(kMgFileTooLarge);
    std::vector<uint8_t> record(kMgResourceHeader + length);
    mgPut16(record.data(), 0xFEFE);
    mgPut32(record.data() + 2, allocated);
    mgPut32(record.data() + 6, length);
    mgPut32(record.data() + 10, mgH32(mgGroupFirst(f), kHdrMemberId));
    mgPut32(record.data() + 14, next);
    mgPut32(record.data() + 18, previous);
    memcpy(record.data() + kMgResourceHeader, bytes, length);
    if (uint16_t error = mgReadWrite(kMgWrite, f, position, record.data(), uint32_t(record.size()), nullptr))
        return error;
    if (uint16_t error = WriteLink(f, previous, 14, position))
        return error;
    return WriteLink(f, next, 18, position);
}

uint16_t mgUpdateResource(int fileNumber, const void* data, uint32_t length)
{
    uint16_t refused = 0;
    mgFileControl* f = ResourceWriteFile(fileNumber, data, length, &refused);
    if (!f)
        return refused;
    ChainLock lock(f);
    if (lock.error)
        return lock.error;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    uint32_t previous = 0;
    uint32_t found = 0;
    uint32_t next = 0;
    uint8_t foundHeader[kMgResourceHeaderCopy];
    uint16_t answer = mgFindResource(fileNumber, bytes, nullptr, &previous, &found, &next, nullptr, foundHeader, nullptr,
                                     nullptr, 0, kMgFindTypeNumber);
    if (answer == kMgNotFoundMark)
        return mgSetError(kMgResourceNotFound);
    if (answer)
        return answer;
    uint32_t allocated = mgGet32(foundHeader + 2);
    if (uint64_t(length) + kMgResourceHeader <= allocated) {
        uint8_t size[4];
        mgPut32(size, length);
        if (uint16_t error = mgReadWrite(kMgWrite, f, found + 6, size, 4, nullptr))
            return error;
        return mgReadWrite(kMgWrite, f, found + kMgResourceHeader, const_cast<uint8_t*>(bytes), length, nullptr);
    }
    uint32_t newAllocated = 0;
    uint32_t position = AllocRecordSpace(f, length, &newAllocated);
    if (!position)
        return mgCtx()->uerr_cod ? mgCtx()->uerr_cod : mgSetError(kMgFileTooLarge);
    std::vector<uint8_t> record(kMgResourceHeader + length);
    mgPut16(record.data(), 0xFEFE);
    mgPut32(record.data() + 2, newAllocated);
    mgPut32(record.data() + 6, length);
    mgPut32(record.data() + 10, mgH32(mgGroupFirst(f), kHdrMemberId));
    mgPut32(record.data() + 14, next == found ? position : next);
    mgPut32(record.data() + 18, previous == found ? position : previous);
    memcpy(record.data() + kMgResourceHeader, bytes, length);
    if (uint16_t error = mgReadWrite(kMgWrite, f, position, record.data(), uint32_t(record.size()), nullptr))
        return error;
    if (uint16_t error = WriteLink(f, previous, 14, position))
        return error;
    if (uint16_t error = WriteLink(f, next, 18, position))
        return error;
    Record old{};
    old.position = found;
    old.allocated = allocated;
    return FreeRecordSpace(f, old);
}

uint16_t mgDeleteResource(int fileNumber, uint32_t type, uint32_t number)
{
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return mgCtx()->uerr_cod;
    if (f->mode & kMgModeReadOnly)
        return mgSetError(kMgResourceReadOnly);
    ChainLock lock(f);
    if (lock.error)
        return lock.error;
    uint8_t key[8];
    mgPut32(key, type);
    mgPut32(key + 4, number);
    uint32_t previous = 0;
    uint32_t found = 0;
    uint32_t next = 0;
    uint8_t foundHeader[kMgResourceHeaderCopy];
    uint16_t answer = mgFindResource(fileNumber, key, nullptr, &previous, &found, &next, nullptr, foundHeader, nullptr,
                                     nullptr, 0, kMgFindTypeNumber);
    if (answer == kMgNotFoundMark)
        return mgSetError(kMgResourceNotFound);
    if (answer)
        return answer;
    if (uint16_t error = WriteLink(f, previous, 14, next))
        return error;
    if (uint16_t error = WriteLink(f, next, 18, previous))
        return error;
    Record old{};
    old.position = found;
    old.allocated = mgGet32(foundHeader + 2);
    return FreeRecordSpace(f, old);
}

uint32_t mgGetResource(int fileNumber, const void* key, void* buffer, uint32_t size, int mode, uint32_t* length)
{
    uint32_t found = 0;
    uint8_t header[kMgResourceHeaderCopy];
    int search = mode ? mode : kMgFindTypeNumber;
    uint16_t answer =
        mgFindResource(fileNumber, key, nullptr, nullptr, &found, nullptr, nullptr, header, nullptr, buffer, size, search);
    if (answer == kMgNotFoundMark) {
        mgSetError(kMgResourceNotFound);
        return 0;
    }
    if (answer)
        return 0;
    uint32_t dataLength = mgGet32(header + 6);
    if (length)
        *length = dataLength;
    if (buffer && size < dataLength && !(mode & kMgFindSummary)) {
        mgSetError(kMgResourceTruncated);
        return 0;
    }
    mgSetError(0);
    return found;
}

uint16_t mgWalkResourceChain(int fileNumber, uint32_t* count)
{
    *count = 0;
    mgFileControl* f = mgCheckFile(fileNumber);
    if (!f)
        return mgCtx()->uerr_cod;
    uint32_t anchorPosition = mgH32(f, kHdrResourceAnchor);
    if (anchorPosition == 0)
        return mgSetError(kMgNoResources);
    Record anchor;
    if (uint16_t error = ReadRecord(f, anchorPosition, &anchor))
        return error;
    Record prev = anchor;
    uint32_t limit = EndOf(f) / kMgResourceHeader + 2;
    for (uint32_t at = anchor.next; at != anchorPosition;) {
        if (*count > limit)
            return mgSetError(kMgNoResourceRecord);
        Record cur;
        if (uint16_t error = ReadRecord(f, at, &cur))
            return error;
        if (cur.previous != prev.position)
            return mgSetError(kMgNoResourceRecord);
        if (prev.position != anchorPosition && !Before(prev.type, prev.number, cur.type, cur.number))
            return mgSetError(kMgNoResourceRecord);
        *count += 1;
        prev = cur;
        at = cur.next;
    }
    if (anchor.previous != prev.position)
        return mgSetError(kMgNoResourceRecord);
    return 0;
}
