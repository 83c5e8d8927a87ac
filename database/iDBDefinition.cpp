// Record definition building: typed record -> iDBDefinition -> engine file definition.
#include "database/iDBDefinition.h"

#include <cxxabi.h>

#include <cstdlib>
#include <cstring>
#include <typeinfo>

#include "lib/src/MsgBox.h"
#include "lib/src/iType.h"

namespace {

struct FieldKindRow {
    const std::type_info& type;
    int kind;
};

// By exact class, first match wins: a subclass not listed here is not recognised. Text
// fields are decided by their segment flags (SegmentKind below).
const FieldKindRow kFieldKinds[] = {
    {typeid(iType::TType<int>), kSegmentSigned},
    {typeid(iType::TType<long>), kSegmentSigned},
    {typeid(iType::TType<short>), kSegmentSigned},
    {typeid(iType::TType<char>), kSegmentSigned},
    {typeid(iType::TType<long long>), kSegmentSigned},
    {typeid(iType::TType<unsigned long>), kSegmentUnsigned},
    {typeid(iType::TType<unsigned int>), kSegmentUnsigned},
    {typeid(iType::TType<unsigned short>), kSegmentUnsigned},
    {typeid(iType::TType<unsigned char>), kSegmentUnsigned},
    {typeid(iType::TType<unsigned long long>), kSegmentUnsigned},
    {typeid(iType::TType<float>), kSegmentFloat},
    {typeid(iType::TType<double>), kSegmentFloat},
    {typeid(iType::Double), kSegmentDouble},
    {typeid(iType::Date), kSegmentSigned},
    {typeid(iType::Time), kSegmentSigned},
    {typeid(iType::Time_T), kSegmentSigned},
    {typeid(iType::DeltaTime), kSegmentSigned},
    {typeid(iType::DeltaTimeBCD), kSegmentSigned},
    {typeid(iType::Set), kSegmentUnsigned},
    {typeid(iType::TCheck<unsigned long>), kSegmentUnsigned},
    {typeid(iType::TCheck<unsigned int>), kSegmentUnsigned},
    {typeid(iType::TCheck<unsigned short>), kSegmentUnsigned},
    {typeid(iType::TCheck<unsigned char>), kSegmentUnsigned},
    {typeid(iType::TCombo<long>), kSegmentSigned},
    {typeid(iType::TCombo<int>), kSegmentSigned},
    {typeid(iType::TCombo<unsigned long>), kSegmentUnsigned},
    {typeid(iType::TCombo<unsigned int>), kSegmentUnsigned},
    {typeid(iType::Code), kSegmentSigned},
    {typeid(iType::Bool), kSegmentSigned},
};

// The kind of a segment over field; 0 when the field's class is not known.
int SegmentKind(const iType::Base& field, unsigned segmentFlags)
{
    const std::type_info& type = typeid(field);
    int kind = 0;
    if (type == typeid(iType::String)) {
        if (segmentFlags & kSegmentFlagReversed)
            kind = kSegmentTextReversed;
        else
            kind = (segmentFlags & kSegmentFlagNoCase) ? kSegmentTextNoCase : kSegmentText;
    } else {
        for (const FieldKindRow& row : kFieldKinds) {
            if (type == row.type) {
                kind = row.kind;
                break;
            }
        }
    }
    return kind;
}

void ReportUnknownField(const iType::Base& field)
{
    int status = 0;
    char* readable = abi::__cxa_demangle(typeid(field).name(), nullptr, nullptr, &status);
    MsgBoxStop(MB_OK, "Error", nullptr, "Could not recognize key segment : %s  %s",
               readable ? readable : typeid(field).name(), field.GetName() ? field.GetName() : "");
    free(readable);
}

bool IsVariableBuffer(const iType::Base* field)
{
    return dynamic_cast<const iType::VarBuf*>(field) || dynamic_cast<const iType::VarBuf32*>(field);
}

// The segments of a key that name a field; members of another kind are not segments.
template <typename Visit> void ForEachSegment(iType::Record::Key& key, Visit visit)
{
    for (int s = 0; s < key.GetCount(); ++s) {
        auto* segment = dynamic_cast<iType::Record::Segment*>(key.GetAt(s));
        if (segment && segment->GetField())
            visit(*segment);
    }
}

iType::Record::Key* KeyAt(iType::Record::Index* index, int i)
{
    return dynamic_cast<iType::Record::Key*>(index->GetAt(i));
}

int EngineSegmentMode(int kind)
{
    static const int kModes[] = {0, 1, 8, 3, 9, 9, 0, 2};
    int mode = (kind & 0xFFFF) < 8 ? kModes[kind & 0xFFFF] : 0;
    if (kind == kSegmentTextReversed)
        mode += 0x40;
    return mode;
}

bool FitsShort(long long value)
{
    return value >= 0 && value <= 0x7FFF;
}

} // namespace

