// Conditional index resources: the expression list of a data file, loaded from its type-12
// resource and compiled when the file opens, evaluated for every key built, freed at close.
// The entry table and every text range are checked against the resource's size, and each
// text must end with a NUL inside it; a list that lies is refused (597) and freed.
#include "database/mgCondition.h"

#include <cstring>
#include <vector>

#include "database/mgBytes.h"
#include "database/mgFile.h"
#include "database/mgResource.h"
#include "database/mgRuntime.h"

namespace {

constexpr uint32_t kConditionType = 12;
constexpr uint32_t kResourceHead = 16;

void FreeEntries(mgExprEntry* entries, int count)
{
    if (!entries)
        return;
    for (int i = 0; i < count; ++i)
        mgFreeExpression(entries[i].tree);
    mgFree(entries);
}

bool EnsureStack()
{
    mgInstanceContext* ctx = mgCtx();
    if (!ctx->exprStack)
        ctx->exprStack = static_cast<uint64_t*>(mgCalloc(512, 8));
    return ctx->exprStack != nullptr;
}

} // namespace

mgFieldTable mgFieldsOf(mgFileControl* f)
{
    return mgFieldTable{f ? f->dataDefinition : nullptr, f ? f->dataDefinitionLength : 0, nullptr, 0};
}

void mgFreeExpressionList(mgExprList* list)
{
    if (!list)
        return;
    FreeEntries(list->groupA, list->countA);
    if (list->groupB != list->groupA)
        FreeEntries(list->groupB, list->countB);
    mgFree(list);
    mgInstanceContext* ctx = mgCtx();
    if (ctx)
        mgHeapFreeAndClear(ctx->exprStack);
}

mgExprList* mgCompileExpressionList(int dataFile, const uint8_t* body, uint32_t bodyLength, const mgFieldTable& fields)
{
    mgInstanceContext* ctx = mgCtx();
    ctx->uerr_cod = 0;
    if (!body)
        return nullptr;
    if (!fields.description || !fields.names) {
        mgSetError(kMgNoFieldNames);
        return nullptr;
    }
    if (bodyLength < 4) {
        mgSetError(kMgExpressionInvalid);
        return nullptr;
    }
    uint32_t countA = mgGet16(body);
    uint32_t countB = mgGet16(body + 2);
    uint64_t table = 4 + 8ull * (countA + countB);
    if (table > bodyLength) {
        mgSetError(kMgExpressionInvalid);
        return nullptr;
    }
    auto* list = static_cast<mgExprList*>(mgAlloc(sizeof(mgExprList)));
    if (!list) {
        mgSetError(kMgPartNoMemory);
        return nullptr;
    }
    list->countA = uint16_t(countA);
    list->countB = uint16_t(countB);
    if (countA)
        list->groupA = static_cast<mgExprEntry*>(mgAlloc((long long)sizeof(mgExprEntry) * countA));
    if (countB)
        list->groupB = static_cast<mgExprEntry*>(mgAlloc((long long)sizeof(mgExprEntry) * countB));
    if ((countA && !list->groupA) || (countB && !list->groupB) || !EnsureStack()) {
        mgFreeExpressionList(list);
        mgSetError(kMgPartNoMemory);
        return nullptr;
    }
    uint32_t text = uint32_t(table);
    for (uint32_t i = 0; i < countA + countB; ++i) {
        const uint8_t* entry = body + 4 + 8 * i;
        mgExprEntry& target = i < countA ? list->groupA[i] : list->groupB[i - countA];
        target.keyNumber = mgGet16(entry);
        target.textLength = mgGet16(entry + 2);
        target.tree = nullptr;
        const void* end = text < bodyLength ? memchr(body + text, 0, bodyLength - text) : nullptr;
        if (!end) {
            mgFreeExpressionList(list);
            mgSetError(kMgExpressionInvalid);
            return nullptr;
        }
        int length = int(static_cast<const uint8_t*>(end) - (body + text));
        target.tree = mgCompileExpression(fields, reinterpret_cast<const char*>(body + text), length);
        if (!target.tree) {
            mgFreeExpressionList(list);
            mgSetError(kMgExpressionInvalid);
            return nullptr;
        }
        uint64_t next = uint64_t(text) + target.textLength;
        if (target.textLength == 0 || next > bodyLength) {
            if (i + 1 < countA + countB) {
                mgFreeExpressionList(list);
                mgSetError(kMgExpressionInvalid);
                return nullptr;
            }
        }
        text = uint32_t(next > bodyLength ? bodyLength : next);
    }
    (void)dataFile;
    return list;
}

uint16_t mgLoadConditions(mgFileControl* f)
{
    mgInstanceContext* ctx = mgCtx();
    mgFreeConditions(f);
    uint8_t key[4];
    mgPut32(key, kConditionType);
    uint32_t length = 0;
    uint8_t summary[12];
    if (!mgGetResource(f->fileNumber, key, summary, sizeof summary, kMgFindType | kMgFindSummary, &length)) {
        uint16_t error = ctx->uerr_cod;
        ctx->uerr_cod = 0;
        return (error == kMgNoResources || error == kMgResourceNotFound || error == kMgPartEmpty) ? 0 : error;
    }
    if (length <= kResourceHead)
        return 0;
    std::vector<uint8_t> data(length);
    if (!mgGetResource(f->fileNumber, key, data.data(), length, kMgFindType, nullptr))
        return ctx->uerr_cod;
    uint32_t namesLength = 0;
    uint8_t* names = static_cast<uint8_t*>(mgReadDefinitionPart(f->fileNumber, &namesLength, 2, 0));
    if (!names && ctx->uerr_cod) {
        ctx->uerr_cod = 0;
        return 0;
    }
    mgFieldTable fields{f->dataDefinition, f->dataDefinitionLength, names, namesLength};
    mgExprList* list = mgCompileExpressionList(f->fileNumber, data.data() + kResourceHead, length - kResourceHead,
                                               fields);
    mgFree(names);
    if (!list)
        return ctx->uerr_cod;
    f->expressions = list;
    return 0;
}

