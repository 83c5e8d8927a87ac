// The file binding: an iDBFile over one superfile set of the ISAM engine (a host with a data
// member and one index member per key) made by mGrovePlus. It keeps the set's stored
// definition, turns key numbers into the engine's index file numbers, and moves records
// between the caller's record and the engine's record area, which for a fixed-length set
// carries one leading zero byte before the caller's bytes.
// Invariants: 1. record operations run only while the object is open, its engine is alive
// and its files are still the ones it opened; otherwise they answer -1 (not open,
// detached) or 26 (files closed under it) and touch nothing. 2. no copy to or from the
// caller's record passes the caller's record length. 3. the record area is never shorter
// than the stored record, so the engine's reads and writes stay inside it.
#pragma once

#include <cstdint>
#include <memory>

#include "database/iDB.h"
#include "database/mgContext.h"

class mGrovePlus;

// Open flags.
constexpr int kGroveReadOnly = 0x1;
constexpr int kGroveNotShared = 0x2;

// Owns its record area, key buffers and copy of the stored definition.
class mGroveFile : public iDBFile {
public:
    // Opens the set at name; the caller asks IsOpen whether that worked.
    mGroveFile(mGrovePlus* engine, const char* reserved, const char* name, int flags, unsigned recordLength);
    mGroveFile(const mGroveFile& other);
    mGroveFile& operator=(const mGroveFile&) = delete;
    ~mGroveFile() override;

    int Open(const char* reserved, const char* name, int flags, unsigned recordLength) override;
    int Close() override;
    int Recreate() override;
    const char* GetName() override;
    int IsOpen() override;
    int Add(void* record, unsigned length) override;
    int Rewrite(void* record, unsigned length) override;
    int Delete() override;
    int FindEqual(void* record, int key) override;
    int Next(void* record) override;
    int Previous(void* record) override;
    int FindGreater(void* record, int key) override;
    int FindGreaterOrEqual(void* record, int key) override;
    int FindLess(void* record, int key) override;
    int FindLessOrEqual(void* record, int key) override;
    int First(void* record, int key) override;
    int Last(void* record, int key) override;
    long GetPosition() override;
    int GetPosition(long* position) override;
    int ReadAt(long position, void* record, int key) override;
    int ReadAt(long position, void* record) override;
    int GetPercent(long* percent, int key) override;
    int GetPercent(long* percent) override;
    int SeekPercent(long percent, void* record, int key) override;
    int SeekPercent(long percent, void* record) override;
    int NextPhysical(void* record) override;
    int PreviousPhysical(void* record) override;
    int FirstPhysical(void* record) override;
    int LastPhysical(void* record) override;
    int GetKey() override;
    int SetKey(int key, int noResync) override;
    long GetRecordCount() override;
    int GetKeyCount() override;
    long GetKeyEntryCount(int key) override;
    unsigned GetRecordLength() override;
    void* SetRecordLength(unsigned length) override;
    iDBFile* Clone() override;
    int Flush() override;
    long CountRange(void* fromRecord, void* toRecord, int key) override;

private:
    friend class mGrovePlus;

    using EngineRead = int16_t (*)(uint16_t file, void* record);
    using EngineKeyedRead = int16_t (*)(uint16_t index, const void* target, void* record);

    // The engine is going away: closes the files (when its instance is still current) and
    // forgets the engine; every later call answers -1.
    void Detach(bool closeFiles);
    // 0 when a record operation may go on: open, engine current, files still its own.
    int Enter();
    // The number is still open on the file this object's open made there.
    bool StillOurs(int number, uint32_t sequence) const;
    bool IsVariable() const;
    // -1 stands for the current key; false for a number outside the keys.
    bool ResolveKey(int key, bool allowCurrent, int& resolved) const;
    uint16_t IndexOf(int key) const;
    // The instance's record-level error after a failed call; -1 when there is none to read.
    int IsamCode() const;
    // Closes what an open made (set, then host) and forgets the numbers.
    int CloseFiles();
    void FreeBuffers();
    void SizeRecordArea(unsigned userLength);

    void PackRecord(const void* record);
    void UnpackRecord(void* record);
    unsigned ReadLength();
    int CheckRead(int answer);
    unsigned VariableLength();
    // A read through the engine: CheckRead, then the record unpacked on success.
    int ReadWith(int answer, void* record);
    int Write(void* record, unsigned length, bool rewrite);
    int FindWith(EngineKeyedRead read, void* record, int key, bool padHigh);
    int WalkWith(EngineRead read, void* record, int key, bool keyed);

    mGrovePlus* m_engineBinding;
    int m_open = 0;
    int m_flags = 0;
    char m_name[256] = {};
    int m_hostNumber = -1;
    int m_dataNumber = -1;
    int m_keyCount = 0;
    std::unique_ptr<int[]> m_keyNumbers;
    int m_currentKey = 0;
    // The stored definition; 8-byte units, since it holds the engine's pointers.
    std::unique_ptr<uint64_t[]> m_definitionBuffer;
    mgFileDef* m_definition = nullptr;
    unsigned m_userLength = 0;
    // How many bytes the caller's record holds; every copy to or from it stops there.
    unsigned m_callerLength = 0;
    unsigned m_readLength = 0;
    std::unique_ptr<uint8_t[]> m_recordArea;
    size_t m_areaSize = 0;
    std::unique_ptr<uint8_t[]> m_keyBuffer;
    uint8_t* m_userArea = nullptr;
    std::unique_ptr<uint8_t[]> m_secondKey;
    int m_longestKey = 0;
    int m_lastResult = 0;
    // Which opens made the host and data files, to tell them from later users of the numbers.
    mgInstanceContext* m_instance = nullptr;
    uint32_t m_hostSequence = 0;
    uint32_t m_dataSequence = 0;
};