iDBDefinition& iDBDefinition::Build(iType::Record* record)
{
    Free();
    if (!record)
        return *this;
    int byteSize = int(record->GetByteSize());
    recordLength = byteSize;
    int members = record->GetCount();
    const iType::Base* last = members > 0 ? record->GetAt(members - 1) : nullptr;
    if (IsVariableBuffer(last)) {
        recordLength = byteSize - int(last->GetByteSize());
        flags = kDefinitionVariable;
    }
    if (record->GetRecordFlags() & iType::Record::kRecordOption)
        flags |= kDefinitionRecordOption;

    iType::Record::Index* index = record->GetKeyIndex();
    int keyTotal = index ? index->GetCount() : 0;
    for (int i = 0; i < keyTotal; ++i) {
        if (iType::Record::Key* key = KeyAt(index, i)) {
            ++keyCount;
            ForEachSegment(*key, [&](iType::Record::Segment&) { ++segmentCount; });
        }
    }
    keys = keyCount ? new iDBKeyDef[size_t(keyCount)]() : nullptr;
    segments = segmentCount ? new iDBSegmentDef[size_t(segmentCount)]() : nullptr;

    const char* recordData = static_cast<const char*>(record->GetData());
    iDBKeyDef* keyOut = keys;
    iDBSegmentDef* segmentOut = segments;
    for (int i = 0; i < keyTotal; ++i) {
        iType::Record::Key* key = KeyAt(index, i);
        if (!key)
            continue;
        keyOut->segments = segmentOut;
        keyOut->flags = key->GetKeyFlags() & (kKeyDuplicates | kKeyNull);
        ForEachSegment(*key, [&](iType::Record::Segment& segment) {
            const iType::Base& field = *segment.GetField();
            segmentOut->offset = int(static_cast<const char*>(field.GetData()) - recordData);
            segmentOut->length = int(field.GetByteSize());
            segmentOut->kind = SegmentKind(field, segment.GetSegmentFlags());
            if (segmentOut->kind == 0) {
                ReportUnknownField(field);
                segmentOut->kind = kSegmentUnsigned;
            }
            if ((segmentOut->length == 2 || segmentOut->length == 4) &&
                (segment.GetSegmentFlags() & kSegmentFlagSerial))
                segmentOut->kind = kSegmentSerial;
            ++segmentOut;
            ++keyOut->segmentCount;
        });
        ++keyOut;
    }
    return *this;
}

void iDBDefinition::Free()
{
    delete[] keys;
    delete[] segments;
    keys = nullptr;
    segments = nullptr;
    recordLength = 0;
    keyCount = 0;
    segmentCount = 0;
    flags = 0;
}

mgFileDef* BuildEngineFileDef(const iDBDefinition* definition, const char* path)
{
    if (!definition || !path)
        return nullptr;
    bool variable = (definition->flags & kDefinitionVariable) != 0;
    int lead = variable ? 0 : 1;
    // Checked before anything is made: a value cut to 16 bits would describe another set.
    if (definition->recordLength < 0 || definition->recordLength + lead > 0xFFFF ||
        !FitsShort(definition->keyCount))
        return nullptr;
    for (int i = 0; i < definition->keyCount; ++i) {
        const iDBKeyDef& key = definition->keys[i];
        long long keyLength = (key.flags & kKeyDuplicates) ? 4 : 0;
        for (int s = 0; s < key.segmentCount; ++s) {
            const iDBSegmentDef& segment = key.segments[s];
            // A segment must lie in the record's fixed part, where every record has it.
            if (segment.offset < 0 || segment.length <= 0 ||
                (long long)segment.offset + segment.length > definition->recordLength ||
                !FitsShort((long long)segment.offset + lead) || !FitsShort(segment.length))
                return nullptr;
            keyLength += segment.length;
        }
        if (!FitsShort(keyLength) || !FitsShort(key.segmentCount))
            return nullptr;
    }

    auto* def = new mgFileDef();
    def->name = new char[strlen(path) + 1];
    strcpy(def->name, path);
    def->dataFileNumber = -1;
    def->recordLength = uint16_t(definition->recordLength + lead);
    def->dataExtension = 16384;
    def->dataMode = variable ? 3 + 4 : 3;
    def->indexCount = int16_t(definition->keyCount);
    def->indexExtension = 16384;
    def->indexMode = 3;
    def->indexes = definition->keyCount ? new mgIndexDef[size_t(definition->keyCount)]() : nullptr;
    def->setFileNumber = -1;
    mgSegmentDef* segmentArray =
        definition->segmentCount ? new mgSegmentDef[size_t(definition->segmentCount)]() : nullptr;
    mgSegmentDef* segmentOut = segmentArray;
    for (int i = 0; i < definition->keyCount; ++i) {
        const iDBKeyDef& key = definition->keys[i];
        mgIndexDef& index = def->indexes[i];
        bool text = false;
        int keyLength = (key.flags & kKeyDuplicates) ? 4 : 0;
        index.segments = segmentOut;
        for (int s = 0; s < key.segmentCount; ++s) {
            const iDBSegmentDef& segment = key.segments[s];
            segmentOut->offset = int16_t(segment.offset + lead);
            segmentOut->length = int16_t(segment.length);
            segmentOut->mode = int16_t(EngineSegmentMode(segment.kind));
            text = text || segment.kind == kSegmentText || segment.kind == kSegmentTextNoCase;
            keyLength += segment.length;
            ++segmentOut;
        }
        index.keyLength = int16_t(keyLength);
        index.keyType = (definition->flags & kDefinitionTextKeyType) && text ? 12 : 0;
        index.duplicates = (key.flags & kKeyDuplicates) ? 1 : 0;
        index.keyOptions = (key.flags & kKeyNull) ? 1 : 0;
        index.emptyChar = 0;
        index.segmentCount = int16_t(key.segmentCount);
    }
    return def;
}

void FreeEngineFileDef(mgFileDef* definition)
{
    if (!definition)
        return;
    delete[] definition->name;
    // Every index's segments are a slice of one array that starts at the first index's.
    if (definition->indexes && definition->indexCount > 0)
        delete[] definition->indexes[0].segments;
    delete[] definition->indexes;
    delete definition;
}