void mgFreeConditions(mgFileControl* f)
{
    if (f && f->expressions) {
        mgFreeExpressionList(f->expressions);
        f->expressions = nullptr;
    }
}

int16_t mgEvaluateSingleCondition(mgExprNode* tree, const uint8_t* record, uint32_t recordLength,
                                  const mgFieldTable& fields)
{
    mgInstanceContext* ctx = mgCtx();
    if (!tree || !record) {
        mgSetError(kMgEvaluationFailed);
        return -int16_t(kMgEvaluationFailed);
    }
    if (!EnsureStack()) {
        mgSetError(kMgPartNoMemory);
        return -int16_t(kMgPartNoMemory);
    }
    uint16_t value = mgEvaluateExpression(tree, record, recordLength, fields);
    if (ctx->exprStatus != 0) {
        mgSetError(kMgEvaluationFailed);
        return -int16_t(kMgEvaluationFailed);
    }
    return value ? 1 : 0;
}

int16_t mgEvaluateKeyCondition(mgExprList* list, int keyNumber, const uint8_t* record, uint32_t recordLength,
                               const mgFieldTable& fields)
{
    if (!list || !record) {
        mgSetError(kMgEvaluationFailed);
        return -int16_t(kMgEvaluationFailed);
    }
    for (int i = 0; i < list->countA; ++i)
        if (list->groupA[i].keyNumber == keyNumber)
            return mgEvaluateSingleCondition(list->groupA[i].tree, record, recordLength, fields);
    mgSetError(kMgEvaluationFailed);
    return -int16_t(kMgEvaluationFailed);
}

uint16_t mgIsKeyConditional(int dataFile, int keyNumber)
{
    mgInstanceContext* ctx = mgCtx();
    if (dataFile < 0 || dataFile >= ctx->fileSlots || !ctx->files[dataFile])
        return 0;
    mgExprList* list = ctx->files[dataFile]->expressions;
    if (!list)
        return 0;
    for (int i = 0; i < list->countA; ++i)
        if (list->groupA[i].keyNumber == keyNumber)
            return 16;
    return 0;
}

uint32_t mgReadFieldDescription(int dataFile, uint32_t size, void* buffer, int alignment, int mode, int)
{
    mgInstanceContext* ctx = mgCtx();
    mgFileControl* f = mgCheckFile(dataFile);
    if (!f)
        return 0;
    if (mode < 1 || mode > 4) {
        mgSetError(kMgBadMode);
        return 0;
    }
    uint32_t namesLength = 0;
    uint8_t* names = nullptr;
    if (mode >= 2) {
        names = static_cast<uint8_t*>(mgReadDefinitionPart(dataFile, &namesLength, 2, 0));
        if (!names)
            return 0;
    }
    const uint8_t* description = f->dataDefinition;
    uint32_t descriptionLength = f->dataDefinitionLength;
    std::vector<uint8_t> out;
    if (mode == 1 || mode == 3)
        out.insert(out.end(), description, description + descriptionLength);
    if (mode == 2 || mode == 3)
        out.insert(out.end(), names, names + namesLength);
    if (mode == 4) {
        // One 28-byte row per field: name (20 bytes), u32 offset, u8 type, u8 0, u16 length.
        uint32_t entries = descriptionLength >= 16 ? mgGet32(description + 12) : 0;
        uint32_t nameAt = 0;
        uint32_t offset = 0;
        uint8_t align = alignment ? uint8_t(alignment) : (descriptionLength > 1 ? description[1] : 1);
        for (uint32_t i = 0; i < entries && 16 + 4 * i + 4 <= descriptionLength; ++i) {
            const uint8_t* entry = description + 16 + 4 * i;
            uint8_t code = entry[2];
            if ((code & 7) != 0 && (code & 7) != 2) {
                uint32_t unit = ((uint32_t(align) - 1) & (code & 7u)) + 1;
                offset += (unit - (offset % 16) % unit) % unit;
            }
            uint8_t row[28] = {};
            if (nameAt < namesLength) {
                uint32_t length = names[nameAt];
                if (length >= 1 && nameAt + length <= namesLength)
                    mgCopyBounded(reinterpret_cast<char*>(row), reinterpret_cast<const char*>(names + nameAt + 1),
                                  length - 1 < 20 ? length - 1 + 1 : 20);
                nameAt += length ? length : 1;
            }
            mgPut32(row + 20, offset);
            row[24] = code;
            mgPut16(row + 26, mgGet16(entry));
            out.insert(out.end(), row, row + 28);
            offset += mgGet16(entry);
        }
        uint8_t end[28] = {};
        mgPut32(end + 20, 65535);
        mgPut16(end + 26, 65535);
        out.insert(out.end(), end, end + 28);
    }
    mgFree(names);
    if (buffer && size >= out.size())
        memcpy(buffer, out.data(), out.size());
    ctx->uerr_cod = 0;
    return uint32_t(out.size());
}
