// The stored form of a set definition: packed field by field into part 0 of the data
// file's definition resource, with 4-byte pointer slots whatever the build, and unpacked
// into a caller's buffer with the pointers set into that buffer.
// Every count, length and text of a stored definition is checked against the part's size
// before it is used; a damaged one answers kMgFileDamaged.
#include "database/mgFileSet.h"

#include <cstring>
#include <vector>

#include "database/mgBytes.h"
#include "database/mgFile.h"
#include "database/mgInstance.h"
#include "database/mgResource.h"
#include "database/mgRuntime.h"

namespace {

constexpr uint32_t kFileImage = 36;
constexpr uint32_t kIndexImage = 32;
constexpr uint32_t kOldIndexImage = 20;

size_t Align8(size_t n)
{
    return (n + 7) & ~size_t(7);
}

// Reads stored bytes with bounds; every take fails once the end is passed.
struct Reader {
    const uint8_t* data;
    uint32_t length;
    uint32_t at = 0;
    bool ok = true;
    const uint8_t* Take(uint32_t n)
    {
        if (!ok || uint64_t(at) + n > length) {
            ok = false;
            return nullptr;
        }
        const uint8_t* p = data + at;
        at += n;
        return p;
    }
    // A NUL-terminated text inside the data; its length without the NUL.
    const char* Text(uint32_t* textLength)
    {
        if (!ok || at >= length) {
            ok = false;
            return nullptr;
        }
        const uint8_t* start = data + at;
        const void* end = memchr(start, 0, length - at);
        if (!end) {
            ok = false;
            return nullptr;
        }
        *textLength = uint32_t(static_cast<const uint8_t*>(end) - start);
        at += *textLength + 1;
        return reinterpret_cast<const char*>(start);
    }
};

// The extension texts the set uses (an extension of blanks means none).
void ExtensionText(const char* given, char out[8])
{
    memset(out, 0, 8);
    mgCopyBounded(out, given, 8);
}

} // namespace

uint8_t* mgPackDefinition(const mgFileDef* def, uint32_t* length)
{
    mgInstanceContext* ctx = mgCtx();
    if (!def->name || (def->indexCount > 0 && !def->indexes)) {
        mgSetError(kMgBadDefinition);
        return nullptr;
    }
    std::vector<uint8_t> out(kFileImage + kIndexImage * uint32_t(def->indexCount), 0);
    uint8_t* image = out.data();
    mgPut16(image + 4, uint16_t(def->dataFileNumber));
    mgPut16(image + 6, def->recordLength);
    mgPut16(image + 8, def->dataExtension);
    mgPut16(image + 10, def->dataMode);
    mgPut16(image + 12, uint16_t(def->indexCount));
    mgPut16(image + 14, def->indexExtension);
    mgPut16(image + 16, def->indexMode);
    mgPut32(image + 24, def->text1 ? 1 : 0);
    mgPut32(image + 28, def->text2 ? 1 : 0);
    mgPut16(image + 32, uint16_t(def->setFileNumber));
    for (int i = 0; i < def->indexCount; ++i) {
        const mgIndexDef& index = def->indexes[i];
        if (!index.segments || index.segmentCount < 1) {
            mgSetError(kMgBadDefinition);
            return nullptr;
        }
        uint8_t* p = out.data() + kFileImage + kIndexImage * uint32_t(i);
        mgPut16(p + 0, uint16_t(index.keyLength));
        mgPut16(p + 2, uint16_t(index.keyType));
        mgPut16(p + 4, uint16_t(index.duplicates));
        mgPut16(p + 6, uint16_t(index.keyOptions));
        mgPut16(p + 8, uint16_t(index.emptyChar));
        mgPut16(p + 10, uint16_t(index.segmentCount));
        mgPut32(p + 16, index.text ? 1 : 0);
        mgPut32(p + 20, index.memberName ? 1 : 0);
        mgPut32(p + 24, index.translation ? 1 : 0);
        mgPut32(p + 28, index.attribute ? 1 : 0);
    }
    auto append = [&out](const void* bytes, size_t n) {
        const uint8_t* b = static_cast<const uint8_t*>(bytes);
        out.insert(out.end(), b, b + n);
    };
    for (int i = 0; i < def->indexCount; ++i) {
        const mgIndexDef& index = def->indexes[i];
        for (int s = 0; s < index.segmentCount; ++s) {
            uint8_t segment[6];
            mgPut16(segment, uint16_t(index.segments[s].offset));
            mgPut16(segment + 2, uint16_t(index.segments[s].length));
            mgPut16(segment + 4, uint16_t(index.segments[s].mode));
            append(segment, 6);
        }
    }
    append(def->name, strlen(def->name) + 1);
    char text[64];
    mgCopyBounded(text, def->text1, sizeof text);
    append(text, 64);
    mgCopyBounded(text, def->text2, sizeof text);
    append(text, 64);
    for (int i = 0; i < def->indexCount; ++i) {
        const mgIndexDef& index = def->indexes[i];
        if (index.text)
            append(index.text, strlen(index.text) + 1);
        if (index.memberName)
            append(index.memberName, strlen(index.memberName) + 1);
        if (index.translation)
            append(index.translation, 512);
        if (index.attribute) {
            uint8_t item[4] = {*index.attribute, 0, 0, 0};
            append(item, 4);
        }
    }
    char extension[8];
    ExtensionText(ctx->dataExtension, extension);
    append(extension, 8);
    ExtensionText(ctx->indexExtension, extension);
    append(extension, 8);
    uint8_t* block = static_cast<uint8_t*>(mgAlloc((long long)out.size()));
    if (!block) {
        mgSetError(kMgPackNoMemory);
        return nullptr;
    }
    memcpy(block, out.data(), out.size());
    *length = uint32_t(out.size());
    return block;
}

