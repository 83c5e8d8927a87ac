// The file binding's keys and positions: the current key, percentages of a key's order,
// record and key counts, and counts of the keys between two records.
#include "database/mGroveFile.h"

#include "database/iDBLock.h"
#include "database/mGrovePlus.h"
#include "database/mgErrors.h"
#include "database/mgKey.h"
#include "database/mgLock.h"
#include "database/mgNode.h"
#include "database/mgRecord.h"

namespace {

// A count of 0 is a count only when the engine reported no error with it.
long CountOrFailure(uint32_t count)
{
    if (count != 0)
        return long(count);
    mgInstanceContext* ctx = mgCtx();
    return ctx && ctx->uerr_cod == 0 ? 0 : -1;
}

} // namespace

int mGroveFile::GetKey()
{
    ScopedDatabaseLock lock;
    return m_currentKey;
}

int mGroveFile::SetKey(int key, int noResync)
{
    ScopedDatabaseLock lock;
    int resolved = 0;
    if (Enter() != 0 || !ResolveKey(key, false, resolved))
        return -1;
    int previous = m_currentKey;
    if (resolved == previous)
        return previous;
    m_currentKey = resolved;
    if (noResync)
        return previous;
    uint16_t data = uint16_t(m_dataNumber);
    uint16_t index = IndexOf(resolved);
    uint32_t position = mgCurrentRecordPosition(data);
    if (position == 0) {
        CheckRead(mgFirstRecord(index, m_recordArea.get()));
    } else if (CheckRead(mgReadRecordAt(data, position, m_recordArea.get())) == 0) {
        mgGetCurrentKey(int16_t(index), m_keyBuffer.get(), nullptr);
    }
    return previous;
}

int mGroveFile::GetPercent(long* percent, int key)
{
    ScopedDatabaseLock lock;
    if (!percent)
        return -1;
    *percent = 0;
    if (int refused = Enter())
        return refused;
    int resolved = 0;
    if (!ResolveKey(key, false, resolved))
        return -1;
    m_currentKey = resolved;
    uint16_t data = uint16_t(m_dataNumber);
    uint16_t index = IndexOf(resolved);
    uint32_t saved = mgCurrentRecordPosition(data);
    if (saved == 0)
        return -1;
    int result = 0;
    if (CheckRead(mgReadRecordAt(data, saved, m_recordArea.get())) == 0 &&
        mgGetCurrentKey(int16_t(index), m_keyBuffer.get(), nullptr) &&
        CheckRead(mgFirstRecord(index, m_recordArea.get())) == 0 &&
        mgGetCurrentKey(int16_t(index), m_secondKey.get(), nullptr)) {
        int32_t below = RNGENT(index, m_secondKey.get(), m_keyBuffer.get());
        if (below != 0) {
            uint32_t count = mgKeyCount(index);
            // An index whose count cannot be read gives no percentage (and no division
            // by zero); the failure is the answer.
            if (count != 0) {
                *percent = long(below * 10000.0 / double(count));
            } else {
                mgInstanceContext* ctx = mgCtx();
                result = ctx && ctx->uerr_cod ? int16_t(ctx->uerr_cod) : -1;
            }
        }
    }
    // The current record is what it was before the call.
    CheckRead(mgReadRecordAt(data, saved, m_recordArea.get()));
    return result;
}

int mGroveFile::GetPercent(long* percent)
{
    ScopedDatabaseLock lock;
    return GetPercent(percent, m_currentKey);
}

int mGroveFile::SeekPercent(long percent, void* record, int key)
{
    ScopedDatabaseLock lock;
    if (int refused = Enter())
        return refused;
    int resolved = 0;
    if (!record || !ResolveKey(key, false, resolved) || percent < 0 || percent > 10000)
        return -1;
    m_currentKey = resolved;
    uint16_t index = IndexOf(resolved);
    uint32_t position = mgKeyAtPercent(index, m_keyBuffer.get(), int16_t(percent / 100));
    if (position == 0)
        return -1;
    if (CheckRead(mgReadRecordAt(uint16_t(m_dataNumber), position, m_recordArea.get())) != 0)
        return -1;
    mgGetCurrentKey(int16_t(index), m_keyBuffer.get(), nullptr);
    UnpackRecord(record);
    return 0;
}

int mGroveFile::SeekPercent(long percent, void* record)
{
    ScopedDatabaseLock lock;
    return SeekPercent(percent, record, m_currentKey);
}

long mGroveFile::GetRecordCount()
{
    ScopedDatabaseLock lock;
    if (Enter() != 0)
        return -1;
    if (!IsVariable())
        return CountOrFailure(mgRecordCount(m_dataNumber));
    if (m_keyCount == 0)
        return -1;
    return CountOrFailure(mgKeyCount(IndexOf(0)));
}

long mGroveFile::GetKeyEntryCount(int key)
{
    ScopedDatabaseLock lock;
    if (!m_definition)
        return -1;
    if (key == -1)
        return GetRecordCount();
    int resolved = 0;
    if (Enter() != 0 || !ResolveKey(key, false, resolved))
        return -1;
    return CountOrFailure(mgKeyCount(IndexOf(resolved)));
}

long mGroveFile::CountRange(void* fromRecord, void* toRecord, int key)
{
    ScopedDatabaseLock lock;
    int resolved = 0;
    if (Enter() != 0 || !fromRecord || !toRecord || !ResolveKey(key, true, resolved))
        return -1;
    int16_t index = int16_t(IndexOf(resolved));
    // Both ends go through the record area, where the segment offsets (which count a
    // fixed-length record's leading byte) fall on the caller's fields.
    PackRecord(fromRecord);
    mgBuildKey(index, m_recordArea.get(), m_secondKey.get(), 0, m_definition->recordLength);
    PackRecord(toRecord);
    mgBuildKey(index, m_recordArea.get(), m_keyBuffer.get(), 0, m_definition->recordLength);
    return RNGENT(index, m_secondKey.get(), m_keyBuffer.get());
}
