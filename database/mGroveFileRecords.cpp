// The file binding's record operations: moving records between the caller's record and the
// engine's record area, add, rewrite and delete, the keyed searches, walks in key and in
// physical order, and reads at a position.
#include "database/mGroveFile.h"

#include <algorithm>
#include <cstring>

#include "database/iDBLock.h"
#include "database/mGrovePlus.h"
#include "database/mgBytes.h"
#include "database/mgErrors.h"
#include "database/mgKey.h"
#include "database/mgRecord.h"

namespace {

constexpr uint32_t kPadLow = 0;
// A duplicate suffix of all 0xFF: the search lands after every record of equal value.
constexpr uint32_t kPadHigh = 0xFFFFFFFF;

} // namespace

uint16_t mGroveFile::IndexOf(int key) const
{
    return uint16_t(m_keyNumbers[key]);
}

bool mGroveFile::ResolveKey(int key, bool allowCurrent, int& resolved) const
{
    resolved = key == -1 && allowCurrent ? m_currentKey : key;
    return resolved >= 0 && resolved < m_keyCount;
}

void mGroveFile::PackRecord(const void* record)
{
    unsigned lead = IsVariable() ? 0 : 1;
    unsigned room = unsigned(m_areaSize) - lead;
    unsigned wanted = IsVariable() ? m_userLength : unsigned(m_definition->recordLength) - 1;
    unsigned copied = std::min({m_callerLength, wanted, room});
    m_recordArea[0] = 0;
    memcpy(m_userArea, record, copied);
    memset(m_userArea + copied, 0, room - copied);
}

void mGroveFile::UnpackRecord(void* record)
{
    if (!IsVariable()) {
        unsigned stored = unsigned(m_definition->recordLength) - 1;
        memcpy(record, m_userArea, std::min(m_callerLength, stored));
        return;
    }
    memset(record, 0, std::min(m_callerLength, m_userLength));
    memcpy(record, m_userArea, std::min(m_callerLength, m_readLength));
}

unsigned mGroveFile::ReadLength()
{
    if (!IsVariable())
        m_readLength = GetRecordLength();
    else
        m_readLength = std::min<unsigned>(mgVariableRecordLength(uint16_t(m_dataNumber)), m_userLength);
    return m_readLength;
}

int mGroveFile::CheckRead(int answer)
{
    if (answer != 0)
        return answer;
    ReadLength();
    if (IsVariable())
        answer = mgReadVariableRecord(uint16_t(m_dataNumber), m_recordArea.get(), int32_t(m_readLength));
    return answer;
}

unsigned mGroveFile::VariableLength()
{
    unsigned fixed = m_definition->recordLength;
    unsigned prefixBytes = m_userLength < 65536 ? 2 : 4;
    if (uint64_t(fixed) + prefixBytes > m_userLength)
        return fixed;
    const uint8_t* prefix = m_userArea + fixed;
    uint64_t payload = prefixBytes == 2 ? mgGet16(prefix) : mgGet32(prefix);
    // Two bytes more than a 16-bit length word needs: the stored definition does not say
    // whether the buffer's word has 16 or 32 bits, and a 32-bit one read as 16 bits would
    // leave the payload's last two bytes behind.
    uint64_t total = uint64_t(fixed) + prefixBytes + payload + (prefixBytes == 2 ? 2 : 0);
    return unsigned(std::max<uint64_t>(fixed, std::min<uint64_t>(total, m_userLength)));
}

int mGroveFile::ReadWith(int answer, void* record)
{
    int result = CheckRead(answer);
    if (result == 0)
        UnpackRecord(record);
    m_lastResult = result;
    return result;
}

int mGroveFile::Write(void* record, unsigned length, bool rewrite)
{
    ScopedDatabaseLock lock;
    if (int refused = Enter())
        return refused;
    if (!record)
        return -1;
    PackRecord(record);
    uint16_t data = uint16_t(m_dataNumber);
    int answer;
    if (!IsVariable()) {
        answer = rewrite ? mgRewriteRecord(data, m_recordArea.get()) : mgAddRecord(data, m_recordArea.get());
    } else {
        if (length == 0)
            length = VariableLength();
        // The engine takes this many bytes from the record area.
        if (length > m_areaSize)
            return -1;
        m_readLength = length;
        answer = rewrite ? mgRewriteVariableRecord(data, m_recordArea.get(), int32_t(length))
                         : mgAddVariableRecord(data, m_recordArea.get(), int32_t(length));
    }
    m_lastResult = answer;
    if (answer == 0) {
        // The engine may have written a serial number into the record.
        UnpackRecord(record);
        if (!m_keepPosition)
            mgSaveRestorePosition(data, 2);
    }
    return answer;
}

int mGroveFile::Add(void* record, unsigned length)
{
    return Write(record, length, false);
}

int mGroveFile::Rewrite(void* record, unsigned length)
{
    return Write(record, length, true);
}

int mGroveFile::Delete()
{
    ScopedDatabaseLock lock;
    if (int refused = Enter())
        return refused;
    uint16_t data = uint16_t(m_dataNumber);
    return IsVariable() ? mgDeleteVariableRecord(data) : mgDeleteRecord(data);
}