uint32_t mgUnpackDefinition(const uint8_t* stored, uint32_t storedLength, bool widened, void* buffer,
                            uint32_t bufferSize)
{
    Reader r{stored, storedLength};
    const uint8_t* image = r.Take(kFileImage);
    if (!image) {
        mgSetError(kMgFileDamaged);
        return 0;
    }
    int16_t count = int16_t(mgGet16(image + 12));
    if (count < 0 || count > kMgMaxIndexes) {
        mgSetError(kMgFileDamaged);
        return 0;
    }
    uint32_t stride = widened ? kOldIndexImage : kIndexImage;
    const uint8_t* indexImages = r.Take(stride * uint32_t(count));
    uint32_t segmentsTotal = 0;
    for (int i = 0; r.ok && i < count; ++i) {
        int16_t segments = int16_t(mgGet16(indexImages + stride * uint32_t(i) + 10));
        if (segments < 1 || segments > kMgMaxSegments) {
            mgSetError(kMgFileDamaged);
            return 0;
        }
        segmentsTotal += uint32_t(segments);
    }
    const uint8_t* segmentBytes = r.Take(6 * segmentsTotal);
    uint32_t nameLength = 0;
    const char* name = r.Text(&nameLength);
    const uint8_t* text1 = r.Take(64);
    const uint8_t* text2 = r.Take(64);
    if (!r.ok || memchr(text1, 0, 64) == nullptr || memchr(text2, 0, 64) == nullptr) {
        mgSetError(kMgFileDamaged);
        return 0;
    }
    struct Items {
        const char* text = nullptr;
        uint32_t textLength = 0;
        const char* member = nullptr;
        uint32_t memberLength = 0;
        const uint8_t* translation = nullptr;
        const uint8_t* attribute = nullptr;
    } items[kMgMaxIndexes];
    for (int i = 0; i < count; ++i) {
        const uint8_t* p = indexImages + stride * uint32_t(i);
        if (mgGet32(p + 16))
            items[i].text = r.Text(&items[i].textLength);
        if (!widened) {
            if (mgGet32(p + 20))
                items[i].member = r.Text(&items[i].memberLength);
            if (mgGet32(p + 24))
                items[i].translation = r.Take(512);
            if (mgGet32(p + 28))
                items[i].attribute = r.Take(4);
        }
    }
    if (!r.ok) {
        mgSetError(kMgFileDamaged);
        return 0;
    }
    size_t needed = Align8(sizeof(mgFileDef)) + Align8(sizeof(mgIndexDef) * size_t(count)) +
                    Align8(sizeof(mgSegmentDef) * segmentsTotal) + Align8(nameLength + 1);
    size_t text1Length = strlen(reinterpret_cast<const char*>(text1));
    size_t text2Length = strlen(reinterpret_cast<const char*>(text2));
    if (text1[0])
        needed += Align8(text1Length + 1);
    if (text2[0])
        needed += Align8(text2Length + 1);
    for (int i = 0; i < count; ++i) {
        if (items[i].text)
            needed += Align8(items[i].textLength + 1);
        if (items[i].member)
            needed += Align8(items[i].memberLength + 1);
        if (items[i].translation)
            needed += 512;
        if (items[i].attribute)
            needed += 8;
    }
    if (!buffer || bufferSize < needed)
        return uint32_t(needed);

    uint8_t* out = static_cast<uint8_t*>(buffer);
    memset(out, 0, needed);
    size_t at = 0;
    auto place = [&](size_t bytes) {
        uint8_t* p = out + at;
        at += Align8(bytes);
        return p;
    };
    auto* def = reinterpret_cast<mgFileDef*>(place(sizeof(mgFileDef)));
    def->dataFileNumber = -1;
    def->recordLength = mgGet16(image + 6);
    def->dataExtension = mgGet16(image + 8);
    def->dataMode = mgGet16(image + 10);
    def->indexCount = count;
    def->indexExtension = mgGet16(image + 14);
    def->indexMode = mgGet16(image + 16);
    def->setFileNumber = -1;
    def->indexes = reinterpret_cast<mgIndexDef*>(place(sizeof(mgIndexDef) * size_t(count)));
    auto* segments = reinterpret_cast<mgSegmentDef*>(place(sizeof(mgSegmentDef) * segmentsTotal));
    const uint8_t* s = segmentBytes;
    for (int i = 0; i < count; ++i) {
        const uint8_t* p = indexImages + stride * uint32_t(i);
        mgIndexDef& index = def->indexes[i];
        index.keyLength = int16_t(mgGet16(p));
        index.keyType = int16_t(mgGet16(p + 2));
        index.duplicates = int16_t(mgGet16(p + 4));
        index.keyOptions = int16_t(mgGet16(p + 6));
        index.emptyChar = int16_t(mgGet16(p + 8));
        index.segmentCount = int16_t(mgGet16(p + 10));
        index.segments = segments;
        for (int k = 0; k < index.segmentCount; ++k, s += 6) {
            segments->offset = int16_t(mgGet16(s));
            segments->length = int16_t(mgGet16(s + 2));
            segments->mode = int16_t(mgGet16(s + 4));
            ++segments;
        }
    }
    def->name = reinterpret_cast<char*>(place(nameLength + 1));
    memcpy(def->name, name, nameLength);
    if (text1[0]) {
        def->text1 = reinterpret_cast<char*>(place(text1Length + 1));
        memcpy(def->text1, text1, text1Length);
    }
    if (text2[0]) {
        def->text2 = reinterpret_cast<char*>(place(text2Length + 1));
        memcpy(def->text2, text2, text2Length);
    }
    for (int i = 0; i < count; ++i) {
        mgIndexDef& index = def->indexes[i];
        if (items[i].text) {
            index.text = reinterpret_cast<char*>(place(items[i].textLength + 1));
            memcpy(index.text, items[i].text, items[i].textLength);
        }
        if (items[i].member) {
            index.memberName = reinterpret_cast<char*>(place(items[i].memberLength + 1));
            memcpy(index.memberName, items[i].member, items[i].memberLength);
        }
        if (items[i].translation) {
            index.translation = place(512);
            memcpy(index.translation, items[i].translation, 512);
        }
        if (items[i].attribute) {
            index.attribute = place(1);
            *index.attribute = items[i].attribute[0];
        }
    }
    return uint32_t(needed);
}

uint32_t mgGetDefinitionResource(uint16_t dataFile, uint32_t bufferSize, void* buffer)
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx)
        return 0;
    ctx->isam_code = 0;
    mgFileControl* f = mgCheckFile(dataFile);
    if (!f) {
        mgSetIsamError(ctx->uerr_cod, dataFile);
        return 0;
    }
    uint32_t length = 0;
    uint8_t* stored = static_cast<uint8_t*>(mgReadDefinitionPart(dataFile, &length, 0, 0));
    if (!stored) {
        mgSetIsamError(ctx->uerr_cod, dataFile);
        return 0;
    }
    bool widened = !(mgH32(f, kHdrFormatCode) & 1);
    uint32_t size = mgUnpackDefinition(stored, length, widened, buffer, bufferSize);
    mgFree(stored);
    if (size == 0)
        mgSetIsamError(ctx->uerr_cod, dataFile);
    return size;
}