int mGroveFile::FindWith(EngineKeyedRead read, void* record, int key, bool padHigh)
{
    ScopedDatabaseLock lock;
    if (int refused = Enter())
        return refused;
    int resolved = 0;
    if (!record || !ResolveKey(key, true, resolved))
        return -1;
    m_currentKey = resolved;
    PackRecord(record);
    uint16_t index = IndexOf(resolved);
    const mgIndexDef& definition = m_definition->indexes[resolved];
    bool duplicates = definition.duplicates != 0;
    // In a key with duplicates the last four bytes are the record's position. A search
    // for equal values finds the first of them (the engine's exact search would compare
    // the position too and find none), and a search for greater values passes them all.
    bool equal = read == mgGetEqualRecord;
    if (duplicates && equal)
        read = mgGetGreaterOrEqualRecord;
    if (duplicates && read == mgGetGreaterRecord)
        padHigh = true;
    uint32_t pad = duplicates && padHigh ? kPadHigh : kPadLow;
    mgInstanceContext* ctx = mgCtx();
    ctx->uerr_cod = 0;
    // A key that cannot be built (its segment outside the record, a refused mode) is the
    // answer; a null key (no error) is searched for as it stands.
    if (mgBuildKey(int16_t(index), m_recordArea.get(), m_keyBuffer.get(), pad, m_definition->recordLength) == 0 &&
        ctx->uerr_cod != 0) {
        m_lastResult = int16_t(ctx->uerr_cod);
        return m_lastResult;
    }
    if (!(duplicates && equal))
        return ReadWith(read(index, m_keyBuffer.get(), m_recordArea.get()), record);

    uint16_t data = uint16_t(m_dataNumber);
    mgSaveRestorePosition(data, 0);
    int answer = read(index, m_keyBuffer.get(), m_recordArea.get());
    if (answer == 0) {
        size_t valueLength = size_t(definition.keyLength > 4 ? definition.keyLength - 4 : 0);
        if (!mgGetCurrentKey(int16_t(index), m_secondKey.get(), nullptr) ||
            memcmp(m_secondKey.get(), m_keyBuffer.get(), valueLength) != 0) {
            // Another value: not found, and the record current before stays current.
            mgSaveRestorePosition(data, 1);
            answer = kMgNoRecord;
        }
    }
    return ReadWith(answer, record);
}

int mGroveFile::FindEqual(void* record, int key)
{
    return FindWith(mgGetEqualRecord, record, key, false);
}

int mGroveFile::FindGreater(void* record, int key)
{
    return FindWith(mgGetGreaterRecord, record, key, false);
}

int mGroveFile::FindGreaterOrEqual(void* record, int key)
{
    return FindWith(mgGetGreaterOrEqualRecord, record, key, false);
}

int mGroveFile::FindLess(void* record, int key)
{
    return FindWith(mgGetLessRecord, record, key, false);
}

// With duplicates the key is padded with 0xFF bytes: the last record of equal values.
int mGroveFile::FindLessOrEqual(void* record, int key)
{
    return FindWith(mgGetLessOrEqualRecord, record, key, true);
}

int mGroveFile::WalkWith(EngineRead read, void* record, int key, bool keyed)
{
    ScopedDatabaseLock lock;
    if (int refused = Enter())
        return refused;
    int resolved = 0;
    if (!record || (keyed && !ResolveKey(key, true, resolved)))
        return -1;
    uint16_t file = uint16_t(m_dataNumber);
    if (keyed) {
        m_currentKey = resolved;
        file = IndexOf(resolved);
    }
    return ReadWith(read(file, m_recordArea.get()), record);
}

int mGroveFile::Next(void* record)
{
    return WalkWith(mgNextRecord, record, -1, true);
}

int mGroveFile::Previous(void* record)
{
    return WalkWith(mgPreviousRecord, record, -1, true);
}

int mGroveFile::First(void* record, int key)
{
    return WalkWith(mgFirstRecord, record, key, true);
}

int mGroveFile::Last(void* record, int key)
{
    return WalkWith(mgLastRecord, record, key, true);
}

int mGroveFile::NextPhysical(void* record)
{
    return WalkWith(mgNextRecord, record, -1, false);
}

int mGroveFile::PreviousPhysical(void* record)
{
    return WalkWith(mgPreviousRecord, record, -1, false);
}

int mGroveFile::FirstPhysical(void* record)
{
    return WalkWith(mgFirstRecord, record, -1, false);
}

int mGroveFile::LastPhysical(void* record)
{
    return WalkWith(mgLastRecord, record, -1, false);
}

long mGroveFile::GetPosition()
{
    ScopedDatabaseLock lock;
    if (Enter() != 0)
        return 0;
    return long(mgCurrentRecordPosition(uint16_t(m_dataNumber)));
}

int mGroveFile::GetPosition(long* position)
{
    ScopedDatabaseLock lock;
    if (!position)
        return -1;
    if (int refused = Enter())
        return refused;
    *position = long(mgCurrentRecordPosition(uint16_t(m_dataNumber)));
    return 0;
}

int mGroveFile::ReadAt(long position, void* record, int key)
{
    ScopedDatabaseLock lock;
    if (int refused = Enter())
        return refused;
    int resolved = 0;
    if (!record || !ResolveKey(key, false, resolved))
        return -1;
    int result = CheckRead(mgReadRecordAt(uint16_t(m_dataNumber), uint32_t(position), m_recordArea.get()));
    if (result == 0) {
        mgGetCurrentKey(int16_t(IndexOf(resolved)), m_keyBuffer.get(), nullptr);
        UnpackRecord(record);
    }
    m_lastResult = result;
    return result;
}

int mGroveFile::ReadAt(long position, void* record)
{
    ScopedDatabaseLock lock;
    if (int refused = Enter())
        return refused;
    if (!record)
        return -1;
    return ReadWith(mgReadRecordAt(uint16_t(m_dataNumber), uint32_t(position), m_recordArea.get()), record);
}
